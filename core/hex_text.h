#pragma once

#include "address_size.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Conversions between numbers, character text and hexadecimal text. Every
// hex text produced here is upper case, without prefix, zero-padded by the
// caller (or here, where the width is part of the rule).
namespace quorvane {

// Hex reading: the leading hex digits (either case) are read as a number;
// the first non-hex character ends it, no leading digit reads as 0. Up to
// four digits are read as a signed 16-bit quantity (8000..FFFF -> negative),
// five to eight as a signed 32-bit quantity. Digits beyond the eighth are
// outside every caller's domain; only the low 32 bits are kept.
[[nodiscard]] qint32 hexRead(QStringView text);

// The value of a two-character hex pair, 0..255 (0 when it starts with a
// non-hex character, the first digit alone when only that one is hex).
[[nodiscard]] int hexByte(QStringView pair);

// Upper-case hex of the 16-bit pattern, zero-padded to four digits.
[[nodiscard]] QString fourDigitHex(qint32 value);
// Upper-case hex of the low byte, zero-padded to two digits.
[[nodiscard]] QString twoDigitHex(qint32 value);

// Pairs of hex digits to characters; values outside 32..127 are dropped.
[[nodiscard]] QString HEXToASCII(const QString& text);
// Characters to hex of their UTF-8 bytes, lead byte first.
[[nodiscard]] QString ASCIIToHEX(const QString& text);

// Split an address text of up to 8 hex digits, right-aligned, into its
// upper and lower 16 bits. Callers never pass more than 8 characters.
[[nodiscard]] qint16 GetAddrHigh(const QString& text);
[[nodiscard]] qint16 GetAddrLow(const QString& text);

// The S-record checksum: one's complement of the low byte of the sum of the
// pairs (a lone last digit counts alone), as two hex digits.
[[nodiscard]] QString MakeCheckSum(QStringView text);

// True when every character is 0-9, A-F or a-f (an empty text is true).
[[nodiscard]] bool IsHEXString(const QString& text);
// True for at most 8 hex digits (an empty text is true).
[[nodiscard]] bool IsAddressText(const QString& text);

// The address shown in the width of an address size: 4, 6 or 8 digits.
[[nodiscard]] QString AddrToText(qint16 high, qint16 low, AddressSize size);

} // namespace quorvane
