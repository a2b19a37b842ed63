#include "file_test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstring>

namespace quorvane::test {

qint64 FailDevice::writeData(const char* data, qint64 length)
{
    const qint64 room = capacity_ - size();
    if (room <= 0) {
        setErrorString(QStringLiteral("No space left on device"));
        return -1;
    }
    return QBuffer::writeData(data, std::min(length, room));
}

EndlessDevice::EndlessDevice(QByteArray head, char filler) : head_(std::move(head)), filler_(filler)
{
    // Unbuffered, so that the count is what the reader asked for.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 EndlessDevice::readData(char* data, qint64 maxLength)
{
    for (qint64 i = 0; i < maxLength; ++i) {
        const qint64 at = handedOut_ + i;
        data[i] = at < head_.size() ? head_.at(at) : filler_;
    }
    handedOut_ += maxLength;
    return maxLength;
}

UnreadableDevice::UnreadableDevice() { open(QIODevice::ReadOnly); }

qint64 UnreadableDevice::readData(char*, qint64)
{
    setErrorString(QStringLiteral("Input/output error"));
    return -1;
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

ToolResult runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

void setAddress(KeyRecord& record, quint32 address)
{
    record.KeyAddrHigh = qint16(quint16(address >> 16));
    record.KeyAddrLow = qint16(quint16(address & 0xFFFF));
    record.KeyAddrSet = true;
}

KeyRecord hexRecord(quint32 address, const QString& digits)
{
    KeyRecord record;
    setAddress(record, address);
    record.KeyType = kTypeHex;
    record.KeyData = digits;
    record.KeySize = qint16((digits.size() + 1) / 2);
    return record;
}

KeyRecord asciiRecord(quint32 address, const QString& text)
{
    KeyRecord record;
    setAddress(record, address);
    record.KeyType = kTypeAscii;
    record.KeyData = text;
    record.KeySize = qint16(text.toUtf8().size());
    return record;
}

Document documentIn(AddressSize size)
{
    Document document;
    document.mode.set(size);
    return document;
}

QString randomText(std::mt19937& random, int maxLength)
{
    static const QString kPool = QStringLiteral("abcXYZ019 ,#-_.:;\"'\u00E9\u00DF\u20AC\u6F22");
    const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
    QString text;
    for (int i = 0; i < length; ++i) {
        const int pick = std::uniform_int_distribution<int>(0, int(kPool.size()))(random);
        if (pick == kPool.size())
            text += QStringLiteral("\U0001F511"); // a character outside the 16-bit plane
        else
            text += kPool.at(pick);
    }
    return text;
}

QString randomHexDigits(std::mt19937& random, int byteCount)
{
    static const char kDigits[] = "0123456789ABCDEFabcdef";
    QString digits;
    for (int i = 0; i < 2 * byteCount; ++i)
        digits += QLatin1Char(kDigits[std::uniform_int_distribution<int>(0, 21)(random)]);
    return digits;
}

} // namespace quorvane::test
