#include "grid_layout.h"

#include <algorithm>

namespace quorvane {

namespace {

// Frame and inner margins of a line edit around its text, left and right
// together, and above and below together.
constexpr int kFieldPaddingX = 14;
constexpr int kFieldPaddingY = 10;
// The type box's frame and drop-down arrow beside its text.
constexpr int kTypeBoxPadding = 44;
// Between neighbouring data cells, and between rows.
constexpr int kCellSpacing = 2;
// Between the columns of a row, and around the grid.
constexpr int kMargin = 4;
constexpr int kScrollBarThickness = 17;

constexpr int kLineNumberChars = 3; // up to 256
constexpr int kCellChars = 2;
constexpr int kTitleChars = 24;

} // namespace

GridLayout::GridLayout(const FontMeasures& font)
{
    const auto fieldWidth = [&font](int chars) { return chars * font.digitWidth + kFieldPaddingX; };
    rowHeight_ = font.lineHeight + kFieldPaddingY;
    rowPitch_ = rowHeight_ + kCellSpacing;
    cellWidth_ = fieldWidth(kCellChars);
    cellPitch_ = cellWidth_ + kCellSpacing;

    const auto after = [](const Span& left, int width) { return Span{left.end() + kMargin, width}; };
    lineNumber_ = Span{kMargin, fieldWidth(kLineNumberChars)};
    address_ = after(lineNumber_, fieldWidth(kAddressChars));
    size_ = after(address_, fieldWidth(kSizeChars));
    type_ = after(size_, font.typeNameWidth + kTypeBoxPadding);
    data_ = after(type_, kGridColumns * cellPitch_);
    baseTitleWidth_ = fieldWidth(kTitleChars);
    title_ = after(data_, baseTitleWidth_);
    recordScroll_ = after(title_, kScrollBarThickness);
}

void GridLayout::setWidth(int width)
{
    const int besideTitle = title_.x + kMargin + kScrollBarThickness + kMargin;
    title_.width = std::max(baseTitleWidth_, width - besideTitle);
    recordScroll_.x = title_.end() + kMargin;
}

void GridLayout::setTopSlot(Slot slot) { topSlot_ = std::clamp(slot, 0, kMaxTopSlot); }
void GridLayout::setLeftByte(int byte) { leftByte_ = std::clamp(byte, 0, kMaxLeftByte); }

int GridLayout::headingY() const { return kMargin; }
int GridLayout::dataIndexY() const { return headingY() + rowHeight_; }
int GridLayout::rowY(int row) const { return dataIndexY() + rowHeight_ + row * rowPitch_; }
// From the top of the first row to the bottom of the last.
int GridLayout::rowsHeight() const { return kGridRows * rowPitch_ - kCellSpacing; }

QRect GridLayout::inRow(const Span& span, int row) const { return QRect(span.x, rowY(row), span.width, rowHeight_); }

QRect GridLayout::lineNumberRect(int row) const { return inRow(lineNumber_, row); }
QRect GridLayout::addressRect(int row) const { return inRow(address_, row); }
QRect GridLayout::sizeRect(int row) const { return inRow(size_, row); }
QRect GridLayout::typeRect(int row) const { return inRow(type_, row); }
QRect GridLayout::titleRect(int row) const { return inRow(title_, row); }

QRect GridLayout::cellRect(CellIndex cell) const
{
    return QRect(data_.x + cell.column() * cellPitch_, rowY(cell.row()), cellWidth_, rowHeight_);
}

QRect GridLayout::headingRect(Heading heading) const
{
    const Span* span = nullptr;
    switch (heading) {
    case Heading::Title: span = &title_; break;
    case Heading::Address: span = &address_; break;
    case Heading::Size: span = &size_; break;
    case Heading::Type: span = &type_; break;
    case Heading::Data: span = &data_; break;
    }
    return QRect(span->x, headingY(), span->width, rowHeight_);
}

QRect GridLayout::lineNumberHeadingRect() const
{
    return QRect(lineNumber_.x, headingY(), lineNumber_.width, rowHeight_);
}

QRect GridLayout::dataIndexRect(int column) const
{
    return QRect(data_.x + column * cellPitch_, dataIndexY(), cellWidth_, rowHeight_);
}

QRect GridLayout::recordScrollRect() const
{
    return QRect(recordScroll_.x, rowY(0), recordScroll_.width, rowsHeight());
}

// Exactly under the cells, from the left edge of the first to the right
// edge of the sixteenth.
QRect GridLayout::byteScrollRect() const
{
    return QRect(data_.x, rowY(0) + rowsHeight() + kMargin, data_.width - kCellSpacing, kScrollBarThickness);
}

QSize GridLayout::gridSize() const
{
    return QSize(recordScroll_.end() + kMargin, byteScrollRect().bottom() + 1 + kMargin);
}

QSize GridLayout::baseSize() const
{
    return gridSize() - QSize(title_.width - baseTitleWidth_, 0);
}

} // namespace quorvane
