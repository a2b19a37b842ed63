// The CSV reader over every chunk size, so that no rule depends on where a
// read happens to end: quotes, line ends, line numbers, bounds and errors.

#include "cli/csv_reader.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include <optional>
#include <vector>

namespace quorvane::cli {
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

void expectRows(const Read& read, const std::vector<CsvRow>& expected)
{
    ASSERT_EQ(read.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(read.rows[i].fields, expected[i].fields) << "row " << i;
        EXPECT_EQ(read.rows[i].line, expected[i].line) << "row " << i;
    }
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
            expectRows(read, row.rows);
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
        {.name = "a quoted field too long", .csv = "\"" + longest + "x\"", .rowsBefore = 0,
         .error = u"CSV line 1: a field is longer than 1048576 bytes."_s},
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

// A device that delivers its first bytes and then fails.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray head) : head_(std::move(head)) { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (head_.isEmpty()) {
            setErrorString(u"the disk went away"_s);
            return -1;
        }
        const qint64 n = std::min<qint64>(maxSize, head_.size());
        std::copy_n(head_.constData(), n, data);
        head_.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray head_;
};

TEST(CsvReader, AReadFailureIsAnErrorNotTheEnd)
{
    for (const QByteArray& head : {QByteArray("a,b\nc"), QByteArray("a,b\n\"c\nd"), QByteArray("a,b\n")}) {
        SCOPED_TRACE(head.toStdString());
        FailingDevice device(head);
        const Read read = readAll(device, 2);
        EXPECT_EQ(read.rows.size(), 1u);
        EXPECT_TRUE(read.error.endsWith(u": the disk went away"_s)) << read.error.toStdString();
    }
}

} // namespace
} // namespace quorvane::cli
