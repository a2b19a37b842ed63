#include "text_merge.h"

#include "block_writer.h"
#include "text_format.h"
#include "text_image_reader.h"

#include "files/file_error.h"
#include "files/srecord_writer.h"

#include "core/hex_digits.h"

#include <algorithm>
#include <memory>

namespace quorvane {

namespace {

constexpr QByteArrayView kDefaultLineEnd("\r\n");

void putHexByte(char* at, char byte)
{
    at[0] = upperHexDigitOf(quint8(byte) >> 4);
    at[1] = upperHexDigitOf(quint8(byte));
}

// The records with bytes that no data line of the image held, given which
// key bytes some line did.
std::vector<MergeNote> notesFor(const KeyLayout& layout, const std::vector<bool>& placed)
{
    std::vector<MergeNote> notes;
    for (const KeyLayout::Placed& record : layout.records()) {
        const auto first = placed.begin() + record.index;
        const int outside = int(std::count(first, first + record.key.bytes.size(), false));
        if (outside > 0)
            notes.push_back({.key = record.key, .bytesOutside = outside});
    }
    return notes;
}

// One pass over a text image, writing it out with the key bytes in place
// (without an output, only finding what a merge would meet). After a
// failure the pass goes on checking the lines without writing, so that a
// file the format's check refuses is still found not to be of this kind,
// just as recognition would have found it.
class TextMerge {
public:
    TextMerge(QIODevice& image, const QString& imageName, ObjectFileKind kind, const KeyLayout& layout,
              QIODevice* output, const MergeOptions& options)
        : imageName_(imageName), kind_(kind), layout_(layout), options_(options),
          reader_(image, kind, options.progress), writer_(output), placed_(std::size_t(layout.byteCount()), false)
    {
        lineWriter_ = textImageFormat(kind).lineWriter();
    }

    // nullopt when a line is not of the kind.
    [[nodiscard]] std::optional<MergeResult> run();

private:
    void take(const ImageLine& line);
    void writeLine(QByteArrayView text, QByteArrayView lineEnd);
    void writeDataLine(QByteArrayView text, const ImageLine& line, QByteArrayView lineEnd);
    void releaseCounts();
    // Adds the lines for the key bytes no data line held; false (with the
    // failure set) when they are not allowed.
    bool addMissing();

    struct HeldCount {
        QByteArray text;
        QByteArray lineEnd;
        bool wide;
    };

    const QString& imageName_;
    const ObjectFileKind kind_;
    const KeyLayout& layout_;
    const MergeOptions& options_;
    TextImageReader reader_;
    BlockWriter writer_;
    std::unique_ptr<ImageLineWriter> lineWriter_;
    std::vector<bool> placed_;
    std::vector<MergeNote> notes_;
    std::optional<MergeResult> failure_;
    std::vector<HeldCount> heldCounts_;
    QByteArray lineEnd_; // the image's first line end, for the lines added
    qint64 dataLines_ = 0;
    bool ended_ = false;
    bool lastLineOpen_ = false; // the last line written had no line end
};

std::optional<MergeResult> TextMerge::run()
{
    for (;;) {
        switch (reader_.next(!ended_ && !failure_)) {
        case TextImageReader::Status::Line:
            break;
        case TextImageReader::Status::End:
            if (!failure_ && !ended_ && addMissing())
                releaseCounts();
            if (failure_)
                return failure_;
            if (!writer_.finish())
                return mergeFailure(MergeStatus::WriteError, kind_, errorText(writer_.error()));
            return MergeResult{.status = MergeStatus::Merged, .kind = kind_, .message = {}, .notes = notes_};
        case TextImageReader::Status::NotThisFormat:
            return std::nullopt;
        case TextImageReader::Status::ReadError:
            return mergeReadFailure(kind_, imageName_, reader_.errorString());
        case TextImageReader::Status::Cancelled:
            return mergeFailure(MergeStatus::Cancelled, kind_, {});
        }
        if (lineEnd_.isEmpty())
            lineEnd_ = reader_.lineEnd().toByteArray();
        if (failure_)
            continue;
        if (ended_)
            writeLine(reader_.text(), reader_.lineEnd());
        else if (!reader_.meaning())
            failure_ = mergeFailure(MergeStatus::FormatError, kind_, fileFormatErrorText(imageName_));
        else
            take(*reader_.meaning());
    }
}

void TextMerge::take(const ImageLine& line)
{
    const QByteArrayView text = reader_.text();
    const QByteArrayView lineEnd = reader_.lineEnd();
    switch (line.kind) {
    case ImageLineKind::Data:
        releaseCounts();
        writeDataLine(text, line, lineEnd);
        break;
    case ImageLineKind::Count:
        // Held back: they may close the file, and added lines go before them.
        heldCounts_.push_back({.text = text.toByteArray(), .lineEnd = lineEnd.toByteArray(), .wide = text.at(1) == '6'});
        break;
    case ImageLineKind::Other:
        releaseCounts();
        writeLine(text, lineEnd);
        break;
    case ImageLineKind::End:
        if (!addMissing())
            return;
        releaseCounts();
        writeLine(text, lineEnd);
        ended_ = true;
        break;
    }
}

void TextMerge::writeLine(QByteArrayView text, QByteArrayView lineEnd)
{
    if (lastLineOpen_)
        writer_.write(lineEnd_.isEmpty() ? kDefaultLineEnd : QByteArrayView(lineEnd_));
    writer_.write(text);
    writer_.write(lineEnd);
    lastLineOpen_ = lineEnd.isEmpty();
}

void TextMerge::writeDataLine(QByteArrayView text, const ImageLine& line, QByteArrayView lineEnd)
{
    ++dataLines_;
    lineWriter_->see(text, line);
    QByteArray digits;
    layout_.forEachOverlap(line.address, line.dataDigits.size() / 2,
                           [&](const KeyLayout::Span& span, qsizetype inSpan, qsizetype inLine, qsizetype count) {
                               if (digits.isEmpty())
                                   digits = line.dataDigits.toByteArray();
                               for (qsizetype i = 0; i < count; ++i) {
                                   putHexByte(digits.data() + 2 * (inLine + i), span.bytes.at(inSpan + i));
                                   placed_[std::size_t(span.index + inSpan + i)] = true;
                               }
                           });
    if (digits.isEmpty())
        writeLine(text, lineEnd);
    else
        writeLine(lineWriter_->rewritten(text, digits), lineEnd);
}

void TextMerge::releaseCounts()
{
    for (const HeldCount& count : heldCounts_)
        writeLine(srecordCountLine(dataLines_, count.wide).value_or(count.text), count.lineEnd);
    heldCounts_.clear();
}

bool TextMerge::addMissing()
{
    notes_ = notesFor(layout_, placed_);
    if (notes_.empty())
        return true;
    if (!options_.allowOutside) {
        failure_ = outsideData(kind_, QStringLiteral("Key data lies where %1 has no data:").arg(imageName_), notes_);
        return false;
    }
    IntelHexBase base = reader_.intelHexBase();
    QList<QByteArray> lines;
    for (const KeyLayout::Span& span : layout_.spans()) {
        for (qsizetype i = 0; i < span.bytes.size();) {
            if (placed_[std::size_t(span.index + i)]) {
                ++i;
                continue;
            }
            qsizetype end = i;
            while (end < span.bytes.size() && !placed_[std::size_t(span.index + end)])
                ++end;
            dataLines_ += lineWriter_->add(span.first + quint64(i), QByteArrayView(span.bytes).sliced(i, end - i), base, lines);
            i = end;
        }
    }
    const QByteArrayView lineEnd = lineEnd_.isEmpty() ? kDefaultLineEnd : QByteArrayView(lineEnd_);
    for (const QByteArray& line : lines)
        writeLine(line, lineEnd);
    return true;
}

} // namespace

MergeResult mergeFailure(MergeStatus status, ObjectFileKind kind, QString message)
{
    return {.status = status, .kind = kind, .message = std::move(message), .notes = {}};
}

MergeResult mergeReadFailure(ObjectFileKind kind, const QString& imageName, const QString& why)
{
    return mergeFailure(MergeStatus::ReadError, kind, errorText(imageName + QStringLiteral(": ") + why));
}

MergeResult outsideData(ObjectFileKind kind, const QString& heading, std::vector<MergeNote> notes)
{
    QStringList lines{heading};
    for (const MergeNote& note : notes)
        lines << mergeNoteText(note);
    return {.status = MergeStatus::OutsideImage, .kind = kind, .message = lines.join(QStringLiteral("\r\n")),
            .notes = std::move(notes)};
}

std::optional<MergeResult> mergeTextLines(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                                          const KeyLayout& layout, QIODevice* output, const MergeOptions& options)
{
    return TextMerge(image, imageName, kind, layout, output, options).run();
}

} // namespace quorvane
