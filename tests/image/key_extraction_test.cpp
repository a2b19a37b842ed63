#include "tests/support/image_support.h"

#include "image/recognition.h"
#include "files/srecord_reader.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::at;
using test::bytes;
using test::ihex;
using test::srec;
using enum ObjectFileKind;

const QByteArray k16 = bytes("00112233445566778899AABBCCDDEEFF");
const QByteArray kS9 = srec(9, 0);
const QByteArray kEof = ihex(1, 0);

QString notFound(const char* address, int size)
{
    return u"Data not found.\r\nFILE: /data/key.obj\r\nADDRESS: "_s + QLatin1String(address) + u"\r\nSIZE: "_s
           + QString::number(size);
}
const QString kFormatError = u"File format error.\r\nFILE: /data/key.obj\r\n"_s;

// One pass serves every record, yet answers as reading them one by one in
// the order given would. What a single record reads from each kind of image
// is in image_contract_test.cpp.
TEST(ExtractionReaders, FillEveryRecordFromOnePassOrNameTheFirstThatFails)
{
    const struct {
        const char* what;
        ObjectFileKind kind = Srecord;
        QByteArray file;
        std::vector<ExtractionTarget> targets;
        QStringList data = {}; // when extracted
        QString error = {};
        Slot failedSlot = -1;
    } rows[] = {
        {.what = "the lowest slot is reported, not the lowest address", .file = srec(1, 0x1000, k16) + kS9,
         .targets = {at(2, 0x9000, 1), at(5, 0x0100, 1)}, .error = notFound("00009000", 1), .failedSlot = 2},
        {.what = "a byte given twice counts once; later lines win until the record is complete",
         .file = srec(1, 0x1000, bytes("11111111")) + srec(1, 0x1000, bytes("22222222"))
                 + srec(1, 0x1004, bytes("33333333")) + srec(1, 0x1000, bytes("44444444")) + kS9,
         .targets = {at(0, 0x1000, 8)}, .data = {"2222222233333333"}},
        {.what = "overlapping lines alone never complete a record",
         .file = srec(1, 0x1000, bytes("11111111")) + srec(1, 0x1000, bytes("22222222")) + kS9,
         .targets = {at(0, 0x1000, 8)}, .error = notFound("00001000", 8), .failedSlot = 0},
        {.what = "digits keep the file's letter case", .file = "S1051000aBcD72\r\nS9030000FC\r\n",
         .targets = {at(0, 0x1000, 2)}, .data = {"aBcD"}},
        {.what = "a line crossing the top of the 32-bit space fills a record crossing it",
         .file = srec(3, 0xFFFFFFF0, k16 + k16) + srec(7, 0), .targets = {at(0, 0xFFFFFFFE, 4)}, .data = {"EEFF0011"}},
        {.what = "a record larger than one line gets no data and no message", .file = srec(1, 0x1000, k16) + kS9,
         .targets = {at(0, 0x5000, 253), at(1, 0x1000, 1)}, .data = {"", "00"}},
        {.what = "a line that cannot be trusted fails the first unfinished record", .kind = IntelHex,
         .file = ihex(0, 0x1000, k16) + ihex(4, 0, bytes("000080")) + kEof,
         .targets = {at(0, 0x1000, 2), at(1, 0x3000, 1), at(2, 0x4000, 1)}, .error = kFormatError, .failedSlot = 1},
        {.what = "a record larger than one line in a binary image", .kind = Binary, .file = k16,
         .targets = {at(0, 0x4000, 253), at(1, 0, 1)}, .data = {"", "00"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice device(row.file);
        const ExtractionResult result = test::extractFrom(device, row.kind, 0, row.targets);
        EXPECT_EQ(result.errorText, row.error);
        EXPECT_EQ(QStringList(result.data.begin(), result.data.end()), row.data);
        EXPECT_EQ(result.failedSlot, row.error.isEmpty() ? std::nullopt : std::optional<Slot>(row.failedSlot));
    }
}

TEST(ExtractionReaders, ANamedReadFailureGoesToTheFirstUnfinishedRecord)
{
    // Slot 0 is complete before the failure, slot 6 lies beyond it: slot 4 is named.
    const std::vector targets = {at(0, 0x10, 2), at(4, 0x30, 1), at(6, 0x20, 1)};
    test::TestDevice device(QByteArray(256, '\0'), 0x18);
    const ExtractionResult result = test::extractFrom(device, Binary, 0, targets);
    EXPECT_EQ(result.status, ExtractionStatus::ReadError);
    EXPECT_EQ(result.errorText, u"Input/output error"_s);
    EXPECT_EQ(result.failedSlot, std::optional<Slot>(4));
}

// The first non-empty line claims a format; a file that then fails the
// format's check is damaged when it is text throughout, else binary.
TEST(RecognizeObjectFile, TellsTextBinaryAndDamagedFilesApart)
{
    const QByteArray srecords = srec(1, 0x1000, k16) + kS9;
    const struct {
        const char* what;
        QByteArray file;
        ObjectFileKind kind;
        qint64 badLine = 0;
        QString why = {};
    } rows[] = {
        {"an empty file", "", Srecord},
        {"S-records with a header and LF line ends", srec(0, 0, "HDR") + "S10510000102E7\nS9030000FC\n", Srecord},
        {"Intel HEX in lower case with CR line ends", ":0400100001020304e2\r:00000001ff", IntelHex},
        {"S-records with empty lines between and at the end", "\r\n" + srec(1, 0x1000, k16) + "\n\r\n" + kS9 + "\r\n",
         Srecord},
        {"S-records with a wrong checksum", srecords.left(srecords.size() - 4) + "00\r\n", Damaged, 2,
         u"wrong checksum"_s},
        {"Intel HEX with a cut line", ihex(0, 0, k16).left(20) + "\r\n" + kEof, Damaged, 1,
         u"count disagrees with the line length"_s},
        {"S-records, then Intel HEX", srecords + kEof, Damaged, 3, u"does not start with \"S\""_s},
        {"a bad line after the end record", srecords + "S1 bad\r\n", Damaged, 3,
         u"holds characters that are not hex digits"_s},
        {"text that claims neither format", "Serial 12\r\n" + srecords, Binary},
        {"a raw image that starts with \":\"", ":" + QByteArray(16, '\0'), Binary},
        {"S-records with one byte that is not text", srecords + "S9\x7F", Binary},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice device(row.file);
        const ObjectFileRecognition seen = examineObjectFile(device);
        EXPECT_EQ(seen.kind, row.kind);
        EXPECT_EQ(seen.damage ? seen.damage->line : 0, row.badLine);
        EXPECT_EQ(seen.damage ? seen.damage->reason : QString(), row.why);
        // The pass that also reads records decides alike, even when they are
        // all found in the first line, and a damaged file fails as a whole.
        const RecognizedExtraction fused = recognizeAndExtract(device, u"x"_s, {at(0, 0x1000, 1)});
        EXPECT_EQ(fused.kind, row.kind);
        EXPECT_EQ(fused.result.has_value(), row.kind != Binary);
        if (row.kind == Damaged) {
            const QString format = row.file.startsWith(':') ? u"Intel HEX"_s : u"S-record"_s;
            EXPECT_EQ(fused.result->errorText,
                      u"File format error.\r\nFILE: x\r\nline %1 (as %2): %3"_s.arg(row.badLine).arg(format, row.why));
        }
    }
    // A KEY file keeps its strict line check: an empty line is refused there.
    test::TestDevice keyFile(srecords + "\r\n");
    EXPECT_EQ(CheckSrecordFile(keyFile).badLine, 3);

    QTemporaryDir dir;
    EXPECT_EQ(recognizeObjectFile(dir.filePath(u"missing"_s)), Binary);
}

} // namespace
} // namespace quorvane
