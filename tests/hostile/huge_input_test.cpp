// Files far too large for what they claim to be: one line the reader
// takes, then a gigabyte without a line break. Every reader gives up on its
// first chunk with its own message instead of reading on (bounded by the
// bytes it reads, not by a clock), and nothing half-read is handed out.

#include "tests/support/file_support.h"

#include "cli/csv_reader.h"
#include "document/document_files.h"
#include "files/intel_hex.h"
#include "image/key_extraction.h"
#include "document/extraction_operation.h"
#include "files/settings_file.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"

#include <QFile>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

constexpr qint64 kGigabyte = qint64(1) << 30;
// A chunk of the line reader (1 MiB) and the longest line it keeps, or the
// largest CSV field or settings file (1 MiB), with room to spare.
constexpr qint64 kReadBound = qint64(4) << 20;

TEST(HugeInput, EveryReaderGivesUpOnAGigabyteWithoutALineBreak)
{
    const Settings start{2, u"/start"_s, 0};
    const ExtractionTarget target{.slot = 0, .address = 0x1000, .size = 4};
    struct Row {
        const char* reader;
        QByteArray firstLine;
        std::function<QString(QIODevice&)> read;
        QString outcome;
    };
    const Row rows[] = {
        {"CheckSrecordFile", "S10510000102E7", [](QIODevice& d) { return test::checkOutcome(CheckSrecordFile(d)); },
         u"line 2: too long for an S-record"_s},
        {"SRecodeLoad", "S10510000102E7", [](QIODevice& d) { Document document; return SRecodeLoad(d, document); },
         u"ERROR:Line 2 of the file: the line is too long for an S-record."_s},
        {"FormatLoad", "# Template File", [](QIODevice& d) { Document document; return FormatLoad(d, document); },
         u"ERROR:Line 2 of the file: the line is too long."_s},
        {"CheckIntelHexFile", ":00000001FF", [](QIODevice& d) { return test::checkOutcome(CheckIntelHexFile(d)); },
         u"line 2: too long for an Intel HEX line"_s},
        // The zeros are no text: a binary image, known without reading on.
        {"recognizeAndExtract S-record", "S10510000102E7",
         [&](QIODevice& d) { return recognizeAndExtract(d, u"f"_s, {target}).kind == ObjectFileKind::Binary ? u"binary"_s : u"text"_s; },
         u"binary"_s},
        {"recognizeAndExtract Intel HEX", ":020000000102FB",
         [&](QIODevice& d) { return recognizeAndExtract(d, u"f"_s, {target}).kind == ObjectFileKind::Binary ? u"binary"_s : u"text"_s; },
         u"binary"_s},
        {"readSettings", "\"/the/last/path\"", [&](QIODevice& d) { return readSettings(d, start).LastPath; }, u"/start"_s},
        {"CsvReader", "serial,name",
         [](QIODevice& d) {
             cli::CsvReader reader(d);
             cli::CsvRow row;
             cli::CsvReader::Status status;
             while ((status = reader.next(row)) == cli::CsvReader::Status::Row) {
             }
             return status == cli::CsvReader::Status::Error ? reader.errorText() : u"read to the end"_s;
         },
         u"CSV line 2: a field is longer than 1048576 bytes."_s},
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reader);
        QFile file(test::sparseFile(dir.path(), QString::fromLatin1(row.reader), kGigabyte, row.firstLine + "\r\n"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        test::CountingDevice device(file);
        EXPECT_EQ(row.read(device), row.outcome);
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
    const QString templateFile = test::sparseFile(dir.path(), u"zeros.639"_s, kGigabyte, "# Template File\r\n");
    const QString image = test::sparseFile(dir.path(), u"image.bin"_s, kGigabyte, "\xCA\xFE");
    const auto startAddress = [] { return std::optional(u"10000000"_s); };

    const qint64 before = test::bytesReadByThisProcess();
    ASSERT_GE(before, 0) << "the system does not count the bytes read";
    const OpenResult fromKey = openDocument(key);
    EXPECT_EQ(fromKey.status, OpenStatus::NotSrecord);
    EXPECT_EQ(fromKey.document.table, RecordTable{});
    const OpenResult fromTemplate = openDocument(templateFile);
    EXPECT_EQ(fromTemplate.message, u"ERROR:Line 2 of the file: the line is too long."_s);
    EXPECT_EQ(fromTemplate.document.table, RecordTable{});

    RecordTable table = test::tableInOrder({{0x10000000, 2}, {0x10000000 + kGigabyte - 4, 4}});
    const KeyDataResult found = SetKeyData(table, image, startAddress);
    ASSERT_EQ(found.status, KeyDataStatus::Extracted) << found.message.toStdString();
    EXPECT_EQ(found.table[0].KeyData, u"CAFE"_s);
    EXPECT_EQ(found.table[1].KeyData, u"00000000"_s);

    table[2] = test::recordAt(0x10000000 + kGigabyte - 1, 2);
    const KeyDataResult beyond = SetKeyData(table, image, startAddress);
    EXPECT_EQ(beyond.status, KeyDataStatus::Failed);
    EXPECT_TRUE(beyond.message.startsWith(u"Data not found.\r\n"_s)) << beyond.message.toStdString();
    EXPECT_EQ(beyond.table, table);
    EXPECT_LE(test::bytesReadByThisProcess() - before, 3 * kReadBound);
}

} // namespace
} // namespace quorvane
