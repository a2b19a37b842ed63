// Editing of the data cells: the character filter, the write-back after a
// change with its caret rules, and the navigation keys.
#include "grid_view.h"

#include "grid/edit_rules.h"
#include "grid/grid_line_edit.h"
#include "grid/key_codes.h"

#include <QComboBox>

namespace quorvane {

void GridView::onCellFocusIn(CellIndex index)
{
    view_.FocusDataIndex = qint16(index.value());
}

char16_t GridView::onCellKeyPress(CellIndex index, char16_t code)
{
    const KeyRecord& record = recordOfCell(index);
    const bool room = recordHasRoom(record, cell(index)->hasSelectedText());
    return filterDataCharacter(record.KeyType != kTypeHex, room, code);
}

void GridView::onCellChanged(CellIndex index)
{
    if (!view_.TableReady)
        return; // raised by a redraw
    applyCellChange(index);
    recordEdit(index.row(), Field::Data);
}

void GridView::applyCellChange(CellIndex index)
{
    markModified();
    GridLineEdit* edit = cell(index);
    if (recordOfCell(index).KeyType != kTypeHex) {
        StoreRowData(index.row());
        redraw();
        return;
    }
    const qsizetype digits = edit->text().size();
    const int caret = edit->cursorPosition();
    if (digits == 2) {
        // The cell is complete: move on as the Right arrow would. The redraw
        // leaves an unchanged cell (and its caret at the end) alone.
        StoreRowData(index.row());
        redraw();
        onCellKeyDown(index, kKeyRight, false);
    } else if (digits > 2) {
        const int leftByteBefore = layout_.leftByte();
        StoreRowData(index.row());
        redraw();
        placeCaretAfterInsertion(index, caret, leftByteBefore);
    } else {
        StoreRowData(index.row());
        redraw();
        edit->setCursorPosition(caret);
    }
}

// After typing into a full cell or pasting, the caret follows the inserted
// text into the cell that now shows its byte, scrolling right if needed.
void GridView::placeCaretAfterInsertion(CellIndex index, int caret, int leftByteBefore)
{
    const InsertionCaret target =
        caretAfterInsertion(leftByteBefore, index.column(), caret, recordOfCell(index).KeySize);
    scrollToByte(target.hscroll);
    const CellIndex targetCell = index.inColumn(target.column);
    focusCell(targetCell);
    cell(targetCell)->setCursorPosition(target.position);
}

bool GridView::onCellKeyDown(CellIndex index, int keyCode, bool shift)
{
    switch (keyCode) {
    case kKeyUp: return moveUp(index);
    case kKeyDown: return moveDown(index);
    case kKeyLeft:
    case kKeyBackspace: return moveLeft(index);
    case kKeyRight: return moveRight(index);
    case kKeyTab: return moveByTab(index, shift);
    default: return false;
    }
}

// Vertical moves go one record at a time; the target row's type decides
// whether the focus lands in the same column or in the row's wide cell.
bool GridView::moveUp(CellIndex index)
{
    const Slot top = layout_.topSlot();
    if (index.row() == 0) {
        if (top <= 0)
            return false;
        const CellIndex target = isHexRecord(top - 1) ? index : index.firstOfRow();
        scrollToSlot(top - 1);
        focusCell(target);
        view_.FocusDataIndex = qint16(target.value());
        return true;
    }
    const CellIndex above = index.above();
    focusCell(isHexRow(above.row()) ? above : above.firstOfRow());
    return true;
}

bool GridView::moveDown(CellIndex index)
{
    const Slot top = layout_.topSlot();
    if (index.row() == kGridRows - 1) {
        if (top >= GridLayout::kMaxTopSlot)
            return false;
        const CellIndex target = isHexRecord(top + kGridRows) ? index : index.firstOfRow();
        scrollToSlot(top + 1);
        focusCell(target);
        view_.FocusDataIndex = qint16(target.value());
        return true;
    }
    const CellIndex below = index.below();
    focusCell(isHexRow(below.row()) ? below : below.firstOfRow());
    return true;
}

// Left and Backspace at the start of a HEX cell go to the end of the cell
// before, scrolling one byte left from the first column.
bool GridView::moveLeft(CellIndex index)
{
    GridLineEdit* edit = cell(index);
    if (!isHexRow(index.row()) || edit->cursorPosition() != 0 || edit->hasSelectedText())
        return false;
    if (!index.inFirstColumn()) {
        GridLineEdit* previous = cell(index.previous());
        focusCell(index.previous());
        previous->setCursorPosition(int(previous->text().size()));
        return true;
    }
    const int left = layout_.leftByte();
    if (left <= 0)
        return false;
    scrollToByte(left - 1);
    view_.FocusDataIndex = qint16(index.value());
    edit->setCursorPosition(int(edit->text().size()));
    return true;
}

bool GridView::moveRight(CellIndex index)
{
    GridLineEdit* edit = cell(index);
    if (!isHexRow(index.row()) || edit->cursorPosition() != edit->text().size())
        return false;
    if (!index.inLastColumn()) {
        focusCell(index.next());
        cell(index.next())->setCursorPosition(0);
        return true;
    }
    const int left = layout_.leftByte();
    if (left >= GridLayout::kMaxLeftByte)
        return false;
    scrollToByte(left + 1);
    view_.FocusDataIndex = qint16(index.value());
    edit->setCursorPosition(0);
    return true;
}

// Tab walks the row's cells, scrolling at the window's edges, and leaves
// the data for the title going forward and for the type box going back.
bool GridView::moveByTab(CellIndex index, bool shift)
{
    const RowControls& row = controls_.row(index.row());
    if (!isHexRow(index.row())) {
        giveFocus(shift ? static_cast<QWidget*>(row.type) : static_cast<QWidget*>(row.title));
        return true;
    }
    const int left = layout_.leftByte();
    if (!shift) {
        if (!index.inLastColumn()) {
            focusCell(index.next());
        } else if (left < GridLayout::kMaxLeftByte) {
            scrollToByte(left + 1);
            view_.FocusDataIndex = qint16(index.value());
        } else {
            giveFocus(row.title);
        }
        return true;
    }
    if (!index.inFirstColumn()) {
        focusCell(index.previous());
    } else if (left > 0) {
        scrollToByte(left - 1);
        view_.FocusDataIndex = qint16(index.value());
    } else {
        giveFocus(row.type);
    }
    return true;
}

} // namespace quorvane
