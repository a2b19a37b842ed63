#include "file_test_support.h"

#include "files/line_reader.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"

#include "core/hex_text.h"

#include <QRandomGenerator>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;

// The lines, each with the line end the reader saw after it, then how
// reading stopped when not at the end.
QList<QByteArray> readAllLines(QByteArray input, qsizetype chunk)
{
    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer, 8, chunk);
    QList<QByteArray> lines;
    QByteArrayView line;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line)
        lines.append(line.toByteArray() + reader.lineEnd().toByteArray());
    if (status == LineReader::Status::TooLong)
        lines.append("too long: line " + QByteArray::number(reader.lineNumber()));
    return lines;
}

// Every case is read with chunks from one byte up, so that a line end split
// between two reads (CR at the end of one chunk, LF at the start of the
// next) is met at every position.
TEST(LineReader, SplitsAtCrLfLfAndCrWhateverTheChunkSize)
{
    const std::pair<QByteArray, QList<QByteArray>> cases[] = {
        {"", {}},
        {"S1", {"S1"}},
        {"a\r\nb\nc\rd\r", {"a\r\n", "b\n", "c\r", "d\r"}},
        {"a\r\n\r\nb\n\n\rc\r\r\nd\r\n", {"a\r\n", "\r\n", "b\n", "\n", "\r", "c\r", "\r\n", "d\r\n"}},
        {"12345678\r\ny", {"12345678\r\n", "y"}},
        {"12345678\r", {"12345678\r"}},
        {"ok\r\n123456789\r\nnever read\r\n", {"ok\r\n", "too long: line 2"}},
    };
    for (const auto& [input, lines] : cases) {
        for (qsizetype chunk : {1, 2, 3, 5, 64, 1 << 20})
            EXPECT_EQ(readAllLines(input, chunk), lines) << input.toPercentEncoding().data() << " chunk " << chunk;
    }
}

// Lines of 0 to 40 characters, each with each kind of line end, so that the
// end of a line falls at every position of the blocks the search compares
// and of the chunks read.
TEST(LineReader, FindsEveryLineEndWhereverItFalls)
{
    QByteArray input;
    QList<QByteArray> expected;
    for (int length = 0; length <= 40; ++length) {
        for (const char* end : {"\r\n", "\n", "\r"}) {
            const QByteArray line(length, char('a' + length % 26));
            input += line + end;
            expected.append(line + end);
        }
    }
    for (qsizetype chunk : {1, 7, 64, 1 << 20}) {
        QBuffer buffer(&input);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer, 64, chunk);
        QList<QByteArray> lines;
        QByteArrayView line;
        while (reader.next(line) == LineReader::Status::Line)
            lines.append(line.toByteArray() + reader.lineEnd().toByteArray());
        EXPECT_EQ(lines, expected) << "chunk " << chunk;
    }
}

// A small file gets a buffer of its size: what is added to it after the
// reader was made is read all the same, however long.
TEST(LineReader, ReadsToTheEndOfADeviceThatGrows)
{
    QByteArray bytes = "a\r\n";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer, 8);
    QByteArrayView line;
    ASSERT_EQ(reader.next(line), LineReader::Status::Line);
    EXPECT_EQ(line, "a");
    bytes += "bc\r\n" + QByteArray(5000, '\n') + "12345678\r\n123456789";
    QList<QByteArray> lines;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line)
        lines.append(line.toByteArray());
    EXPECT_EQ(lines.size(), 5002);
    EXPECT_EQ(lines.front(), "bc");
    EXPECT_EQ(lines.back(), "12345678");
    EXPECT_EQ(status, LineReader::Status::TooLong);
}

// A device whose every read fails.
class UnreadableDevice : public QIODevice {
public:
    UnreadableDevice() { open(QIODevice::ReadOnly); }
    qint64 readData(char*, qint64) override
    {
        setErrorString(u"Input/output error"_s);
        return -1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }
};

// A read failure must not pass for the end of the file.
TEST(Readers, ReportWhatCannotBeRead)
{
    UnreadableDevice device;
    Document document = test::documentIn(Bits16);
    EXPECT_FALSE(CheckSrecordFile(device));
    EXPECT_EQ(SRecodeLoad(device, document), u"ERROR:Input/output error"_s);
    EXPECT_EQ(document.mode.current(), Bits16);
    EXPECT_EQ(FormatLoad(device, document), u"ERROR:Input/output error"_s);

    QTemporaryDir dir;
    const QString missing = dir.filePath(u"missing"_s);
    EXPECT_FALSE(CheckSrecordFile(missing));
    EXPECT_TRUE(SRecodeLoad(missing, document).startsWith(u"ERROR:"_s));
    document.mode.SetAddr16();
    EXPECT_TRUE(FormatLoad(missing, document).startsWith(u"ERROR:"_s));
    EXPECT_EQ(document.mode.current(), Bits32);
}

FormatCheck checked(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CheckSrecordFile(buffer);
}

TEST(CheckSrecordFile, JudgesEveryLineAndNamesTheFirstBadOne)
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
        {.file = "S10510000102E7\r\nS9030000FC\nS804000000FB\rS70500000000FA", .lineCount = 4},
        {.file = "S10510000102e7\n", .lineCount = 1},
        {.file = "S10510000102E7X\n", .lineCount = 1}, // one stray character, as many tools leave
        {.file = "S007000048445220FA\nS206123456AABBF8\nS5030001FB\nS804000000FB\n", .lineCount = 4},
        {.file = "S10510000102E8\n", .badLine = 1, .reason = "wrong checksum"},
        {.file = "S4030000FC\n", .badLine = 1, .reason = "unknown record type"},
        {.file = "S10510000102E7\r\n\r\nS9030000FC\r\n", .badLine = 2, .reason = "too short for an S-record"},
        {.file = "s10510000102E7\n", .badLine = 1, .reason = "does not start with \"S\""},
        // the sum is right if "ZZ" counted as 0
        {.file = "S1040000ZZFB\n", .badLine = 1, .reason = "holds characters that are not hex digits"},
        {.file = "S3041020309B\n", .badLine = 1, .reason = "count too small for the address"},
        {.file = "S10510000102\n", .badLine = 1, .reason = "count disagrees with the line length"},
        {.file = "S10510000102E7XY\n", .badLine = 1, .reason = "count disagrees with the line length"},
        {.file = "S10510000102E7\nS10510000102E8\n", .badLine = 2, .reason = "wrong checksum"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toPercentEncoding().toStdString());
        const FormatCheck check = checked(row.file);
        EXPECT_EQ(bool(check), row.badLine == 0);
        EXPECT_EQ(check.badLine, row.badLine);
        EXPECT_EQ(check.reason, QString::fromLatin1(row.reason));
        if (row.badLine == 0) {
            EXPECT_EQ(check.lineCount, row.lineCount);
        }
    }
}

TEST(CheckSrecordFile, GivesUpOnAFileWithoutLineBreaksInItsFirstChunk)
{
    QByteArray image = "S1" + QByteArray(16 << 20, '0');
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(CheckSrecordFile(buffer));
    EXPECT_LE(buffer.pos(), 2 << 20);
}

TEST(SRecodeLoad, AnEndRecordBeforeAnyDataClearsTheTableAndKeepsTheAddressSize)
{
    const KeyRecord spare = test::hexRecordAt(0x20, u"BB"_s);
    Document document = test::documentIn(Bits24, {{5, test::hexRecordAt(0x10, u"AA"_s)}, {kSpareSlot, spare}});
    const QByteArray file = "S007000048445220FA\r\nS70500000000FA\r\nS10510000102E7\r\n";
    EXPECT_EQ(test::readInto(SRecodeLoad, file, document), QString());
    EXPECT_TRUE(document.table[5].isEmptyRecord());
    EXPECT_TRUE(document.table[0].isEmptyRecord());
    EXPECT_EQ(document.table[kSpareSlot], spare);
    EXPECT_EQ(document.mode.current(), Bits24);
}

TEST(SRecodeLoad, OneRecordPerDataLineAndTheAddressSizeOfTheLast)
{
    struct Expected { quint32 address; qint16 size; const char* data; };
    const struct { QByteArray file; AddressSize before, after; std::vector<Expected> records; } rows[] = {
        {"S007000048445220FA\r\nS206123456AABBF8\r\nS2051234567FDF\r\nS804000000FB\r\n", Bits32, Bits24,
         {{0x123456, 2, "AABB"}, {0x123456, 1, "7F"}}},
        {"S10510000102E7\nS30712345678CAFE1C\n", Bits16, Bits32, {{0x1000, 2, "0102"}, {0x12345678, 2, "CAFE"}}},
        {"S305FFFF0000FC\n", Bits16, Bits32, {{0xFFFF0000, 0, ""}}},
        {"S1051000aBcD72\r", Bits32, Bits16, {{0x1000, 2, "aBcD"}}},
        {"S10510000102E7X\n", Bits32, Bits16, {{0x1000, 2, "0102"}}},
        // Count and end records after data are skipped, not taken as the end.
        {"S10510000102E7\nS5030001FB\nS9030000FC\nS206123456AABBF8\n", Bits32, Bits24,
         {{0x1000, 2, "0102"}, {0x123456, 2, "AABB"}}},
        {"S007000048445220FA\nS5030000FC\n", Bits24, Bits24, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        Document document = test::documentIn(row.before);
        ASSERT_TRUE(checked(row.file));
        EXPECT_EQ(test::readInto(SRecodeLoad, row.file, document), QString());
        EXPECT_EQ(document.mode.current(), row.after);
        for (std::size_t i = 0; i < row.records.size(); ++i) {
            const auto& [address, size, data] = row.records[i];
            const KeyRecord expected{.KeyTitle = {}, .KeySize = size, .KeyData = QString::fromLatin1(data)};
            EXPECT_EQ(document.table[Slot(i)], test::addressed(expected, address)) << "slot " << i;
        }
        EXPECT_FALSE(document.table[Slot(row.records.size())].inUse());
    }
}

TEST(SRecodeLoad, Fills257SlotsAndIgnoresTheRest)
{
    QByteArray file;
    for (int i = 0; i < 300; ++i) {
        const QString body = u"04"_s + fourDigitHex(i * 4) + twoDigitHex((i + 0x41) & 0xFF);
        file += (u"S1"_s + body + MakeCheckSum(body) + u"\r\n"_s).toLatin1();
    }
    file += "S30712345678CAFE1C\r\n"; // beyond the limit: must not decide the address size
    Document document = test::documentIn(Bits32);
    // A spare slot typed ASCII, left by an earlier template, gets text.
    document.table[kSpareSlot].KeyType = kTypeAscii;
    ASSERT_TRUE(checked(file));
    EXPECT_EQ(test::readInto(SRecodeLoad, file, document), QString());
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        ASSERT_EQ(document.table[slot], test::hexRecordAt(quint32(slot * 4), twoDigitHex((slot + 0x41) & 0xFF))) << slot;
    EXPECT_EQ(document.table[kSpareSlot], test::asciiRecordAt(1024, u"A"_s));
    EXPECT_EQ(document.mode.current(), Bits16);
}

// A file that changed after it was checked, or a caller that skipped the
// check: nothing malformed reaches the table.
TEST(SRecodeLoad, RefusesABadDataLineAndKeepsEarlierRecordsAndTheAddressSize)
{
    for (const QByteArray& bad : {"S10210ED"_ba, "S3" + QByteArray(2000, 'F')}) {
        const QByteArray file = "S007000048445220FA\r\nS10510000102E7\r\n" + bad + "\r\nS10510000102E7\r\n";
        Document document = test::documentIn(Bits24);
        EXPECT_TRUE(test::readInto(SRecodeLoad, file, document).startsWith(u"ERROR:Line 3 of the file: "_s));
        EXPECT_EQ(document.table[0].KeyData, u"0102"_s);
        EXPECT_TRUE(document.table[1].isEmptyRecord());
        EXPECT_EQ(document.mode.current(), Bits24);
    }
}

// Files made now by other tools from one random image: every loaded record
// holds the image's bytes at its own address, and together they cover it once.
TEST(SRecodeLoad, LoadsFilesMadeByObjcopyAndSrecCat)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(u"image.bin"_s), srec = dir.filePath(u"image.srec"_s);
    QByteArray image(1000, 0);
    QRandomGenerator random(20240611);
    for (char& byte : image)
        byte = char(random.bounded(256));
    test::writeFileBytes(bin, image);
    const struct { QString program; QStringList arguments; const char* made; AddressSize before, after; quint32 base; }
        tools[] = {
        {u"objcopy"_s, {"-I", "binary", "-O", "srec", "--srec-forceS3", "--change-addresses=0x80000000", bin, srec},
         "S0", Bits16, Bits32, 0x80000000},
        {u"srec_cat"_s, {bin, "-binary", "-offset", "0x4000", "-o", srec, "-motorola"}, "\nS5", Bits32, Bits16, 0x4000},
    };
    for (const auto& tool : tools) {
        SCOPED_TRACE(tool.program.toStdString());
        ASSERT_EQ(test::runTool(tool.program, tool.arguments), QString());
        ASSERT_TRUE(test::readFileBytes(srec).contains(tool.made)); // a header or count record to skip
        ASSERT_TRUE(CheckSrecordFile(srec));
        Document document = test::documentIn(tool.before);
        ASSERT_EQ(SRecodeLoad(srec, document), QString());
        EXPECT_EQ(document.mode.current(), tool.after);
        int covered = 0;
        for (Slot slot = 0; slot < kSlotCount && document.table[slot].inUse(); ++slot) {
            const KeyRecord& record = document.table[slot];
            const QByteArray bytes = QByteArray::fromHex(record.KeyData.toLatin1());
            ASSERT_EQ(bytes.size(), record.KeySize);
            ASSERT_EQ(bytes, image.mid(qsizetype(record.address() - tool.base), bytes.size())) << "slot " << slot;
            covered += int(bytes.size());
        }
        EXPECT_EQ(covered, image.size());
    }
}

} // namespace
} // namespace quorvane
