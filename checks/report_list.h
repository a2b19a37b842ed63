#pragma once

#include "core/record_table.h"

#include <QString>

#include <vector>

namespace quorvane {

// The text by which a check names the records it hit: their line numbers
// (slot + 1) in decimal, joined by ", ". `hits` holds slots in ascending
// order; no hits give the empty text.
[[nodiscard]] QString reportList(const std::vector<Slot>& hits);

} // namespace quorvane
