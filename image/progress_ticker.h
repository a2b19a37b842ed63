#pragma once

#include "progress.h"

#include <QIODevice>

namespace quorvane {

// Reports progress every kProgressInterval bytes seen; the device's position
// then tells how far the reading really is.
class ProgressTicker {
public:
    ProgressTicker(const ImageProgress& progress, const QIODevice& device)
        : progress_(progress), device_(device), total_(device.isSequential() ? 0 : device.size())
    {
    }

    // After a line; false when the user cancelled.
    [[nodiscard]] bool advance(qsizetype lineLength) { return advanceBytes(lineLength + 1); }

    // After a block of bytes; false when the user cancelled.
    [[nodiscard]] bool advanceBytes(qint64 count)
    {
        seen_ += count;
        if (!progress_ || seen_ < nextReport_)
            return true;
        nextReport_ = seen_ + kProgressInterval;
        return progress_(device_.pos(), total_);
    }

private:
    const ImageProgress& progress_;
    const QIODevice& device_;
    const qint64 total_;
    qint64 seen_ = 0;
    qint64 nextReport_ = kProgressInterval;
};

} // namespace quorvane
