#include "image_merge.h"

#include "block_writer.h"
#include "progress_ticker.h"
#include "text_merge.h"

#include "files/file_error.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <functional>

namespace quorvane {

namespace {

MergeResult startAddressNeeded(const QString& imageName)
{
    return mergeFailure(MergeStatus::StartAddressNeeded, ObjectFileKind::Binary, startAddressNeededText(imageName));
}

// The records, in the order given, with bytes outside the binary image.
std::vector<MergeNote> outsideBinary(const KeyLayout& layout, quint32 start, qint64 length)
{
    const quint64 end = quint64(start) + quint64(length);
    std::vector<MergeNote> notes;
    for (const KeyLayout::Placed& record : layout.records()) {
        const quint64 first = record.key.address;
        const quint64 past = first + quint64(record.key.bytes.size());
        const quint64 inside = std::min(past, end) > std::max(first, quint64(start))
                                   ? std::min(past, end) - std::max(first, quint64(start))
                                   : 0;
        if (inside < past - first)
            notes.push_back({.key = record.key, .bytesOutside = int(past - first - inside)});
    }
    return notes;
}

// Refuses key bytes outside the binary image, which never grows: nullopt
// when the image holds every record.
std::optional<MergeResult> binaryRefusal(const QString& imageName, const KeyLayout& layout, quint32 start,
                                         qint64 length)
{
    std::vector<MergeNote> notes = outsideBinary(layout, start, length);
    if (notes.empty())
        return std::nullopt;
    const QString extent = length == 0 ? QStringLiteral("no bytes")
                                       : QStringLiteral("%1 to %2").arg(
                                             addressText(start), addressText(quint64(start) + quint64(length) - 1));
    return outsideData(ObjectFileKind::Binary,
                       QStringLiteral("Key data lies outside %1, which holds %2:").arg(imageName, extent),
                       std::move(notes));
}

MergeResult mergeBinary(QIODevice& image, const QString& imageName, const KeyLayout& layout, QIODevice& output,
                        const MergeOptions& options)
{
    constexpr ObjectFileKind kind = ObjectFileKind::Binary;
    if (!options.startAddress)
        return startAddressNeeded(imageName);
    const quint32 start = *options.startAddress;
    if (std::optional<MergeResult> refusal = binaryRefusal(imageName, layout, start, image.size()))
        return *refusal;
    if (!image.seek(0))
        return mergeReadFailure(kind, imageName, image.errorString());
    BlockWriter writer(&output);
    ProgressTicker ticker(options.progress, image);
    QByteArray block(kBlockSize, Qt::Uninitialized);
    for (quint64 address = start;;) {
        const qint64 got = image.read(block.data(), block.size());
        if (got < 0)
            return mergeReadFailure(kind, imageName, image.errorString());
        if (got == 0)
            break;
        layout.forEachOverlap(address, got, [&](const KeyLayout::Span& span, qsizetype inSpan, qsizetype inBlock,
                                                qsizetype count) {
            std::copy_n(span.bytes.constData() + inSpan, count, block.data() + inBlock);
        });
        writer.write(QByteArrayView(block.constData(), got));
        address += quint64(got);
        if (!ticker.advanceBytes(got))
            return mergeFailure(MergeStatus::Cancelled, kind, {});
    }
    if (!writer.finish())
        return mergeFailure(MergeStatus::WriteError, kind, errorText(writer.error()));
    return {.status = MergeStatus::Merged, .kind = kind, .message = {}, .notes = {}};
}

std::optional<KeyLayout> layoutOf(const std::vector<KeyBytes>& keys, MergeResult& refusal)
{
    QString problem;
    std::optional<KeyLayout> layout = KeyLayout::of(keys, problem);
    if (!layout)
        refusal = mergeFailure(MergeStatus::KeyDataRefused, ObjectFileKind::Binary, problem);
    return layout;
}

// A pass over the image that writes nothing: recognises it and finds
// whatever would refuse the merge, key bytes where it has no data included,
// before the output is opened. Merged, with the image's kind, when nothing does.
MergeResult checkedImage(QFile& image, const QString& imagePath, const KeyLayout& layout, const MergeOptions& options)
{
    const ImagePass<MergeResult> pass = passOverImage<MergeResult>(image, [&](ObjectFileKind kind) {
        return mergeTextLines(image, imagePath, kind, layout, nullptr, options);
    });
    if (pass.result)
        return *pass.result;
    if (pass.kind == ObjectFileKind::Damaged)
        return mergeFailure(MergeStatus::FormatError, pass.kind, fileFormatErrorText(imagePath, pass.damage));
    if (!options.startAddress)
        return startAddressNeeded(imagePath);
    if (std::optional<MergeResult> refusal = binaryRefusal(imagePath, layout, *options.startAddress, image.size()))
        return *refusal;
    return {.status = MergeStatus::Merged, .kind = ObjectFileKind::Binary, .message = {}, .notes = {}};
}

// The progress of pass `pass` (0 or 1) of two over the same image, as one.
ImageProgress passOfTwo(const ImageProgress& progress, int pass)
{
    if (!progress)
        return {};
    return [progress, pass](qint64 done, qint64 total) { return progress(qint64(pass) * total + done, 2 * total); };
}

MergeResult committed(QSaveFile& output, MergeResult result)
{
    if (result.status != MergeStatus::Merged)
        output.cancelWriting();
    else if (!output.commit())
        return mergeFailure(MergeStatus::WriteError, result.kind, errorText(output.errorString()));
    return result;
}
} // namespace

QString mergeNoteText(const MergeNote& note)
{
    const quint64 first = note.key.address;
    return recordName(note.key)
           + QStringLiteral(" at %1 to %2: %3 of its %4 bytes lie where the image has no data.")
                 .arg(addressText(first), addressText(first + quint64(note.key.bytes.size()) - 1))
                 .arg(note.bytesOutside)
                 .arg(note.key.bytes.size());
}

MergeResult mergeKeyData(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                         const std::vector<KeyBytes>& keys, QIODevice& output, const MergeOptions& options)
{
    MergeResult refusal;
    const std::optional<KeyLayout> layout = layoutOf(keys, refusal);
    if (!layout)
        return refusal;
    if (kind == ObjectFileKind::Binary)
        return mergeBinary(image, imageName, *layout, output, options);
    const auto pass = [&](QIODevice* writeTo) {
        if (kind != ObjectFileKind::Damaged) {
            if (std::optional<MergeResult> result = mergeTextLines(image, imageName, kind, *layout, writeTo, options))
                return *result;
        }
        return mergeFailure(MergeStatus::FormatError, kind,
                            fileFormatErrorText(imageName, examineObjectFile(image).damage));
    };
    if (!options.allowOutside) {
        const qint64 from = image.pos();
        if (MergeResult checked = pass(nullptr); !checked)
            return checked;
        if (!image.seek(from))
            return mergeReadFailure(kind, imageName, image.errorString());
    }
    return pass(&output);
}

namespace {

// The writing pass's work on an open output; nullopt when the image turned
// out not to be of the kind the pass read it as.
using MergeWrite = std::function<std::optional<MergeResult>(QIODevice&)>;
// Gives the writing pass its output and makes what it wrote final.
using MergeOutput = std::function<std::optional<MergeResult>(ObjectFileKind, const MergeWrite&)>;

// With `checkFirst`, a pass that writes nothing finds whatever would refuse
// the merge before the output is opened; without it the writing pass meets
// every refusal itself, leaving a part of an image for the caller to discard.
MergeResult mergeFromFile(const QString& imagePath, const std::vector<KeyBytes>& keys, const MergeOptions& options,
                          bool checkFirst, const MergeOutput& toOutput)
{
    MergeResult refusal;
    const std::optional<KeyLayout> layout = layoutOf(keys, refusal);
    if (!layout)
        return refusal;
    QFile image(imagePath);
    // The passes read in large blocks of their own.
    if (!image.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return mergeReadFailure(ObjectFileKind::Binary, imagePath, image.errorString());
    std::optional<ObjectFileKind> checkedKind;
    MergeOptions writing = options;
    if (checkFirst && !options.allowOutside) {
        MergeOptions checking = options;
        checking.progress = passOfTwo(options.progress, 0);
        MergeResult checked = checkedImage(image, imagePath, *layout, checking);
        if (!checked)
            return checked;
        checkedKind = checked.kind;
        // A binary image's check reads nothing.
        if (checked.kind != ObjectFileKind::Binary)
            writing.progress = passOfTwo(options.progress, 1);
    }
    const ImagePass<MergeResult> pass = passOverImage<MergeResult>(image, [&](ObjectFileKind kind) {
        return toOutput(kind, [&](QIODevice& output) {
            return mergeTextLines(image, imagePath, kind, *layout, &output, writing);
        });
    });
    if (pass.result)
        return *pass.result;
    if (pass.kind == ObjectFileKind::Damaged)
        return mergeFailure(MergeStatus::FormatError, pass.kind, fileFormatErrorText(imagePath, pass.damage));
    // Checked as text, then not: the image changed between the passes.
    if (checkedKind && *checkedKind != ObjectFileKind::Binary)
        return mergeFailure(MergeStatus::FormatError, *checkedKind, fileFormatErrorText(imagePath));
    if (!options.startAddress)
        return startAddressNeeded(imagePath);
    return *toOutput(ObjectFileKind::Binary, [&](QIODevice& output) {
        return std::optional(mergeBinary(image, imagePath, *layout, output, writing));
    });
}

} // namespace

MergeResult mergeKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys, const QString& outputPath,
                         const MergeOptions& options)
{
    return mergeFromFile(imagePath, keys, options, true, [&](ObjectFileKind kind, const MergeWrite& write) {
        QSaveFile output(outputPath);
        // Unbuffered: BlockWriter buffers already, and a failure while
        // QSaveFile empties a buffer of its own at commit would go unseen.
        if (!output.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return std::optional(mergeFailure(MergeStatus::WriteError, kind, errorText(output.errorString())));
        std::optional<MergeResult> result = write(output);
        if (!result) {
            output.cancelWriting();
            return result;
        }
        return std::optional(committed(output, std::move(*result)));
    });
}

MergeResult mergeKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys, QFileDevice& output,
                         const MergeOptions& options)
{
    // One pass: reading the image twice costs a batch of images a third of its time.
    return mergeFromFile(imagePath, keys, options, false, [&](ObjectFileKind kind, const MergeWrite& write) {
        // A text pass that found the image binary after all may have written
        // part of it: each pass starts the output afresh.
        if (!output.seek(0) || !output.resize(0))
            return std::optional(mergeFailure(MergeStatus::WriteError, kind, errorText(output.errorString())));
        return write(output);
    });
}

} // namespace quorvane
