#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QStringList>

// Many files made durable together, as git's batched fsync mode does: each
// is written under a temporary name beside its own with no sync of its own,
// the file systems are synced once for all of them, and only then are they
// moved to their names and their folders synced. A crash or a kill before
// that leaves temporary files only, never a file at its name cut short.
namespace quorvane {

// What names a temporary file: ".NAME.quorvane-" and six letters or digits,
// beside NAME. Hidden, and not ending as NAME does, so that no glob over the
// outputs (out/*.KEY) picks up one a killed run left.
inline const QString kStagedFileMark = QStringLiteral(".quorvane-");

// A file written under a temporary name beside `finalPath`, with the
// SHA-256 of its content taken on the way when asked (it costs more than
// writing a large file).
class StagedFile : public QFile {
public:
    explicit StagedFile(QString finalPath, bool hashContent = false)
        : finalPath_(std::move(finalPath)), hashContent_(hashContent)
    {
    }

    // Creates a new temporary file, never an existing one, with the
    // permissions of the file at the final name when there is one (as a
    // save that replaces it keeps them). The system's reason, or an empty text.
    [[nodiscard]] QString create();
    // Closes the file; with `sync` its content is on the disk first.
    // Without, a large file is still written out (and its writer waits for
    // that) but left for syncFiles to make durable. The system's reason, or
    // an empty text.
    [[nodiscard]] QString finish(bool sync);

    // Empty unless asked.
    [[nodiscard]] QByteArray sha256() const { return hashContent_ ? hash_.result() : QByteArray(); }
    // The temporary file's name, once created.
    [[nodiscard]] const QString& temporaryPath() const { return temporaryPath_; }

    // A writer that starts over (a merge that found the image to be of
    // another kind) empties the file: the hash starts over with it.
    bool resize(qint64 size) override;

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    QString finalPath_;
    QString temporaryPath_;
    const bool hashContent_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};

// Puts the content of the files at `paths` on the disk: one syncfs for each
// file system their folders lie on, or, where that is not available or
// fails, one fsync per file. The system's reason for each path (an empty
// text for those made durable), in the order given.
[[nodiscard]] QStringList syncFiles(const QStringList& paths);

enum class PlaceStatus {
    Placed,
    FileThere, // a file (or a link) took the final name meanwhile, and replacing was not asked
    Failed,
};

struct Placement {
    PlaceStatus status = PlaceStatus::Placed;
    QString reason = {}; // the system's, when Failed
};

// Renames `temporary` to `finalPath` in one step; without `replace`, a
// file that is there is left alone, however late it came.
[[nodiscard]] Placement moveIntoPlace(const QString& temporary, const QString& finalPath, bool replace);

// Makes the names moved into `folder` durable. The system's reason, or an empty text.
[[nodiscard]] QString syncFolder(const QString& folder);

} // namespace quorvane
