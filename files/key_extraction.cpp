#include "key_extraction.h"

#include "intel_hex.h"
#include "line_reader.h"
#include "object_line.h"
#include "open_file.h"
#include "progress_ticker.h"
#include "srecord_line.h"

#include "core/hex_digits.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>

namespace quorvane {

namespace {

bool isLookedFor(const ExtractionTarget& target)
{
    return target.size >= 1 && target.size <= kMaxExtractedSize;
}

// The records still being filled during one pass. Each keeps its digits and
// which of its bytes some line has given: a byte given twice by overlapping
// lines counts once, so a record is complete only when every one of its
// bytes is in the file.
class PendingRecords {
public:
    explicit PendingRecords(const std::vector<ExtractionTarget>& targets)
        : targetCount_(targets.size())
    {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const ExtractionTarget& target = targets[i];
            if (!isLookedFor(target))
                continue;
            records_.push_back({.start = target.address,
                                .end = quint64(target.address) + quint64(target.size) - 1,
                                .target = i,
                                .digits = QByteArray(2 * target.size, '0'),
                                .seen = {},
                                .missing = target.size});
        }
        incomplete_ = records_.size();
        for (const Record& record : records_)
            startPages_[std::size_t(record.start >> kPageBits)] = true;
        std::sort(records_.begin(), records_.end(),
                  [](const Record& a, const Record& b) { return a.start < b.start; });
    }

    [[nodiscard]] bool complete() const { return incomplete_ == 0; }

    // Copies into every incomplete record the bytes of a line starting at
    // `address` that fall inside it. False when a digit to copy is not a hex
    // digit: the file changed after its check, or was never checked.
    [[nodiscard]] bool take(quint64 address, QByteArrayView digits)
    {
        const qsizetype byteCount = digits.size() / 2;
        if (byteCount == 0 || complete())
            return true;
        const quint64 lineEnd = address + quint64(byteCount) - 1;
        // No record is longer than kMaxExtractedSize, so one that starts
        // further below the line cannot reach it.
        const quint64 lowestStart = address >= kMaxExtractedSize ? address - (kMaxExtractedSize - 1) : 0;
        if (!mayStartWithin(lowestStart, lineEnd))
            return true;
        auto record = std::lower_bound(records_.begin(), records_.end(), lowestStart,
                                       [](const Record& r, quint64 start) { return r.start < start; });
        for (; record != records_.end() && record->start <= lineEnd; ++record) {
            if (record->missing == 0 || record->end < address)
                continue;
            if (!copyOverlap(*record, address, lineEnd, digits))
                return false;
        }
        return true;
    }

    // The first target in the order given that still lacks a byte.
    [[nodiscard]] std::size_t firstIncomplete() const
    {
        std::size_t first = targetCount_;
        for (const Record& record : records_) {
            if (record.missing > 0)
                first = std::min(first, record.target);
        }
        return first;
    }

    [[nodiscard]] std::vector<QString> data() const
    {
        std::vector<QString> data(targetCount_);
        for (const Record& record : records_)
            data[record.target] = QString::fromLatin1(record.digits);
        return data;
    }

private:
    // Most lines of a large file hold no record's byte. One flag per 4 KiB
    // of the 32-bit space, set where some record starts, turns those lines
    // away with a lookup or two instead of a search: a line and the records
    // that can reach it span far less than a page, so at most two pages.
    static constexpr int kPageBits = 12;
    static constexpr std::size_t kPageCount = std::size_t(1) << (32 - kPageBits);

    [[nodiscard]] bool mayStartWithin(quint64 lowest, quint64 highest) const
    {
        const quint64 last = std::min<quint64>(highest >> kPageBits, kPageCount - 1);
        for (quint64 page = lowest >> kPageBits; page <= last; ++page) {
            if (startPages_[std::size_t(page)])
                return true;
        }
        return false;
    }

    struct Record {
        quint64 start;
        quint64 end;
        std::size_t target;
        QByteArray digits;
        std::array<quint64, (kMaxExtractedSize + 63) / 64> seen;
        int missing;
    };

    bool copyOverlap(Record& record, quint64 lineStart, quint64 lineEnd, QByteArrayView digits)
    {
        const quint64 first = std::max(record.start, lineStart);
        const quint64 last = std::min(record.end, lineEnd);
        const qsizetype count = qsizetype(last - first + 1);
        const char* from = digits.data() + 2 * (first - lineStart);
        unsigned notHex = 0;
        for (qsizetype i = 0; i < 2 * count; ++i)
            notHex |= hexDigitValue(from[i]);
        if (notHex & kNotHex)
            return false;

        const qsizetype at = qsizetype(first - record.start);
        std::memcpy(record.digits.data() + 2 * at, from, std::size_t(2 * count));
        for (qsizetype i = at; i < at + count; ++i) {
            quint64& word = record.seen[std::size_t(i / 64)];
            const quint64 bit = quint64(1) << (i % 64);
            if (!(word & bit)) {
                word |= bit;
                --record.missing;
            }
        }
        if (record.missing == 0)
            --incomplete_;
        return true;
    }

    std::size_t targetCount_;
    std::vector<Record> records_;
    std::vector<bool> startPages_ = std::vector<bool>(kPageCount);
    std::size_t incomplete_ = 0;
};

ExtractionResult extracted(std::vector<QString> data)
{
    return {.status = ExtractionStatus::Extracted, .data = std::move(data), .errorText = {}, .failedSlot = {}};
}

ExtractionResult failed(ExtractionStatus status, QString text, Slot slot)
{
    return {.status = status, .data = {}, .errorText = std::move(text), .failedSlot = slot};
}

ExtractionResult failedFor(ExtractionStatus status, const QString& path, const ExtractionTarget& target,
                           const QString& readError = {})
{
    switch (status) {
    case ExtractionStatus::NotFound:
        return failed(status, dataNotFoundText(path, target.address, target.size), target.slot);
    case ExtractionStatus::FormatError:
        return failed(status, fileFormatErrorText(path), target.slot);
    case ExtractionStatus::ReadError:
        return failed(status, QLatin1Char(':') + readError, target.slot);
    case ExtractionStatus::Extracted:
    case ExtractionStatus::Cancelled:
        break;
    }
    return {.status = status, .data = {}, .errorText = {}, .failedSlot = {}};
}

const ExtractionTarget* firstLookedFor(const std::vector<ExtractionTarget>& targets)
{
    const auto found = std::find_if(targets.begin(), targets.end(), isLookedFor);
    return found == targets.end() ? nullptr : &*found;
}

// What one line means to the pass over a text file.
enum class LineVerdict { Next, End, FormatError };

// One pass over the lines of a text file, each judged by `judge`, until
// every record is complete or the pass has to stop. A record read on its own
// would see the same lines in the same order, and end either complete or at
// the first stop after its last missing byte. So at a stop (an end record, a
// malformed line, a read failure, the end of the file) every record still
// incomplete fails with that stop, and every record completed before it is
// sound; the first incomplete one in the order given is reported, as a
// record-by-record reading would have reported it. A malformed data line
// thus fails the lowest record still waiting for bytes, even when the line's
// own bytes belong to no record at all.
//
// With `isValidLine`, the pass is the format check as well: every line to the
// end of the file is judged as the check judges it, also after the records
// are done, and the first bad line (or a line too long, or a read failure)
// means the file is not of this format: nullopt.
template <typename Judge>
std::optional<ExtractionResult> readLines(QIODevice& device, const QString& path,
                                          const std::vector<ExtractionTarget>& targets,
                                          const ExtractionProgress& progress, qsizetype maxLineLength,
                                          bool (*isValidLine)(QByteArrayView), Judge judge)
{
    PendingRecords pending(targets);
    const auto stop = [&](ExtractionStatus status, const QString& readError = {}) {
        return failedFor(status, path, targets[pending.firstIncomplete()], readError);
    };
    std::optional<ExtractionResult> outcome;
    if (pending.complete())
        outcome = extracted(pending.data());
    LineReader reader(device, maxLineLength);
    ProgressTicker ticker(progress, device);
    QByteArrayView line;
    while (!outcome || isValidLine) {
        switch (reader.next(line)) {
        case LineReader::Status::Line:
            break;
        case LineReader::Status::End:
            // Bytes the file never gave are not made up as zeros.
            return outcome ? outcome : stop(ExtractionStatus::NotFound);
        case LineReader::Status::TooLong:
            if (isValidLine)
                return std::nullopt;
            return stop(ExtractionStatus::FormatError);
        case LineReader::Status::ReadError:
            if (isValidLine)
                return std::nullopt;
            return stop(ExtractionStatus::ReadError, reader.errorString());
        }
        // Empty lines hold nothing, as objcopy and srec_cat read them.
        if (line.isEmpty())
            continue;
        if (isValidLine && !isValidLine(line))
            return std::nullopt;
        if (!outcome) {
            switch (judge(line, pending)) {
            case LineVerdict::Next:
                if (pending.complete())
                    outcome = extracted(pending.data());
                break;
            case LineVerdict::End:
                outcome = stop(ExtractionStatus::NotFound);
                break;
            case LineVerdict::FormatError:
                outcome = stop(ExtractionStatus::FormatError);
                break;
            }
        }
        if (!ticker.advance(line.size()))
            return ExtractionResult{.status = ExtractionStatus::Cancelled, .data = {}, .errorText = {}, .failedSlot = {}};
    }
    return outcome;
}

LineVerdict verdictOf(const std::optional<ObjectLine>& line, PendingRecords& pending)
{
    if (!line)
        return LineVerdict::FormatError;
    switch (line->kind) {
    case ObjectLineKind::Data:
        return pending.take(line->address, line->dataDigits) ? LineVerdict::Next : LineVerdict::FormatError;
    case ObjectLineKind::End:
        return LineVerdict::End;
    case ObjectLineKind::Count:
    case ObjectLineKind::Other:
        break;
    }
    return LineVerdict::Next;
}

LineVerdict judgeSrecordLine(QByteArrayView line, PendingRecords& pending)
{
    return verdictOf(srecordObjectLine(line), pending);
}

// Whether every character is a hex digit.
bool hexThroughout(QByteArrayView text)
{
    quint8 seen = 0;
    for (const char c : text)
        seen |= hexDigitValue(c);
    return (seen & kNotHex) == 0;
}

// Without the format check in the same pass, a data line whose characters
// are not hex digits throughout is malformed even where no record takes its
// bytes: the line's count and address cannot be trusted either.
bool isDataLineNotHex(QByteArrayView line, qsizetype digitsFrom, bool isDataLine)
{
    return isDataLine && !hexThroughout(line.sliced(std::min(digitsFrom, line.size())));
}

// The readers of the two text formats, with or without the format check.
std::optional<ExtractionResult> readSrecordLines(QIODevice& device, const QString& path,
                                                 const std::vector<ExtractionTarget>& targets,
                                                 const ExtractionProgress& progress,
                                                 bool (*isValidLine)(QByteArrayView))
{
    if (isValidLine)
        return readLines(device, path, targets, progress, kMaxSrecordLineLength, isValidLine, judgeSrecordLine);
    return readLines(device, path, targets, progress, kMaxSrecordLineLength, isValidLine,
                     [](QByteArrayView line, PendingRecords& pending) {
                         const bool data = line.size() >= 2 && line.at(0) == 'S' && line.at(1) >= '1' && line.at(1) <= '3';
                         if (isDataLineNotHex(line, 2, data))
                             return LineVerdict::FormatError;
                         return judgeSrecordLine(line, pending);
                     });
}

std::optional<ExtractionResult> readIntelHexLines(QIODevice& device, const QString& path,
                                                  const std::vector<ExtractionTarget>& targets,
                                                  const ExtractionProgress& progress,
                                                  bool (*isValidLine)(QByteArrayView))
{
    IntelHexBase base;
    const bool checked = isValidLine != nullptr;
    return readLines(device, path, targets, progress, kMaxIntelHexLineLength, isValidLine,
                     [&base, checked](QByteArrayView line, PendingRecords& pending) {
                         const bool data = line.size() >= 9 && line.at(7) == '0' && line.at(8) == '0';
                         if (!checked && isDataLineNotHex(line, 1, data))
                             return LineVerdict::FormatError;
                         return verdictOf(intelHexObjectLine(line, base), pending);
                     });
}

} // namespace

std::vector<ExtractionTarget> extractionTargets(const RecordTable& table)
{
    std::vector<ExtractionTarget> targets;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (record.KeyAddrSet && record.KeySize > 0)
            targets.push_back({.slot = slot, .address = record.address(), .size = record.KeySize});
    }
    return targets;
}

QString dataNotFoundText(const QString& path, quint32 address, int size)
{
    return QStringLiteral(":Data not found.\r\nFILE: %1\r\nADDRESS: %2\r\nSIZE: %3")
        .arg(path, QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper(), QString::number(size));
}

QString fileFormatErrorText(const QString& path)
{
    return QStringLiteral(":File format error.\r\nFILE: %1\r\n").arg(path);
}

ExtractionResult ExtractSrecord(QIODevice& device, const QString& path, const std::vector<ExtractionTarget>& targets,
                                const ExtractionProgress& progress)
{
    return *readSrecordLines(device, path, targets, progress, nullptr);
}

ExtractionResult ExtractIntelHex(QIODevice& device, const QString& path, const std::vector<ExtractionTarget>& targets,
                                 const ExtractionProgress& progress)
{
    return *readIntelHexLines(device, path, targets, progress, nullptr);
}

ExtractionResult ExtractBinary(QIODevice& device, const QString& path, quint32 startAddress,
                               const std::vector<ExtractionTarget>& targets)
{
    const qint64 length = device.size();
    std::vector<QString> data(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const ExtractionTarget& target = targets[i];
        if (!isLookedFor(target))
            continue;
        if (target.address < startAddress)
            return failedFor(ExtractionStatus::NotFound, path, target);
        const qint64 offset = qint64(target.address) - qint64(startAddress);
        if (offset + target.size > length)
            return failedFor(ExtractionStatus::NotFound, path, target);
        if (!device.seek(offset))
            return failedFor(ExtractionStatus::ReadError, path, target, device.errorString());
        const QByteArray bytes = device.read(target.size);
        if (bytes.size() != target.size) {
            const QString why = device.errorString();
            return failedFor(ExtractionStatus::ReadError, path, target,
                             why.isEmpty() ? QStringLiteral("The file ended before its size.") : why);
        }
        data[i] = QString::fromLatin1(bytes.toHex().toUpper());
    }
    return extracted(std::move(data));
}

ExtractionResult extractKeyData(const QString& path, ObjectFileKind kind, quint32 startAddress,
                                const std::vector<ExtractionTarget>& targets, const ExtractionProgress& progress)
{
    const ExtractionTarget* first = firstLookedFor(targets);
    if (!first)
        return extracted(std::vector<QString>(targets.size()));
    QFile file(path);
    // The line reader reads in large chunks of its own, and the binary
    // reader wants exactly its few bytes: no buffer of the device's between.
    if (QString error = openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered); !error.isEmpty())
        return failedFor(ExtractionStatus::ReadError, path, *first, error);
    switch (kind) {
    case ObjectFileKind::Srecord: return ExtractSrecord(file, path, targets, progress);
    case ObjectFileKind::IntelHex: return ExtractIntelHex(file, path, targets, progress);
    case ObjectFileKind::Binary: return ExtractBinary(file, path, startAddress, targets);
    case ObjectFileKind::Damaged: break;
    }
    return failedFor(ExtractionStatus::FormatError, path, *first);
}

RecognizedExtraction recognizeAndExtract(QIODevice& device, const QString& path,
                                         const std::vector<ExtractionTarget>& targets,
                                         const ExtractionProgress& progress)
{
    const RecognizedExtraction binary{.kind = ObjectFileKind::Binary, .result = std::nullopt};
    const ObjectFileKind claimed = device.seek(0) ? claimedKind(device) : ObjectFileKind::Binary;
    if (claimed == ObjectFileKind::Binary || !device.seek(0))
        return binary;
    std::optional<ExtractionResult> result =
        claimed == ObjectFileKind::Srecord
            ? readSrecordLines(device, path, targets, progress, isValidSrecordLine)
            : readIntelHexLines(device, path, targets, progress, isValidIntelHexLine);
    if (result)
        return {.kind = claimed, .result = std::move(result)};
    // Rare enough to read again: the line the check refused, or the byte
    // that makes the file a binary image after all.
    const ObjectFileRecognition seen = examineObjectFile(device);
    if (!seen.damage)
        return binary;
    return {.kind = ObjectFileKind::Damaged,
            .result = ExtractionResult{.status = ExtractionStatus::FormatError, .data = {},
                                       .errorText = QLatin1Char(':') + damagedObjectFileText(path, *seen.damage),
                                       .failedSlot = {}}};
}

RecognizedExtraction recognizeAndExtract(const QString& path, const std::vector<ExtractionTarget>& targets,
                                         const ExtractionProgress& progress)
{
    QFile file(path);
    if (!openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty())
        return {.kind = ObjectFileKind::Binary, .result = std::nullopt};
    return recognizeAndExtract(file, path, targets, progress);
}

} // namespace quorvane
