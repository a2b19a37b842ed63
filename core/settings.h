#pragma once

#include <QString>
#include <QtGlobal>

namespace quorvane {

// Values kept between runs in the settings file.
struct Settings {
    qint16 FilterIndexSetting = 1; // file dialogs' filter index, 1..5 (5: File Save's Intel HEX)
    QString LastPath;              // last file chosen in the save dialog
    qint16 SortOn = 1;             // address sort: 1 on, 0 off (any non-zero is on)

    bool operator==(const Settings&) const = default;
};

inline constexpr qint16 kFilterIndexMin = 1;
inline constexpr qint16 kFilterIndexMax = 5;

} // namespace quorvane
