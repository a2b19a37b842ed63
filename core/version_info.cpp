#include "version_info.h"

namespace quorvane {

const VersionInfo& programVersion()
{
    // The numbers come from the project's version in the build files.
    static const VersionInfo info{
        QStringLiteral("Quorvane "),
        QUORVANE_VERSION_MAJOR,
        QUORVANE_VERSION_MINOR,
        QUORVANE_VERSION_PATCH,
        QStringLiteral("Quorvane Project"),
        QStringLiteral("Copyright (C) 2026 Quorvane Project. All rights reserved."),
    };
    return info;
}

QString signedNumberText(int value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString versionLine(const VersionInfo& info)
{
    return info.productName + QStringLiteral(" Version ") + signedNumberText(info.major) + QLatin1Char('.')
        + signedNumberText(info.minor) + QLatin1Char('.') + signedNumberText(info.revision);
}

} // namespace quorvane
