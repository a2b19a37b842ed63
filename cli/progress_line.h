#pragma once

#include "console.h"

#include <QElapsedTimer>

// A long run's progress on a terminal, in one line that updates itself:
// rows done of all, the rate and the time left. Shown only once the run has
// taken a moment, and redrawn a few times a second at most.
namespace quorvane::cli {

class ProgressLine {
public:
    ProgressLine(Console& console, qint64 total) : console_(console), total_(total) { clock_.start(); }
    ~ProgressLine() { console_.clearProgress(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void rowDone();

private:
    Console& console_;
    const qint64 total_;
    qint64 done_ = 0;
    qint64 shownAt_ = 0;
    QElapsedTimer clock_;
};

} // namespace quorvane::cli
