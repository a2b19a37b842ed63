#pragma once

#include <QString>
#include <QStringList>

// The files last opened or saved, most recent first, for the editor's
// "Open Recent" list. They live in a small text file of their own in the
// user's configuration folder (one path a line, UTF-8, CR LF), apart from
// the settings file, whose format other tools read.
namespace quorvane {

inline constexpr int kRecentFileCount = 8;

// `list` with `path` in front: an earlier entry of the same file goes, and
// whatever passes kRecentFileCount falls off the end. Paths name the same
// file when their absolute, cleaned forms are equal.
[[nodiscard]] QStringList withRecentFile(QStringList list, const QString& path);
// `list` without any entry of the file `path`.
[[nodiscard]] QStringList withoutRecentFile(QStringList list, const QString& path);

// The list kept at `storePath`: empty when there is none yet. Blank lines,
// repeats and entries past the count are dropped, so a hand-edited or
// damaged store still gives a usable list.
[[nodiscard]] QStringList readRecentFiles(const QString& storePath);
// Writes `list` (its first kRecentFileCount entries) to `storePath`,
// creating its folder. Returns the system's description of a failure, or
// an empty text; the store is read afresh for every change, so that two
// editors running at once keep each other's entries.
[[nodiscard]] QString writeRecentFiles(const QString& storePath, const QStringList& list);

} // namespace quorvane
