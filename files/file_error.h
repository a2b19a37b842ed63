#pragma once

#include "core/record_table.h"

#include <QString>
#include <QtGlobal>

namespace quorvane {

// Every reader and writer reports a failure as this prefix followed directly
// by the description (the system's, or the reader's own for a bad line); the
// window shows the text as it is. An empty text means success.
inline const QString kErrorPrefix = QStringLiteral("ERROR:");

[[nodiscard]] inline QString errorText(const QString& description) { return kErrorPrefix + description; }

// How a reader names a line of the file it reads: "Line 7 of the file: why".
[[nodiscard]] inline QString fileLineProblem(qint64 fileLine, const QString& why)
{
    return QStringLiteral("Line %1 of the file: %2").arg(fileLine).arg(why);
}

// How a writer names the record it cannot write, by its line in the grid:
// "Line 3: why".
[[nodiscard]] inline QString recordProblem(Slot slot, const QString& why)
{
    return QStringLiteral("Line %1: %2").arg(lineNumberOf(slot)).arg(why);
}

} // namespace quorvane
