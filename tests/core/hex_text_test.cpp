#include "core/hex_text.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// The KEY writer's hex and checksums and the fixed-width address text are
// followed byte for byte by the writer, objcopy and the grid's address tests.
TEST(HexText, HexReadTakesLeadingDigitsWithSixteenOrThirtyTwoBitSign)
{
    const struct { const char* text; qint32 value; } cases[] = {
        {"", 0}, {"G1", 0}, {"1fG5", 0x1F}, {"8000", -32768}, {"0000FFFF", 0xFFFF}, {"FFFFFFFF", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexRead(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(HexText, HexToAsciiKeepsPrintableCodesOnly)
{
    // Codes 32..127 are kept; a pair that is not hex reads as 0, a lone last digit alone.
    EXPECT_EQ(HEXToASCII("1F207F80"), " " + QString(QChar(127)));
    EXPECT_EQ(HEXToASCII("G1614"), "a");
}

TEST(HexText, AddressTextSplitsIntoHalvesRightAligned)
{
    const struct { const char* text; quint16 high; quint16 low; } cases[] = {
        {"", 0, 0}, {"1F", 0, 0x001F}, {"abcde", 0x000A, 0xBCDE}, {"FFFF8000", 0xFFFF, 0x8000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quint16(GetAddrHigh(c.text)), c.high) << c.text;
        EXPECT_EQ(quint16(GetAddrLow(c.text)), c.low) << c.text;
    }
}

TEST(HexText, HexStringAndAddressTextPredicates)
{
    const struct { QString text; bool hex; bool address; } cases[] = {
        {"", true, true},           {"09afAF", true, true}, {"FFFFFFFF", true, true}, {"123456789", true, false},
        {"g", false, false},        {"0x10", false, false}, {"-1", false, false},
        {QString::fromUtf8("\xEF\xBC\xA1"), false, false}, // fullwidth A
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsHEXString(c.text), c.hex) << c.text.toStdString();
        EXPECT_EQ(IsAddressText(c.text), c.address) << c.text.toStdString();
    }
}

} // namespace
