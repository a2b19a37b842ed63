#include "core/hex_text.h"

#include <gtest/gtest.h>

#include <QString>

using namespace quorvane;

namespace {

struct ReadCase {
    const char* text;
    qint32 value;
};

TEST(HexText, HexReadTakesLeadingDigitsWithSixteenOrThirtyTwoBitSign)
{
    const ReadCase cases[] = {
        {"", 0},          {"G1", 0},         {"1", 1},          {"1F", 31},
        {"1g", 1},        {"ff", 255},       {"7FFF", 32767},   {"8000", -32768},
        {"FFFF", -1},     {"12G45", 0x12},   {"10000", 0x10000}, {"FFFFFFFF", -1},
        {"80000000", qint32(0x80000000u)},    {"0000FFFF", 0xFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hexRead(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(HexText, HexToAsciiKeepsPrintableCodesOnly)
{
    const struct {
        const char* hex;
        QString text;
    } cases[] = {
        {"", ""},
        {"41424", "AB"},      // lone 4 reads as 4, below 32
        {"0D0A41", "A"},
        {"7F", QString(QChar(127))},
        {"80", ""},
        {"20", " "},
        {"1F", ""},
        {"G141", "A"},        // a pair that is not hex reads as 0
        {"616263", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HEXToASCII(QString::fromLatin1(c.hex)), c.text) << c.hex;
}

TEST(HexText, AsciiToHexGivesUtf8BytesUpperCase)
{
    const struct {
        QString text;
        const char* hex;
    } cases[] = {
        {"", ""},
        {"AB", "4142"},
        {"a z", "61207A"},
        {QString::fromUtf8("\xC3\xA9"), "C3A9"},          // é: two UTF-8 bytes
        {QString::fromUtf8("\xE3\x81\x82"), "E38182"},    // あ: three bytes, lead first
        {QString::fromUtf8("\xF0\x9F\x94\x91"), "F09F9491"}, // outside the BMP
        {QString(QChar(0x7F)), "7F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ASCIIToHEX(c.text), QString::fromLatin1(c.hex)) << c.hex;
}

TEST(HexText, AddressTextSplitsIntoHalvesRightAligned)
{
    const struct {
        const char* text;
        quint16 high;
        quint16 low;
    } cases[] = {
        {"", 0, 0},
        {"1F", 0, 0x001F},
        {"1234", 0, 0x1234},
        {"8000", 0, 0x8000},
        {"ABCDE", 0x000A, 0xBCDE},
        {"12345678", 0x1234, 0x5678},
        {"FFFF0000", 0xFFFF, 0},
        {"FFFF8000", 0xFFFF, 0x8000},
        {"abcdef", 0x00AB, 0xCDEF},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(quint16(GetAddrHigh(text)), c.high) << c.text;
        EXPECT_EQ(quint16(GetAddrLow(text)), c.low) << c.text;
    }
    // The halves are stored as signed 16-bit values.
    EXPECT_EQ(GetAddrHigh(QStringLiteral("FFFF8000")), -1);
    EXPECT_EQ(GetAddrLow(QStringLiteral("FFFF8000")), -32768);
}

TEST(HexText, CheckSumIsOnesComplementOfLowByteOfSum)
{
    const struct {
        const char* text;
        const char* sum;
    } cases[] = {
        {"", "FF"},
        {"030000", "FC"},
        {"04000000", "FB"},
        {"0500000000", "FA"},
        {"07000010001212AB", "19"},
        {"0700001000" "12AB", "2B"},  // the worked line of the KEY writer
        {"FF", "00"},                 // low byte of the sum is FF
        {"0F", "F0"},                 // a value below 16 keeps its leading zero
        {"FE01", "00"},
        {"FFFF01", "00"},             // carries beyond the low byte are dropped
        {"1", "FE"},                  // a lone last digit counts alone
        {"aB", "54"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeCheckSum(QString::fromLatin1(c.text)), QString::fromLatin1(c.sum)) << c.text;
}

TEST(HexText, HexStringAndAddressTextPredicates)
{
    const struct {
        const char* text;
        bool hex;
        bool address;
    } cases[] = {
        {"", true, true},
        {"0aF", true, true},
        {"G", false, false},
        {"12 34", false, false},
        {"FFFFFFFF", true, true},
        {"123456789", true, false},   // nine digits are no address
        {"ABCDEFabcdef0123456789", true, false},
        {"-1", false, false},
        {"0x10", false, false},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(IsHEXString(text), c.hex) << c.text;
        EXPECT_EQ(IsAddressText(text), c.address) << c.text;
    }
    EXPECT_FALSE(IsHEXString(QString::fromUtf8("\xEF\xBC\xA1"))); // fullwidth A
}

TEST(HexText, AddrToTextWidthFollowsAddressSize)
{
    const struct {
        quint16 high;
        quint16 low;
        AddressSize size;
        const char* text;
    } cases[] = {
        {0x0012, 0x0034, AddressSize::Bits32, "00120034"},
        {0x0012, 0x0034, AddressSize::Bits24, "120034"},
        {0x0012, 0x0034, AddressSize::Bits16, "0034"},
        {0x1234, 0x0000, AddressSize::Bits24, "340000"},  // bits above 23 are not shown
        {0xFFFF, 0x8000, AddressSize::Bits32, "FFFF8000"},
        {0xABCD, 0xEF01, AddressSize::Bits16, "EF01"},
        {0, 0, AddressSize::Bits32, "00000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddrToText(qint16(c.high), qint16(c.low), c.size), QString::fromLatin1(c.text)) << c.text;
}

TEST(HexText, FixedWidthHexIsUpperCaseAndZeroPadded)
{
    EXPECT_EQ(fourDigitHex(0), QStringLiteral("0000"));
    EXPECT_EQ(fourDigitHex(-1), QStringLiteral("FFFF"));
    EXPECT_EQ(fourDigitHex(0xab), QStringLiteral("00AB"));
    EXPECT_EQ(twoDigitHex(5), QStringLiteral("05"));
    EXPECT_EQ(twoDigitHex(0x1FA), QStringLiteral("FA"));
}

} // namespace
