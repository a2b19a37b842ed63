#pragma once

#include "core/record_table.h"
#include "grid/grid_layout.h"

#include <QString>

#include <array>

// How a record's data text and a row of 16 data cells map onto each other:
// drawing a HEX cell, whether it may be typed into, and writing the row's
// cells back into the record.
namespace quorvane {

using RowCellTexts = std::array<QString, kGridColumns>;

// Largest data of a record without a size: 252 bytes, whatever the address
// size (the tighter S-record limits are applied when saving).
inline constexpr int kUnsizedHexDigits = 504;
inline constexpr int kUnsizedAsciiBytes = 252;

// Digits a HEX cell showing data byte `byte` holds: two, one where the data
// ends after the first digit of the byte, none beyond the data.
[[nodiscard]] QString hexCellText(const QString& data, int byte);

// A HEX cell is open for typing when every byte before the one it shows is
// present, so data is entered from the left without gaps.
[[nodiscard]] bool hexCellOpen(qsizetype dataLength, int byte);

// The record's data after its row has been edited. A HEX row replaces the
// 32 digits its window covers by whatever the cells now hold, so a cell
// holding more or fewer than two digits shifts the rest of the data; the
// result is cut to twice the size (504 digits without a size). An ASCII row
// takes the first cell whole, cut to the size in bytes (252 without one).
// Any other type keeps its data.
[[nodiscard]] QString rowDataAfterEdit(const KeyRecord& record, int hoffset, const RowCellTexts& cells);

} // namespace quorvane
