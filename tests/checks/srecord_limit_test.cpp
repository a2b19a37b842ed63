#include "checks/srecord_limit.h"

#include "core/data_bytes.h"

#include "table_builders.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using test::asciiRecord;
using test::hexRecord;
using test::tableWith;

const QString kAUmlaut = QStringLiteral("\u00e4");

QString digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QLatin1Char("0123456789ABCDEF"[i % 16]));
    return text;
}

TEST(TrimToSrecordLimit, CutsSizeAndDataToTheLimitOfTheMode)
{
    const QString digits504 = digits(504);
    const QString chars251 = QString(251, QLatin1Char('c'));
    const QString umlauts251 = kAUmlaut.repeated(251);
    const struct {
        const char* name;
        AddressSize mode;
        KeyRecord record;
        int expectedSize;
        QString expectedData;
    } cases[] = {
        {"HEX 252 to 24-bit", AddressSize::Bits24, hexRecord(digits504, 252), 251, digits504.left(502)},
        {"ASCII 251 to 32-bit", AddressSize::Bits32, asciiRecord(chars251, 251), 250, chars251.left(250)},
        {"at the limit", AddressSize::Bits24, hexRecord(digits504, 251), 251, digits504},
        {"16-bit limit", AddressSize::Bits16, hexRecord(digits504, 253), 252, digits504},
        {"size 0 with long data", AddressSize::Bits32, hexRecord(digits504, 0), 0, digits504},
        {"negative size never raised", AddressSize::Bits32, hexRecord(digits504, -7), -7, digits504},
        {"short data stays", AddressSize::Bits32, hexRecord(QStringLiteral("AB"), 300), 250, QStringLiteral("AB")},
        // ASCII is cut to bytes written, never inside a character.
        {"ASCII in UTF-8 bytes", AddressSize::Bits32, asciiRecord(umlauts251, 251), 250, kAUmlaut.repeated(125)},
        {"ASCII character not split", AddressSize::Bits32, asciiRecord("a" + umlauts251, 251), 250,
         "a" + kAUmlaut.repeated(124)},
    };
    for (const auto& c : cases) {
        RecordTable table = tableWith(3, c.record);
        TrimToSrecordLimit(table, c.mode);
        EXPECT_EQ(table[3].KeySize, c.expectedSize) << c.name;
        EXPECT_EQ(table[3].KeyData, c.expectedData) << c.name;
        EXPECT_EQ(table[3].KeyTitle, c.record.KeyTitle) << c.name;
    }
}

TEST(TrimToSrecordLimit, CutsEveryRecordButTheSpareSlot)
{
    RecordTable table;
    for (const Slot slot : {0, 128, 255, kSpareSlot})
        table[slot] = asciiRecord(QString(400, QLatin1Char('x')), 400);
    TrimToSrecordLimit(table, AddressSize::Bits32);
    for (const Slot slot : {0, 128, 255}) {
        EXPECT_EQ(table[slot].KeySize, 250) << slot;
        EXPECT_EQ(asciiByteCount(table[slot].KeyData), 250) << slot;
    }
    EXPECT_EQ(table[kSpareSlot].KeySize, 400);
    EXPECT_EQ(table[kSpareSlot].KeyData.size(), 400);
}

TEST(AddressSizeWarning, IsNeededExactlyWhenTheDataLimitFalls)
{
    using enum AddressSize;
    const struct {
        AddressSize from;
        AddressSize to;
        bool warn;
    } cases[] = {
        {Bits16, Bits24, true},  {Bits16, Bits32, true},  {Bits24, Bits32, true},
        {Bits24, Bits16, false}, {Bits32, Bits16, false}, {Bits32, Bits24, false},
        {Bits16, Bits16, false}, {Bits24, Bits24, false}, {Bits32, Bits32, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(needsAddressSizeWarning(c.from, c.to), c.warn) << int(c.from) << " -> " << int(c.to);
}

} // namespace
} // namespace quorvane
