#include "object_file.h"

#include "object_line_reader.h"
#include "open_file.h"

#include <QFile>

#include <algorithm>

namespace quorvane {

namespace {

bool claimsSrecord(QByteArrayView start)
{
    return start.size() >= 2 && start.at(0) == 'S' && start.at(1) >= '0' && start.at(1) <= '9';
}

bool claimsIntelHex(QByteArrayView start)
{
    return start.startsWith(':');
}

constexpr TextFormatProbe kProbes[] = {
    {ObjectFileKind::Srecord, "S-record", &claimsSrecord},
    {ObjectFileKind::IntelHex, "Intel HEX", &claimsIntelHex},
};

constexpr qint64 kChunkSize = qint64(1) << 16;

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isTextByte(char c)
{
    return (c >= 0x20 && c <= 0x7E) || isLineEnd(c);
}

// The first two bytes of the first non-empty line, or fewer at the end.
QByteArray firstLineStart(QIODevice& device)
{
    QByteArray start;
    for (;;) {
        const QByteArray chunk = device.read(kChunkSize);
        if (chunk.isEmpty())
            return start;
        for (const char c : chunk) {
            if (start.isEmpty() && isLineEnd(c))
                continue;
            start += c;
            if (start.size() == 2)
                return start;
        }
    }
}

// Whether every byte from the device's start is printable or a line end;
// stops at the first that is not. A read failure counts as not text.
bool holdsOnlyText(QIODevice& device)
{
    if (!device.seek(0))
        return false;
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = device.read(chunk.data(), chunk.size());
        if (got <= 0)
            return got == 0;
        if (!std::all_of(chunk.cbegin(), chunk.cbegin() + got, isTextByte))
            return false;
    }
}

} // namespace

std::span<const TextFormatProbe> textFormatProbes()
{
    return kProbes;
}

ObjectFileKind claimedKind(QIODevice& device)
{
    const QByteArray start = firstLineStart(device);
    if (start.isEmpty())
        return ObjectFileKind::Srecord;
    for (const TextFormatProbe& probe : kProbes) {
        if (probe.claims(start))
            return probe.kind;
    }
    return ObjectFileKind::Binary;
}

ObjectFileRecognition examineObjectFile(QIODevice& device)
{
    const ObjectFileRecognition binary{.kind = ObjectFileKind::Binary, .damage = {}};
    if (!device.seek(0))
        return binary;
    const ObjectFileKind kind = claimedKind(device);
    if (kind == ObjectFileKind::Binary || !device.seek(0))
        return binary;
    ObjectLineReader reader(device, kind);
    switch (reader.checkRest()) {
    case ObjectLineReader::Status::End:
        return {.kind = kind, .damage = {}};
    case ObjectLineReader::Status::NotThisFormat:
        if (holdsOnlyText(device))
            return {.kind = ObjectFileKind::Damaged, .damage = reader.fault()};
        break;
    case ObjectLineReader::Status::Line:
    case ObjectLineReader::Status::ReadError:
    case ObjectLineReader::Status::Cancelled:
        break;
    }
    return binary;
}

ObjectFileRecognition examineObjectFile(const QString& path)
{
    QFile file(path);
    if (!openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty())
        return {.kind = ObjectFileKind::Binary, .damage = {}};
    return examineObjectFile(file);
}

ObjectFileKind recognizeObjectFile(QIODevice& device)
{
    return examineObjectFile(device).kind;
}

ObjectFileKind recognizeObjectFile(const QString& path)
{
    return examineObjectFile(path).kind;
}

QString formatName(ObjectFileKind textKind)
{
    const auto probe = std::find_if(std::begin(kProbes), std::end(kProbes),
                                    [textKind](const TextFormatProbe& p) { return p.kind == textKind; });
    return probe == std::end(kProbes) ? QString() : QString::fromLatin1(probe->name);
}

QString damagedObjectFileText(const QString& path, const ObjectFileDamage& damage)
{
    return QStringLiteral("File format error.\r\nFILE: %1\r\nline %2 (as %3): %4")
        .arg(path)
        .arg(damage.line)
        .arg(formatName(damage.format), damage.reason);
}

QString startAddressNeededText(const QString& imagePath)
{
    return QStringLiteral("%1 is neither S-records nor Intel HEX: the address of its first byte is needed.").arg(imagePath);
}

} // namespace quorvane
