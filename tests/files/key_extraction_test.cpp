#include "extraction_test_support.h"

#include "files/object_file.h"
#include "files/srecord_reader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

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
        {.what = "digits to copy that are not hex are a format error", .kind = Srecord,
         .file = "S1051000ZZ01E7\r\n", .targets = {at(0, 0x1000, 1)}, .error = kFormatError, .failedSlot = 0},

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
        {.what = "without an end record, missing bytes are not made up", .kind = IntelHex,
         .file = ihex(0, 0x1000, k16), .targets = {at(0, 0x100F, 2)}, .error = notFound("0000100F", 2), .failedSlot = 0},
        {.what = "a line at the top of the 32-bit space ends there", .kind = IntelHex,
         .file = ihex(0, 0, k16) + ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16) + kEof,
         .targets = {at(0, 0xFFFFFFFC, 4)}, .data = {"CCDDEEFF"}},
        {.what = "a record past the top of the 32-bit space does not wrap to 0", .kind = IntelHex,
         .file = ihex(0, 0, k16) + ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16) + kEof,
         .targets = {at(0, 0xFFFFFFFE, 4)}, .error = notFound("FFFFFFFE", 4), .failedSlot = 0},
        {.what = "a line crossing the top of the 32-bit space fills a record crossing it", .kind = IntelHex,
         .file = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .targets = {at(0, 0xFFFFFFFE, 4)},
         .data = {"EEFF0011"}},
        {.what = "a line crossing the top of the 32-bit space does not wrap to 0", .kind = IntelHex,
         .file = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .targets = {at(0, 0, 1)},
         .error = notFound("00000000", 1), .failedSlot = 0},
        {.what = "a base that is not two bytes long is a format error", .kind = IntelHex,
         .file = ihex(4, 0, bytes("000080")) + ihex(0, 0, k16) + kEof, .targets = {at(0, 0, 1)},
         .error = kFormatError, .failedSlot = 0},
        {.what = "digits keep the file's letter case", .kind = IntelHex,
         .file = ihex(0, 0x1000, bytes("ABCD")).toLower() + kEof, .targets = {at(0, 0x1000, 2)}, .data = {"abcd"}},

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

// Found by fuzzing: a data line with letters that are not hex digits once
// failed only the records its own bytes reached, so a record read together
// with one of those failed as a format error while alone it was found. Now
// such a line is malformed wherever it lies, and every record ends together
// as it ends alone: found when complete before the line, failing after it.
TEST(ExtractionReaders, ARecordReadWithOthersEndsAsItEndsAlone)
{
    const ExtractionTarget before = at(0, 0x1004, 2);  // complete before the bad line
    const ExtractionTarget after = at(1, 0x2000, 1);   // given only after it
    const ExtractionTarget touched = at(2, 0x3000, 2); // where the bad line's bytes lie
    const struct { ObjectFileKind kind; QByteArray file; } rows[] = {
        {Srecord, srec(1, 0x1000, k16) + "S1053000ZZ0144\r\n" + srec(1, 0x2000, k16) + srec(1, 0x3000, k16) + kS9},
        {IntelHex, ihex(0, 0x1000, k16) + ":02300000ZZ0144\r\n" + ihex(0, 0x2000, k16) + ihex(0, 0x3000, k16) + kEof},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        const auto read = [&](const std::vector<ExtractionTarget>& targets) {
            test::TestDevice device(row.file);
            return test::extractFrom(device, row.kind, 0, targets);
        };
        EXPECT_EQ(read({before}).data, std::vector{u"4455"_s});
        for (const ExtractionTarget& failing : {after, touched}) {
            const ExtractionResult alone = read({failing});
            EXPECT_EQ(alone.errorText, kFormatError);
            EXPECT_EQ(alone.failedSlot, std::optional<Slot>(failing.slot));
        }
        const ExtractionResult together = read({before, after, touched});
        EXPECT_EQ(together.errorText, kFormatError);
        EXPECT_EQ(together.failedSlot, std::optional<Slot>(after.slot));
    }
}

// Every character of a data line counts, wherever a block of sixteen the
// check takes at once begins or ends: the characters just outside each range
// of hex digits, at every position of a long line of either format.
TEST(ExtractionReaders, ANonHexCharacterAnywhereInADataLineIsAFormatError)
{
    const QByteArray data = k16 + k16;
    const struct { ObjectFileKind kind; QByteArray line; QByteArray end; } rows[] = {
        {Srecord, srec(3, 0x5000, data).chopped(2), kS9},
        {IntelHex, ihex(0, 0x5000, data).chopped(2), kEof},
    };
    for (const auto& row : rows) {
        // Lower-case letters and digits alone are sound; the record is elsewhere.
        test::TestDevice sound(row.line.left(2) + row.line.mid(2).toLower() + "\r\n" + row.end);
        EXPECT_EQ(test::extractFrom(sound, row.kind, 0, {at(0, 0x9000, 1)}).errorText, notFound("00009000", 1));
        for (qsizetype position = 0; position < row.line.size(); ++position) {
            for (const char bad : {'/', ':', '@', 'G', '`', 'g', ' ', '\x80', '\xC1', '\xFF'}) {
                QByteArray line = row.line;
                if (line[position] == bad)
                    continue; // the colon that starts an Intel HEX line
                line[position] = bad;
                test::TestDevice device(line + "\r\n" + row.end);
                EXPECT_EQ(test::extractFrom(device, row.kind, 0, {at(0, 0x9000, 1)}).errorText, kFormatError)
                    << line.toStdString() << " at " << position;
            }
        }
    }
}

TEST(ExtractionReaders, StopReadingOnceEveryRecordIsComplete)
{
    QByteArray srecTail, ihexTail;
    for (int i = 0; i < 100000; ++i) {
        srecTail += srec(3, 0x10000 + 16 * quint32(i), k16);
        ihexTail += ihex(0, quint16(16 * i), k16);
    }
    const struct { ObjectFileKind kind; QByteArray file; } rows[] = {
        {Srecord, srec(1, 0x1000, k16) + srecTail},
        {IntelHex, ihex(0, 0x1000, k16) + ihexTail},
    };
    for (const auto& row : rows) {
        test::TestDevice device(row.file);
        ASSERT_EQ(test::extractFrom(device, row.kind, 0, {at(0, 0x1004, 4)}).data, std::vector{u"44556677"_s});
        EXPECT_LT(device.bytesRead(), qint64(2) << 20) << "of " << row.file.size();
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

TEST(ExtractionReaders, ReportProgressAndStopWhenCancelled)
{
    // Header lines are passed over, so the only data sits at the end of ~12 MB.
    QByteArray file(12 << 20, '\0');
    const QByteArray header = srec(0, 0);
    for (qsizetype i = 0; i + header.size() <= file.size(); i += header.size())
        file.replace(i, header.size(), header);
    file += srec(1, 0x1000, k16);

    std::vector<std::pair<qint64, qint64>> reports;
    test::TestDevice device(file);
    const ExtractionResult done = ExtractSrecord(device, u"big"_s, {at(0, 0x1000, 1)}, [&](qint64 read, qint64 total) {
        reports.emplace_back(read, total);
        return true;
    });
    EXPECT_EQ(done.data, std::vector{u"00"_s});
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().second, file.size());
    EXPECT_LT(reports.front().first, reports.back().first);

    test::TestDevice again(file);
    int calls = 0;
    const ExtractionResult cancelled = ExtractSrecord(again, u"big"_s, {at(0, 0x1000, 1)}, [&](qint64, qint64) {
        ++calls;
        return false;
    });
    EXPECT_EQ(cancelled.status, ExtractionStatus::Cancelled);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(cancelled.errorText.isEmpty());
    EXPECT_FALSE(cancelled.failedSlot);
    EXPECT_LT(again.bytesRead(), file.size());
}

TEST(ExtractionReaders, ABinaryImageIsReadOnlyWhereItsRecordsAre)
{
    test::TestDevice device(image256());
    const ExtractionResult result = test::extractFrom(device, Binary, 0x100, {at(0, 0x180, 7), at(1, 0x1F0, 9)});
    EXPECT_EQ(result.data, (std::vector{u"80818283848586"_s, u"F0F1F2F3F4F5F6F7F8"_s}));
    EXPECT_EQ(device.bytesRead(), 16);

    // A sparse file: gigabytes that take no room, recognised and read in no time.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"huge.bin"_s);
    constexpr qint64 kKeyOffset = qint64(0xB0000000);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(3) << 30));
        ASSERT_TRUE(file.seek(kKeyOffset) && file.write("\xCA\xFE\xBA\xBE") == 4);
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(recognizeObjectFile(path), Binary);
    const ExtractionResult huge = extractKeyData(path, Binary, 0x10000000, {at(0, 0xC0000000, 4)});
    EXPECT_EQ(huge.data, std::vector{u"CAFEBABE"_s});
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST(ExtractionReaders, AFileThatCannotBeOpenedFailsOnlyWhenSomethingIsLookedFor)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing.obj"_s);
    for (ObjectFileKind kind : {Srecord, IntelHex, Binary}) {
        const ExtractionResult failed = extractKeyData(missing, kind, 0, {at(2, 0, 300), at(3, 0, 1)});
        EXPECT_EQ(failed.status, ExtractionStatus::ReadError);
        EXPECT_TRUE(failed.errorText.startsWith(u':') && failed.errorText.size() > 1) << failed.errorText.toStdString();
        EXPECT_EQ(failed.failedSlot, std::optional<Slot>(3));
        EXPECT_EQ(extractKeyData(missing, kind, 0, {at(2, 0, 300)}).data, std::vector{QString()});
    }
}

TEST(ExtractionTargets, AreTheRecordsWithAnAddressAndASize)
{
    RecordTable table;
    table[0] = test::hexRecordAt(0x80001234, u"AABB"_s);
    table[1] = {.KeyTitle = u"no address"_s, .KeySize = 4, .KeyData = {}};
    table[2] = test::addressed({.KeyTitle = u"no size"_s, .KeySize = 0, .KeyData = u"AA"_s}, 0x10);
    table[3] = test::addressed({.KeyTitle = u"negative"_s, .KeySize = -1, .KeyData = {}}, 0x10);
    table[4] = test::addressed({.KeyTitle = u"oversized"_s, .KeySize = 300, .KeyData = {}}, 0xFFFFFFFF);
    table[255] = test::asciiRecordAt(0x20, u"ab"_s);
    table[kSpareSlot] = test::hexRecordAt(0x30, u"CC"_s);
    const std::vector<ExtractionTarget> targets = extractionTargets(table);
    ASSERT_EQ(targets.size(), 3u);
    const ExtractionTarget expected[] = {at(0, 0x80001234, 2), at(4, 0xFFFFFFFF, 300), at(255, 0x20, 2)};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        EXPECT_EQ(targets[i].slot, expected[i].slot);
        EXPECT_EQ(targets[i].address, expected[i].address);
        EXPECT_EQ(targets[i].size, expected[i].size);
    }
}

// The first non-empty line claims a format; a file that then fails the
// format's check is damaged when it is text throughout, else binary.
TEST(RecognizeObjectFile, TellsTextBinaryAndDamagedFilesApart)
{
    const QByteArray srecords = srec(1, 0x1000, k16) + kS9;
    const struct { const char* what; QByteArray file; ObjectFileKind kind; qint64 badLine = 0; QString why = {}; } rows[] = {
        {"an empty file", "", Srecord},
        {"S-records with a header and LF line ends", srec(0, 0, "HDR") + "S10510000102E7\nS9030000FC\n", Srecord},
        {"Intel HEX in lower case with CR line ends", ":0400100001020304e2\r:00000001ff", IntelHex},
        {"S-records with empty lines between and at the end", "\r\n" + srec(1, 0x1000, k16) + "\n\r\n" + kS9 + "\r\n",
         Srecord},
        {"Intel HEX with an empty last line", ihex(0, 0, k16) + kEof + "\r\n", IntelHex},
        {"S-records with a wrong checksum", srecords.left(srecords.size() - 4) + "00\r\n", Damaged, 2, u"wrong checksum"_s},
        {"Intel HEX with a cut line", ihex(0, 0, k16).left(20) + "\r\n" + kEof, Damaged, 1,
         u"count disagrees with the line length"_s},
        {"S-records, then Intel HEX", srecords + kEof, Damaged, 3, u"does not start with \"S\""_s},
        {"a bad line after the end record", srecords + "S1 bad\r\n", Damaged, 3, u"holds characters that are not hex digits"_s},
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
        if (row.kind == Damaged)
            EXPECT_EQ(fused.result->errorText, u":File format error.\r\nFILE: x\r\nline %1 (as %2): %3"_s.arg(row.badLine)
                                                   .arg(row.file.startsWith(':') ? u"Intel HEX"_s : u"S-record"_s, row.why));
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

// Files made now by other tools from one random image: every record, wherever
// it sits, holds the image's bytes at its offset, read in a single pass.
TEST(ExtractionReaders, ReadFilesMadeByObjcopyAndSrecCat)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(u"image.bin"_s), out = dir.filePath(u"image.out"_s);
    QByteArray image(0x28000, 0); // 160 KiB: two 64 KiB boundaries inside
    QRandomGenerator random(20240917);
    for (char& byte : image)
        byte = char(random.bounded(256));
    test::writeFileBytes(bin, image);

    const struct { QString program; QStringList arguments; quint32 base; ObjectFileKind kind; QByteArray shows; }
        tools[] = {
        {u"objcopy"_s, {"-I", "binary", "-O", "srec", bin, out}, 0, Srecord, "\r\nS2"},
        {u"objcopy"_s, {"-I", "binary", "-O", "srec", "--srec-len=64", "--srec-forceS3",
                        "--change-addresses=0x7FFF8000", bin, out}, 0x7FFF8000, Srecord, "\r\nS3"},
        {u"objcopy"_s, {"-I", "binary", "-O", "ihex", "--change-addresses=0x1FFF0", bin, out}, 0x1FFF0, IntelHex,
         ":02000002"},
        {u"objcopy"_s, {"-I", "binary", "-O", "ihex", "--change-addresses=0x0FFF8000", bin, out}, 0x0FFF8000,
         IntelHex, ":02000004"},
        {u"srec_cat"_s, {bin, "-binary", "-offset", "0x10000", "-o", out, "-motorola"}, 0x10000, Srecord, "\nS5"},
        // The image ends at the last byte of the 32-bit space.
        {u"srec_cat"_s, {bin, "-binary", "-offset", "0xFFFD8000", "-o", out, "-motorola"}, 0xFFFD8000, Srecord,
         "\nS3"},
        {u"srec_cat"_s, {bin, "-binary", "-offset", "0xFFFD8000", "-o", out, "-intel"}, 0xFFFD8000, IntelHex,
         ":02000004FFFF"},
        {{}, {}, 0x00400000, Binary, {}},
    };

    const auto targetsAt = [&](quint32 base) {
        const quint32 boundary = ((base + 0x100) | 0xFFFF) + 1; // the first one well inside
        std::vector targets = {at(0, base, 1), at(1, boundary - 100, 200), at(2, base + quint32(image.size()) - 252, 252)};
        for (Slot slot = 3; slot < kRecordCount; slot += 2) {
            const int size = int(random.bounded(1, 253));
            targets.push_back(at(slot, base + quint32(random.bounded(qint64(image.size()) - size)), size));
        }
        return targets;
    };
    for (const auto& tool : tools) {
        SCOPED_TRACE((tool.program + u' ' + tool.arguments.join(u' ')).toStdString());
        const QString file = tool.program.isEmpty() ? bin : out;
        if (!tool.program.isEmpty()) {
            ASSERT_EQ(test::runTool(tool.program, tool.arguments), QString());
            ASSERT_TRUE(test::readFileBytes(out).contains(tool.shows));
        }
        ASSERT_EQ(recognizeObjectFile(file), tool.kind);
        const std::vector<ExtractionTarget> targets = targetsAt(tool.base);
        const ExtractionResult result = extractKeyData(file, tool.kind, tool.base, targets);
        ASSERT_EQ(result.errorText, QString());
        const RecognizedExtraction fused = recognizeAndExtract(file, targets);
        ASSERT_EQ(fused.kind, tool.kind);
        if (tool.kind != Binary) {
            ASSERT_EQ(fused.result.value().data, result.data);
        }
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const QByteArray expected = image.mid(targets[i].address - tool.base, targets[i].size).toHex().toUpper();
            ASSERT_EQ(result.data[i], QString::fromLatin1(expected)) << "slot " << targets[i].slot;
        }

        test::TestDevice device(test::readFileBytes(file));
        ASSERT_EQ(test::extractFrom(device, tool.kind, tool.base, targets).data, result.data);
        EXPECT_LE(device.bytesRead(), device.size());
    }
}

} // namespace
} // namespace quorvane
