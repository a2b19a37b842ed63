#include "object_file.h"

#include "format_check.h"
#include "intel_hex.h"
#include "open_file.h"
#include "srecord_reader.h"

#include <QFile>

namespace quorvane {

namespace {

FormatCheck checkOf(ObjectFileKind kind, QIODevice& device)
{
    return kind == ObjectFileKind::Srecord ? CheckSrecordFile(device) : CheckIntelHexFile(device);
}

} // namespace

ObjectFileKind recognizeObjectFile(QIODevice& device)
{
    for (const ObjectFileKind kind : kTextObjectFileKinds) {
        if (!device.seek(0))
            break;
        if (checkOf(kind, device))
            return kind;
    }
    return ObjectFileKind::Binary;
}

ObjectFileKind recognizeObjectFile(const QString& path)
{
    QFile file(path);
    if (!openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty())
        return ObjectFileKind::Binary;
    return recognizeObjectFile(file);
}

QString startAddressNeededText(const QString& imagePath)
{
    return QStringLiteral("%1 is neither S-records nor Intel HEX: the address of its first byte is needed.").arg(imagePath);
}

} // namespace quorvane
