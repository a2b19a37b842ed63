#include "text_image_reader.h"

#include "text_format.h"

namespace quorvane {

TextImageReader::TextImageReader(QIODevice& device, ObjectFileKind kind, const ImageProgress& progress)
    : format_(textImageFormat(kind)), lines_(device, format_.maxLineLength), ticker_(progress, device)
{
}

TextImageReader::Status TextImageReader::next(bool readMeaning)
{
    meaning_.reset();
    // Empty lines hold nothing, as objcopy and srec_cat read them.
    do {
        switch (lines_.next(text_)) {
        case LineReader::Status::Line: break;
        case LineReader::Status::End: return Status::End;
        case LineReader::Status::TooLong: return refused(format_.tooLong());
        case LineReader::Status::ReadError: return Status::ReadError;
        }
    } while (text_.isEmpty());
    if (QString fault = format_.lineFault(text_); !fault.isEmpty())
        return refused(std::move(fault));
    if (!ticker_.advance(text_.size()))
        return Status::Cancelled;
    if (readMeaning)
        meaning_ = format_.meaning(text_, base_);
    return Status::Line;
}

TextImageReader::Status TextImageReader::refused(QString reason)
{
    fault_ = {.format = format_.kind, .line = lines_.lineNumber(), .reason = std::move(reason)};
    return Status::NotThisFormat;
}

TextImageReader::Status TextImageReader::checkRest()
{
    for (;;) {
        if (const Status status = next(false); status != Status::Line)
            return status;
    }
}

} // namespace quorvane
