#include "file_test_support.h"

#include "files/srecord_reader.h"
#include "files/srecord_writer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include <map>

namespace quorvane {
namespace {

using test::PrintTo;

QByteArray writeToBuffer(const Document& document, QString* error = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString result = SRecodeSave(buffer, document);
    if (error)
        *error = result;
    else
        EXPECT_EQ(result, QString());
    return bytes;
}

struct ExactCase {
    const char* name;
    AddressSize size;
    std::map<Slot, KeyRecord> records;
    QByteArray expected;
};

KeyRecord titleOnly(quint32 address)
{
    KeyRecord record;
    test::setAddress(record, address);
    record.KeyTitle = QStringLiteral("only a title");
    return record;
}

class WriteExactly : public ::testing::TestWithParam<ExactCase> {};

TEST_P(WriteExactly, ByteForByte)
{
    Document document = test::documentIn(GetParam().size);
    for (const auto& [slot, record] : GetParam().records)
        document.table[slot] = record;
    EXPECT_EQ(writeToBuffer(document), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WriteExactly,
    ::testing::Values(
        ExactCase{"EmptyTable16", AddressSize::Bits16, {}, "S9030000FC\r\n"},
        ExactCase{"EmptyTable24", AddressSize::Bits24, {}, "S804000000FB\r\n"},
        ExactCase{"EmptyTable32", AddressSize::Bits32, {}, "S70500000000FA\r\n"},
        ExactCase{"TwoHexBytes", AddressSize::Bits32, {{0, test::hexRecord(0x1000, QStringLiteral("12AB"))}},
                  "S3070000100012AB2B\r\nS70500000000FA\r\n"},
        ExactCase{"TitleWithoutData", AddressSize::Bits32, {{0, titleOnly(0x12345678)}},
                  "S30512345678E6\r\nS70500000000FA\r\n"},
        ExactCase{"LowerCaseHexWrittenUpper", AddressSize::Bits32, {{0, test::hexRecord(0x10, QStringLiteral("abCdef"))}},
                  "S30800000010ABCDEF80\r\nS70500000000FA\r\n"},
        ExactCase{"AsciiAsItsBytes", AddressSize::Bits32, {{0, test::asciiRecord(0x20, QStringLiteral("AB"))}},
                  "S30700000020414255\r\nS70500000000FA\r\n"},
        ExactCase{"Address24BitsDropsTheTopByte", AddressSize::Bits24, {{0, test::hexRecord(0xAB123456, QStringLiteral("01"))}},
                  "S205123456015D\r\nS804000000FB\r\n"},
        ExactCase{"Address16BitsAndUtf8Text", AddressSize::Bits16,
                  {{0, test::asciiRecord(0x12345678, QStringLiteral("\u00E9"))}}, "S1055678C3A9C0\r\nS9030000FC\r\n"},
        ExactCase{"GapsSkippedSpareSlotNeverWritten", AddressSize::Bits16,
                  {{2, test::hexRecord(3, QStringLiteral("00"))},
                   {6, test::hexRecord(7, QStringLiteral("FF"))},
                   {kSpareSlot, test::hexRecord(9, QStringLiteral("11"))}},
                  "S104000300F8\r\nS1040007FFF5\r\nS9030000FC\r\n"}),
    [](const ::testing::TestParamInfo<ExactCase>& info) { return std::string(info.param.name); });

// An independent reading of one line: the bytes after the type, decoded by
// Qt, must number the count and sum to 0xFF.
void expectCountAndChecksum(const QByteArray& line)
{
    SCOPED_TRACE(line.toStdString());
    ASSERT_GE(line.size(), 4);
    EXPECT_EQ(line.toUpper(), line);
    const QByteArray bytes = QByteArray::fromHex(line.mid(2));
    ASSERT_EQ(bytes.size() * 2, line.size() - 2);
    EXPECT_EQ(quint8(bytes.at(0)), bytes.size() - 1);
    unsigned sum = 0;
    for (char b : bytes)
        sum += quint8(b);
    EXPECT_EQ(sum & 0xFF, 0xFFu);
}

// Non-overlapping records within a window of each address size, so the
// image objcopy makes stays small; sizes run up to the data limit.
Document spreadRecords(AddressSize size, quint32 base)
{
    Document document = test::documentIn(size);
    std::mt19937 random{unsigned(size)};
    quint32 address = base;
    for (Slot slot = 0; slot < kRecordCount; slot += 3) {
        const int bytes = slot == 0 ? dataLimit(size) : std::uniform_int_distribution<int>(0, 40)(random);
        if (slot % 2 == 0)
            document.table[slot] = test::hexRecord(address, test::randomHexDigits(random, bytes));
        else
            document.table[slot] = test::asciiRecord(address, test::randomText(random, bytes / 3));
        address += quint32(document.table[slot].KeySize) + quint32(slot % 5);
    }
    return document;
}

struct ModeCase {
    AddressSize size;
    quint32 base;
};

class ReadBackByObjcopy : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ReadBackByObjcopy, EveryByteAtItsAddress)
{
    const Document document = spreadRecords(GetParam().size, GetParam().base);
    QTemporaryDir dir;
    const QString key = dir.filePath(QStringLiteral("out.KEY"));
    const QString image = dir.filePath(QStringLiteral("out.bin"));
    ASSERT_EQ(SRecodeSave(key, document), QString());

    const QByteArray text = test::readFileBytes(key);
    const QList<QByteArray> lines = text.split('\n');
    ASSERT_TRUE(lines.last().isEmpty()) << "file ends with a line end";
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        ASSERT_TRUE(lines[i].endsWith('\r'));
        expectCountAndChecksum(lines[i].chopped(1));
    }

    const test::ToolResult tool = test::runTool(
        QStringLiteral("objcopy"), {QStringLiteral("-I"), QStringLiteral("srec"), QStringLiteral("-O"), QStringLiteral("binary"),
                                    QStringLiteral("--gap-fill=0x5A"), key, image});
    ASSERT_EQ(tool.exitCode, 0) << tool.errors.toStdString();
    const QByteArray bytes = test::readFileBytes(image);
    int checked = 0;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = document.table[slot];
        if (!record.inUse() || record.KeySize == 0)
            continue;
        const QByteArray expected = record.KeyType == kTypeHex ? QByteArray::fromHex(record.KeyData.toLatin1())
                                                               : record.KeyData.toUtf8();
        ASSERT_EQ(bytes.mid(record.address() - GetParam().base, expected.size()), expected) << "line " << slot + 1;
        checked += int(expected.size());
    }
    EXPECT_GT(checked, 1000);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadBackByObjcopy,
                         ::testing::Values(ModeCase{AddressSize::Bits16, 0x0100}, ModeCase{AddressSize::Bits24, 0xAB0000},
                                           ModeCase{AddressSize::Bits32, 0xFFFF0000}),
                         [](const ::testing::TestParamInfo<ModeCase>& info) {
                             return "Bits" + std::to_string(int(info.param.size));
                         });

// A record whose line would not read back refuses the whole save.
struct RefusalCase {
    const char* name;
    AddressSize size;
    Slot slot;
    KeyRecord record;
    const char* error;
};

KeyRecord withSize(KeyRecord record, qint16 size)
{
    record.KeySize = size;
    return record;
}

class RefuseRecord : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefuseRecord, NamesTheLineAndWritesNothing)
{
    const RefusalCase& c = GetParam();
    Document document = test::documentIn(c.size);
    document.table[0] = test::hexRecord(0x10, QStringLiteral("AA"));
    document.table[c.slot] = c.record;

    QString error;
    EXPECT_TRUE(writeToBuffer(document, &error).isEmpty());
    EXPECT_EQ(error, QLatin1String(c.error));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.KEY"));
    test::writeFileBytes(path, "S9030000FC\r\n");
    EXPECT_EQ(SRecodeSave(path, document), QLatin1String(c.error));
    EXPECT_EQ(test::readFileBytes(path), "S9030000FC\r\n");
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("old.KEY")});
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefuseRecord,
    ::testing::Values(
        RefusalCase{"HexSizeDisagrees", AddressSize::Bits32, 4, withSize(test::hexRecord(0, QStringLiteral("1234")), 3),
                    "ERROR:Line 5: the size 3 does not match the 2 bytes of its data."},
        RefusalCase{"OddHexDigits", AddressSize::Bits32, 1, test::hexRecord(0, QStringLiteral("123")),
                    "ERROR:Line 2: the HEX data has an odd number of digits."},
        RefusalCase{"NotHexDigits", AddressSize::Bits32, 9, test::hexRecord(0, QStringLiteral("12G4")),
                    "ERROR:Line 10: the HEX data holds characters that are not hex digits."},
        RefusalCase{"AsciiCountedInCharactersNotBytes", AddressSize::Bits32, 255,
                    withSize(test::asciiRecord(0, QStringLiteral("a\u00E9")), 2),
                    "ERROR:Line 256: the size 2 does not match the 3 bytes of its data."},
        RefusalCase{"DataWithoutSize", AddressSize::Bits32, 3, withSize(test::asciiRecord(0, QStringLiteral("a")), 0),
                    "ERROR:Line 4: the size 0 does not match the 1 byte of its data."},
        RefusalCase{"NegativeSize", AddressSize::Bits16, 2, withSize(test::hexRecord(0, QString()), -1),
                    "ERROR:Line 3: the size -1 is outside 0 to 252 bytes for 16-bit addresses."},
        RefusalCase{"OverLimit32", AddressSize::Bits32, 1, test::hexRecord(0, QString(502, QLatin1Char('0'))),
                    "ERROR:Line 2: the size 251 is outside 0 to 250 bytes for 32-bit addresses."},
        RefusalCase{"OverLimit24", AddressSize::Bits24, 1, test::hexRecord(0, QString(504, QLatin1Char('0'))),
                    "ERROR:Line 2: the size 252 is outside 0 to 251 bytes for 24-bit addresses."},
        RefusalCase{"OverLimit16", AddressSize::Bits16, 1, test::hexRecord(0, QString(506, QLatin1Char('0'))),
                    "ERROR:Line 2: the size 253 is outside 0 to 252 bytes for 16-bit addresses."}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(SRecodeSave, RecordsAtTheDataLimitAreWrittenAndReadBack)
{
    for (AddressSize size : {AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32}) {
        Document document = test::documentIn(size);
        document.table[0] = test::hexRecord(0x10, QString(2 * dataLimit(size), QLatin1Char('E')));
        document.table[1] = test::asciiRecord(0x20, QString(dataLimit(size), QLatin1Char('z')));
        QByteArray bytes = writeToBuffer(document);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(CheckSrecordFile(buffer), 0) << int(size);
        EXPECT_TRUE(bytes.startsWith("S" + QByteArray::number(int(dataRecordType(size))) + "FF")) << int(size);
    }
}

TEST(SRecodeSave, NeverChangesTheTable)
{
    const Document document = spreadRecords(AddressSize::Bits24, 0x100);
    Document copy = document;
    (void)writeToBuffer(copy);
    EXPECT_EQ(copy.table, document.table);
}

} // namespace
} // namespace quorvane
