#include "file_test_support.h"

#include "files/intel_hex.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

FormatCheck checked(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CheckIntelHexFile(buffer);
}

// ":" then count FF, offset 0000, type 00, 255 bytes of 01 and the checksum:
// the longest line there can be, with `tail` after it.
QByteArray longestLine(const QByteArray& tail)
{
    return ":FF000000" + QByteArray(255, '\0').replace('\0', "01") + "02" + tail;
}

TEST(CheckIntelHexFile, JudgesEveryLineAndNamesTheFirstBadOne)
{
    struct Row {
        QByteArray file;
        qint64 badLine = 0; // 0: valid
        const char* reason = "";
        qint64 lineCount = 0;
    };
    const Row rows[] = {
        {.file = "", .lineCount = 0},
        // CR LF, LF, CR, none at the end
        {.file = ":0400100001020304E2\r\n:020000040800F2\n:0100000355A7\r:00000001FF", .lineCount = 4},
        {.file = ":0400100001020304e2\n:00000001ff\n", .lineCount = 2},
        {.file = ":00000001FF\n:00000001FF\n", .lineCount = 2}, // lines after the end record are judged too
        {.file = ":0400100001020304E3\n", .badLine = 1, .reason = "wrong checksum"},
        {.file = ":0400100001020304E2\r\n\r\n:00000001FF\r\n", .badLine = 2, .reason = "does not start with \":\""},
        {.file = "S10510000102E7\n", .badLine = 1, .reason = "does not start with \":\""},
        {.file = ":\n", .badLine = 1, .reason = "too short for an Intel HEX line"},
        {.file = ":0\n", .badLine = 1, .reason = "too short for an Intel HEX line"},
        {.file = ":G400100001020304E2\n", .badLine = 1, .reason = "holds characters that are not hex digits"},
        // the sum is right if "ZZ" counted as 0
        {.file = ":02001000ZZ01ED\n", .badLine = 1, .reason = "holds characters that are not hex digits"},
        {.file = ":0400100001020304\n", .badLine = 1, .reason = "count disagrees with the line length"},
        {.file = ":0400100001020304E2X\n", .badLine = 1, .reason = "count disagrees with the line length"},
        {.file = ":00000001FF\n:0400100001020304E3\n", .badLine = 2, .reason = "wrong checksum"},
        {.file = longestLine("\r\n"), .lineCount = 1},
        // one character more than any line can have: refused before the line end is seen
        {.file = ":00000001FF\n" + longestLine("0\r\n"), .badLine = 2, .reason = "too long for an Intel HEX line"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.left(60).toPercentEncoding().toStdString());
        const FormatCheck check = checked(row.file);
        EXPECT_EQ(bool(check), row.badLine == 0);
        EXPECT_EQ(check.badLine, row.badLine);
        EXPECT_EQ(check.reason, QString::fromLatin1(row.reason));
        if (row.badLine == 0) {
            EXPECT_EQ(check.lineCount, row.lineCount);
        }
    }
}

TEST(CheckIntelHexFile, GivesUpOnAFileWithoutLineBreaksInItsFirstChunk)
{
    QByteArray image = ':' + QByteArray(16 << 20, '0');
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(CheckIntelHexFile(buffer));
    EXPECT_LE(buffer.pos(), 2 << 20);
}

TEST(CheckIntelHexFile, AFileThatCannotBeOpenedFails)
{
    QTemporaryDir dir;
    const FormatCheck check = CheckIntelHexFile(dir.filePath(u"missing.hex"_s));
    EXPECT_FALSE(check);
    EXPECT_FALSE(check.reason.isEmpty());
}

TEST(IntelHexFields, TakesApartASoundFrameOnly)
{
    const std::optional<IntelHexFields> fields = intelHexFieldsOf(":0380FF04aBcDeF00");
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->count, 3);
    EXPECT_EQ(fields->offset, 0x80FF);
    EXPECT_EQ(fields->type, 4);
    EXPECT_EQ(fields->dataDigits, "aBcDeF");
    for (QByteArrayView bad : {"", ":00000001", "00000001FF0", ":0000G001FF", ":0100000001", ":000000010000"})
        EXPECT_FALSE(intelHexFieldsOf(bad)) << bad.toByteArray().data();
}

} // namespace
} // namespace quorvane
