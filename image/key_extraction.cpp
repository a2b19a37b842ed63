#include "key_extraction.h"

#include "text_image_reader.h"

#include "files/open_file.h"

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
    // `address` that fall inside it. The reader has checked the digits.
    void take(quint64 address, QByteArrayView digits)
    {
        const qsizetype byteCount = digits.size() / 2;
        if (byteCount == 0 || complete())
            return;
        const quint64 lineEnd = address + quint64(byteCount) - 1;
        // No record is longer than kMaxExtractedSize, so one that starts
        // further below the line cannot reach it.
        const quint64 lowestStart = address >= kMaxExtractedSize ? address - (kMaxExtractedSize - 1) : 0;
        if (!mayStartWithin(lowestStart, lineEnd))
            return;
        auto record = std::lower_bound(records_.begin(), records_.end(), lowestStart,
                                       [](const Record& r, quint64 start) { return r.start < start; });
        for (; record != records_.end() && record->start <= lineEnd; ++record) {
            if (record->missing > 0 && record->end >= address)
                copyOverlap(*record, address, lineEnd, digits);
        }
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

    void copyOverlap(Record& record, quint64 lineStart, quint64 lineEnd, QByteArrayView digits)
    {
        const quint64 first = std::max(record.start, lineStart);
        const quint64 last = std::min(record.end, lineEnd);
        const qsizetype count = qsizetype(last - first + 1);
        const char* from = digits.data() + 2 * (first - lineStart);

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
        return failed(status, readError, target.slot);
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

ExtractionResult cancelled()
{
    return {.status = ExtractionStatus::Cancelled, .data = {}, .errorText = {}, .failedSlot = {}};
}

// One pass over the lines of a text image, each checked as the format's
// check judges it to the end of the file, and read for the records until
// every one is complete or the reading has to stop. A record read on its own
// would see the same lines in the same order, and end either complete or at
// the first stop after its last missing byte. So at a stop (an end record, a
// line whose bytes cannot be trusted, the end of the file) every record still
// incomplete fails with that stop, and every record completed before it is
// sound; the first incomplete one in the order given is reported, as a
// record-by-record reading would have reported it. nullopt when a line is
// not of the format (or the file cannot be read to its end): recognition
// then decides what the file is.
std::optional<ExtractionResult> readRecords(QIODevice& device, ObjectFileKind kind, const QString& path,
                                            const std::vector<ExtractionTarget>& targets,
                                            const ImageProgress& progress)
{
    PendingRecords pending(targets);
    const auto stop = [&](ExtractionStatus status) {
        return failedFor(status, path, targets[pending.firstIncomplete()]);
    };
    std::optional<ExtractionResult> outcome;
    if (pending.complete())
        outcome = extracted(pending.data());
    TextImageReader reader(device, kind, progress);
    for (;;) {
        switch (reader.next(!outcome)) {
        case TextImageReader::Status::Line:
            break;
        case TextImageReader::Status::End:
            // Bytes the file never gave are not made up as zeros.
            return outcome ? outcome : stop(ExtractionStatus::NotFound);
        case TextImageReader::Status::NotThisFormat:
        case TextImageReader::Status::ReadError:
            return std::nullopt;
        case TextImageReader::Status::Cancelled:
            return cancelled();
        }
        if (outcome)
            continue;
        const std::optional<ImageLine>& line = reader.meaning();
        if (!line)
            outcome = stop(ExtractionStatus::FormatError);
        else if (line->kind == ImageLineKind::End)
            outcome = stop(ExtractionStatus::NotFound);
        else if (line->kind == ImageLineKind::Data)
            pending.take(line->address, line->dataDigits);
        if (!outcome && pending.complete())
            outcome = extracted(pending.data());
    }
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
    return QStringLiteral("Data not found.\r\nFILE: %1\r\nADDRESS: %2\r\nSIZE: %3")
        .arg(path, QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper(), QString::number(size));
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

ExtractionResult ExtractBinary(const QString& path, quint32 startAddress, const std::vector<ExtractionTarget>& targets)
{
    const ExtractionTarget* first = firstLookedFor(targets);
    if (!first)
        return extracted(std::vector<QString>(targets.size()));
    QFile file(path);
    // The reader wants exactly its few bytes: no buffer of the device's between.
    if (QString error = openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered); !error.isEmpty())
        return failedFor(ExtractionStatus::ReadError, path, *first, error);
    return ExtractBinary(file, path, startAddress, targets);
}

RecognizedExtraction recognizeAndExtract(QIODevice& device, const QString& path,
                                         const std::vector<ExtractionTarget>& targets,
                                         const ImageProgress& progress)
{
    ImagePass<ExtractionResult> pass = passOverImage<ExtractionResult>(
        device, [&](ObjectFileKind kind) { return readRecords(device, kind, path, targets, progress); });
    if (pass.result)
        return {.kind = pass.kind, .result = std::move(pass.result)};
    if (!pass.damage)
        return {.kind = ObjectFileKind::Binary, .result = std::nullopt};
    return {.kind = ObjectFileKind::Damaged,
            .result = ExtractionResult{.status = ExtractionStatus::FormatError, .data = {},
                                       .errorText = damagedObjectFileText(path, *pass.damage), .failedSlot = {}}};
}

RecognizedExtraction recognizeAndExtract(const QString& path, const std::vector<ExtractionTarget>& targets,
                                         const ImageProgress& progress)
{
    QFile file(path);
    // The line reader reads in large chunks of its own.
    if (!openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty())
        return {.kind = ObjectFileKind::Binary, .result = std::nullopt};
    return recognizeAndExtract(file, path, targets, progress);
}

} // namespace quorvane
