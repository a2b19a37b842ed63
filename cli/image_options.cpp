#include "image_options.h"

#include <QFile>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

const QString kStart = QStringLiteral("start");

} // namespace

QCommandLineOption startAddressOption()
{
    return {kStart,
            QStringLiteral("The address of the first byte when the image is a raw binary file (1 to 8 hex digits); "
                           "S-record and Intel HEX files carry their own addresses."),
            QStringLiteral("HEX")};
}

std::optional<QString> startAddressText(const QCommandLineParser& parser)
{
    if (!parser.isSet(kStart))
        return std::nullopt;
    return parser.value(kStart);
}

QString startAddressNeeded(const QString& imagePath)
{
    return QStringLiteral("%1: neither S-records nor Intel HEX, so a binary image: --start HEX must give the address "
                          "of its first byte.")
        .arg(imagePath);
}

bool readableOrMissing(const QString& path, Console& console)
{
    if (!QFileInfo(path).isFile())
        return true;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    console.message(path + QStringLiteral(": cannot be read: ") + file.errorString());
    return false;
}

} // namespace quorvane::cli
