#include "object_line.h"

#include "intel_hex.h"

#include "core/hex_digits.h"

namespace quorvane {

std::optional<ObjectLine> srecordObjectLine(QByteArrayView line)
{
    if (line.size() < 2 || line.at(0) != 'S')
        return std::nullopt;
    switch (line.at(1)) {
    // S4 is reserved: no data, nothing to stop at.
    case '0': case '4': return ObjectLine{};
    case '5': case '6': return ObjectLine{.kind = ObjectLineKind::Count, .address = 0, .dataDigits = {}};
    case '7': case '8': case '9': return ObjectLine{.kind = ObjectLineKind::End, .address = 0, .dataDigits = {}};
    case '1': case '2': case '3': break;
    default: return std::nullopt;
    }
    const int addressBytes = line.at(1) - '0' + 1;
    const std::optional<quint32> count = line.size() >= 4 ? hexNumber(line.sliced(2, 2)) : std::nullopt;
    if (!count || line.size() - 4 != 2 * qsizetype(*count) || int(*count) < addressBytes + 1)
        return std::nullopt;
    const std::optional<quint32> address = hexNumber(line.sliced(4, 2 * addressBytes));
    if (!address)
        return std::nullopt;
    return ObjectLine{.kind = ObjectLineKind::Data,
                      .address = *address,
                      .dataDigits = line.sliced(4 + 2 * addressBytes, 2 * (qsizetype(*count) - addressBytes - 1))};
}

std::optional<ObjectLine> intelHexObjectLine(QByteArrayView line, IntelHexBase& base)
{
    const std::optional<IntelHexFields> fields = intelHexFieldsOf(line);
    if (!fields)
        return std::nullopt;
    switch (IntelHexType(fields->type)) {
    case IntelHexType::Data:
        return ObjectLine{.kind = ObjectLineKind::Data, .address = base.address(fields->offset),
                          .dataDigits = fields->dataDigits};
    case IntelHexType::EndOfFile:
        return ObjectLine{.kind = ObjectLineKind::End, .address = 0, .dataDigits = {}};
    case IntelHexType::ExtendedSegmentAddress:
    case IntelHexType::ExtendedLinearAddress: {
        const std::optional<quint32> value = fields->count == 2 ? hexNumber(fields->dataDigits) : std::nullopt;
        if (!value)
            return std::nullopt;
        if (IntelHexType(fields->type) == IntelHexType::ExtendedSegmentAddress)
            base.segment = quint64(*value) * 16;
        else
            base.linear = quint64(*value) * 65536;
        return ObjectLine{};
    }
    case IntelHexType::StartSegmentAddress:
    case IntelHexType::StartLinearAddress:
        break;
    }
    return ObjectLine{};
}

} // namespace quorvane
