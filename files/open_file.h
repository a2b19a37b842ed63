#pragma once

#include <QFileDevice>
#include <QIODevice>
#include <QString>

namespace quorvane {

inline const QString kNulInFileName = QStringLiteral("The file name holds a NUL character.");

// Opens a file (a QFile or a QSaveFile) by its name. Qt hands the name to the
// system as a C string, so a name holding a NUL character would open, create
// or replace the file named by its part before the NUL: "keys\0.KEY" would
// be "keys". Such a name is refused. Returns the description of a failure,
// or an empty text.
[[nodiscard]] QString openFile(QFileDevice& file, QIODevice::OpenMode mode);

} // namespace quorvane
