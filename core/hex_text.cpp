#include "hex_text.h"

#include "hex_digits.h"

#include <QByteArray>

namespace quorvane {

namespace {

int digitOf(QChar ch)
{
    const quint8 value = hexDigitValue(ch.unicode());
    return value == kNotHex ? -1 : value;
}

} // namespace

qint32 hexRead(QStringView text)
{
    quint32 value = 0;
    int digits = 0;
    for (QChar ch : text) {
        const int d = digitOf(ch);
        if (d < 0)
            break;
        value = (value << 4) | quint32(d);
        ++digits;
    }
    if (digits <= 4)
        return qint16(quint16(value));
    return qint32(value);
}

int hexByte(QStringView pair)
{
    return hexRead(pair.left(2)) & 0xFF;
}

QString fourDigitHex(qint32 value)
{
    const quint16 v = quint16(value);
    QString out(4, QLatin1Char('0'));
    for (int i = 3, shift = 0; i >= 0; --i, shift += 4)
        out[i] = QLatin1Char(upperHexDigitOf(v >> shift));
    return out;
}

QString twoDigitHex(qint32 value)
{
    const quint8 v = quint8(value);
    const QChar digits[2] = {QLatin1Char(upperHexDigitOf(v >> 4)), QLatin1Char(upperHexDigitOf(v))};
    return QString(digits, 2);
}

QString HEXToASCII(const QString& text)
{
    QString result;
    for (qsizetype p = 0; p < text.size(); p += 2) {
        const int v = hexRead(QStringView(text).mid(p, 2));
        if (v >= 32 && v <= 127)
            result += QChar(char16_t(v));
    }
    return result;
}

QString ASCIIToHEX(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    QString result;
    result.reserve(bytes.size() * 2);
    for (char b : bytes)
        result += twoDigitHex(quint8(b));
    return result;
}

qint16 GetAddrHigh(const QString& text)
{
    if (text.size() < 5)
        return 0;
    return qint16(hexRead(QStringView(text).left(text.size() - 4)));
}

qint16 GetAddrLow(const QString& text)
{
    if (text.isEmpty())
        return 0;
    return qint16(hexRead(QStringView(text).right(4)));
}

QString MakeCheckSum(QStringView text)
{
    const QByteArray digits = text.toLatin1();
    unsigned sum = sumOfHexPairs(digits.constData(), digits.size() / 2).sum;
    if (digits.size() % 2 != 0)
        sum += hexDigitValue(digits.back()) & 0xF;
    return twoDigitHex(int(255 - (sum & 255)));
}

bool IsHEXString(const QString& text)
{
    for (QChar ch : text) {
        if (digitOf(ch) < 0)
            return false;
    }
    return true;
}

bool IsAddressText(const QString& text)
{
    return text.size() <= 8 && IsHEXString(text);
}

QString AddrToText(qint16 high, qint16 low, AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16:
        return fourDigitHex(low);
    case AddressSize::Bits24:
        return fourDigitHex(high).right(2) + fourDigitHex(low);
    case AddressSize::Bits32:
        break;
    }
    return fourDigitHex(high) + fourDigitHex(low);
}

} // namespace quorvane
