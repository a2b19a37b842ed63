// The CSV reader over every chunk size, so that no rule depends on where a
// read happens to end: quotes, line ends, line numbers, bounds and errors.

#include "cli/csv_reader.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include <optional>
#include <vector>

namespace quorvane::cli {

bool operator==(const CsvRow& a, const CsvRow& b) { return a.fields == b.fields && a.line == b.line; }

namespace {

using namespace Qt::StringLiterals;

struct Read {
    std::vector<CsvRow> rows;
    QString error; // empty when the reader came to the end
};

Read readAll(QIODevice& device, qsizetype chunkSize)
{
    CsvReader reader(device, chunkSize);
    Read read;
    for (CsvRow row;;) {
        switch (reader.next(row)) {
        case CsvReader::Status::Row: read.rows.push_back(row); break;
        case CsvReader::Status::End: return read;
        case CsvReader::Status::Error:
            read.error = reader.errorText();
            EXPECT_EQ(reader.next(row), CsvReader::Status::Error) << "an error must stay";
            return read;
        }
    }
}

Read readAll(const QByteArray& bytes, qsizetype chunkSize)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAll(buffer, chunkSize);
}

constexpr qsizetype kChunkSizes[] = {1, 2, 3, 7, 1 << 16};

TEST(CsvReader, ReadsRowsAsRfc4180WritesThem)
{
    struct Row {
        const char* name;
        QByteArray csv;
        std::vector<CsvRow> rows;
    };
    const Row rows[] = {
        {.name = "LF, CR LF and CR end rows; the last needs none",
         .csv = "a,b\nc,d\r\ne,f\rg,h",
         .rows = {{{u"a"_s, u"b"_s}, 1}, {{u"c"_s, u"d"_s}, 2}, {{u"e"_s, u"f"_s}, 3}, {{u"g"_s, u"h"_s}, 4}}},
        {.name = "quotes hold commas, doubled quotes and line breaks, which count as lines",
         .csv = "\"a,b\",\"say \"\"hi\"\"\"\r\n\"1\r\n2\n3\",x\r\nnext,\"\"\r\n",
         .rows = {{{u"a,b"_s, u"say \"hi\""_s}, 1}, {{u"1\r\n2\n3"_s, u"x"_s}, 2}, {{u"next"_s, u""_s}, 5}}},
        {.name = "empty fields, blanks kept",
         .csv = ",,\n a , b \n",
         .rows = {{{u""_s, u""_s, u""_s}, 1}, {{u" a "_s, u" b "_s}, 2}}},
        {.name = "empty lines are skipped, wherever they are",
         .csv = "\r\n\na\n\r\n\nb\n\n",
         .rows = {{{u"a"_s}, 3}, {{u"b"_s}, 6}}},
        {.name = "a byte-order mark at the start is dropped, elsewhere it is text",
         .csv = "\xEF\xBB\xBFserial,n\n\xEF\xBB\xBFx,\xC3\xA4\n",
         .rows = {{{u"serial"_s, u"n"_s}, 1}, {{u"\uFEFFx"_s, u"\u00e4"_s}, 2}}},
        {.name = "nothing at all", .csv = "", .rows = {}},
    };
    for (const Row& row : rows)
        for (const qsizetype chunk : kChunkSizes) {
            SCOPED_TRACE(testing::Message() << row.name << ", chunks of " << chunk);
            const Read read = readAll(row.csv, chunk);
            EXPECT_EQ(read.error, QString());
            EXPECT_EQ(read.rows, row.rows);
        }
}

TEST(CsvReader, ErrorsNameTheLineAndKeepTheRowsBefore)
{
    const QByteArray longest(CsvReader::kMaxFieldBytes, 'x');
    QByteArray tooManyFields = "a";
    for (qsizetype i = 0; i < CsvReader::kMaxFieldsPerRow; ++i)
        tooManyFields += ',';
    struct Row {
        const char* name;
        QByteArray csv;
        qsizetype rowsBefore;
        QString error;
    };
    const Row rows[] = {
        {.name = "unbalanced quote", .csv = "a\n\"b\nc\nd\n", .rowsBefore = 1,
         .error = u"CSV line 2: the quoted field that starts here has no closing quote."_s},
        {.name = "text after the closing quote", .csv = "a\n\"x\ny\"z,w\n", .rowsBefore = 1,
         .error = u"CSV line 3: text follows the closing quote of a field."_s},
        {.name = "a quote in a plain field", .csv = "a\nb,1\"2\n", .rowsBefore = 1,
         .error = u"CSV line 2: a quote inside a field that does not start with one."_s},
        {.name = "not UTF-8", .csv = "a\nb,\xC3\x28\n", .rowsBefore = 1, .error = u"CSV line 2: the text is not UTF-8."_s},
        {.name = "a field of the longest size is read", .csv = longest + "\n" + longest + "x", .rowsBefore = 1,
         .error = u"CSV line 2: a field is longer than 1048576 bytes."_s},
        {.name = "too many fields", .csv = "a\n" + tooManyFields, .rowsBefore = 1,
         .error = u"CSV line 2: a row has more than 4096 fields."_s},
    };
    for (const Row& row : rows)
        for (const qsizetype chunk : {qsizetype(3), qsizetype(1) << 16}) {
            SCOPED_TRACE(testing::Message() << row.name << ", chunks of " << chunk);
            const Read read = readAll(row.csv, chunk);
            EXPECT_EQ(read.rows.size(), std::size_t(row.rowsBefore));
            EXPECT_EQ(read.error, row.error);
        }
}

// It opens, but its first read fails (the kernel answers EIO for address 0).
TEST(CsvReader, AReadFailureIsAnErrorNotTheEnd)
{
    QFile file(u"/proc/self/mem"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_EQ(readAll(file, 2).error, u"CSV line 1: Input/output error"_s);
}

} // namespace
} // namespace quorvane::cli
