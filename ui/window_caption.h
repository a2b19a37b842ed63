#pragma once

#include <QString>

#include <optional>

namespace quorvane {

inline const QString kProgramCaption = QStringLiteral("Quorvane");
inline const QString kModifiedCaption = QStringLiteral("Quorvane [Modified]");

// The caption rule: while the grid is being redrawn the caption is left
// alone (nullopt); otherwise it follows the modified flag.
[[nodiscard]] inline std::optional<QString> captionFor(bool tableReady, bool modified)
{
    if (!tableReady)
        return std::nullopt;
    return modified ? kModifiedCaption : kProgramCaption;
}

} // namespace quorvane
