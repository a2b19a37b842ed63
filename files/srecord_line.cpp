#include "srecord_line.h"

#include <array>

namespace quorvane {

namespace {

// Address bytes of each record type by its digit; 0 where the type is not
// one of the format's.
constexpr std::array<int, 10> kAddressBytesOfType = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};

bool isDataRecordDigit(int digit) { return digit >= 1 && digit <= 3; }

} // namespace

SrecordLineFault srecordLineFault(QByteArrayView line)
{
    using enum SrecordLineFault;
    const qsizetype length = line.size();
    if (length < 4)
        return TooShort;
    if (length > kMaxSrecordLineLength)
        return TooLong;
    const char* p = line.data();
    if (p[0] != 'S')
        return NotSrecord;
    const int typeDigit = p[1] - '0';
    if (typeDigit < 0 || typeDigit > 9 || kAddressBytesOfType[std::size_t(typeDigit)] == 0)
        return UnknownType;

    const quint8 countHigh = hexDigitValue(p[2]);
    const quint8 countLow = hexDigitValue(p[3]);
    if ((countHigh | countLow) & kNotHex)
        return NotHex;
    const int count = (countHigh << 4) | countLow;
    if ((length - 4) / 2 != count)
        return CountDisagreesWithLength;
    if (isDataRecordDigit(typeDigit) && count < kAddressBytesOfType[std::size_t(typeDigit)] + 1)
        return CountTooSmall;

    const HexPairSum counted = sumOfHexPairs(p + 4, count);
    if (!counted.allHex)
        return NotHex;
    return ((unsigned(count) + counted.sum) & 0xFF) == 0xFF ? None : WrongChecksum;
}

QString describeSrecordLineFault(SrecordLineFault fault)
{
    switch (fault) {
    case SrecordLineFault::None: return QStringLiteral("valid");
    case SrecordLineFault::TooShort: return QStringLiteral("too short for an S-record");
    case SrecordLineFault::TooLong: return QStringLiteral("too long for an S-record");
    case SrecordLineFault::NotSrecord: return QStringLiteral("does not start with \"S\"");
    case SrecordLineFault::UnknownType: return QStringLiteral("unknown record type");
    case SrecordLineFault::NotHex: return QStringLiteral("holds characters that are not hex digits");
    case SrecordLineFault::CountDisagreesWithLength: return QStringLiteral("count disagrees with the line length");
    case SrecordLineFault::CountTooSmall: return QStringLiteral("count too small for the address");
    case SrecordLineFault::WrongChecksum: return QStringLiteral("wrong checksum");
    }
    return {};
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
