#pragma once

#include "console.h"
#include "manifest.h"
#include "row_writer.h"

#include <QSet>
#include <QString>

#include <deque>

// What becomes of a batch's rows once written, in row order: the files wait
// under their temporary names until one sync puts them all on the disk
// (every few thousand files, and at the end), then each is checked once
// more, entered in the manifest and moved to its name, and the row's lines
// are printed. With --sync each, every file was synced as it was written and
// goes to its name in its turn.
namespace quorvane::cli {

struct BatchOutputChoices {
    bool syncEach = false;
    bool overwrite = false;
    bool skipExisting = false;
    QString rowWord;
};

class BatchOutput {
public:
    BatchOutput(Console& console, Manifest* manifest, BatchOutputChoices choices)
        : console_(console), manifest_(manifest), choices_(std::move(choices))
    {
    }

    // The next row's outcome. False once a failure has met so many rows in
    // a row that the rest would meet it too: the run stops there.
    [[nodiscard]] bool add(RowOutcome outcome);

    // A row's outcome after the stop: its temporary file is removed.
    static void discard(const RowOutcome& outcome);

    // Everything that waits goes to the disk and into place; after a stop,
    // says where the run stopped. False when a folder could not be synced,
    // after saying so.
    [[nodiscard]] bool finish();

    // The rows refused or failed, at any step.
    [[nodiscard]] qsizetype notWritten() const { return notWritten_; }
    [[nodiscard]] bool stopped() const { return stopped_; }

private:
    void placeWaiting();
    void conclude(RowOutcome& outcome);
    void place(RowOutcome& outcome);
    void enter(const RowOutcome& outcome);
    // Makes the names moved into place durable; a failure is said at the end.
    void syncFolders();
    [[nodiscard]] QString contextOf(qint64 line) const;

    Console& console_;
    Manifest* const manifest_;
    const BatchOutputChoices choices_;
    // Rows in order from the first whose file waits for the sync.
    std::deque<RowOutcome> waiting_;
    qsizetype waitingFiles_ = 0;
    qint64 waitingBytes_ = 0;
    // Folders whose new names are not yet synced.
    QSet<QString> folders_;
    qsizetype placedSinceFolderSync_ = 0;
    qsizetype notWritten_ = 0;
    int alike_ = 0;
    QString lastReason_;
    bool stopped_ = false;
    RowOutcome stopRow_;
    QString folderProblem_;
};

} // namespace quorvane::cli
