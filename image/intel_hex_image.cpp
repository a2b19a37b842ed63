#include "text_format.h"

#include "files/intel_hex.h"

#include "core/hex_digits.h"

#include <algorithm>

// The Intel HEX row of the text image formats: type 00 data, 01 end, 02 and
// 04 bases carried from line to line; the line check is files/intel_hex's.
namespace quorvane {

namespace {

bool claimsIntelHex(QByteArrayView start)
{
    return start.startsWith(':');
}

QString intelHexLineFaultText(QByteArrayView line)
{
    const IntelHexLineFault fault = intelHexLineFault(line);
    return fault == IntelHexLineFault::None ? QString() : describeIntelHexLineFault(fault);
}

QString intelHexTooLong()
{
    return describeIntelHexLineFault(IntelHexLineFault::TooLong);
}

// nullopt also for a base record that does not hold exactly one 16-bit
// value: every later address would be in doubt.
std::optional<ImageLine> intelHexImageLine(QByteArrayView line, IntelHexBase& base)
{
    const std::optional<IntelHexFields> fields = intelHexFieldsOf(line);
    if (!fields)
        return std::nullopt;
    switch (IntelHexType(fields->type)) {
    case IntelHexType::Data:
        return ImageLine{.kind = ImageLineKind::Data, .address = base.address(fields->offset),
                         .dataDigits = fields->dataDigits};
    case IntelHexType::EndOfFile:
        return ImageLine{.kind = ImageLineKind::End, .address = 0, .dataDigits = {}};
    case IntelHexType::ExtendedSegmentAddress:
    case IntelHexType::ExtendedLinearAddress: {
        const std::optional<quint32> value = fields->count == 2 ? hexNumber(fields->dataDigits) : std::nullopt;
        if (!value)
            return std::nullopt;
        if (IntelHexType(fields->type) == IntelHexType::ExtendedSegmentAddress)
            base.segment = quint64(*value) * 16;
        else
            base.linear = quint64(*value) * 65536;
        return ImageLine{};
    }
    case IntelHexType::StartSegmentAddress:
    case IntelHexType::StartLinearAddress:
        break;
    }
    return ImageLine{};
}

// A changed line keeps its offset; an added line is as long as the image's
// longest data line, preceded by an extended linear address record (after
// one clearing the segment base, when the image set one) whenever the last
// base does not reach it.
class IntelHexLineWriter final : public ImageLineWriter {
public:
    void see(QByteArrayView, const ImageLine& line) override
    {
        longest_ = std::max(longest_, int(line.dataDigits.size() / 2));
    }

    QByteArray rewritten(QByteArrayView text, QByteArrayView dataDigits) const override
    {
        return intelHexLine(IntelHexType::Data, intelHexFieldsOf(text)->offset, dataDigits);
    }

    int add(quint64 address, QByteArrayView bytes, IntelHexBase& base, QList<QByteArray>& lines) const override
    {
        const qsizetype lineBytes = longest_ > 0 ? longest_ : kDefaultLineBytes;
        int added = 0;
        for (qsizetype done = 0; done < bytes.size(); ++added) {
            const quint64 first = address + quint64(done);
            if (first < base.address(0) || first > base.address(0xFFFF))
                moveBase(first, base, lines);
            // A line must not run past the offsets its base reaches.
            const qsizetype count = std::min({bytes.size() - done, lineBytes, qsizetype(base.address(0xFFFF) - first + 1)});
            lines.append(intelHexLine(IntelHexType::Data, quint16(first - base.address(0)),
                                      bytes.sliced(done, count).toByteArray().toHex().toUpper()));
            done += count;
        }
        return added;
    }

private:
    static void moveBase(quint64 address, IntelHexBase& base, QList<QByteArray>& lines)
    {
        if (base.segment != 0) {
            lines.append(intelHexLine(IntelHexType::ExtendedSegmentAddress, 0, "0000"));
            base.segment = 0;
        }
        base.linear = address & ~quint64(0xFFFF);
        const quint16 upper = quint16(address >> 16);
        const char digits[4] = {upperHexDigitOf(upper >> 12), upperHexDigitOf(upper >> 8), upperHexDigitOf(upper >> 4),
                                upperHexDigitOf(upper)};
        lines.append(intelHexLine(IntelHexType::ExtendedLinearAddress, 0, QByteArrayView(digits, 4)));
    }

    int longest_ = 0;
};

std::unique_ptr<ImageLineWriter> intelHexLineWriter()
{
    return std::make_unique<IntelHexLineWriter>();
}

constexpr TextImageFormat kIntelHex{
    .kind = ObjectFileKind::IntelHex,
    .name = "Intel HEX",
    .claims = &claimsIntelHex,
    .maxLineLength = kMaxIntelHexLineLength,
    .lineFault = &intelHexLineFaultText,
    .tooLong = &intelHexTooLong,
    .meaning = &intelHexImageLine,
    .lineWriter = &intelHexLineWriter,
};

} // namespace

const TextImageFormat& intelHexImageFormat()
{
    return kIntelHex;
}

} // namespace quorvane
