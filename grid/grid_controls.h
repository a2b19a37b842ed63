#pragma once

#include "grid/grid_layout.h"

#include <array>

class QComboBox;
class QLabel;
class QScrollBar;
class QWidget;

namespace quorvane {

class GridLineEdit;

// The controls of one grid row besides its data cells.
struct RowControls {
    QLabel* lineNo = nullptr;
    GridLineEdit* address = nullptr;
    GridLineEdit* size = nullptr;
    QComboBox* type = nullptr;
    GridLineEdit* title = nullptr;
};

// Every control of the grid. The grid widget owns them as their parent;
// each carries the object name the window and its tests find it by
// ("Text_data_37", "VScroll1", ...).
struct GridControls {
    std::array<RowControls, kGridRows> rows{};
    std::array<GridLineEdit*, kGridCells> cells{};
    std::array<QLabel*, kGridColumns> byteHeaders{}; // Label_DataIndex
    std::array<QLabel*, kHeadingCount> headings{};   // Label3
    QScrollBar* recordScroll = nullptr;              // VScroll1
    QScrollBar* byteScroll = nullptr;                // HScroll1

    // Row by row, so that the focus chain runs address, size, type, title,
    // then the row's cells.
    void create(QWidget* grid);
    void place(const GridLayout& layout);
    // Only what moves when the grid's width changes: the titles, their
    // heading and the record scroll bar. The data cells keep the widths
    // their rows' layouts gave them.
    void placeTitleColumn(const GridLayout& layout);

    [[nodiscard]] const RowControls& row(int r) const { return rows[std::size_t(r)]; }
    [[nodiscard]] GridLineEdit* cell(CellIndex index) const { return cells[std::size_t(index.value())]; }
};

} // namespace quorvane
