#include "file_test_support.h"

#include "files/srecord_writer.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;

TEST(SRecodeSave, WritesExactLinesAndTheEndRecordOfEachMode)
{
    const KeyRecord titleOnly = test::addressed({.KeyTitle = u"t"_s, .KeyData = {}}, 0x12345678);
    const struct { AddressSize size; std::map<Slot, KeyRecord> records; QByteArray expected; } rows[] = {
        {Bits16, {}, "S9030000FC\r\n"},
        {Bits32, {{0, test::hexRecordAt(0x10, u"abCdef"_s)}}, "S30800000010ABCDEF80\r\nS70500000000FA\r\n"},
        {Bits32, {{0, titleOnly}}, "S30512345678E6\r\nS70500000000FA\r\n"},
        {Bits32, {{0, test::asciiRecordAt(0x20, u"AB"_s)}}, "S30700000020414255\r\nS70500000000FA\r\n"},
        {Bits24, {{0, test::hexRecordAt(0xAB123456, u"01"_s)}}, "S205123456015D\r\nS804000000FB\r\n"},
        {Bits16, {{0, test::asciiRecordAt(0x12345678, u"\u00E9"_s)}}, "S1055678C3A9C0\r\nS9030000FC\r\n"},
        // Empty slots are skipped and the spare slot is never written.
        {Bits16, {{2, test::hexRecordAt(3, u"00"_s)}, {6, test::hexRecordAt(7, u"FF"_s)}, {kSpareSlot, test::hexRecordAt(9, u"11"_s)}},
         "S104000300F8\r\nS1040007FFF5\r\nS9030000FC\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(test::written(SRecodeSave, test::documentIn(row.size, row.records)), row.expected);
}

// Non-overlapping records within a window of each address size, so the
// image objcopy makes stays small; the first is at the data limit. objcopy
// refuses a line whose count or checksum is wrong.
TEST(SRecodeSave, ObjcopyReadsEveryByteBackAtItsAddress)
{
    const std::pair<AddressSize, quint32> modes[] = {{Bits16, 0x0100}, {Bits24, 0xAB0000}, {Bits32, 0xFFFF0000}};
    for (const auto& [size, base] : modes) {
        SCOPED_TRACE(int(size));
        Document document = test::documentIn(size);
        std::mt19937 random{unsigned(size)};
        quint32 address = base;
        for (Slot slot = 0; slot < kRecordCount; slot += 3) {
            const int bytes = slot == 0 ? dataLimit(size) : std::uniform_int_distribution<int>(0, 40)(random);
            document.table[slot] = slot % 2 == 0 ? test::hexRecordAt(address, test::randomHexDigits(random, bytes))
                                                 : test::asciiRecordAt(address, test::randomText(random, bytes / 3));
            address += quint32(document.table[slot].KeySize) + quint32(slot % 5);
        }
        QTemporaryDir dir;
        const QString key = dir.filePath(u"out.KEY"_s), image = dir.filePath(u"out.bin"_s);
        ASSERT_EQ(SRecodeSave(key, document), QString());
        ASSERT_EQ(test::runTool(u"objcopy"_s, {u"-I"_s, u"srec"_s, u"-O"_s, u"binary"_s, u"--gap-fill=0x5A"_s, key, image}),
                  QString());
        const QByteArray bytes = test::readFileBytes(image);
        int checked = 0;
        for (Slot slot = 0; slot < kRecordCount; ++slot) {
            const KeyRecord& record = document.table[slot];
            const QByteArray expected = record.KeyType == kTypeHex ? QByteArray::fromHex(record.KeyData.toLatin1())
                                                                   : record.KeyData.toUtf8();
            ASSERT_EQ(bytes.mid(record.address() - base, expected.size()), expected) << "line " << slot + 1;
            checked += int(expected.size());
        }
        EXPECT_GT(checked, 1000);
    }
}

TEST(SRecodeSave, RefusesARecordThatWouldNotReadBack)
{
    const struct { AddressSize size; Slot slot; KeyRecord record; const char* error; } rows[] = {
        {Bits32, 4, {.KeyTitle = {}, .KeySize = 3, .KeyData = u"1234"_s}, "Line 5: the size 3 does not match the 2 bytes of its data."},
        {Bits32, 1, {.KeyTitle = {}, .KeySize = 2, .KeyData = u"123"_s}, "Line 2: the HEX data has an odd number of digits."},
        {Bits32, 9, {.KeyTitle = {}, .KeySize = 2, .KeyData = u"12G4"_s}, "Line 10: the HEX data holds characters that are not hex digits."},
        {Bits32, 255, {.KeyTitle = {}, .KeySize = 2, .KeyType = kTypeAscii, .KeyData = u"a\u00E9"_s},
         "Line 256: the size 2 does not match the 3 bytes of its data."},
        {Bits16, 2, {.KeyTitle = {}, .KeySize = -1, .KeyData = {}}, "Line 3: the size -1 is outside 0 to 252 bytes for 16-bit addresses."},
        {Bits16, 1, {.KeyTitle = {}, .KeySize = 253, .KeyData = QString(506, u'0')},
         "Line 2: the size 253 is outside 0 to 252 bytes for 16-bit addresses."},
    };
    for (const auto& row : rows) {
        Document document = test::documentIn(row.size, {{0, test::hexRecordAt(0x10, u"AA"_s)}, {row.slot, row.record}});
        QString error;
        EXPECT_EQ(test::written(SRecodeSave, document, &error), QByteArray()) << row.error;
        EXPECT_EQ(error, u"ERROR:"_s + QLatin1String(row.error));
    }
}

} // namespace
} // namespace quorvane
