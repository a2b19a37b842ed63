#include "checks/save_checks.h"

#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace test;

// Every single-record case sits in this slot; a hit reports line 5.
constexpr Slot kCaseSlot = 4;

QString hitText(bool hit) { return hit ? QStringLiteral("5") : QString(); }

TEST(SaveChecks, AddressEmptyCheckReportsContentWithoutAddress)
{
    const struct { const char* name; KeyRecord record; bool hit; } cases[] = {
        {"title only", recordWith([](KeyRecord& r) { r.KeyTitle = "t"; }), true},
        {"size only", recordWith([](KeyRecord& r) { r.KeySize = 3; }), true},
        {"negative size only", recordWith([](KeyRecord& r) { r.KeySize = -1; }), true},
        {"data only", recordWith([](KeyRecord& r) { r.KeyData = "AB"; }), true},
        {"type ASCII only", recordWith([](KeyRecord& r) { r.KeyType = kTypeAscii; }), false},
        {"everything with address", hexRecord("AB", 1), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddressEmptyCheck(tableWith(kCaseSlot, c.record)), hitText(c.hit)) << c.name;
}

TEST(SaveChecks, CheckHEXDataReportsNonHexDigitsOfHexRecordsOnly)
{
    const struct { KeyRecord record; bool hit; } cases[] = {
        {hexRecord("09afAF"), false}, {hexRecord(""), false}, {hexRecord("1g"), true},
        {asciiRecord("G1"), false},   {hexRecord("zz", 0, 2), false}, // any non-zero type holds characters
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckHEXData(tableWith(kCaseSlot, c.record)), hitText(c.hit)) << c.record.KeyData.toStdString();
}

TEST(SaveChecks, CheckSrecordTotalSizeReportsSizesAboveTheDataLimit)
{
    const struct { AddressSize mode; int size; bool hit; } cases[] = {
        {AddressSize::Bits32, 250, false}, {AddressSize::Bits32, 251, true}, {AddressSize::Bits24, 252, true},
        {AddressSize::Bits16, 252, false}, {AddressSize::Bits32, -5, false},
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
    const struct { const char* name; KeyRecord record; bool hitForKeyFile; bool hitForTemplate; } cases[] = {
        {"odd HEX digits round up", hexRecord("ABC", 2), false, false},
        {"HEX one byte too many", hexRecord("AB0C", 3), true, false},
        {"missing size", hexRecord("AB", 0), true, true},
        {"no size no data", hexRecord("", 0), false, false},
        {"negative size", hexRecord("", -2), true, false},
        // Measured in UTF-8 bytes, not characters or UTF-16 units.
        {"ASCII beyond ASCII", asciiRecord(kAUmlaut + kEmoji, 6), false, false},
    };
    for (const auto& c : cases) {
        const RecordTable table = tableWith(kCaseSlot, c.record);
        EXPECT_EQ(CheckDataSize(table, false), hitText(c.hitForKeyFile)) << c.name;
        EXPECT_EQ(CheckDataSize(table, true), hitText(c.hitForTemplate)) << c.name;
    }
}

TEST(SaveChecks, ChecksReportEveryHitLineInOrderButNotTheSpareSlot)
{
    RecordTable table;
    for (const Slot slot : {9, 0, 255, 1, kSpareSlot})
        table[slot] = hexRecord("G", 300);
    const QString expected = QStringLiteral("1, 2, 10, 256");
    EXPECT_EQ(CheckHEXData(table), expected);
    EXPECT_EQ(CheckSrecordTotalSize(table, AddressSize::Bits16), expected);
    EXPECT_EQ(CheckDataSize(table, false), expected);
    for (const Slot slot : {9, 0, 255, 1, kSpareSlot})
        table[slot].KeyAddrSet = false;
    EXPECT_EQ(AddressEmptyCheck(table), expected);
}

TEST(SaveChecks, StepsLeaveTheSpareSlotAlone)
{
    // Each step would change one of these records in any other slot.
    for (const KeyRecord& spare : {hexRecord("abc", 0), hexRecord("abc", 7)}) {
        RecordTable table = tableWith(kSpareSlot, spare);
        FillMissingSizes(table);
        PadOddHexData(table);
        FitDataToSize(table);
        EXPECT_EQ(table[kSpareSlot], spare);
    }
}

TEST(SaveChecks, StepsRewriteRecordsInPlace)
{
    using Step = void (*)(RecordTable&);
    const Step fill = FillMissingSizes, pad = PadOddHexData, fit = FitDataToSize;
    const QString umlauts = kAUmlaut + kEuro + kEmoji;
    const struct { const char* name; Step step; KeyRecord record; KeyRecord expected; } cases[] = {
        {"size from odd HEX", fill, hexRecord("ABC"), hexRecord("ABC", 2)},
        {"size in UTF-8 bytes", fill, asciiRecord(umlauts), asciiRecord(umlauts, 2 + 3 + 4)},
        {"size kept", fill, hexRecord("AB", 5), hexRecord("AB", 5)},
        {"negative size replaced", fill, hexRecord("ABCD", -3), hexRecord("ABCD", 2)},
        {"size clamped to 16 bits", fill, hexRecord(QString(70000, 'A')), hexRecord(QString(70000, 'A'), 32767)},
        {"odd HEX padded", pad, hexRecord("abc"), hexRecord("ab0c")},
        {"even HEX not padded", pad, hexRecord("AB"), hexRecord("AB")},
        {"ASCII not padded", pad, asciiRecord("abc"), asciiRecord("abc")},
        {"HEX short, upper-cased, filled left", fit, hexRecord("1a", 2), hexRecord("FF1A", 2)},
        {"HEX long, upper-cased, keeps the tail", fit, hexRecord("12345a", 2), hexRecord("345A", 2)},
        {"ASCII long, keeps the head and its case", fit, asciiRecord("aBc", 2), asciiRecord("aB", 2)},
        // Sizes from files are not bounded by the 2048 characters of the fill pad.
        {"ASCII short, filled right", fit, asciiRecord("ab", 3000), asciiRecord("ab" + QString(2998, 'F'), 3000)},
        {"2-byte char not split", fit, asciiRecord(kAUmlaut + "bc", 1), asciiRecord("F", 1)},
        {"filled to bytes, not characters", fit, asciiRecord(kAUmlaut, 4), asciiRecord(kAUmlaut + "FF", 4)},
        {"zero size not fitted", fit, hexRecord("abc", 0), hexRecord("abc", 0)},
        {"negative size not fitted", fit, asciiRecord("abc", -2), asciiRecord("abc", -2)},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(kCaseSlot, c.record);
        c.step(table);
        EXPECT_EQ(table[kCaseSlot], c.expected) << c.name;
    }
}

} // namespace
} // namespace quorvane
