#pragma once

#include <QtGlobal>

namespace quorvane {

inline constexpr int kGridRows = 10;
inline constexpr int kGridColumns = 16;
inline constexpr int kGridCells = kGridRows * kGridColumns;

// A data cell of the grid, numbered row by row: row * 16 + column. The
// numbering is the one the cells' names carry ("Text_data_37"), so the
// bit tricks below (And 240, Or 15) stay valid only for 16 columns.
class CellIndex {
public:
    constexpr explicit CellIndex(int index) : index_(index) {}
    [[nodiscard]] static constexpr CellIndex at(int row, int column)
    {
        return CellIndex(row * kGridColumns + column);
    }

    [[nodiscard]] constexpr int value() const { return index_; }
    [[nodiscard]] constexpr int row() const { return index_ / kGridColumns; }
    [[nodiscard]] constexpr int column() const { return index_ & (kGridColumns - 1); }
    [[nodiscard]] constexpr CellIndex firstOfRow() const { return CellIndex(index_ & 240); }
    [[nodiscard]] constexpr CellIndex lastOfRow() const { return CellIndex(index_ | 15); }
    [[nodiscard]] constexpr bool inFirstColumn() const { return column() == 0; }
    [[nodiscard]] constexpr bool inLastColumn() const { return column() == kGridColumns - 1; }

    // The data byte a HEX cell shows when the window starts at byte `hoffset`.
    [[nodiscard]] constexpr int byteOffset(int hoffset) const { return hoffset + column(); }
    // The position (from 0) of that byte's first digit in the data text.
    [[nodiscard]] constexpr int firstDigit(int hoffset) const { return 2 * byteOffset(hoffset); }

    constexpr bool operator==(const CellIndex&) const = default;

private:
    int index_;
};

// The record slot a grid row shows when row 0 shows slot `voffset`.
[[nodiscard]] constexpr int slotOfRow(int voffset, int row) { return voffset + row; }

} // namespace quorvane
