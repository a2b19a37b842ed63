#pragma once

#include "core/record_table.h"
#include "grid/grid_layout.h"

#include <QString>

#include <optional>

// Where the long jumps of the keyboard land: a record's first or last
// byte, a line number, each with the least scrolling that shows it.
namespace quorvane {

enum class RecordEdge { First, Last };

// The byte a jump to the record's edge goes to. The last byte of a record
// with a size is the last the size allows, typed or not; without a size it
// is the last byte typed (a trailing half byte counts), or byte 0 when
// nothing is. Never beyond the last byte the grid can show.
[[nodiscard]] int edgeByte(const KeyRecord& record, RecordEdge edge);

// The byte scroll position nearest to `leftByte` at which `byte` is shown.
[[nodiscard]] int leftByteShowing(int byte, int leftByte);
// The record scroll position nearest to `topSlot` at which `slot` is shown.
[[nodiscard]] Slot topSlotShowing(Slot slot, Slot topSlot);

// The line number typed into the go-to-line question: decimal, 1 to 256,
// blanks around it allowed.
[[nodiscard]] std::optional<int> lineNumberFromText(const QString& text);

} // namespace quorvane
