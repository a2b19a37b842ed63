#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace quorvane {

// Writes all of `contents` to an open device. Returns the device's
// description of a failure, or an empty text.
[[nodiscard]] QString writeAll(QIODevice& device, const QByteArray& contents);

// Replaces the file at `path` with `contents` as one step: the new file
// appears only when it was written completely; on any failure the previous
// file stays exactly as it was and no partial file is left behind.
// Returns the system's description of a failure, or an empty text.
[[nodiscard]] QString replaceFileContents(const QString& path, const QByteArray& contents);

// Whether the writers above could replace the file of this name: the
// system's description of why not, or an empty text. It probes the folder
// the way the save will use it and leaves an existing file untouched, so a
// save that is refused or fails afterwards still finds the previous file.
[[nodiscard]] QString FileWriteTest(const QString& name);

} // namespace quorvane
