#include "progress_line.h"

namespace quorvane::cli {

namespace {

constexpr qint64 kFirstAfterMs = 1000;
constexpr qint64 kEveryMs = 200;

QString durationText(qint64 seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1:%2 min").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2 h").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

void ProgressLine::rowDone()
{
    ++done_;
    const qint64 elapsed = clock_.elapsed();
    if (elapsed < kFirstAfterMs || elapsed - shownAt_ < kEveryMs)
        return;
    shownAt_ = elapsed;
    const double perSecond = double(done_) * 1000.0 / double(elapsed);
    const qint64 left = perSecond > 0 ? qint64(double(total_ - done_) / perSecond + 0.5) : 0;
    console_.showProgress(QStringLiteral("%1 of %2 rows, %3 rows/s, %4 left")
                              .arg(done_)
                              .arg(total_)
                              .arg(qint64(perSecond + 0.5))
                              .arg(durationText(left)));
}

} // namespace quorvane::cli
