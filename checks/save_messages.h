#pragma once

#include <QString>

// Texts of the boxes the save command shows for the checks' report lists.
// The window adds title, icon and buttons: the first two are errors that end
// the save, the last two are OK/Cancel warnings.
namespace quorvane {

inline const QString kCrLf = QStringLiteral("\r\n");

[[nodiscard]] QString noAddressMessage(const QString& reportList);
[[nodiscard]] QString illegalHexDataMessage(const QString& reportList);
[[nodiscard]] QString srecordSizeExceededMessage(const QString& reportList);
[[nodiscard]] QString dataSizeDifferentMessage(const QString& reportList);

} // namespace quorvane
