#pragma once

#include <QString>

namespace quorvane {

// The program's version information, as the version box and the command line show it.
struct VersionInfo {
    QString productName;
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString companyName;
    QString copyright;
};

[[nodiscard]] const VersionInfo& programVersion();

// A number as the version line shows it: a blank where a minus sign would
// stand, then the digits (" 2", "-1").
[[nodiscard]] QString signedNumberText(int value);

// Product name, " Version ", then major, minor and revision each in
// signedNumberText, joined by ".": "Quorvane  Version  2. 2. 0".
[[nodiscard]] QString versionLine(const VersionInfo& info);

} // namespace quorvane
