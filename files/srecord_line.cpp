#include "srecord_line.h"

#include <array>

namespace quorvane {

namespace {

constexpr std::array<quint8, 256> makeHexTable()
{
    std::array<quint8, 256> table{};
    for (auto& v : table)
        v = kNotHex;
    for (int c = '0'; c <= '9'; ++c)
        table[c] = quint8(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        table[c] = quint8(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        table[c] = quint8(c - 'a' + 10);
    return table;
}

constexpr std::array<quint8, 256> kHexTable = makeHexTable();

// Address bytes of each record type by its digit; 0 where the type is not
// one of the format's.
constexpr std::array<int, 10> kAddressBytesOfType = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

bool isDataRecordDigit(int digit) { return digit >= 1 && digit <= 3; }

} // namespace

quint8 hexDigitValue(char c) { return kHexTable[quint8(c)]; }

bool isValidSrecordLine(QByteArrayView line)
{
    const qsizetype length = line.size();
    if (length < 4 || length > kMaxSrecordLineLength)
        return false;
    const char* p = line.data();
    if (p[0] != 'S')
        return false;
    const int typeDigit = p[1] - '0';
    if (typeDigit < 0 || typeDigit > 9 || kAddressBytesOfType[typeDigit] == 0)
        return false;

    const quint8 countHigh = kHexTable[quint8(p[2])];
    const quint8 countLow = kHexTable[quint8(p[3])];
    if ((countHigh | countLow) & kNotHex)
        return false;
    const int count = (countHigh << 4) | countLow;
    if ((length - 4) / 2 != count)
        return false;
    if (isDataRecordDigit(typeDigit) && count < kAddressBytesOfType[typeDigit] + 1)
        return false;

    unsigned sum = unsigned(count);
    unsigned notHex = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(p + 4);
    for (int i = 0; i < count; ++i) {
        const unsigned high = kHexTable[bytes[2 * i]];
        const unsigned low = kHexTable[bytes[2 * i + 1]];
        notHex |= high | low;
        sum += (high << 4) | low;
    }
    return (notHex & kNotHex) == 0 && (sum & 0xFF) == 0xFF;
}

std::optional<SrecordData> dataRecordOf(QByteArrayView validLine)
{
    const int typeDigit = validLine.at(1) - '0';
    if (!isDataRecordDigit(typeDigit))
        return std::nullopt;
    const int addressBytes = kAddressBytesOfType[typeDigit];
    const int count = (hexDigitValue(validLine.at(2)) << 4) | hexDigitValue(validLine.at(3));
    const int dataBytes = count - addressBytes - 1;
    return SrecordData{RecordType(typeDigit), validLine.sliced(4, 2 * addressBytes),
                       validLine.sliced(4 + 2 * addressBytes, 2 * dataBytes)};
}

std::optional<AddressSize> addressSizeOf(RecordType dataType)
{
    switch (dataType) {
    case RecordType::S1: return AddressSize::Bits16;
    case RecordType::S2: return AddressSize::Bits24;
    case RecordType::S3: return AddressSize::Bits32;
    default: return std::nullopt;
    }
}

} // namespace quorvane
