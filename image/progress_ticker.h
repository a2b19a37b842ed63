#pragma once

#include "progress.h"

#include <QIODevice>

#include <utility>

namespace quorvane {

// Reports progress every kProgressInterval bytes seen; the device's position
// then tells how far the reading really is. Keeps its own copy of the
// callback: a reader made with the default (none) must not hold on to a
// temporary.
class ProgressTicker {
public:
    ProgressTicker(ImageProgress progress, const QIODevice& device)
        : progress_(std::move(progress)), device_(device), total_(device.isSequential() ? 0 : device.size())
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
    const ImageProgress progress_;
    const QIODevice& device_;
    const qint64 total_;
    qint64 seen_ = 0;
    qint64 nextReport_ = kProgressInterval;
};

} // namespace quorvane
