#include "document_writer.h"

#include "atomic_save.h"
#include "file_error.h"

namespace quorvane {

QString firstRecordProblem(const RecordTable& table, Slot slotEnd, const RecordWriteCheck& check)
{
    for (Slot slot = 0; slot < slotEnd; ++slot) {
        if (QString problem = check(table[slot], slot); !problem.isEmpty())
            return problem;
    }
    return {};
}

QString writeDocument(QIODevice& device, const QString& problem, const QByteArray& contents)
{
    if (!problem.isEmpty())
        return errorText(problem);
    if (QString error = writeAll(device, contents); !error.isEmpty())
        return errorText(error);
    return {};
}

QString writeDocument(const QString& path, const QString& problem, const QByteArray& contents)
{
    if (!problem.isEmpty())
        return errorText(problem);
    if (QString error = replaceFileContents(path, contents); !error.isEmpty())
        return errorText(error);
    return {};
}

} // namespace quorvane
