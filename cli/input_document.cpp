#include "input_document.h"

#include "exit_codes.h"

#include "document/document_files.h"

#include <QFile>

namespace quorvane::cli {

InputDocument readInputDocument(const QString& path, Console& console)
{
    OpenResult result = openDocument(path);
    if (result.opened())
        return {std::move(result.document), kExitSuccess};
    // The reader's own text for an unreadable file is the system's, as the
    // editor shows it; only the exit code tells it from bad content.
    QFile file(path);
    const bool unreadable = result.status == OpenStatus::FileNotFound || !file.open(QIODevice::ReadOnly);
    console.message(path + QStringLiteral(": ") + result.message);
    return {std::nullopt, unreadable ? kExitUsage : kExitRefused};
}

} // namespace quorvane::cli
