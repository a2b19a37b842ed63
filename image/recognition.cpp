#include "recognition.h"

#include "text_format.h"
#include "text_image_reader.h"

#include "files/open_file.h"

#include <QFile>

#include <algorithm>

namespace quorvane {

namespace {

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

std::span<const TextImageFormat* const> textImageFormats()
{
    static const TextImageFormat* const formats[] = {&srecordImageFormat(), &intelHexImageFormat()};
    return formats;
}

const TextImageFormat& textImageFormat(ObjectFileKind textKind)
{
    return textKind == ObjectFileKind::IntelHex ? intelHexImageFormat() : srecordImageFormat();
}

ObjectFileKind claimedKind(QIODevice& device)
{
    const QByteArray start = firstLineStart(device);
    if (start.isEmpty())
        return ObjectFileKind::Srecord;
    for (const TextImageFormat* format : textImageFormats()) {
        if (format->claims(start))
            return format->kind;
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
    TextImageReader reader(device, kind);
    switch (reader.checkRest()) {
    case TextImageReader::Status::End:
        return {.kind = kind, .damage = {}};
    case TextImageReader::Status::NotThisFormat:
        if (holdsOnlyText(device))
            return {.kind = ObjectFileKind::Damaged, .damage = reader.fault()};
        break;
    case TextImageReader::Status::Line:
    case TextImageReader::Status::ReadError:
    case TextImageReader::Status::Cancelled:
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
    for (const TextImageFormat* format : textImageFormats()) {
        if (format->kind == textKind)
            return QString::fromLatin1(format->name);
    }
    return {};
}

QString damagedObjectFileText(const QString& path, const ObjectFileDamage& damage)
{
    return QStringLiteral("line %1 (as %2): %3")
        .arg(damage.line)
        .arg(formatName(damage.format), damage.reason)
        .prepend(fileFormatErrorText(path));
}

QString fileFormatErrorText(const QString& path, const std::optional<ObjectFileDamage>& damage)
{
    if (damage)
        return damagedObjectFileText(path, *damage);
    return QStringLiteral("File format error.\r\nFILE: %1\r\n").arg(path);
}

QString startAddressNeededText(const QString& imagePath)
{
    return QStringLiteral("%1 is neither S-records nor Intel HEX: the address of its first byte is needed.").arg(imagePath);
}

} // namespace quorvane
