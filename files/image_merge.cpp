#include "image_merge.h"

#include "atomic_save.h"
#include "file_error.h"
#include "intel_hex.h"
#include "object_line_reader.h"
#include "srecord_line.h"
#include "srecord_writer.h"

#include "core/hex_digits.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <memory>

namespace quorvane {

namespace {

constexpr qsizetype kBlockSize = qsizetype(1) << 20;
constexpr QByteArrayView kDefaultLineEnd("\r\n");
// Data bytes of an added line when the image has no data line to copy.
constexpr int kDefaultLineBytes = 16;

MergeResult failure(MergeStatus status, ObjectFileKind kind, QString message)
{
    return {.status = status, .kind = kind, .message = std::move(message), .notes = {}};
}

MergeResult readFailure(ObjectFileKind kind, const QString& imageName, const QString& why)
{
    return failure(MergeStatus::ReadError, kind, errorText(imageName + QStringLiteral(": ") + why));
}

MergeResult cancelled(ObjectFileKind kind)
{
    return failure(MergeStatus::Cancelled, kind, {});
}

// Collects the output and hands it to the device a block at a time; the
// first failure is kept and everything after it dropped. Without a device
// (a pass that only checks) everything is dropped.
class BlockWriter {
public:
    explicit BlockWriter(QIODevice* device) : device_(device)
    {
        if (device_ != nullptr)
            block_.reserve(kBlockSize + 1024);
    }

    void write(QByteArrayView bytes)
    {
        if (device_ == nullptr)
            return;
        block_.append(bytes);
        if (block_.size() >= kBlockSize)
            flush();
    }

    // Writes what is left; false when the device failed, `error()` says why.
    [[nodiscard]] bool finish()
    {
        flush();
        return error_.isEmpty();
    }

    [[nodiscard]] const QString& error() const { return error_; }

private:
    void flush()
    {
        if (error_.isEmpty() && device_ != nullptr)
            error_ = writeAll(*device_, block_);
        block_.resize(0);
    }

    QIODevice* device_;
    QByteArray block_;
    QString error_;
};

void putHexByte(char* at, char byte)
{
    at[0] = upperHexDigitOf(quint8(byte) >> 4);
    at[1] = upperHexDigitOf(quint8(byte));
}

// How one text format writes the lines a merge changes or adds.
class LineFormat {
public:
    virtual ~LineFormat() = default;
    // Learns the image's habits from each of its data lines.
    virtual void see(QByteArrayView text, const ObjectLine& line) = 0;
    // The data line `text` holding `dataDigits` instead of its own.
    [[nodiscard]] virtual QByteArray rewritten(QByteArrayView text, QByteArrayView dataDigits) const = 0;
    // Appends the lines holding `bytes` at `address`, given the base the
    // lines before them set (moved on by the lines added); returns how many
    // of them are data lines.
    virtual int add(quint64 address, QByteArrayView bytes, IntelHexBase& base, QList<QByteArray>& lines) const = 0;
};

class SrecordFormat final : public LineFormat {
public:
    void see(QByteArrayView text, const ObjectLine& line) override
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

    // The widest type the image uses, wider when the address needs it.
    [[nodiscard]] AddressSize sizeFor(quint64 lastAddress) const
    {
        const int needed = lastAddress > 0xFFFFFF ? 3 : lastAddress > 0xFFFF ? 2 : 1;
        return *addressSizeOf(RecordType(std::max(widestType_, needed)));
    }

    int widestType_ = 1;
    int longest_ = 0;
};

class IntelHexFormat final : public LineFormat {
public:
    void see(QByteArrayView, const ObjectLine& line) override
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

MergeResult outsideData(ObjectFileKind kind, const QString& heading, std::vector<MergeNote> notes)
{
    QStringList lines{heading};
    for (const MergeNote& note : notes)
        lines << mergeNoteText(note);
    return {.status = MergeStatus::OutsideImage, .kind = kind, .message = lines.join(QStringLiteral("\r\n")),
            .notes = std::move(notes)};
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
        if (kind == ObjectFileKind::Srecord)
            format_ = std::make_unique<SrecordFormat>();
        else
            format_ = std::make_unique<IntelHexFormat>();
    }

    // nullopt when a line is not of the kind.
    [[nodiscard]] std::optional<MergeResult> run();

private:
    void take(const ObjectLine& line);
    void writeLine(QByteArrayView text, QByteArrayView lineEnd);
    void writeDataLine(QByteArrayView text, const ObjectLine& line, QByteArrayView lineEnd);
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
    ObjectLineReader reader_;
    BlockWriter writer_;
    std::unique_ptr<LineFormat> format_;
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
        case ObjectLineReader::Status::Line:
            break;
        case ObjectLineReader::Status::End:
            if (!failure_ && !ended_ && addMissing())
                releaseCounts();
            if (failure_)
                return failure_;
            if (!writer_.finish())
                return failure(MergeStatus::WriteError, kind_, errorText(writer_.error()));
            return MergeResult{.status = MergeStatus::Merged, .kind = kind_, .message = {}, .notes = notes_};
        case ObjectLineReader::Status::NotThisFormat:
            return std::nullopt;
        case ObjectLineReader::Status::ReadError:
            return readFailure(kind_, imageName_, reader_.errorString());
        case ObjectLineReader::Status::Cancelled:
            return cancelled(kind_);
        }
        if (lineEnd_.isEmpty())
            lineEnd_ = reader_.lineEnd().toByteArray();
        if (failure_)
            continue;
        if (ended_)
            writeLine(reader_.text(), reader_.lineEnd());
        else if (!reader_.meaning())
            failure_ = failure(MergeStatus::FormatError, kind_, fileFormatErrorText(imageName_).mid(1));
        else
            take(*reader_.meaning());
    }
}

void TextMerge::take(const ObjectLine& line)
{
    const QByteArrayView text = reader_.text();
    const QByteArrayView lineEnd = reader_.lineEnd();
    switch (line.kind) {
    case ObjectLineKind::Data:
        releaseCounts();
        writeDataLine(text, line, lineEnd);
        break;
    case ObjectLineKind::Count:
        // Held back: they may close the file, and added lines go before them.
        heldCounts_.push_back({.text = text.toByteArray(), .lineEnd = lineEnd.toByteArray(), .wide = text.at(1) == '6'});
        break;
    case ObjectLineKind::Other:
        releaseCounts();
        writeLine(text, lineEnd);
        break;
    case ObjectLineKind::End:
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

void TextMerge::writeDataLine(QByteArrayView text, const ObjectLine& line, QByteArrayView lineEnd)
{
    ++dataLines_;
    format_->see(text, line);
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
        writeLine(format_->rewritten(text, digits), lineEnd);
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
            dataLines_ += format_->add(span.first + quint64(i), QByteArrayView(span.bytes).sliced(i, end - i), base, lines);
            i = end;
        }
    }
    const QByteArrayView lineEnd = lineEnd_.isEmpty() ? kDefaultLineEnd : QByteArrayView(lineEnd_);
    for (const QByteArray& line : lines)
        writeLine(line, lineEnd);
    return true;
}

// A text image whose check failed, when it is not a binary image after all
// (`ofThisKind`): damaged, refused with its first bad line and why.
MergeResult notOfItsKind(QIODevice& image, const QString& imageName, ObjectFileKind kind, bool& ofThisKind)
{
    const ObjectFileRecognition seen = examineObjectFile(image);
    ofThisKind = seen.kind != ObjectFileKind::Binary;
    return failure(MergeStatus::FormatError, kind,
                   seen.damage ? damagedObjectFileText(imageName, *seen.damage) : fileFormatErrorText(imageName).mid(1));
}

MergeResult mergeText(QIODevice& image, const QString& imageName, ObjectFileKind kind, const KeyLayout& layout,
                      QIODevice* output, const MergeOptions& options, bool& ofThisKind)
{
    std::optional<MergeResult> result;
    if (kind != ObjectFileKind::Damaged)
        result = TextMerge(image, imageName, kind, layout, output, options).run();
    ofThisKind = result.has_value();
    if (!result)
        return notOfItsKind(image, imageName, kind, ofThisKind);
    return *result;
}

MergeResult startAddressNeeded(const QString& imageName)
{
    return failure(MergeStatus::StartAddressNeeded, ObjectFileKind::Binary, startAddressNeededText(imageName));
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
        return readFailure(kind, imageName, image.errorString());
    BlockWriter writer(&output);
    ProgressTicker ticker(options.progress, image);
    QByteArray block(kBlockSize, Qt::Uninitialized);
    for (quint64 address = start;;) {
        const qint64 got = image.read(block.data(), block.size());
        if (got < 0)
            return readFailure(kind, imageName, image.errorString());
        if (got == 0)
            break;
        layout.forEachOverlap(address, got, [&](const KeyLayout::Span& span, qsizetype inSpan, qsizetype inBlock,
                                                qsizetype count) {
            std::copy_n(span.bytes.constData() + inSpan, count, block.data() + inBlock);
        });
        writer.write(QByteArrayView(block.constData(), got));
        address += quint64(got);
        if (!ticker.advanceBytes(got))
            return cancelled(kind);
    }
    if (!writer.finish())
        return failure(MergeStatus::WriteError, kind, errorText(writer.error()));
    return {.status = MergeStatus::Merged, .kind = kind, .message = {}, .notes = {}};
}

std::optional<KeyLayout> layoutOf(const std::vector<KeyBytes>& keys, MergeResult& refusal)
{
    QString problem;
    std::optional<KeyLayout> layout = KeyLayout::of(keys, problem);
    if (!layout)
        refusal = failure(MergeStatus::KeyDataRefused, ObjectFileKind::Binary, problem);
    return layout;
}

// A pass over the image that writes nothing: recognises it and finds
// whatever would refuse the merge, key bytes where it has no data included,
// before the output is opened. Merged, with the image's kind, when nothing does.
MergeResult checkedImage(QFile& image, const QString& imagePath, const KeyLayout& layout, const MergeOptions& options)
{
    if (!image.seek(0))
        return readFailure(ObjectFileKind::Binary, imagePath, image.errorString());
    if (const ObjectFileKind kind = claimedKind(image); kind != ObjectFileKind::Binary) {
        if (!image.seek(0))
            return readFailure(kind, imagePath, image.errorString());
        bool ofThisKind = false;
        MergeResult result = mergeText(image, imagePath, kind, layout, nullptr, options, ofThisKind);
        if (ofThisKind)
            return result;
    }
    if (!options.startAddress)
        return startAddressNeeded(imagePath);
    if (std::optional<MergeResult> refusal = binaryRefusal(imagePath, layout, *options.startAddress, image.size()))
        return *refusal;
    return {.status = MergeStatus::Merged, .kind = ObjectFileKind::Binary, .message = {}, .notes = {}};
}

// The progress of pass `pass` (0 or 1) of two over the same image, as one.
ExtractionProgress passOfTwo(const ExtractionProgress& progress, int pass)
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
        return failure(MergeStatus::WriteError, result.kind, errorText(output.errorString()));
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
    bool ofThisKind = false;
    if (!options.allowOutside) {
        const qint64 from = image.pos();
        if (MergeResult checked = mergeText(image, imageName, kind, *layout, nullptr, options, ofThisKind); !checked)
            return checked;
        if (!image.seek(from))
            return readFailure(kind, imageName, image.errorString());
    }
    return mergeText(image, imageName, kind, *layout, &output, options, ofThisKind);
}

MergeResult mergeKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys, const QString& outputPath,
                         const MergeOptions& options)
{
    MergeResult refusal;
    const std::optional<KeyLayout> layout = layoutOf(keys, refusal);
    if (!layout)
        return refusal;
    QFile image(imagePath);
    // The passes read in large blocks of their own.
    if (!image.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return readFailure(ObjectFileKind::Binary, imagePath, image.errorString());
    std::optional<ObjectFileKind> checkedKind;
    MergeOptions writing = options;
    if (!options.allowOutside) {
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
    if (!image.seek(0))
        return readFailure(ObjectFileKind::Binary, imagePath, image.errorString());
    if (const ObjectFileKind kind = checkedKind ? *checkedKind : claimedKind(image); kind != ObjectFileKind::Binary) {
        if (!image.seek(0))
            return readFailure(kind, imagePath, image.errorString());
        QSaveFile output(outputPath);
        // Unbuffered: BlockWriter buffers already, and a failure while
        // QSaveFile empties a buffer of its own at commit would go unseen.
        if (!output.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failure(MergeStatus::WriteError, kind, errorText(output.errorString()));
        bool ofThisKind = false;
        MergeResult result = mergeText(image, imagePath, kind, *layout, &output, writing, ofThisKind);
        if (ofThisKind)
            return committed(output, std::move(result));
        output.cancelWriting();
    }
    // Checked as text, then not: the image changed between the passes.
    if (checkedKind && *checkedKind != ObjectFileKind::Binary)
        return failure(MergeStatus::FormatError, *checkedKind, fileFormatErrorText(imagePath).mid(1));
    if (!options.startAddress)
        return startAddressNeeded(imagePath);
    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(MergeStatus::WriteError, ObjectFileKind::Binary, errorText(output.errorString()));
    return committed(output, mergeBinary(image, imagePath, *layout, output, writing));
}

} // namespace quorvane
