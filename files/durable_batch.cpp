#include "durable_batch.h"

#include "open_file.h"

#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

constexpr int kNameAttempts = 100;
constexpr qint64 kWriteOutBytes = 256 * 1024;

QByteArray systemName(const QString& path) { return QFile::encodeName(path); }

QString systemReason(int error) { return qt_error_string(error); }

QString randomLetters()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString letters;
    for (int i = 0; i < 6; ++i)
        letters += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))]);
    return letters;
}

// A descriptor of the folder, for a sync; -1 sets errno.
int openFolder(const QString& folder) { return ::open(systemName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

// Syncs and closes `descriptor`, the result of an open that may have
// failed (-1, errno set): the system's reason, or an empty text.
QString syncAndClose(int descriptor)
{
    if (descriptor < 0)
        return systemReason(errno);
    const bool synced = ::fsync(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    return synced ? QString() : systemReason(error);
}

QString syncOneFile(const QString& path)
{
    return syncAndClose(::open(systemName(path).constData(), O_RDONLY | O_CLOEXEC));
}

// Whether syncfs made the content in each folder of `paths` durable, by
// folder: one call per file system. A folder that cannot be opened, or a
// file system whose sync fails or that has none, is not.
QHash<QString, bool> syncFileSystemsOf(const QStringList& paths)
{
    QHash<QString, bool> syncedFolders;
#ifdef __linux__
    QHash<dev_t, bool> syncedDevices;
    for (const QString& path : paths) {
        const QString folder = QFileInfo(path).absolutePath();
        if (syncedFolders.contains(folder))
            continue;
        const int descriptor = openFolder(folder);
        struct stat status {};
        if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
            syncedFolders.insert(folder, false);
        } else {
            if (!syncedDevices.contains(status.st_dev))
                syncedDevices.insert(status.st_dev, ::syncfs(descriptor) == 0);
            syncedFolders.insert(folder, syncedDevices.value(status.st_dev));
        }
        if (descriptor >= 0)
            ::close(descriptor);
    }
#else
    Q_UNUSED(paths);
#endif
    return syncedFolders;
}

} // namespace

QString StagedFile::create()
{
    const QFileInfo target(finalPath_);
    if (finalPath_.contains(QChar(u'\0')))
        return kNulInFileName;
    struct stat existing {};
    const bool replacing = ::stat(systemName(finalPath_).constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString name = target.absolutePath() + QLatin1String("/.") + target.fileName() + kStagedFileMark + randomLetters();
        const int descriptor = ::open(systemName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0)
            return systemReason(errno);
        if (replacing)
            (void)::fchmod(descriptor, existing.st_mode & 07777);
        // Unbuffered: every write that fails is seen where it happens.
        if (!open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(descriptor);
            QFile::remove(name);
            return errorString();
        }
        temporaryPath_ = name;
        return {};
    }
    return systemReason(EEXIST);
}

qint64 StagedFile::writeData(const char* data, qint64 length)
{
    const qint64 written = QFile::writeData(data, length);
    if (written > 0 && hashContent_)
        hash_.addData(QByteArrayView(data, written));
    return written;
}

bool StagedFile::resize(qint64 size)
{
    // Nothing else cuts a file its writers write from start to end.
    Q_ASSERT(size == 0);
    hash_.reset();
    return QFile::resize(size);
}

QString StagedFile::finish(bool sync)
{
    QString reason;
    if (error() != QFileDevice::NoError)
        reason = errorString();
    else if (sync && ::fdatasync(handle()) != 0)
        reason = systemReason(errno);
#ifdef __linux__
    // A large file (a merged image) is written out at once and dropped from
    // the cache: a batch of gigabytes would otherwise fill the memory with
    // pages nobody reads again, and leave the one sync at the end all of
    // them to write. It is not yet durable: the disk's cache and the file's
    // metadata wait for that sync. Small files are cheaper written together.
    else if (!sync && size() >= kWriteOutBytes) {
        (void)::sync_file_range(handle(), 0, 0,
                                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
        (void)::posix_fadvise(handle(), 0, 0, POSIX_FADV_DONTNEED);
    }
#endif
    close();
    return reason;
}

QStringList syncFiles(const QStringList& paths)
{
    const QHash<QString, bool> syncedFolders = syncFileSystemsOf(paths);
    QStringList reasons;
    for (const QString& path : paths)
        reasons << (syncedFolders.value(QFileInfo(path).absolutePath()) ? QString() : syncOneFile(path));
    return reasons;
}

Placement moveIntoPlace(const QString& temporary, const QString& finalPath, bool replace)
{
    const QByteArray from = systemName(temporary);
    const QByteArray to = systemName(finalPath);
    if (replace) {
        if (std::rename(from.constData(), to.constData()) != 0)
            return {PlaceStatus::Failed, systemReason(errno)};
        return {};
    }
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno == EEXIST)
        return {PlaceStatus::FileThere};
    // File systems without the flag still make a new link in one step.
    if (errno != EINVAL && errno != ENOSYS)
        return {PlaceStatus::Failed, systemReason(errno)};
#endif
    if (::link(from.constData(), to.constData()) != 0)
        return errno == EEXIST ? Placement{PlaceStatus::FileThere} : Placement{PlaceStatus::Failed, systemReason(errno)};
    ::unlink(from.constData());
    return {};
}

QString syncFolder(const QString& folder)
{
    return syncAndClose(openFolder(folder));
}

} // namespace quorvane
