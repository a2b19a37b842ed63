#include "image_range.h"

#include "text_image_reader.h"

#include "files/file_error.h"

#include <QFile>

#include <algorithm>

namespace quorvane {

namespace {

// The size of the pieces a checksum over a range is computed in.
constexpr qsizetype kChecksumBlock = qsizetype(1) << 16;

RangeRead failure(RangeReadStatus status, QString message)
{
    return {.status = status, .message = std::move(message), .bytes = std::nullopt};
}

RangeRead readFailure(const QString& imageName, const QString& why)
{
    return failure(RangeReadStatus::ReadError, errorText(imageName + QStringLiteral(": ") + why));
}

// nullopt when a line is not of the kind.
std::optional<RangeRead> readText(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                                  const AddressRange& range)
{
    TextImageReader reader(image, kind);
    RangeBytes bytes(range);
    std::optional<RangeRead> failed;
    bool ended = false;
    for (;;) {
        switch (reader.next(!ended && !failed)) {
        case TextImageReader::Status::Line:
        case TextImageReader::Status::Cancelled: // no progress is asked for: nothing cancels
            break;
        case TextImageReader::Status::End:
            return failed ? failed : RangeRead{.status = RangeReadStatus::Read, .message = {}, .bytes = std::move(bytes)};
        case TextImageReader::Status::NotThisFormat:
            return std::nullopt;
        case TextImageReader::Status::ReadError:
            return readFailure(imageName, reader.errorString());
        }
        if (ended || failed)
            continue;
        const std::optional<ImageLine>& line = reader.meaning();
        if (!line)
            failed = failure(RangeReadStatus::FormatError, fileFormatErrorText(imageName));
        else if (line->kind == ImageLineKind::End)
            ended = true;
        else if (line->kind == ImageLineKind::Data)
            bytes.put(line->address, QByteArray::fromHex(line->dataDigits.toByteArray()));
    }
}

RangeRead readBinary(QIODevice& image, const QString& imageName, const AddressRange& range, quint32 start)
{
    RangeBytes bytes(range);
    const quint64 from = std::max(range.first, quint64(start));
    const quint64 past = std::min(range.last + 1, quint64(start) + quint64(image.size()));
    if (from < past) {
        if (!image.seek(qint64(from - start)))
            return readFailure(imageName, image.errorString());
        const QByteArray read = image.read(qint64(past - from));
        if (read.size() != qsizetype(past - from))
            return readFailure(imageName, image.errorString());
        bytes.put(from, read);
    }
    return {.status = RangeReadStatus::Read, .message = {}, .bytes = std::move(bytes)};
}

} // namespace

QString rangeText(const AddressRange& range)
{
    return addressText(range.first) + QLatin1Char('-') + addressText(range.last);
}

void RangeBytes::put(quint64 address, QByteArrayView bytes)
{
    const quint64 first = std::max(address, range_.first);
    const quint64 past = std::min(address + quint64(bytes.size()), range_.last + 1);
    const auto piece = [&](quint64 from, quint64 to) { return bytes.sliced(qsizetype(from - address), qsizetype(to - from)); };
    for (quint64 at = first; at < past;) {
        const auto next = runs_.upper_bound(at);
        const quint64 free = next == runs_.end() ? past : std::min(past, next->first);
        if (next != runs_.begin()) {
            QByteArray& before = std::prev(next)->second;
            const quint64 beforeFirst = std::prev(next)->first;
            const quint64 beforePast = beforeFirst + quint64(before.size());
            if (beforePast > at) {
                const quint64 to = std::min(beforePast, past);
                before.replace(qsizetype(at - beforeFirst), qsizetype(to - at), piece(at, to));
                at = to;
                continue;
            }
            if (beforePast == at) {
                // The usual case: the line after the last one.
                before.append(piece(at, free));
                at = free;
                continue;
            }
        }
        runs_.emplace(at, piece(at, free).toByteArray());
        at = free;
    }
}

std::optional<AddressRange> RangeBytes::firstGap(const std::vector<AddressRange>& alsoHeld) const
{
    std::vector<AddressRange> held = alsoHeld;
    for (const auto& [first, bytes] : runs_)
        held.push_back({.first = first, .last = first + quint64(bytes.size()) - 1});
    std::sort(held.begin(), held.end(), [](const AddressRange& a, const AddressRange& b) { return a.first < b.first; });
    quint64 next = range_.first; // the first address not known to be held
    for (const AddressRange& run : held) {
        if (run.last < next)
            continue;
        if (run.first > next)
            return AddressRange{.first = next, .last = std::min(run.first - 1, range_.last)};
        if (run.last >= range_.last)
            return std::nullopt;
        next = run.last + 1;
    }
    return AddressRange{.first = next, .last = range_.last};
}

QByteArray RangeBytes::checksum(ChecksumAlgorithm algorithm, const KeyLayout& keys, char fill) const
{
    Checksum sum(algorithm);
    QByteArray block;
    for (quint64 first = range_.first; first <= range_.last;) {
        const quint64 last = std::min(range_.last, first + quint64(kChecksumBlock) - 1);
        block.fill(fill, qsizetype(last - first + 1));
        auto run = runs_.upper_bound(first);
        if (run != runs_.begin())
            --run;
        for (; run != runs_.end() && run->first <= last; ++run) {
            const quint64 runLast = run->first + quint64(run->second.size()) - 1;
            if (runLast < first)
                continue;
            const quint64 from = std::max(first, run->first);
            const quint64 to = std::min(last, runLast);
            std::copy_n(run->second.constData() + (from - run->first), to - from + 1, block.data() + (from - first));
        }
        keys.forEachOverlap(first, block.size(), [&](const KeyLayout::Span& span, qsizetype inSpan, qsizetype inBlock,
                                                     qsizetype count) {
            std::copy_n(span.bytes.constData() + inSpan, count, block.data() + inBlock);
        });
        sum.add(block);
        first = last + 1;
    }
    return sum.result();
}

RangeRead readImageRange(const QString& imagePath, const AddressRange& range, std::optional<quint32> startAddress)
{
    QFile image(imagePath);
    // The reader reads in large blocks of its own.
    if (!image.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return readFailure(imagePath, image.errorString());
    ImagePass<RangeRead> pass =
        passOverImage<RangeRead>(image, [&](ObjectFileKind kind) { return readText(image, imagePath, kind, range); });
    if (pass.result)
        return std::move(*pass.result);
    if (pass.kind == ObjectFileKind::Damaged)
        return failure(RangeReadStatus::FormatError, fileFormatErrorText(imagePath, pass.damage));
    if (!startAddress)
        return failure(RangeReadStatus::StartAddressNeeded, startAddressNeededText(imagePath));
    return readBinary(image, imagePath, range, *startAddress);
}

} // namespace quorvane
