#include "document_files.h"

#include "files/file_error.h"
#include "files/open_file.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane {

QString fileExtension(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? path : path.mid(dot + 1);
}

bool isTemplateFileName(const QString& path)
{
    return fileExtension(path) == kTemplateExtension;
}

bool isIntelHexFileName(const QString& path)
{
    const QString extension = fileExtension(path).toLower();
    return extension == QLatin1String("hex") || extension == QLatin1String("ihx") || extension == QLatin1String("ihex");
}

bool writesBackAsRead(const QString& path)
{
    return isTemplateFileName(path) || !isIntelHexFileName(path);
}

OpenResult openDocument(QIODevice& device, bool templateFile)
{
    OpenResult result;
    QString readError;
    if (templateFile) {
        readError = FormatLoad(device, result.document);
    } else {
        // A disk that fails is not a file of the wrong kind.
        if (const FormatCheck check = CheckSrecordFile(device); !check)
            return check.unreadable ? OpenResult{OpenStatus::ReadFailed, errorText(check.reason), {}, {}}
                                    : OpenResult{OpenStatus::NotSrecord, kIllegalFileMessage, {},
                                                 QStringLiteral("Line %1: %2").arg(check.badLine).arg(check.reason)};
        if (!device.seek(0))
            return {OpenStatus::ReadFailed, errorText(device.errorString()), {}, {}};
        readError = SRecodeLoad(device, result.document);
    }
    if (!readError.isEmpty())
        return {OpenStatus::ReadFailed, readError, {}, {}};
    return result;
}

namespace {

OpenResult openNamedFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {OpenStatus::FileNotFound, kFileNotFoundMessage, {}, {}};
    // One handle for the check and the load: a file replaced or removed in
    // between cannot have its check pass for another file's content.
    QFile file(path);
    if (QString error = openFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered); !error.isEmpty())
        return {OpenStatus::ReadFailed, errorText(error), {}, {}};
    return openDocument(file, isTemplateFileName(path));
}

} // namespace

OpenResult openDocument(const QString& path)
{
    OpenResult result = openNamedFile(path);
    if (!result.opened()) {
        const QString file = QDir::toNativeSeparators(path);
        result.details = result.details.isEmpty() ? file : file + QStringLiteral("\r\n") + result.details;
    }
    return result;
}

} // namespace quorvane
