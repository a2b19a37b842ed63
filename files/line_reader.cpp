#include "line_reader.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

LineReader::LineReader(QIODevice& device, qsizetype maxLineLength, qsizetype chunkSize)
    : device_(device)
    , maxLineLength_(maxLineLength)
    , chunkSize_(std::max<qsizetype>(chunkSize, 1))
{
    // Room for a whole chunk behind the longest partial line we keep.
    buffer_.resize(chunkSize_ + maxLineLength_ + 1);
}

bool LineReader::refill()
{
    const qsizetype pending = end_ - begin_;
    if (begin_ > 0 && pending > 0)
        std::memmove(buffer_.data(), buffer_.constData() + begin_, size_t(pending));
    begin_ = 0;
    end_ = pending;
    const qint64 got = device_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0)
        return false;
    if (got == 0)
        deviceAtEnd_ = true;
    end_ += qsizetype(got);
    return true;
}

void LineReader::skipPendingLineFeed()
{
    if (pendingCarriageReturn_ && begin_ < end_) {
        if (buffer_.at(begin_) == '\n')
            ++begin_;
        pendingCarriageReturn_ = false;
    }
}

// The first CR or LF in [from, limit), or -1. Two memchr passes are much
// faster than one byte loop looking for either.
qsizetype LineReader::findLineEnd(qsizetype from, qsizetype limit) const
{
    if (from >= limit)
        return -1;
    const char* base = buffer_.constData();
    const auto* lf = static_cast<const char*>(std::memchr(base + from, '\n', size_t(limit - from)));
    const qsizetype crLimit = lf ? qsizetype(lf - base) : limit;
    const auto* cr = static_cast<const char*>(std::memchr(base + from, '\r', size_t(crLimit - from)));
    if (cr)
        return qsizetype(cr - base);
    return lf ? qsizetype(lf - base) : -1;
}

LineReader::Status LineReader::next(QByteArrayView& line)
{
    qsizetype searched = begin_; // bytes before this hold no line end
    for (;;) {
        if (pendingCarriageReturn_ && begin_ == end_ && !deviceAtEnd_) {
            if (!refill()) {
                ++lineNumber_;
                return Status::ReadError;
            }
            searched = begin_;
        }
        skipPendingLineFeed();
        searched = std::max(searched, begin_);

        // A line may be maxLineLength_ bytes long, so its end can sit one
        // byte further on.
        const qsizetype limit = std::min(end_, begin_ + maxLineLength_ + 1);
        const qsizetype lineEnd = findLineEnd(searched, limit);
        if (lineEnd >= 0) {
            line = QByteArrayView(buffer_.constData() + begin_, lineEnd - begin_);
            pendingCarriageReturn_ = buffer_.at(lineEnd) == '\r';
            begin_ = lineEnd + 1;
            ++lineNumber_;
            return Status::Line;
        }
        if (end_ - begin_ > maxLineLength_) {
            ++lineNumber_;
            return Status::TooLong;
        }
        if (deviceAtEnd_) {
            if (begin_ == end_)
                return Status::End;
            line = QByteArrayView(buffer_.constData() + begin_, end_ - begin_);
            begin_ = end_;
            ++lineNumber_;
            return Status::Line;
        }
        const qsizetype alreadySearched = limit - begin_;
        if (!refill()) {
            ++lineNumber_;
            return Status::ReadError;
        }
        searched = begin_ + alreadySearched;
    }
}

} // namespace quorvane
