#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quorvane {

// Values kept between runs in the settings file.
struct Settings {
    qint16 FilterIndexSetting = 1; // file dialogs' filter index, 1..4
    QString LastPath;              // last file chosen in the save dialog
    qint16 SortOn = 1;             // address sort: 1 on, 0 off (any non-zero is on)

    bool operator==(const Settings&) const = default;
};

inline constexpr qint16 kFilterIndexMin = 1;
inline constexpr qint16 kFilterIndexMax = 4;

// Window-wide editing state; one instance lives as long as the main window.
struct EditorState {
    bool Modified = false;
    bool TableReady = false;     // false while the grid is redrawn from the table
    qint16 CurVoffset = 0;       // record slot shown in grid row 0 (0..246)
    qint16 CurHOffset = 0;       // data byte shown in data column 0 (0..236)
    qint16 FocusDataIndex = -1;  // data cell that last had the focus, -1 for none
    QString IniPath;
    QString FPad;                // 2048 "F": fill characters for fitting data to its size
    QString DupMessage;          // report of the last address-sort collision check
};

inline constexpr int kFPadLength = 2048;

[[nodiscard]] inline QString makeFPad() { return QString(kFPadLength, QLatin1Char('F')); }

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
