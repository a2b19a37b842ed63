#include "intel_hex.h"

#include "line_check.h"
#include "line_reader.h"
#include "open_file.h"

#include "core/hex_digits.h"

#include <QFile>

namespace quorvane {

namespace {

// Characters besides the data digits: ":", count, offset, type, checksum.
constexpr qsizetype kFrameLength = 11;

// Set, above every byte value, in a pair that is not two hex digits.
constexpr unsigned kPairNotHex = 0x100;

// The byte of two hex digits, or a value with kPairNotHex set.
unsigned hexPair(const char* p)
{
    const unsigned high = hexDigitValue(p[0]);
    const unsigned low = hexDigitValue(p[1]);
    return ((high << 4) | low) | ((high | low) & kNotHex ? kPairNotHex : 0);
}

} // namespace

IntelHexLineFault intelHexLineFault(QByteArrayView line)
{
    using enum IntelHexLineFault;
    if (line.isEmpty() || line.front() != ':')
        return NoColon;
    if (line.size() < 3)
        return TooShort;
    const unsigned count = hexPair(line.data() + 1);
    if (count & kPairNotHex)
        return NotHex;
    if (line.size() != 2 * qsizetype(count) + kFrameLength)
        return CountDisagreesWithLength;

    // count, offset high, offset low, type, data, checksum.
    const HexPairSum all = sumOfHexPairs(line.data() + 1, qsizetype(count) + 5);
    if (!all.allHex)
        return NotHex;
    return (all.sum & 0xFF) == 0 ? None : WrongChecksum;
}

QString describeIntelHexLineFault(IntelHexLineFault fault)
{
    switch (fault) {
    case IntelHexLineFault::None: return QStringLiteral("valid");
    case IntelHexLineFault::TooShort: return QStringLiteral("too short for an Intel HEX line");
    case IntelHexLineFault::TooLong: return QStringLiteral("too long for an Intel HEX line");
    case IntelHexLineFault::NoColon: return QStringLiteral("does not start with \":\"");
    case IntelHexLineFault::NotHex: return QStringLiteral("holds characters that are not hex digits");
    case IntelHexLineFault::CountDisagreesWithLength: return QStringLiteral("count disagrees with the line length");
    case IntelHexLineFault::WrongChecksum: return QStringLiteral("wrong checksum");
    }
    return {};
}

FormatCheck CheckIntelHexFile(QIODevice& device)
{
    // A lambda, not the function's address: each line's judgement is then a
    // direct call the compiler can inline.
    return checkEveryLine(device, kMaxIntelHexLineLength, [](QByteArrayView line) { return intelHexLineFault(line); },
                          describeIntelHexLineFault, IntelHexLineFault::None, IntelHexLineFault::TooLong);
}

FormatCheck CheckIntelHexFile(const QString& path)
{
    return checkFileAt(path, [](QIODevice& device) { return CheckIntelHexFile(device); });
}

std::optional<IntelHexFields> intelHexFieldsOf(QByteArrayView line)
{
    if (line.size() < kFrameLength || line.front() != ':')
        return std::nullopt;
    const char* p = line.data();
    const unsigned count = hexPair(p + 1);
    const unsigned offsetHigh = hexPair(p + 3);
    const unsigned offsetLow = hexPair(p + 5);
    const unsigned type = hexPair(p + 7);
    if ((count | offsetHigh | offsetLow | type) & kPairNotHex)
        return std::nullopt;
    if (line.size() != 2 * qsizetype(count) + kFrameLength)
        return std::nullopt;
    return IntelHexFields{int(count), quint16((offsetHigh << 8) | offsetLow), quint8(type),
                          line.sliced(9, 2 * qsizetype(count))};
}

QByteArray intelHexLine(IntelHexType type, quint16 offset, QByteArrayView dataDigits)
{
    const unsigned count = unsigned(dataDigits.size() / 2);
    QByteArray line;
    line.reserve(kFrameLength + dataDigits.size());
    unsigned sum = 0;
    const auto put = [&](unsigned byte) {
        line += upperHexDigitOf(byte >> 4);
        line += upperHexDigitOf(byte);
        sum += byte;
    };
    line += ':';
    put(count);
    put(offset >> 8);
    put(offset & 0xFF);
    put(unsigned(type));
    line += dataDigits;
    sum += sumOfHexPairs(dataDigits.data(), dataDigits.size() / 2).sum;
    put((0x100 - (sum & 0xFF)) & 0xFF);
    return line;
}

} // namespace quorvane
