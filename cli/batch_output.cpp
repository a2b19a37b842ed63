#include "batch_output.h"

#include "saving.h"

#include "files/durable_batch.h"

#include <QFile>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

// One sync for this many files shares its cost (a few milliseconds a file
// when each is synced alone) while a killed run loses little of its work.
constexpr qsizetype kFilesPerSync = 2000;
// Large images reach it sooner: the run's log and manifest should not lag
// minutes behind the writing.
constexpr qint64 kBytesPerSync = qint64(1) << 30;

// A full disk or a folder that refuses every file would otherwise report
// the same failure once per row of a long list.
constexpr int kAlikeFailuresToStop = 10;

} // namespace

bool BatchOutput::add(RowOutcome outcome)
{
    if (outcome.status != RowStatus::Failed)
        alike_ = 0;
    else
        alike_ = alike_ > 0 && outcome.reason == lastReason_ ? alike_ + 1 : 1;
    lastReason_ = outcome.reason;
    if (alike_ == kAlikeFailuresToStop) {
        stopped_ = true;
        stopRow_ = {.line = outcome.line, .status = outcome.status, .path = outcome.path, .reason = outcome.reason};
    }
    const bool waits = outcome.status == RowStatus::Written && !choices_.syncEach;
    if (waiting_.empty() && !waits) {
        conclude(outcome);
    } else {
        if (waits) {
            ++waitingFiles_;
            waitingBytes_ += outcome.size;
        }
        waiting_.push_back(std::move(outcome));
        if (waitingFiles_ >= kFilesPerSync || waitingBytes_ >= kBytesPerSync)
            placeWaiting();
    }
    return !stopped_;
}

void BatchOutput::discard(const RowOutcome& outcome)
{
    if (!outcome.staged.isEmpty())
        QFile::remove(outcome.staged);
}

bool BatchOutput::finish()
{
    placeWaiting();
    syncFolders();
    if (stopped_)
        console_.message(QStringLiteral("Stopped after %5 %1: %2 rows in a row could not be written (%3: %4); "
                                        "the rows after it were not tried.")
                             .arg(stopRow_.line)
                             .arg(kAlikeFailuresToStop)
                             .arg(stopRow_.path, stopRow_.reason, choices_.rowWord));
    if (!folderProblem_.isEmpty())
        console_.message(folderProblem_);
    return folderProblem_.isEmpty();
}

void BatchOutput::placeWaiting()
{
    if (waiting_.empty())
        return;
    QStringList staged;
    for (const RowOutcome& row : waiting_)
        if (row.status == RowStatus::Written)
            staged << row.staged;
    const QStringList reasons = syncFiles(staged);
    qsizetype file = 0;
    for (RowOutcome& row : waiting_) {
        if (row.status == RowStatus::Written && !reasons.at(file++).isEmpty()) {
            discard(row);
            row.status = RowStatus::Failed;
            row.reason = reasons.at(file - 1);
            row.log.append({.message = true, .text = contextOf(row.line) + fileSaveError(row.path, row.reason)});
        }
        conclude(row);
    }
    waiting_.clear();
    waitingFiles_ = 0;
    waitingBytes_ = 0;
    syncFolders();
}

void BatchOutput::conclude(RowOutcome& outcome)
{
    replay(outcome.log, console_);
    if (outcome.status == RowStatus::Written)
        place(outcome);
    else
        enter(outcome);
    if (outcome.status == RowStatus::Refused || outcome.status == RowStatus::Failed)
        ++notWritten_;
}

void BatchOutput::place(RowOutcome& outcome)
{
    const QString context = contextOf(outcome.line);
    const auto refuse = [&](RowStatus status, const QString& reason, const QString& message) {
        discard(outcome);
        outcome.status = status;
        outcome.reason = reason;
        console_.message(context + message);
        enter(outcome);
    };
    // Asked again now that the file is about to take its name: the folder
    // or the name may have changed while the run was writing.
    if (const QString link = linkOnTheWay(outcome.folder, outcome.path); !link.isEmpty()) {
        const QString why = QStringLiteral("%1 is a symbolic link; no row writes through one.").arg(link);
        refuse(RowStatus::Refused, why, why);
        return;
    }
    const auto appeared = [&] {
        if (choices_.skipExisting) {
            discard(outcome);
            outcome.status = RowStatus::Kept;
            outcome.sha256.clear();
            console_.print(context + QStringLiteral("kept ") + outcome.path + QStringLiteral(" (--skip-existing)"));
            enter(outcome);
            return;
        }
        const QString why = outcome.path + QStringLiteral(": the file appeared while the run was writing it and is "
                                                          "left as it is; --overwrite replaces it, --skip-existing keeps it.");
        refuse(RowStatus::Refused, why, why);
    };
    const QFileInfo there(outcome.path);
    if (!choices_.overwrite && (there.exists() || there.isSymLink())) {
        appeared();
        return;
    }
    // Entered first: a kill before the move leaves the entry with its file
    // under the temporary name, never a file at its name that no entry lists.
    enter(outcome);
    const Placement placement = moveIntoPlace(outcome.staged, outcome.path, choices_.overwrite);
    switch (placement.status) {
    case PlaceStatus::Placed:
        console_.print(context + QStringLiteral("wrote ") + outcome.path);
        folders_.insert(there.absolutePath());
        if (choices_.syncEach && ++placedSinceFolderSync_ >= kFilesPerSync)
            syncFolders();
        return;
    case PlaceStatus::FileThere: appeared(); return;
    case PlaceStatus::Failed:
        refuse(RowStatus::Failed, placement.reason, fileSaveError(outcome.path, placement.reason));
        return;
    }
}

void BatchOutput::enter(const RowOutcome& outcome)
{
    if (!manifest_)
        return;
    manifest_->add({.row = contextOf(outcome.line).chopped(2), .values = outcome.values, .file = outcome.path,
                    .outcome = statusName(outcome.status), .reason = outcome.reason,
                    .sha256 = outcome.status == RowStatus::Written ? outcome.sha256 : QByteArray()});
}

void BatchOutput::syncFolders()
{
    if (manifest_ && !folders_.isEmpty())
        manifest_->sync();
    for (const QString& folder : std::as_const(folders_))
        if (const QString reason = syncFolder(folder); !reason.isEmpty())
            folderProblem_ += (folderProblem_.isEmpty() ? QString() : QStringLiteral("\n"))
                              + fileSaveError(folder, QStringLiteral("the names of the files written into it may be "
                                                                     "lost in a crash: %1").arg(reason));
    folders_.clear();
    placedSinceFolderSync_ = 0;
}

QString BatchOutput::contextOf(qint64 line) const
{
    return QStringLiteral("%1 %2: ").arg(choices_.rowWord).arg(line);
}

} // namespace quorvane::cli
