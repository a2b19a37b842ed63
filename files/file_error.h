#pragma once

#include <QString>

namespace quorvane {

// Every reader and writer reports a failure as this prefix followed directly
// by the description (the system's, or the reader's own for a bad line); the
// window shows the text as it is. An empty text means success.
inline const QString kErrorPrefix = QStringLiteral("ERROR:");

[[nodiscard]] inline QString errorText(const QString& description) { return kErrorPrefix + description; }

} // namespace quorvane
