#include "line_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvane {

namespace {

constexpr QByteArrayView kLineFeed("\n");
constexpr QByteArrayView kCarriageReturn("\r");
constexpr QByteArrayView kCarriageReturnLineFeed("\r\n");

// A file smaller than a chunk is read in one go all the same, so its reader
// needs no room beyond it: a settings file or a KEY file of a few hundred
// bytes does not cost a megabyte. Only the size of each read changes, so a
// file that grows meanwhile is still read to its end.
qsizetype chunkSizeFor(const QIODevice& device, qsizetype chunkSize)
{
    if (!device.isSequential())
        chunkSize = qsizetype(std::min<qint64>(chunkSize, device.size() - device.pos()));
    return std::max<qsizetype>(chunkSize, 1);
}

} // namespace

LineReader::LineReader(QIODevice& device, qsizetype maxLineLength, qsizetype chunkSize)
    : device_(device)
    , maxLineLength_(maxLineLength)
    , chunkSize_(chunkSizeFor(device, chunkSize))
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

// The first CR or LF in [from, limit), or -1. Object files have millions of
// short lines, so the cost of starting a search counts as much as its speed:
// sixteen bytes are compared against both line ends at once.
qsizetype LineReader::findLineEnd(qsizetype from, qsizetype limit) const
{
    const char* const base = buffer_.constData();
    const char* p = base + from;
    const char* const end = base + limit;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(hits)))
            return qsizetype(p - base) + std::countr_zero(mask);
    }
#endif
    for (; p < end; ++p) {
        if (*p == '\n' || *p == '\r')
            return qsizetype(p - base);
    }
    return -1;
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
        qsizetype lineEnd = findLineEnd(searched, limit);
        if (lineEnd >= 0) {
            // A CR that ends the bytes read so far may be the first half of
            // CR LF: the next byte tells.
            if (buffer_.at(lineEnd) == '\r' && lineEnd + 1 == end_ && !deviceAtEnd_) {
                const qsizetype offset = lineEnd - begin_;
                if (!refill()) {
                    ++lineNumber_;
                    return Status::ReadError;
                }
                lineEnd = begin_ + offset;
            }
            line = QByteArrayView(buffer_.constData() + begin_, lineEnd - begin_);
            pendingCarriageReturn_ = buffer_.at(lineEnd) == '\r';
            lineEnd_ = !pendingCarriageReturn_ ? kLineFeed
                       : lineEnd + 1 < end_ && buffer_.at(lineEnd + 1) == '\n' ? kCarriageReturnLineFeed
                                                                              : kCarriageReturn;
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
            lineEnd_ = {};
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
