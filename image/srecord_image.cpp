#include "text_format.h"

#include "files/srecord_line.h"
#include "files/srecord_writer.h"

#include "core/hex_digits.h"

#include <algorithm>

// The S-record row of the text image formats: S1/S2/S3 data, S5/S6 counts,
// S7/S8/S9 ends; the line check is the KEY file's own (files/srecord_line).
namespace quorvane {

namespace {

bool claimsSrecord(QByteArrayView start)
{
    return start.size() >= 2 && start.at(0) == 'S' && start.at(1) >= '0' && start.at(1) <= '9';
}

QString srecordLineFaultText(QByteArrayView line)
{
    const SrecordLineFault fault = srecordLineFault(line);
    return fault == SrecordLineFault::None ? QString() : describeSrecordLineFault(fault);
}

QString srecordTooLong()
{
    return describeSrecordLineFault(SrecordLineFault::TooLong);
}

// A stray character after the counted bytes, which the format check lets
// pass, is refused here: without it the bytes could not be trusted to sit
// where the count says.
std::optional<ImageLine> srecordImageLine(QByteArrayView line, IntelHexBase&)
{
    if (line.size() < 2 || line.at(0) != 'S')
        return std::nullopt;
    switch (line.at(1)) {
    // S4 is reserved: no data, nothing to stop at.
    case '0': case '4': return ImageLine{};
    case '5': case '6': return ImageLine{.kind = ImageLineKind::Count, .address = 0, .dataDigits = {}};
    case '7': case '8': case '9': return ImageLine{.kind = ImageLineKind::End, .address = 0, .dataDigits = {}};
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
    return ImageLine{.kind = ImageLineKind::Data,
                     .address = *address,
                     .dataDigits = line.sliced(4 + 2 * addressBytes, 2 * (qsizetype(*count) - addressBytes - 1))};
}

// A changed line keeps its type and address; an added line is of the widest
// type the image uses (wider when its address needs it) and as long as the
// image's longest data line.
class SrecordLineWriter final : public ImageLineWriter {
public:
    void see(QByteArrayView text, const ImageLine& line) override
    {
        widestType_ = std::max(widestType_, text.at(1) - '0');
        longest_ = std::max(longest_, int(line.dataDigits.size() / 2));
    }

    QByteArray rewritten(QByteArrayView text, QByteArrayView dataDigits) const override
    {
        const SrecordData data = *dataRecordOf(text);
        return srecordDataLine(*addressSizeOf(data.type), *hexNumber(data.addressDigits), dataDigits);
    }

    int add(quint64 address, QByteArrayView bytes, IntelHexBase&, QList<QByteArray>& lines) const override
    {
        int added = 0;
        for (qsizetype done = 0; done < bytes.size(); ++added) {
            const quint64 first = address + quint64(done);
            qsizetype count = std::min<qsizetype>(bytes.size() - done, lineBytes());
            const AddressSize size = sizeFor(first + quint64(count) - 1);
            count = std::min<qsizetype>(count, dataLimit(size));
            lines.append(srecordDataLine(size, quint32(first), bytes.sliced(done, count).toByteArray().toHex().toUpper()));
            done += count;
        }
        return added;
    }

private:
    [[nodiscard]] int lineBytes() const { return longest_ > 0 ? longest_ : kDefaultLineBytes; }

    [[nodiscard]] AddressSize sizeFor(quint64 lastAddress) const
    {
        const int needed = lastAddress > 0xFFFFFF ? 3 : lastAddress > 0xFFFF ? 2 : 1;
        return *addressSizeOf(RecordType(std::max(widestType_, needed)));
    }

    int widestType_ = 1;
    int longest_ = 0;
};

std::unique_ptr<ImageLineWriter> srecordLineWriter()
{
    return std::make_unique<SrecordLineWriter>();
}

constexpr TextImageFormat kSrecord{
    .kind = ObjectFileKind::Srecord,
    .name = "S-record",
    .claims = &claimsSrecord,
    .maxLineLength = kMaxSrecordLineLength,
    .lineFault = &srecordLineFaultText,
    .tooLong = &srecordTooLong,
    .meaning = &srecordImageLine,
    .lineWriter = &srecordLineWriter,
};

} // namespace

const TextImageFormat& srecordImageFormat()
{
    return kSrecord;
}

} // namespace quorvane
