#include "extraction_test_support.h"

#include "files/object_file.h"
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

// The texts the user reads, spelled out rather than built by the code under test.
QString notFound(const char* address, int size)
{
    return u":Data not found.\r\nFILE: /data/key.obj\r\nADDRESS: "_s + QLatin1String(address) + u"\r\nSIZE: "_s
           + QString::number(size);
}
const QString kFormatError = u":File format error.\r\nFILE: /data/key.obj\r\n"_s;

QByteArray image256()
{
    QByteArray image(256, 0);
    for (int i = 0; i < 256; ++i)
        image[i] = char(i);
    return image;
}

struct ReaderRow {
    const char* what;
    ObjectFileKind kind;
    quint32 start = 0; // of a binary image
    QByteArray file{};
    std::vector<ExtractionTarget> targets{};
    QStringList data{}; // when extracted
    QString error{};    // ":" first; empty when extracted
    Slot failedSlot = -1;
};

void expectResult(const ReaderRow& row, const ExtractionResult& result)
{
    EXPECT_EQ(result.errorText, row.error);
    if (row.error.isEmpty()) {
        EXPECT_EQ(result.status, ExtractionStatus::Extracted);
        EXPECT_EQ(QStringList(result.data.begin(), result.data.end()), row.data);
        EXPECT_FALSE(result.failedSlot);
    } else {
        EXPECT_NE(result.status, ExtractionStatus::Extracted);
        EXPECT_TRUE(result.data.empty());
        EXPECT_EQ(result.failedSlot, std::optional<Slot>(row.failedSlot));
    }
}

TEST(ExtractionReaders, FillEveryRecordFromOnePassOrNameTheFirstThatFails)
{
    const ReaderRow rows[] = {
        {.what = "a record inside one line gets its bytes 3 to 6", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + kS9, .targets = {at(0, 0x1002, 4)}, .data = {"22334455"}},
        {.what = "a record across two lines takes a tail and a head", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + srec(1, 0x1010, bytes("A0A1A2A3")) + kS9,
         .targets = {at(0, 0x100E, 4)}, .data = {"EEFFA0A1"}},
        {.what = "the first end record stops the reading", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + kS9 + srec(1, 0x2000, bytes("CAFE")),
         .targets = {at(0, 0x1000, 2), at(7, 0x2000, 2)}, .error = notFound("00002000", 2), .failedSlot = 7},
        {.what = "without an end record, missing bytes are not made up", .kind = Srecord,
         .file = srec(1, 0x1000, k16), .targets = {at(2, 0x100E, 4)}, .error = notFound("0000100E", 4), .failedSlot = 2},
        {.what = "an empty file holds no record", .kind = Srecord,
         .file = "", .targets = {at(3, 0, 1), at(4, 0x10, 2)}, .error = notFound("00000000", 1), .failedSlot = 3},
        {.what = "a byte given twice counts once; later lines win until the record is complete", .kind = Srecord,
         .file = srec(1, 0x1000, bytes("11111111")) + srec(1, 0x1000, bytes("22222222"))
                 + srec(1, 0x1004, bytes("33333333")) + srec(1, 0x1000, bytes("44444444")) + kS9,
         .targets = {at(0, 0x1000, 8)}, .data = {"2222222233333333"}},
        {.what = "overlapping lines alone never complete a record", .kind = Srecord,
         .file = srec(1, 0x1000, bytes("11111111")) + srec(1, 0x1000, bytes("22222222")) + kS9,
         .targets = {at(0, 0x1000, 8)}, .error = notFound("00001000", 8), .failedSlot = 0},
        {.what = "digits keep the file's letter case", .kind = Srecord,
         .file = "S1051000aBcD72\r\nS9030000FC\r\n", .targets = {at(0, 0x1000, 2)}, .data = {"aBcD"}},
        {.what = "header and count records are passed over", .kind = Srecord,
         .file = srec(0, 0, "HDR") + srec(5, 3) + srec(6, 3) + srec(2, 0xAB0000, k16) + srec(8, 0),
         .targets = {at(0, 0xAB000F, 1)}, .data = {"FF"}},
        {.what = "a line at the top of the 32-bit space ends there", .kind = Srecord,
         .file = srec(3, 0, k16) + srec(3, 0xFFFFFFF0, k16) + srec(7, 0),
         .targets = {at(0, 0xFFFFFFFC, 4)}, .data = {"CCDDEEFF"}},
        {.what = "a record past the top of the 32-bit space does not wrap to 0", .kind = Srecord,
         .file = srec(3, 0, k16) + srec(3, 0xFFFFFFF0, k16) + srec(7, 0),
         .targets = {at(1, 0xFFFFFFFE, 4)}, .error = notFound("FFFFFFFE", 4), .failedSlot = 1},
        {.what = "a line crossing the top of the 32-bit space fills a record crossing it", .kind = Srecord,
         .file = srec(3, 0xFFFFFFF0, k16 + k16) + srec(7, 0), .targets = {at(0, 0xFFFFFFFE, 4)}, .data = {"EEFF0011"}},
        {.what = "a line crossing the top of the 32-bit space does not wrap to 0", .kind = Srecord,
         .file = srec(3, 0xFFFFFFF0, k16 + k16) + srec(7, 0), .targets = {at(0, 0, 1)},
         .error = notFound("00000000", 1), .failedSlot = 0},
        {.what = "a record larger than one line gets no data and no message", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + kS9, .targets = {at(0, 0x5000, 253), at(1, 0x1000, 1)}, .data = {"", "00"}},
        {.what = "the lowest slot is reported, not the lowest address", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + kS9, .targets = {at(2, 0x9000, 1), at(5, 0x0100, 1)},
         .error = notFound("00009000", 1), .failedSlot = 2},
        {.what = "a data line with a stray last character fails the first unfinished record", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + "S10510000102E7X\r\n" + kS9,
         .targets = {at(0, 0x1000, 2), at(1, 0x3000, 1), at(2, 0x4000, 1)}, .error = kFormatError, .failedSlot = 1},
        {.what = "a line of another format is a format error", .kind = Srecord,
         .file = srec(1, 0x1000, k16) + kEof, .targets = {at(0, 0x2000, 1)}, .error = kFormatError, .failedSlot = 0},
        {.what = "a data line too short for its address is a format error", .kind = Srecord,
         .file = "S1021000\r\n", .targets = {at(0, 0x1000, 1)}, .error = kFormatError, .failedSlot = 0},

        {.what = "an extended linear address of 8000 places data at 80000000", .kind = IntelHex,
         .file = ihex(4, 0, bytes("8000")) + ihex(0, 0, k16) + kEof, .targets = {at(0, 0x80000004, 4)},
         .data = {"44556677"}},
        {.what = "an extended segment address counts in 16-byte paragraphs", .kind = IntelHex,
         .file = ihex(2, 0, bytes("1000")) + ihex(0, 0x0010, k16) + kEof, .targets = {at(0, 0x10010, 2)},
         .data = {"0011"}},
        {.what = "linear and segment parts add up", .kind = IntelHex,
         .file = ihex(4, 0, bytes("0001")) + ihex(2, 0, bytes("1000")) + ihex(0, 0, k16) + kEof,
         .targets = {at(0, 0x20001, 1)}, .data = {"11"}},
        {.what = "start addresses and unknown types are passed over", .kind = IntelHex,
         .file = ihex(3, 0, bytes("12345678")) + ihex(5, 0, bytes("12345678")) + ihex(6, 0, bytes("00"))
                 + ihex(0, 0x10, k16) + kEof,
         .targets = {at(0, 0x10, 1)}, .data = {"00"}},
        {.what = "the end-of-file record stops the reading", .kind = IntelHex,
         .file = ihex(0, 0x1000, k16) + kEof + ihex(0, 0x2000, bytes("CAFE")),
         .targets = {at(0, 0x2000, 2)}, .error = notFound("00002000", 2), .failedSlot = 0},
        {.what = "a line crossing the top of the 32-bit space fills a record crossing it", .kind = IntelHex,
         .file = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .targets = {at(0, 0xFFFFFFFE, 4)},
         .data = {"EEFF0011"}},
        {.what = "a line crossing the top of the 32-bit space does not wrap to 0", .kind = IntelHex,
         .file = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .targets = {at(0, 0, 1)},
         .error = notFound("00000000", 1), .failedSlot = 0},
        {.what = "a base that is not two bytes long is a format error", .kind = IntelHex,
         .file = ihex(4, 0, bytes("000080")) + ihex(0, 0, k16) + kEof, .targets = {at(0, 0, 1)},
         .error = kFormatError, .failedSlot = 0},

        {.what = "the last four bytes of a 256-byte image", .kind = Binary, .start = 0x1000, .file = image256(),
         .targets = {at(0, 0x10FC, 4), at(1, 0x1000, 1), at(2, 0x10AB, 2)}, .data = {"FCFDFEFF", "00", "ABAC"}},
        {.what = "an image ending at the top of the 32-bit space", .kind = Binary, .start = 0xFFFFFF00,
         .file = image256(), .targets = {at(0, 0xFFFFFFFC, 4)}, .data = {"FCFDFEFF"}},
        {.what = "one byte past the image's end", .kind = Binary, .start = 0x1000, .file = image256(),
         .targets = {at(0, 0x10FC, 5)}, .error = notFound("000010FC", 5), .failedSlot = 0},
        {.what = "one byte below the start address", .kind = Binary, .start = 0x1000, .file = image256(),
         .targets = {at(0, 0x1000, 4), at(1, 0x0FFF, 1)}, .error = notFound("00000FFF", 1), .failedSlot = 1},
        {.what = "the top of the 32-bit space is far past a small image", .kind = Binary, .file = image256(),
         .targets = {at(0, 0xFFFFFFFF, 1)}, .error = notFound("FFFFFFFF", 1), .failedSlot = 0},
        {.what = "a record larger than one line gets no data and no message", .kind = Binary, .file = image256(),
         .targets = {at(0, 0x4000, 253), at(1, 0, 1)}, .data = {"", "00"}},
    };
    for (const ReaderRow& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice device(row.file);
        expectResult(row, test::extractFrom(device, row.kind, row.start, row.targets));
        // Where the file passes its format check, recognising it reads the same.
        if (row.kind != Binary && recognizeObjectFile(device) == row.kind) {
            const RecognizedExtraction fused = recognizeAndExtract(device, u"/data/key.obj"_s, row.targets);
            ASSERT_EQ(fused.kind, row.kind);
            expectResult(row, fused.result.value());
        }
    }
}

TEST(ExtractionReaders, ANamedReadFailureGoesToTheFirstUnfinishedRecord)
{
    // Slot 0 is complete before the failure, slot 6 lies beyond it: slot 4 is named.
    const std::vector targets = {at(0, 0x10, 2), at(4, 0x30, 1), at(6, 0x20, 1)};
    const QByteArray srecFile = srec(1, 0x10, k16) + srec(1, 0x20, k16);
    const QByteArray ihexFile = ihex(0, 0x10, k16) + ihex(0, 0x20, k16);
    const struct { ObjectFileKind kind; QByteArray file; qint64 failFrom; } rows[] = {
        {Srecord, srecFile, srecFile.indexOf('\n') + 1},
        {IntelHex, ihexFile, ihexFile.indexOf('\n') + 1},
        {Binary, image256(), 0x18},
    };
    for (const auto& row : rows) {
        test::TestDevice device(row.file, row.failFrom);
        const ExtractionResult result = test::extractFrom(device, row.kind, 0, targets);
        EXPECT_EQ(result.status, ExtractionStatus::ReadError);
        EXPECT_EQ(result.errorText, u":Input/output error"_s);
        EXPECT_EQ(result.failedSlot, std::optional<Slot>(4));
    }
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
        {"Intel HEX with an empty last line", ihex(0, 0, k16) + kEof + "\r\n", IntelHex},
        {"S-records with a wrong checksum", srecords.left(srecords.size() - 4) + "00\r\n", Damaged, 2,
         u"wrong checksum"_s},
        {"Intel HEX with a cut line", ihex(0, 0, k16).left(20) + "\r\n" + kEof, Damaged, 1,
         u"count disagrees with the line length"_s},
        {"S-records, then Intel HEX", srecords + kEof, Damaged, 3, u"does not start with \"S\""_s},
        {"a bad line after the end record", srecords + "S1 bad\r\n", Damaged, 3,
         u"holds characters that are not hex digits"_s},
        {"text that claims neither format", "Serial 12\r\n" + srecords, Binary},
        {"a raw image that starts with \":\"", ":" + image256(), Binary},
        {"a raw image that starts with \"S1\"", "S1" + image256(), Binary},
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
                      u":File format error.\r\nFILE: x\r\nline %1 (as %2): %3"_s.arg(row.badLine).arg(format, row.why));
        }
    }
    // A KEY file keeps its strict line check: an empty line is refused there.
    test::TestDevice keyFile(srecords + "\r\n");
    EXPECT_EQ(CheckSrecordFile(keyFile).badLine, 3);

    // A huge raw image is known for binary from its first bytes, whatever it starts with.
    test::TestDevice huge("S1" + QByteArray(64 << 20, '\0'));
    EXPECT_EQ(recognizeAndExtract(huge, u"x"_s, {at(0, 0x1000, 1)}).kind, Binary);
    EXPECT_LT(huge.bytesRead(), qint64(4) << 20);
    QTemporaryDir dir;
    EXPECT_EQ(recognizeObjectFile(dir.filePath(u"missing"_s)), Binary);
}

} // namespace
} // namespace quorvane
