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
    const bool srecord = kind_ == ObjectFileKind::Srecord;
    // Empty lines hold nothing, as objcopy and srec_cat read them.
    do {
        switch (lines_.next(text_)) {
        case LineReader::Status::Line: break;
        case LineReader::Status::End: return Status::End;
        case LineReader::Status::TooLong:
            return refused(srecord ? describeSrecordLineFault(SrecordLineFault::TooLong)
                                   : describeIntelHexLineFault(IntelHexLineFault::TooLong));
        case LineReader::Status::ReadError: return Status::ReadError;
        }
    } while (text_.isEmpty());
    if (srecord) {
        if (const SrecordLineFault fault = srecordLineFault(text_); fault != SrecordLineFault::None)
            return refused(describeSrecordLineFault(fault));
    } else if (const IntelHexLineFault fault = intelHexLineFault(text_); fault != IntelHexLineFault::None) {
        return refused(describeIntelHexLineFault(fault));
    }
    if (!ticker_.advance(text_.size()))
        return Status::Cancelled;
    if (readMeaning)
        meaning_ = srecord ? srecordObjectLine(text_) : intelHexObjectLine(text_, base_);
    return Status::Line;
}

ObjectLineReader::Status ObjectLineReader::refused(QString reason)
{
    fault_ = {.format = kind_, .line = lines_.lineNumber(), .reason = std::move(reason)};
    return Status::NotThisFormat;
}

ObjectLineReader::Status ObjectLineReader::checkRest()
{
    for (;;) {
        if (const Status status = next(false); status != Status::Line)
            return status;
    }
}

} // namespace quorvane
