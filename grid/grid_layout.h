#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QRect>
#include <QSize>

namespace quorvane {

inline constexpr int kGridRows = 10;
inline constexpr int kGridColumns = 16;
inline constexpr int kGridCells = kGridRows * kGridColumns;

// A data cell of the grid, numbered row by row: row * 16 + column, the
// number its control's name carries ("Text_data_37"). Moves to a neighbour
// stay inside the grid only when the caller has checked the edge.
class CellIndex {
public:
    constexpr explicit CellIndex(int index) : index_(index) {}
    [[nodiscard]] static constexpr CellIndex at(int row, int column)
    {
        return CellIndex(row * kGridColumns + column);
    }

    [[nodiscard]] constexpr int value() const { return index_; }
    [[nodiscard]] constexpr int row() const { return index_ / kGridColumns; }
    [[nodiscard]] constexpr int column() const { return index_ % kGridColumns; }
    [[nodiscard]] constexpr CellIndex inColumn(int column) const { return at(row(), column); }
    [[nodiscard]] constexpr CellIndex firstOfRow() const { return inColumn(0); }
    [[nodiscard]] constexpr CellIndex lastOfRow() const { return inColumn(kGridColumns - 1); }
    [[nodiscard]] constexpr bool inFirstColumn() const { return column() == 0; }
    [[nodiscard]] constexpr bool inLastColumn() const { return column() == kGridColumns - 1; }
    [[nodiscard]] constexpr CellIndex previous() const { return CellIndex(index_ - 1); }
    [[nodiscard]] constexpr CellIndex next() const { return CellIndex(index_ + 1); }
    [[nodiscard]] constexpr CellIndex above() const { return CellIndex(index_ - kGridColumns); }
    [[nodiscard]] constexpr CellIndex below() const { return CellIndex(index_ + kGridColumns); }

    constexpr bool operator==(const CellIndex&) const = default;

private:
    int index_;
};

// What the pixel geometry is built from: measures of the grid's
// fixed-pitch font, taken once by the widget.
struct FontMeasures {
    int digitWidth = 0;    // advance of one character
    int lineHeight = 0;    // height of a line of text
    int typeNameWidth = 0; // advance of "ASCII", the wider of the type names
};

// The fixed column headings, in the order of their controls (object names Label3_0..4).
enum class Heading { Title, Address, Size, Type, Data };
inline constexpr int kHeadingCount = 5;

// Where the grid stands over the record table, and where its controls go.
//
// Position: row r shows record slot topSlot() + r, and data column c of a
// HEX row shows byte leftByte() + c of its record. Both are bounded so that
// row 9 shows at most slot 255 (the spare slot 256 never appears) and
// column 15 at most byte 251, the last byte of the largest record.
//
// Geometry: rectangles in the grid's own coordinates, from the font's
// measures and the grid's width. A row reads left to right: line number,
// address, size, type, sixteen data cells, title; the record scroll bar
// stands right of the rows and the byte scroll bar under the data cells.
// Every column has the width its text needs; a grid wider than that gives
// the rest to the titles, the one column whose text has no length.
class GridLayout {
public:
    static constexpr Slot kMaxTopSlot = kRecordCount - kGridRows;
    static constexpr int kMaxLeftByte = dataLimit(AddressSize::Bits16) - kGridColumns;
    // Characters the record fields are sized for (and the most they take).
    static constexpr int kAddressChars = addressDigits(AddressSize::Bits32);
    static constexpr int kSizeChars = 3;

    explicit GridLayout(const FontMeasures& font = {});

    [[nodiscard]] Slot topSlot() const { return topSlot_; }
    [[nodiscard]] int leftByte() const { return leftByte_; }
    // Both clamp to their range rather than show a slot or byte that
    // does not exist.
    void setTopSlot(Slot slot);
    void setLeftByte(int byte);

    [[nodiscard]] Slot slotOfRow(int row) const { return topSlot_ + row; }
    [[nodiscard]] int byteOfColumn(int column) const { return leftByte_ + column; }

    [[nodiscard]] QRect lineNumberRect(int row) const;
    [[nodiscard]] QRect addressRect(int row) const;
    [[nodiscard]] QRect sizeRect(int row) const;
    [[nodiscard]] QRect typeRect(int row) const;
    [[nodiscard]] QRect cellRect(CellIndex cell) const;
    [[nodiscard]] QRect titleRect(int row) const;
    // An ASCII row's first cell reaches the right edge of the sixteenth.
    [[nodiscard]] int cellWidth() const { return cellWidth_; }
    [[nodiscard]] int wideCellWidth() const { return (kGridColumns - 1) * cellPitch_ + cellWidth_; }

    [[nodiscard]] QRect headingRect(Heading heading) const;
    // The place left free for a "No." heading over the line numbers.
    [[nodiscard]] QRect lineNumberHeadingRect() const;
    [[nodiscard]] QRect dataIndexRect(int column) const;
    [[nodiscard]] QRect recordScrollRect() const;
    [[nodiscard]] QRect byteScrollRect() const;
    [[nodiscard]] QSize gridSize() const;
    // The grid's size with the titles at their own width: the least it takes.
    [[nodiscard]] QSize baseSize() const;
    // Widens (or narrows, down to the base size) the title column so the
    // grid is `width` wide.
    void setWidth(int width);

private:
    struct Span {
        int x = 0;
        int width = 0;
        [[nodiscard]] int end() const { return x + width; }
    };

    [[nodiscard]] int headingY() const;
    [[nodiscard]] int dataIndexY() const;
    [[nodiscard]] int rowY(int row) const;
    [[nodiscard]] int rowsHeight() const;
    [[nodiscard]] QRect inRow(const Span& span, int row) const;

    Slot topSlot_ = 0;
    int leftByte_ = 0;

    int rowHeight_ = 0;
    int rowPitch_ = 0;
    int cellWidth_ = 0;
    int cellPitch_ = 0;
    int baseTitleWidth_ = 0;
    Span lineNumber_, address_, size_, type_, data_, title_, recordScroll_;
};

} // namespace quorvane
