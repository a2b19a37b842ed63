#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorvane {

// The program's icon, drawn rather than shipped: a key over a hex byte.
[[nodiscard]] QPixmap programPixmap(int size);
[[nodiscard]] QIcon programIcon();

} // namespace quorvane
