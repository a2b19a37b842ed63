#include "image_merge_operation.h"

#include "save_operation.h"

#include "checks/address_sort.h"
#include "core/data_bytes.h"
#include "files/atomic_save.h"
#include "files/file_error.h"
#include "image/image_merge.h"
#include "image/image_verify.h"
#include "files/srecord_writer.h"

#include <QFileInfo>

#include <functional>

namespace quorvane {

namespace {

ImageOperationResult done(ImageOperationStatus status, QString message = {}, QStringList lines = {})
{
    return {.status = status, .message = std::move(message), .lines = std::move(lines)};
}

// What the document's key data needs before any image is read: its bytes,
// an image that is there. nullopt, with the refusal set, when one is missing.
std::optional<std::vector<KeyBytes>> keysFor(const Document& document, const QString& imagePath,
                                             ImageOperationResult& refusal)
{
    if (!QFileInfo(imagePath).isFile()) {
        refusal = done(ImageOperationStatus::Failed, kObjectFileNotFoundMessage);
        return std::nullopt;
    }
    QString problem;
    std::optional<std::vector<KeyBytes>> keys = keyBytesOf(document, problem);
    if (!keys)
        refusal = done(ImageOperationStatus::Failed, problem);
    else if (keys->empty())
        refusal = done(ImageOperationStatus::NothingToDo);
    else
        return keys;
    return std::nullopt;
}

// Runs `operation` without a start address and, when the image turns out to
// be binary, once more with the one the user gives.
template <typename Operation, typename Result = std::invoke_result_t<Operation, std::optional<quint32>>>
std::optional<Result> withStartAddress(Operation operation, bool (*needsStart)(const Result&),
                                       const StartAddressQuestion& askStartAddress, ImageOperationResult& refusal)
{
    Result result = operation(std::nullopt);
    if (!needsStart(result))
        return result;
    const StartAddressReply reply = askStartAddressOf(askStartAddress);
    if (reply.cancelled) {
        refusal = done(ImageOperationStatus::Cancelled);
        return std::nullopt;
    }
    if (!reply.address) {
        refusal = done(ImageOperationStatus::Failed, reply.error);
        return std::nullopt;
    }
    return operation(reply.address);
}

QStringList noteTexts(const std::vector<MergeNote>& notes)
{
    QStringList texts;
    for (const MergeNote& note : notes)
        texts << mergeNoteText(note);
    return texts;
}

ImageOperationResult fromMerge(const MergeResult& result, int records)
{
    switch (result.status) {
    case MergeStatus::Merged: {
        ImageOperationResult merged = done(ImageOperationStatus::Done, {}, noteTexts(result.notes));
        merged.recordsWritten = records;
        return merged;
    }
    case MergeStatus::Cancelled: return done(ImageOperationStatus::Cancelled);
    case MergeStatus::OutsideImage:
        // A binary image keeps its length: nothing could take the bytes.
        if (result.kind != ObjectFileKind::Binary)
            return done(ImageOperationStatus::OutsideData, result.message, noteTexts(result.notes));
        break;
    case MergeStatus::StartAddressNeeded:
    case MergeStatus::KeyDataRefused:
    case MergeStatus::FormatError:
    case MergeStatus::ReadError:
    case MergeStatus::WriteError:
        break;
    }
    return done(ImageOperationStatus::Failed, result.message);
}

ImageOperationResult fromVerify(const VerifyResult& result)
{
    switch (result.status) {
    case VerifyStatus::Matches: return done(ImageOperationStatus::Done);
    case VerifyStatus::Cancelled: return done(ImageOperationStatus::Cancelled);
    case VerifyStatus::Differs: {
        QStringList lines;
        for (const RecordDifference& difference : result.differences)
            lines << differenceText(difference);
        return done(ImageOperationStatus::Differs, {}, lines);
    }
    case VerifyStatus::StartAddressNeeded:
    case VerifyStatus::KeyDataRefused:
    case VerifyStatus::FormatError:
    case VerifyStatus::ReadError:
        break;
    }
    return done(ImageOperationStatus::Failed, result.message);
}

// The document's records as a KEY file writes them, each with its address
// narrowed to the address size.
RecordTable tableAsWritten(const Document& document)
{
    RecordTable table = document.table;
    cutAddressesToMode(table, document.mode.current());
    return table;
}

// A record's size as the save leaves it: the data's when it has none.
int sizeAsWritten(const KeyRecord& record)
{
    return record.KeySize == 0 ? dataByteCount(record.KeyType, record.KeyData) : record.KeySize;
}

} // namespace

std::optional<std::vector<KeyBytes>> keyBytesOf(const Document& document, QString& problem)
{
    const AddressSize size = document.mode.current();
    // The KEY file writes each address in the address size's width.
    RecordTable table = document.table;
    cutAddressesToMode(table, size);
    std::vector<KeyBytes> keys;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (!record.inUse())
            continue;
        if (QString why = recordWriteProblem(record, slot, size); !why.isEmpty()) {
            problem = std::move(why);
            return std::nullopt;
        }
        QByteArray bytes = recordDataBytes(record);
        if (!bytes.isEmpty() && !record.KeyAddrSet) {
            problem = recordProblem(slot, QStringLiteral("the record has no address."));
            return std::nullopt;
        }
        if (!bytes.isEmpty())
            keys.push_back({.slot = slot, .title = record.KeyTitle, .address = record.address(), .bytes = std::move(bytes)});
    }
    return keys;
}

namespace {

// The merge with the options asked, into whichever output the caller chose.
using MergeInto = std::function<MergeResult(const MergeOptions&)>;

ImageOperationResult mergeThrough(const std::vector<KeyBytes>& keys, const StartAddressQuestion& askStartAddress,
                                  const ImageMergeChoices& choices, const MergeInto& mergeInto)
{
    ImageOperationResult refusal;
    const bool ask = choices.outside == KeyBytesOutside::Ask && choices.questions != nullptr;
    std::optional<quint32> usedStart;
    const auto merge = [&](std::optional<quint32> start) {
        usedStart = start;
        return mergeInto({.startAddress = start,
                          .allowOutside = choices.outside == KeyBytesOutside::Add,
                          .progress = choices.progress});
    };
    const auto needsStart = [](const MergeResult& result) { return result.status == MergeStatus::StartAddressNeeded; };
    std::optional<MergeResult> result = withStartAddress(merge, +needsStart, askStartAddress, refusal);
    if (!result)
        return refusal;
    if (ask && result->status == MergeStatus::OutsideImage && result->kind != ObjectFileKind::Binary) {
        if (!choices.questions->confirmWarning(
                result->message + QStringLiteral("\r\nAdd them to the image as new data lines?")))
            return done(ImageOperationStatus::Cancelled);
        // The pass that found them was the first half of the progress.
        ImageProgress secondHalf;
        if (choices.progress)
            secondHalf = [&](qint64 done, qint64 total) { return choices.progress(total + done, 2 * total); };
        result = mergeInto({.startAddress = usedStart, .allowOutside = true, .progress = secondHalf});
    }
    return fromMerge(*result, int(keys.size()));
}

} // namespace

ImageOperationResult writeKeyDataIntoImage(const Document& document, const QString& imagePath,
                                           const QString& outputPath, const StartAddressQuestion& askStartAddress,
                                           const ImageMergeChoices& choices)
{
    ImageOperationResult refusal;
    const std::optional<std::vector<KeyBytes>> keys = keysFor(document, imagePath, refusal);
    if (!keys)
        return refusal;
    if (!FileWriteTest(outputPath).isEmpty())
        return done(ImageOperationStatus::Failed, kFileSaveErrorMessage);
    return mergeThrough(*keys, askStartAddress, choices, [&](const MergeOptions& options) {
        return mergeKeyData(imagePath, *keys, outputPath, options);
    });
}

ImageOperationResult writeKeyDataIntoImage(const Document& document, const QString& imagePath, QFileDevice& output,
                                           const StartAddressQuestion& askStartAddress,
                                           const ImageMergeChoices& choices)
{
    ImageOperationResult refusal;
    const std::optional<std::vector<KeyBytes>> keys = keysFor(document, imagePath, refusal);
    if (!keys)
        return refusal;
    return mergeThrough(*keys, askStartAddress, choices, [&](const MergeOptions& options) {
        return mergeKeyData(imagePath, *keys, output, options);
    });
}

ImageOperationResult verifyKeyDataInImage(const Document& document, const QString& imagePath,
                                          const StartAddressQuestion& askStartAddress,
                                          const ImageProgress& progress)
{
    ImageOperationResult refusal;
    const std::optional<std::vector<KeyBytes>> keys = keysFor(document, imagePath, refusal);
    if (!keys)
        return refusal;
    const auto verify = [&](std::optional<quint32> start) {
        return verifyKeyData(imagePath, *keys, {.startAddress = start, .progress = progress});
    };
    const auto needsStart = [](const VerifyResult& result) { return result.status == VerifyStatus::StartAddressNeeded; };
    const std::optional<VerifyResult> result = withStartAddress(verify, +needsStart, askStartAddress, refusal);
    return result ? fromVerify(*result) : refusal;
}

ImageRangeResult imageBytesInRange(const QString& imagePath, const AddressRange& range,
                                   const StartAddressQuestion& askStartAddress)
{
    if (!QFileInfo(imagePath).isFile())
        return {.status = ImageOperationStatus::Failed, .message = kObjectFileNotFoundMessage};
    ImageOperationResult refusal;
    const auto read = [&](std::optional<quint32> start) { return readImageRange(imagePath, range, start); };
    const auto needsStart = [](const RangeRead& result) { return result.status == RangeReadStatus::StartAddressNeeded; };
    std::optional<RangeRead> result = withStartAddress(read, +needsStart, askStartAddress, refusal);
    if (!result)
        return {.status = refusal.status, .message = refusal.message};
    if (result->status != RangeReadStatus::Read)
        return {.status = ImageOperationStatus::Failed, .message = result->message};
    return {.status = ImageOperationStatus::Done, .message = {}, .bytes = std::move(result->bytes)};
}

std::vector<KeyDataRange> keyDataRanges(const Document& document)
{
    const RecordTable table = tableAsWritten(document);
    std::vector<KeyDataRange> ranges;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (const int size = sizeAsWritten(record); record.inUse() && record.KeyAddrSet && size > 0)
            ranges.push_back({.slot = slot,
                              .range = {.first = record.address(), .last = quint64(record.address()) + quint64(size) - 1}});
    }
    return ranges;
}

RangeChecksum checksumOverImageRange(const Document& document, const RangeBytes& image, ChecksumAlgorithm algorithm,
                                     std::optional<char> fill)
{
    const RecordTable table = tableAsWritten(document);
    std::vector<KeyBytes> keys;
    std::vector<AddressRange> held;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord record = table[slot];
        const int size = sizeAsWritten(record);
        const AddressRange at{.first = record.address(), .last = quint64(record.address()) + quint64(size) - 1};
        if (!record.inUse() || !record.KeyAddrSet || size == 0 || !at.overlaps(image.range()))
            continue;
        // The save gives a record without size its data's; any other
        // disagreement it would fit, after a warning --yes answers, to bytes
        // that are not the ones summed here.
        record.KeySize = qint16(size);
        if (const QString why = recordWriteProblem(record, slot, document.mode.current()); !why.isEmpty())
            return {.bytes = {}, .gap = std::nullopt,
                    .problem = why + QStringLiteral(" The checksum would not be over the bytes written.")};
        keys.push_back({.slot = slot, .title = record.KeyTitle, .address = record.address(), .bytes = recordDataBytes(record)});
        held.push_back(at);
    }
    QString problem;
    const std::optional<KeyLayout> layout = KeyLayout::of(keys, problem);
    if (!layout)
        return {.bytes = {}, .gap = std::nullopt, .problem = problem};
    if (!fill) {
        if (std::optional<AddressRange> gap = image.firstGap(held))
            return {.bytes = {}, .gap = gap, .problem = {}};
    }
    return {.bytes = image.checksum(algorithm, *layout, fill.value_or('\0')), .gap = std::nullopt, .problem = {}};
}

} // namespace quorvane
