#pragma once

#include "image_line.h"
#include "progress.h"
#include "progress_ticker.h"
#include "recognition.h"

#include "files/line_reader.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <optional>

// The lines of an S-record or Intel HEX image, each judged as that format's
// check judges it and read for its meaning as the extraction reads it; empty
// lines are passed over. It is the one reader every pass over a text image
// (recognition, extraction, merge, verify) goes through; the format's own
// rules come from its TextImageFormat row. A pass recognises the image on
// the way: the first line the check refuses means the file is not of this
// kind (passOverImage then tells whether it is damaged).
namespace quorvane {

struct TextImageFormat;

class TextImageReader {
public:
    enum class Status {
        Line,          // text(), lineEnd() and meaning() describe the next line
        End,           // the end of the file; every line passed the check
        NotThisFormat, // a line the format's check refuses, or one too long: fault() says which and why
        ReadError,
        Cancelled,     // the progress callback answered false
    };

    // `kind` is Srecord or IntelHex.
    TextImageReader(QIODevice& device, ObjectFileKind kind, const ImageProgress& progress = {});

    // The next line. With `readMeaning` false the line is only checked, as
    // a pass does once the image's end record is behind it; meaning() is
    // then unset.
    [[nodiscard]] Status next(bool readMeaning = true);

    [[nodiscard]] QByteArrayView text() const { return text_; }
    [[nodiscard]] QByteArrayView lineEnd() const { return lines_.lineEnd(); }
    // nullopt: the line passed the check but its bytes cannot be trusted,
    // which the extraction calls "File format error.".
    [[nodiscard]] const std::optional<ImageLine>& meaning() const { return meaning_; }

    // Intel HEX: the base the lines read so far set.
    [[nodiscard]] const IntelHexBase& intelHexBase() const { return base_; }

    [[nodiscard]] qint64 lineNumber() const { return lines_.lineNumber(); }
    [[nodiscard]] QString errorString() const { return lines_.errorString(); }

    // After NotThisFormat: the line refused and the check's reason.
    [[nodiscard]] const ObjectFileDamage& fault() const { return fault_; }

    // Checks the lines left: End when all pass, or why not.
    [[nodiscard]] Status checkRest();

private:
    Status refused(QString reason);

    const TextImageFormat& format_;
    LineReader lines_;
    ProgressTicker ticker_;
    IntelHexBase base_;
    QByteArrayView text_;
    std::optional<ImageLine> meaning_;
    ObjectFileDamage fault_;
};

} // namespace quorvane
