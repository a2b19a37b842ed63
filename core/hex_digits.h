#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <array>
#include <optional>

// The one table of hexadecimal digits: every reader, filter and conversion
// that asks "is this a hex digit, and what is it worth" asks here.
namespace quorvane {

// Marks a character that is not a hex digit; above every digit's value, so
// an OR over several lookups tells whether any of them failed.
inline constexpr quint8 kNotHex = 0x80;

namespace detail {
constexpr std::array<quint8, 256> makeHexDigitTable()
{
    std::array<quint8, 256> table{};
    for (auto& v : table)
        v = kNotHex;
    for (int c = '0'; c <= '9'; ++c)
        table[std::size_t(c)] = quint8(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[std::size_t(c)] = quint8(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[std::size_t(c)] = quint8(c - 'a' + 10);
    return table;
}
inline constexpr std::array<quint8, 256> kHexDigitTable = makeHexDigitTable();
} // namespace detail

// Value 0..15 of a hex digit (either case), or kNotHex.
[[nodiscard]] constexpr quint8 hexDigitValue(char c) { return detail::kHexDigitTable[quint8(c)]; }
[[nodiscard]] constexpr quint8 hexDigitValue(char16_t c)
{
    return c < 256 ? detail::kHexDigitTable[c] : kNotHex;
}

// The value of up to eight hex digits (either case); nullopt when one is not
// a digit. No digits read as 0.
[[nodiscard]] constexpr std::optional<quint32> hexNumber(QByteArrayView digits)
{
    quint32 value = 0;
    unsigned notHex = 0;
    for (const char c : digits) {
        const quint8 digit = hexDigitValue(c);
        notHex |= digit;
        value = (value << 4) | (digit & 0xF);
    }
    if (digits.size() > 8 || (notHex & kNotHex))
        return std::nullopt;
    return value;
}

// The sum of bytes written as two hex digits each, the checksum S-record and
// Intel HEX lines both build on (each then takes its own complement of the
// low byte); `allHex` is false when a character is not a hex digit.
struct HexPairSum {
    unsigned sum = 0;
    bool allHex = true;
};
[[nodiscard]] constexpr HexPairSum sumOfHexPairs(const char* digits, qsizetype pairs)
{
    unsigned sum = 0;
    unsigned notHex = 0;
    for (qsizetype i = 0; i < 2 * pairs; i += 2) {
        const unsigned high = hexDigitValue(digits[i]);
        const unsigned low = hexDigitValue(digits[i + 1]);
        notHex |= high | low;
        sum += (high << 4) | low;
    }
    return {.sum = sum, .allHex = (notHex & kNotHex) == 0};
}

// The upper-case hex digit of the low four bits.
[[nodiscard]] constexpr char upperHexDigitOf(unsigned nibble) { return "0123456789ABCDEF"[nibble & 0xF]; }

[[nodiscard]] constexpr bool isHexDigit(char16_t c) { return hexDigitValue(c) != kNotHex; }
[[nodiscard]] constexpr bool isLowerHexLetter(char16_t c) { return c >= u'a' && c <= u'f'; }

// A hex digit in upper case; other characters unchanged.
[[nodiscard]] constexpr char16_t upperHexDigit(char16_t c)
{
    return isLowerHexLetter(c) ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace quorvane
