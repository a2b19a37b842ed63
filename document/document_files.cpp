#include "document_files.h"

#include "files/srecord_reader.h"
#include "files/template_file.h"

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

OpenResult openDocument(const QString& path)
{
    OpenResult result;
    if (!QFileInfo(path).isFile())
        return {OpenStatus::FileNotFound, kFileNotFoundMessage, {}};

    QString readError;
    if (isTemplateFileName(path)) {
        readError = FormatLoad(path, result.document);
    } else {
        if (!CheckSrecordFile(path))
            return {OpenStatus::NotSrecord, kIllegalFileMessage, {}};
        readError = SRecodeLoad(path, result.document);
    }
    if (!readError.isEmpty())
        return {OpenStatus::ReadFailed, readError, {}};
    return result;
}

} // namespace quorvane
