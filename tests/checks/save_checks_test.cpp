#include "checks/save_checks.h"

#include "core/data_bytes.h"

#include "table_builders.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using test::asciiRecord;
using test::hexRecord;
using test::tableWith;

// Every single-record case sits in this slot; a hit reports line 5.
constexpr Slot kCaseSlot = 4;
const QString kHit = QStringLiteral("5");

QString hitText(bool hit) { return hit ? kHit : QString(); }

// "ä" is two bytes in UTF-8, "€" three, the emoji four (and two UTF-16 units).
const QString kAUmlaut = QStringLiteral("\u00e4");
const QString kEuro = QStringLiteral("\u20ac");
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

TEST(SaveChecks, EmptyTableHasNoReportsAndStepsChangeNothing)
{
    const RecordTable empty;
    for (const AddressSize size : {AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32})
        EXPECT_EQ(CheckSrecordTotalSize(empty, size), QString());
    EXPECT_EQ(AddressEmptyCheck(empty), QString());
    EXPECT_EQ(CheckHEXData(empty), QString());
    EXPECT_EQ(CheckDataSize(empty, false), QString());
    EXPECT_EQ(CheckDataSize(empty, true), QString());

    RecordTable table;
    FillMissingSizes(table);
    PadOddHexData(table);
    FitDataToSize(table);
    EXPECT_EQ(table, empty);
}

TEST(SaveChecks, AddressEmptyCheckReportsContentWithoutAddress)
{
    auto withoutAddress = [](KeyRecord record) {
        record.KeyAddrSet = false;
        return record;
    };
    KeyRecord titleOnly;
    titleOnly.KeyTitle = QStringLiteral("t");
    KeyRecord sizeOnly;
    sizeOnly.KeySize = 3;
    KeyRecord negativeSizeOnly;
    negativeSizeOnly.KeySize = -1;
    KeyRecord asciiTypeOnly;
    asciiTypeOnly.KeyType = kTypeAscii;
    KeyRecord addressOnly;
    addressOnly.KeyAddrSet = true;

    const struct {
        const char* name;
        KeyRecord record;
        bool hit;
    } cases[] = {
        {"title only", titleOnly, true},
        {"size only", sizeOnly, true},
        {"negative size only", negativeSizeOnly, true},
        {"data only", withoutAddress(hexRecord(QStringLiteral("AB"))), true},
        {"type ASCII only", asciiTypeOnly, false},
        {"address only", addressOnly, false},
        {"everything with address", hexRecord(QStringLiteral("AB"), 1), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddressEmptyCheck(tableWith(kCaseSlot, c.record)), hitText(c.hit)) << c.name;
}

TEST(SaveChecks, CheckHEXDataReportsNonHexDigitsOfHexRecordsOnly)
{
    KeyRecord otherType = hexRecord(QStringLiteral("zz"));
    otherType.KeyType = 2; // any non-zero type holds characters, not digits
    const struct {
        KeyRecord record;
        bool hit;
    } cases[] = {
        {hexRecord(QStringLiteral("0aF")), false},
        {hexRecord(QString()), false},
        {hexRecord(QStringLiteral("0123456789abcdefABCDEF")), false},
        {hexRecord(QStringLiteral("12 34")), true},
        {hexRecord(QStringLiteral("G1")), true},
        {hexRecord(QStringLiteral("1g")), true},
        {hexRecord(QStringLiteral("0x12")), true},
        {hexRecord(kAUmlaut), true},
        {asciiRecord(QStringLiteral("G1")), false},
        {otherType, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckHEXData(tableWith(kCaseSlot, c.record)), hitText(c.hit)) << c.record.KeyData.toStdString();
}

TEST(SaveChecks, CheckSrecordTotalSizeReportsSizesAboveTheDataLimit)
{
    const struct {
        AddressSize mode;
        int size;
        bool hit;
    } cases[] = {
        {AddressSize::Bits32, 250, false}, {AddressSize::Bits32, 251, true},
        {AddressSize::Bits24, 251, false}, {AddressSize::Bits24, 252, true},
        {AddressSize::Bits16, 252, false}, {AddressSize::Bits16, 253, true},
        {AddressSize::Bits32, 999, true},  {AddressSize::Bits32, -5, false},
        {AddressSize::Bits32, 0, false},
    };
    for (const auto& c : cases) {
        // Only the size counts: the data text is deliberately far too long.
        const KeyRecord record = hexRecord(QString(600, QLatin1Char('A')), c.size);
        EXPECT_EQ(CheckSrecordTotalSize(tableWith(kCaseSlot, record), c.mode), hitText(c.hit))
            << int(c.mode) << " bits, size " << c.size;
    }
}

TEST(SaveChecks, CheckDataSizeComparesSizeWithBytesWritten)
{
    const struct {
        const char* name;
        KeyRecord record;
        bool hitForKeyFile;
        bool hitForTemplate;
    } cases[] = {
        {"HEX matching", hexRecord(QStringLiteral("AB0C"), 2), false, false},
        {"HEX one too many", hexRecord(QStringLiteral("AB0C"), 3), true, false},
        {"HEX odd digits round up", hexRecord(QStringLiteral("ABC"), 2), false, false},
        {"no size no data", hexRecord(QString(), 0), false, false},
        {"missing size", hexRecord(QStringLiteral("AB"), 0), true, true},
        {"missing ASCII size", asciiRecord(QStringLiteral("ab"), 0), true, true},
        {"size without data", hexRecord(QString(), 4), true, false},
        {"negative size", hexRecord(QString(), -2), true, false},
        {"ASCII matching", asciiRecord(QStringLiteral("abc"), 3), false, false},
        // Characters outside ASCII are measured in UTF-8 bytes, not characters.
        {"2-byte char matching", asciiRecord(kAUmlaut + "b", 3), false, false},
        {"2-byte char counted as one", asciiRecord(kAUmlaut + "b", 2), true, false},
        {"3-byte char matching", asciiRecord(kEuro, 3), false, false},
        {"4-byte char matching", asciiRecord(kEmoji, 4), false, false},
        {"4-byte char counted as UTF-16 units", asciiRecord(kEmoji, 2), true, false},
    };
    for (const auto& c : cases) {
        const RecordTable table = tableWith(kCaseSlot, c.record);
        EXPECT_EQ(CheckDataSize(table, false), hitText(c.hitForKeyFile)) << c.name;
        EXPECT_EQ(CheckDataSize(table, true), hitText(c.hitForTemplate)) << c.name;
    }
}

TEST(SaveChecks, ChecksReportEveryHitLineInOrder)
{
    RecordTable table;
    for (const Slot slot : {9, 0, 255, 1})
        table[slot] = hexRecord(QStringLiteral("G"), 300);
    const QString expected = QStringLiteral("1, 2, 10, 256");
    EXPECT_EQ(CheckHEXData(table), expected);
    EXPECT_EQ(CheckSrecordTotalSize(table, AddressSize::Bits16), expected);
    EXPECT_EQ(CheckDataSize(table, false), expected);
    for (const Slot slot : {9, 0, 255, 1})
        table[slot].KeyAddrSet = false;
    EXPECT_EQ(AddressEmptyCheck(table), expected);
}

TEST(SaveChecks, SpareSlotIsNeitherCheckedNorChanged)
{
    KeyRecord bad = hexRecord(QStringLiteral("xyz"), 999);
    bad.KeyAddrSet = false;
    const RecordTable badSpare = tableWith(kSpareSlot, bad);
    EXPECT_EQ(AddressEmptyCheck(badSpare), QString());
    EXPECT_EQ(CheckHEXData(badSpare), QString());
    EXPECT_EQ(CheckSrecordTotalSize(badSpare, AddressSize::Bits32), QString());
    EXPECT_EQ(CheckDataSize(badSpare, false), QString());

    // Each step would change these records in any other slot.
    for (const KeyRecord& spare : {hexRecord(QStringLiteral("abc"), 0), hexRecord(QStringLiteral("abc"), 7)}) {
        RecordTable table = tableWith(kSpareSlot, spare);
        FillMissingSizes(table);
        PadOddHexData(table);
        FitDataToSize(table);
        EXPECT_EQ(table[kSpareSlot], spare);
    }
}

TEST(SaveChecks, FillMissingSizesGivesUnsizedRecordsTheirByteCount)
{
    const struct {
        const char* name;
        KeyRecord record;
        int expectedSize;
    } cases[] = {
        {"HEX odd digits", hexRecord(QStringLiteral("ABC")), 2},
        {"HEX even digits", hexRecord(QStringLiteral("ABCD")), 2},
        {"ASCII", asciiRecord(QStringLiteral("abc")), 3},
        {"ASCII beyond ASCII", asciiRecord(kAUmlaut + kEuro + kEmoji), 2 + 3 + 4},
        {"size kept", hexRecord(QStringLiteral("AB"), 5), 5},
        {"no data no size", hexRecord(QString()), 0},
        {"negative size with data", hexRecord(QStringLiteral("ABCD"), -3), 2},
        {"negative size without data", hexRecord(QString(), -3), 0},
        {"beyond 16 bits is clamped", hexRecord(QString(70000, QLatin1Char('A'))), 32767},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(kCaseSlot, c.record);
        FillMissingSizes(table);
        EXPECT_EQ(table[kCaseSlot].KeySize, c.expectedSize) << c.name;
        EXPECT_EQ(table[kCaseSlot].KeyData, c.record.KeyData) << c.name;
    }
}

TEST(SaveChecks, PadOddHexDataInsertsZeroBeforeLastDigit)
{
    const struct {
        KeyRecord record;
        QString expected;
    } cases[] = {
        {hexRecord(QStringLiteral("abc")), QStringLiteral("ab0c")},
        {hexRecord(QStringLiteral("ABC")), QStringLiteral("AB0C")},
        {hexRecord(QStringLiteral("A")), QStringLiteral("0A")},
        {hexRecord(QStringLiteral("ABCD")), QStringLiteral("ABCD")},
        {hexRecord(QString()), QString()},
        {asciiRecord(QStringLiteral("abc")), QStringLiteral("abc")},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(kCaseSlot, c.record);
        PadOddHexData(table);
        EXPECT_EQ(table[kCaseSlot].KeyData, c.expected) << c.record.KeyData.toStdString();
    }
}

TEST(SaveChecks, FitDataToSizeMakesDataExactlyTheSizeInBytes)
{
    const struct {
        const char* name;
        KeyRecord record;
        QString expected;
    } cases[] = {
        {"HEX short, filled left", hexRecord(QStringLiteral("12"), 2), QStringLiteral("FF12")},
        {"HEX long, keeps the tail", hexRecord(QStringLiteral("123456"), 2), QStringLiteral("3456")},
        {"HEX upper-cased and filled", hexRecord(QStringLiteral("ab0c"), 3), QStringLiteral("FFAB0C")},
        {"HEX upper-cased and cut", hexRecord(QStringLiteral("ab0c"), 1), QStringLiteral("0C")},
        {"HEX right length upper-cased", hexRecord(QStringLiteral("ab"), 1), QStringLiteral("AB")},
        {"HEX empty", hexRecord(QString(), 2), QStringLiteral("FFFF")},
        {"ASCII short, filled right", asciiRecord(QStringLiteral("ab"), 4), QStringLiteral("abFF")},
        {"ASCII short by two", asciiRecord(QStringLiteral("abc"), 5), QStringLiteral("abcFF")},
        {"ASCII long, keeps the head", asciiRecord(QStringLiteral("abc"), 2), QStringLiteral("ab")},
        {"ASCII case kept", asciiRecord(QStringLiteral("aB"), 2), QStringLiteral("aB")},
        {"2-byte char fits", asciiRecord(kAUmlaut + "bc", 2), kAUmlaut},
        {"2-byte char not split", asciiRecord(kAUmlaut + "bc", 1), QStringLiteral("F")},
        {"2-byte char after ASCII not split", asciiRecord("a" + kAUmlaut, 2), QStringLiteral("aF")},
        {"2-byte char filled to bytes", asciiRecord(kAUmlaut, 4), kAUmlaut + "FF"},
        {"emoji not split", asciiRecord(kEmoji + kEmoji, 7), kEmoji + "FFF"},
        {"zero size untouched", hexRecord(QStringLiteral("abc"), 0), QStringLiteral("abc")},
        {"negative size untouched", asciiRecord(QStringLiteral("abc"), -2), QStringLiteral("abc")},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(kCaseSlot, c.record);
        FitDataToSize(table);
        EXPECT_EQ(table[kCaseSlot].KeyData, c.expected) << c.name;
        EXPECT_EQ(table[kCaseSlot].KeySize, c.record.KeySize) << c.name;
    }
}

TEST(SaveChecks, FitDataToSizeFillsBeyondTheLengthOfTheFillPad)
{
    // Sizes from files are not bounded by the 2048 characters of the pad.
    const int size = 1500;
    RecordTable table;
    table[0] = hexRecord(QStringLiteral("12"), size);
    table[1] = asciiRecord(QStringLiteral("x"), 3000);
    FitDataToSize(table);
    EXPECT_EQ(table[0].KeyData.size(), 2 * size);
    EXPECT_TRUE(table[0].KeyData.endsWith(QStringLiteral("FFF12")));
    EXPECT_EQ(table[1].KeyData.size(), 3000);
    EXPECT_TRUE(table[1].KeyData.startsWith(QStringLiteral("xFF")));
    EXPECT_EQ(CheckDataSize(table, false), QString());
}

} // namespace
} // namespace quorvane
