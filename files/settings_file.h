#pragma once

#include "core/settings.h"

#include <QIODevice>
#include <QString>

namespace quorvane {

inline const QString kSettingsFileName = QStringLiteral("Quorvane.ini");

// The settings file: line 1 the quoted last path, lines 2..12 eleven empty
// quoted fields kept for compatibility, line 13 "filterIndex,sortOn".
//
// Reading is field based and forgiving: whatever could be read before the
// first problem (missing file, short file, a bad or out-of-range number) is
// kept, the rest stays as in `startValues`. A file of more than 1 MiB is no
// settings file and is ignored whole. Nothing is reported. The filter index
// is clamped to 1..5 afterwards.
[[nodiscard]] Settings readSettings(QIODevice& device, Settings startValues);
[[nodiscard]] Settings readSettingsFile(const QString& path, Settings startValues);

// The 13 lines, CR LF ended. A last path holding a double quote, which the
// quoted field cannot hold, is written empty.
[[nodiscard]] QByteArray settingsFileContents(const Settings& settings);

// Where the settings file lives: beside the executable when a file is
// already there (a portable copy) or the folder can be written, otherwise in
// the user's configuration folder (an installed program).
[[nodiscard]] QString settingsFilePath(const QString& applicationFolder, const QString& userConfigFolder);

// Replaces the file atomically, as every save does, creating its folder
// when that does not exist yet. Returns the system's description of a
// failure, or an empty text on success.
[[nodiscard]] QString writeSettingsFile(const QString& path, const Settings& settings);

} // namespace quorvane
