#include "object_line_reader.h"

#include "intel_hex.h"
#include "srecord_line.h"

namespace quorvane {

namespace {

qsizetype maxLineLengthOf(ObjectFileKind kind)
{
    return kind == ObjectFileKind::IntelHex ? kMaxIntelHexLineLength : kMaxSrecordLineLength;
}

} // namespace

ObjectLineReader::ObjectLineReader(QIODevice& device, ObjectFileKind kind, const ExtractionProgress& progress)
    : kind_(kind), lines_(device, maxLineLengthOf(kind)), ticker_(progress, device)
{
}

ObjectLineReader::Status ObjectLineReader::next(bool readMeaning)
{
    meaning_.reset();
    switch (lines_.next(text_)) {
    case LineReader::Status::Line: break;
    case LineReader::Status::End: return Status::End;
    case LineReader::Status::TooLong: return Status::NotThisFormat;
    case LineReader::Status::ReadError: return Status::ReadError;
    }
    const bool srecord = kind_ == ObjectFileKind::Srecord;
    if (!(srecord ? isValidSrecordLine(text_) : isValidIntelHexLine(text_)))
        return Status::NotThisFormat;
    if (!ticker_.advance(text_.size()))
        return Status::Cancelled;
    if (readMeaning)
        meaning_ = srecord ? srecordObjectLine(text_) : intelHexObjectLine(text_, base_);
    return Status::Line;
}

ObjectLineReader::Status ObjectLineReader::checkRest()
{
    for (;;) {
        if (const Status status = next(false); status != Status::Line)
            return status;
    }
}

} // namespace quorvane
