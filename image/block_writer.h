#pragma once

#include "files/atomic_save.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

namespace quorvane {

// The size of the blocks a merge reads and writes.
inline constexpr qsizetype kBlockSize = qsizetype(1) << 20;

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

} // namespace quorvane
