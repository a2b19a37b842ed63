#pragma once

#include "image_line.h"
#include "recognition.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <span>

// One text image format (S-record, Intel HEX) as every pass over an image
// sees it: one row per format, kept beside the format's own code
// (srecord_image.cpp, intel_hex_image.cpp), so that recognition, the reader
// and the merge's writer never ask which format they are in.
namespace quorvane {

// How a merge writes the lines of one format that it changes or adds.
class ImageLineWriter {
public:
    virtual ~ImageLineWriter() = default;
    // Learns the image's habits from each of its data lines.
    virtual void see(QByteArrayView text, const ImageLine& line) = 0;
    // The data line `text` holding `dataDigits` instead of its own.
    [[nodiscard]] virtual QByteArray rewritten(QByteArrayView text, QByteArrayView dataDigits) const = 0;
    // Appends the lines holding `bytes` at `address`, given the base the
    // lines before them set (moved on by the lines added); returns how many
    // of them are data lines.
    virtual int add(quint64 address, QByteArrayView bytes, IntelHexBase& base, QList<QByteArray>& lines) const = 0;

protected:
    // Data bytes of an added line when the image has no data line to copy.
    static constexpr int kDefaultLineBytes = 16;
};

struct TextImageFormat {
    ObjectFileKind kind;
    const char* name; // as `quorvane-cli check` and the messages name it
    // Whether a file whose first non-empty line starts so (its first two
    // bytes, or fewer) claims the format.
    bool (*claims)(QByteArrayView lineStart);
    qsizetype maxLineLength;
    // Why the format's check refuses a line, in a few words; empty when it
    // passes. `tooLong` for a line that reached maxLineLength.
    QString (*lineFault)(QByteArrayView line);
    QString (*tooLong)();
    // What a line that passed the check means (moving `base` on), or nullopt
    // when its bytes cannot be trusted.
    std::optional<ImageLine> (*meaning)(QByteArrayView line, IntelHexBase& base);
    std::unique_ptr<ImageLineWriter> (*lineWriter)();
};

[[nodiscard]] const TextImageFormat& srecordImageFormat();
[[nodiscard]] const TextImageFormat& intelHexImageFormat();

// The text formats in the order recognition tries them.
[[nodiscard]] std::span<const TextImageFormat* const> textImageFormats();
// The row of Srecord or IntelHex.
[[nodiscard]] const TextImageFormat& textImageFormat(ObjectFileKind textKind);

} // namespace quorvane
