#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quorvane {

// The state of the document beside its table: whether it differs from its
// file, and which file that is. One instance lives as long as the window.
struct EditorState {
    bool Modified = false;
    QString fileName; // the document's file, shown in the file-name field; empty for a new one
};

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
