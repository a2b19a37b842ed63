#include "save_messages.h"

namespace quorvane {

namespace {

QString lineNumbers(const QString& reportList)
{
    return QStringLiteral("LineNo: ") + reportList;
}

const QString kContinue = QStringLiteral("Continue ?");

} // namespace

QString noAddressMessage(const QString& reportList)
{
    return QStringLiteral("No Address.") + kCrLf + lineNumbers(reportList);
}

QString illegalHexDataMessage(const QString& reportList)
{
    return QStringLiteral("Illegal HEX Data.") + kCrLf + lineNumbers(reportList);
}

QString srecordSizeExceededMessage(const QString& reportList)
{
    return QStringLiteral("The size of Srecord is exceeded.") + kCrLf + lineNumbers(reportList) + kCrLf
        + kContinue;
}

QString dataSizeDifferentMessage(const QString& reportList)
{
    return QStringLiteral("The size of data is different.") + kCrLf + lineNumbers(reportList) + kCrLf
        + kContinue;
}

} // namespace quorvane
