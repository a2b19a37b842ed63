#include "file_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <csignal>
#include <string_view>

#include <pwd.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::test {

using namespace std::string_view_literals;

QByteArray written(DeviceWriter write, const Document& document, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString result = write(buffer, document);
    if (error)
        *error = result;
    else
        EXPECT_EQ(result, QString());
    return bytes;
}

QString readInto(DeviceReader read, QByteArray bytes, Document& document)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, document);
}

QString checkOutcome(const FormatCheck& check)
{
    return check ? QStringLiteral("%1 lines").arg(check.lineCount)
                 : QStringLiteral("line %1: %2").arg(check.badLine).arg(check.reason);
}

qint64 FailDevice::writeData(const char* data, qint64 length)
{
    if (size() >= capacity_) {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
    return QBuffer::writeData(data, std::min(length, capacity_ - size()));
}

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

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return program + QStringLiteral(" did not run: ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
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

QString randomText(std::mt19937& random, int maxLength)
{
    static constexpr std::u32string_view kPool =
        U"abcXYZ019 ,#-_.:;\"'\u00E9\u00DF\u20AC\u6F22\uFEFF\U0001F511\0\x01\t\x7F"sv;
    QString text;
    for (int i = std::uniform_int_distribution<int>(0, maxLength)(random); i > 0; --i) {
        // Appended by hand: the UCS-4 decoder would swallow a U+FEFF.
        const char32_t c = kPool[std::uniform_int_distribution<std::size_t>(0, kPool.size() - 1)(random)];
        const char16_t units[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        text += QChar::requiresSurrogates(c) ? QString(reinterpret_cast<const QChar*>(units), 2) : QString(QChar(char16_t(c)));
    }
    return text;
}

QString randomHexDigits(std::mt19937& random, int byteCount)
{
    QString digits;
    for (int i = 0; i < 2 * byteCount; ++i)
        digits += QLatin1Char("0123456789ABCDEFabcdef"[std::uniform_int_distribution<int>(0, 21)(random)]);
    return digits;
}

} // namespace quorvane::test
