#include "hostile_support.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <csignal>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

CountingDevice::CountingDevice(QIODevice& inner) : inner_(inner)
{
    // Unbuffered: every read of the reader reaches readData and is counted
    // as it asked, not in QIODevice's own read-ahead.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void CountingDevice::failFrom(int pass, qint64 offset)
{
    failPass_ = pass;
    failOffset_ = offset;
}

bool CountingDevice::seek(qint64 position)
{
    if (position == 0)
        ++pass_;
    return QIODevice::seek(position) && inner_.seek(position);
}

qint64 CountingDevice::readData(char* data, qint64 maxSize)
{
    if (failPass_ > 0 && pass_ >= failPass_) {
        if (pos() >= failOffset_) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        maxSize = std::min(maxSize, failOffset_ - pos());
    }
    const qint64 got = inner_.read(data, maxSize);
    if (got < 0)
        setErrorString(inner_.errorString());
    bytesRead_ += std::max<qint64>(got, 0);
    return got;
}

QString sparseFile(const QString& folder, const QString& name, qint64 size, const QByteArray& head)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    const bool made = file.open(QIODevice::WriteOnly) && file.write(head) == head.size() && file.resize(size);
    EXPECT_TRUE(made) << path.toStdString();
    return path;
}

qint64 bytesReadByThisProcess()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

int runInChild(const ChildLimits& limits, const std::function<int()>& work)
{
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (limits.fileSizeLimit > 0) {
            // Writes beyond the limit then fail with EFBIG, even for root.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(limits.fileSizeLimit), rlim_t(limits.fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(100);
        }
        if (limits.withoutRoot && geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            if (nobody == nullptr || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
                _exit(101);
        }
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace quorvane::test
