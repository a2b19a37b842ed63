#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

namespace quorvane {

// Splits a device into lines without ever holding more than one chunk and
// one line in memory. CR LF, LF and CR all end a line; a last line without
// a line end is still a line. The line returned never holds its line end.
//
// A line longer than `maxLineLength` is reported as TooLong as soon as that
// many bytes have been seen without a line end, so a raw image without line
// breaks is given up after its first chunk, not after reading it whole.
class LineReader {
public:
    enum class Status { Line, End, TooLong, ReadError };

    static constexpr qsizetype kDefaultChunkSize = qsizetype(1) << 20;

    LineReader(QIODevice& device, qsizetype maxLineLength, qsizetype chunkSize = kDefaultChunkSize);

    // The next line. On Status::Line, `line` views the reader's own buffer
    // and stays valid until the next call.
    [[nodiscard]] Status next(QByteArrayView& line);

    // The line end that followed the line last returned: CR LF, LF, CR, or
    // nothing for a last line without one. Views static text.
    [[nodiscard]] QByteArrayView lineEnd() const { return lineEnd_; }

    // Line number (from 1) of the line last returned, or of the line that
    // was too long or could not be read.
    [[nodiscard]] qint64 lineNumber() const { return lineNumber_; }

    // The device's description of a read failure.
    [[nodiscard]] QString errorString() const { return device_.errorString(); }

private:
    // Moves the unread bytes to the front and appends what the device has.
    // Returns false on a read failure.
    bool refill();
    void skipPendingLineFeed();
    qsizetype findLineEnd(qsizetype from, qsizetype limit) const;

    QIODevice& device_;
    const qsizetype maxLineLength_;
    const qsizetype chunkSize_;
    QByteArray buffer_;
    qsizetype begin_ = 0; // first unread byte
    qsizetype end_ = 0;   // one past the last byte read
    bool deviceAtEnd_ = false;
    // The last line ended with CR: a LF that follows belongs to it.
    bool pendingCarriageReturn_ = false;
    qint64 lineNumber_ = 0;
    QByteArrayView lineEnd_;
};

} // namespace quorvane
