// Files far too large for what they claim to be: a gigabyte without a line
// break, and lines of several megabytes. Every reader gives up on its first
// chunk with its own message instead of reading on (bounded by the bytes it
// reads, not by a clock), and nothing half-read is handed out.

#include "hostile_support.h"

#include "cli/csv_reader.h"
#include "document/document_files.h"
#include "files/intel_hex.h"
#include "files/key_extraction.h"
#include "files/object_file.h"
#include "files/set_key_data.h"
#include "files/settings_file.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"
#include "tests/support/record_builders.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

constexpr qint64 kGigabyte = qint64(1) << 30;
// A chunk of the line reader (1 MiB) and the longest line it keeps, or the
// largest CSV field or settings file (1 MiB), with room to spare.
constexpr qint64 kReadBound = qint64(4) << 20;

const Settings kStartSettings{2, u"/start"_s, 0};
const ExtractionTarget kTarget{.slot = 0, .address = 0x1000, .size = 4};

QString checkOutcome(const FormatCheck& check)
{
    return check ? u"valid"_s : u"line %1: %2"_s.arg(check.badLine).arg(check.reason);
}

QString kindName(ObjectFileKind kind)
{
    switch (kind) {
    case ObjectFileKind::Srecord: return u"S-record"_s;
    case ObjectFileKind::IntelHex: return u"Intel HEX"_s;
    case ObjectFileKind::Binary: return u"binary"_s;
    case ObjectFileKind::Damaged: return u"damaged"_s;
    }
    return {};
}

// Every reader of the program over one device, each saying how it ended.
struct Reader {
    const char* name;
    std::function<QString(QIODevice&)> read;
};
const Reader kReaders[] = {
    {"CheckSrecordFile", [](QIODevice& d) { return checkOutcome(CheckSrecordFile(d)); }},
    {"SRecodeLoad", [](QIODevice& d) { Document document; return SRecodeLoad(d, document); }},
    {"FormatLoad", [](QIODevice& d) { Document document; return FormatLoad(d, document); }},
    {"CheckIntelHexFile", [](QIODevice& d) { return checkOutcome(CheckIntelHexFile(d)); }},
    {"ExtractSrecord", [](QIODevice& d) { return ExtractSrecord(d, u"f"_s, {kTarget}).errorText; }},
    {"ExtractIntelHex", [](QIODevice& d) { return ExtractIntelHex(d, u"f"_s, {kTarget}).errorText; }},
    {"recognizeAndExtract", [](QIODevice& d) { return kindName(recognizeAndExtract(d, u"f"_s, {kTarget}).kind); }},
    {"readSettings",
     [](QIODevice& d) { return readSettings(d, kStartSettings) == kStartSettings ? u"start values"_s : u"read"_s; }},
    {"CsvReader", [](QIODevice& d) {
         cli::CsvReader reader(d);
         cli::CsvRow row;
         cli::CsvReader::Status status;
         while ((status = reader.next(row)) == cli::CsvReader::Status::Row) {
         }
         return status == cli::CsvReader::Status::Error ? reader.errorText() : u"read to the end"_s;
     }},
};

const QString kFormatError = u":File format error.\r\nFILE: f\r\n"_s;

TEST(HugeInput, EveryReaderGivesUpOnAGigabyteWithoutALineBreak)
{
    QTemporaryDir dir;
    QFile file(test::sparseFile(dir.path(), u"zeros"_s, kGigabyte));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    const std::map<QString, QString> outcomes = {
        {u"CheckSrecordFile"_s, u"line 1: too long for an S-record"_s},
        {u"SRecodeLoad"_s, u"ERROR:Line 1 of the file: the line is too long for an S-record."_s},
        {u"FormatLoad"_s, u"ERROR:Line 1 of the file: the line is too long."_s},
        {u"CheckIntelHexFile"_s, u"line 1: too long for an Intel HEX line"_s},
        {u"ExtractSrecord"_s, kFormatError},
        {u"ExtractIntelHex"_s, kFormatError},
        {u"recognizeAndExtract"_s, u"binary"_s},
        {u"readSettings"_s, u"start values"_s},
        {u"CsvReader"_s, u"CSV line 1: a field is longer than 1048576 bytes."_s},
    };
    for (const Reader& reader : kReaders) {
        SCOPED_TRACE(reader.name);
        ASSERT_TRUE(file.seek(0));
        test::CountingDevice device(file);
        EXPECT_EQ(reader.read(device), outcomes.at(QString::fromLatin1(reader.name)));
        EXPECT_LE(device.bytesRead(), kReadBound);
    }
}

// A line each reader takes, then one of 5 MB: the second line is refused
// as too long where the first was read.
TEST(HugeInput, ALineOfMegabytesIsRefusedWhereItStarts)
{
    struct Row {
        const char* reader;
        QByteArray firstLine;
        QString outcome;
    };
    const Row rows[] = {
        {"CheckSrecordFile", "S10510000102E7", u"line 2: too long for an S-record"_s},
        {"SRecodeLoad", "S10510000102E7", u"ERROR:Line 2 of the file: the line is too long for an S-record."_s},
        {"FormatLoad", "# Template File", u"ERROR:Line 2 of the file: the line is too long."_s},
        {"CheckIntelHexFile", ":00000001FF", u"line 2: too long for an Intel HEX line"_s},
        {"ExtractSrecord", "S10510000102E7", kFormatError},
        {"ExtractIntelHex", ":020000000102FB", kFormatError},
        // The stray last byte is no text: a binary image, known without reading on.
        {"recognizeAndExtract", "S10510000102E7\x01", u"binary"_s},
        {"readSettings", "\"/the/last/path\"", u"start values"_s},
        {"CsvReader", "serial,name", u"CSV line 2: a field is longer than 1048576 bytes."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reader);
        const auto reader = std::find_if(std::begin(kReaders), std::end(kReaders),
                                         [&](const Reader& r) { return qstrcmp(r.name, row.reader) == 0; });
        ASSERT_NE(reader, std::end(kReaders));
        QByteArray bytes = row.firstLine + "\r\n" + QByteArray(5 << 20, 'A') + "\r\n" + row.firstLine + "\r\n";
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        test::CountingDevice device(buffer);
        EXPECT_EQ(reader->read(device), row.outcome);
        EXPECT_LE(device.bytesRead(), kReadBound);
    }
}

// The whole operations, given only a path: the open hands out nothing, the
// extraction reads only the bytes of its records and changes the table only
// when all are found.
TEST(HugeInput, OpenAndExtractionReadTheFirstChunkOfAGigabyteAtMost)
{
    QTemporaryDir dir;
    const QString key = test::sparseFile(dir.path(), u"zeros.KEY"_s, kGigabyte);
    const QString templ = test::sparseFile(dir.path(), u"zeros.639"_s, kGigabyte, "# Template File\r\n");
    const QString image = test::sparseFile(dir.path(), u"image.bin"_s, kGigabyte, "\xCA\xFE");

    const qint64 before = test::bytesReadByThisProcess();
    ASSERT_GE(before, 0) << "the system does not count the bytes read";

    const OpenResult fromKey = openDocument(key);
    EXPECT_EQ(fromKey.status, OpenStatus::NotSrecord);
    EXPECT_EQ(fromKey.document.table, RecordTable{});
    const OpenResult fromTemplate = openDocument(templ);
    EXPECT_EQ(fromTemplate.message, u"ERROR:Line 2 of the file: the line is too long."_s);
    EXPECT_EQ(fromTemplate.document.table, RecordTable{});

    RecordTable table;
    table[0] = test::recordAt(0x10000000, 2, u"head"_s);
    table[1] = test::recordAt(0x10000000 + kGigabyte - 4, 4, u"tail"_s);
    const KeyDataResult found = SetKeyData(table, image, [] { return std::optional(u"10000000"_s); });
    ASSERT_EQ(found.status, KeyDataStatus::Extracted) << found.message.toStdString();
    EXPECT_EQ(found.table[0].KeyData, u"CAFE"_s);
    EXPECT_EQ(found.table[1].KeyData, u"00000000"_s);

    table[2] = test::recordAt(0x10000000 + kGigabyte - 1, 2, u"past the end"_s);
    const KeyDataResult beyond = SetKeyData(table, image, [] { return std::optional(u"10000000"_s); });
    EXPECT_EQ(beyond.status, KeyDataStatus::Failed);
    EXPECT_TRUE(beyond.message.startsWith(u"Data not found.\r\n"_s)) << beyond.message.toStdString();
    EXPECT_EQ(beyond.table, table);

    EXPECT_LE(test::bytesReadByThisProcess() - before, 3 * kReadBound);
}

} // namespace
} // namespace quorvane
