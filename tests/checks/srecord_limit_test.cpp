#include "checks/srecord_limit.h"

#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace test;

TEST(TrimToSrecordLimit, CutsSizeAndDataToTheLimitOfTheMode)
{
    QString digits504;
    for (int i = 0; i < 504; ++i)
        digits504.append(QLatin1Char("0123456789ABCDEF"[i % 16]));
    const QString umlauts251 = kAUmlaut.repeated(251);
    const struct { const char* name; AddressSize mode; KeyRecord record; int size; QString data; } cases[] = {
        {"HEX keeps the head", AddressSize::Bits24, hexRecord(digits504, 252), 251, digits504.left(502)},
        {"at the limit", AddressSize::Bits24, hexRecord(digits504, 251), 251, digits504},
        {"16-bit limit", AddressSize::Bits16, hexRecord(digits504, 253), 252, digits504},
        {"negative size never raised", AddressSize::Bits32, hexRecord(digits504, -7), -7, digits504},
        // ASCII is cut to bytes written, never inside a character.
        {"ASCII in UTF-8 bytes", AddressSize::Bits32, asciiRecord(umlauts251, 251), 250, kAUmlaut.repeated(125)},
        {"ASCII character not split", AddressSize::Bits32, asciiRecord("a" + umlauts251, 251), 250,
         "a" + kAUmlaut.repeated(124)},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(3, c.record);
        TrimToSrecordLimit(table, c.mode);
        EXPECT_EQ(table[3].KeySize, c.size) << c.name;
        EXPECT_EQ(table[3].KeyData, c.data) << c.name;
    }
}

TEST(TrimToSrecordLimit, CutsEveryRecordButTheSpareSlot)
{
    RecordTable table;
    for (const Slot slot : {0, 255, kSpareSlot})
        table[slot] = asciiRecord(QString(400, QLatin1Char('x')), 400);
    TrimToSrecordLimit(table, AddressSize::Bits32);
    EXPECT_EQ(table[0], asciiRecord(QString(250, QLatin1Char('x')), 250));
    EXPECT_EQ(table[255], table[0]);
    EXPECT_EQ(table[kSpareSlot].KeySize, 400);
    EXPECT_EQ(table[kSpareSlot].KeyData.size(), 400);
}

} // namespace
} // namespace quorvane
