// Editing of the data cells: the character filter, the write-back after a
// change with its caret rules, and the navigation keys.
#include "grid_view.h"

#include "grid/edit_rules.h"
#include "grid/grid_line_edit.h"
#include "grid/key_codes.h"

#include <QComboBox>
#include <QScrollBar>

namespace quorvane {

void GridView::Text_data_GotFocus(CellIndex index)
{
    view_.FocusDataIndex = qint16(index.value());
}

char16_t GridView::Text_data_KeyPress(CellIndex index, char16_t code)
{
    const KeyRecord& rec = recordOfCell(index);
    const bool room = recordHasRoom(rec, cell(index)->hasSelectedText());
    return filterDataCharacter(rec.KeyType != kTypeHex, room, code);
}

void GridView::Text_data_Change(CellIndex index)
{
    if (!view_.TableReady)
        return; // raised by a redraw
    markModified();
    GridLineEdit* edit = cell(index);
    if (recordOfCell(index).KeyType != kTypeHex) {
        StoreRowData(qint16(index.value()));
        redraw();
        return;
    }
    const qsizetype digits = edit->text().size();
    const int caret = edit->cursorPosition();
    if (digits == 2) {
        // The cell is complete: move on as the Right arrow would. The redraw
        // leaves an unchanged cell (and its caret at the end) alone.
        StoreRowData(qint16(index.value()));
        redraw();
        Text_data_KeyDown(index, kKeyRight, false);
    } else if (digits > 2) {
        const int hoffsetBefore = hScroll_->value();
        StoreRowData(qint16(index.value()));
        redraw();
        placeCaretAfterInsertion(index, caret, hoffsetBefore);
    } else {
        StoreRowData(qint16(index.value()));
        redraw();
        edit->setCursorPosition(caret);
    }
}

// After typing into a full cell or pasting, the caret follows the inserted
// text into the cell that now shows its byte, scrolling right if needed.
void GridView::placeCaretAfterInsertion(CellIndex index, int caret, int hoffsetBefore)
{
    const InsertionCaret target = caretAfterInsertion(hoffsetBefore, index.column(), caret,
                                                      recordOfCell(index).KeySize, hScroll_->maximum());
    if (target.hscroll != hScroll_->value())
        setHScroll(target.hscroll);
    const CellIndex targetCell(index.firstOfRow().value() + target.column);
    focusCell(targetCell);
    cell(targetCell)->setCursorPosition(target.position);
}

bool GridView::Text_data_KeyDown(CellIndex index, int keyCode, bool shift)
{
    switch (keyCode) {
    case kKeyUp: return dataKeyUp(index);
    case kKeyDown: return dataKeyDown(index);
    case kKeyLeft:
    case kKeyBackspace: return dataKeyLeft(index);
    case kKeyRight: return dataKeyRight(index);
    case kKeyTab: return dataKeyTab(index, shift);
    default: return false;
    }
}

// Vertical moves go one record at a time; the target row's type decides
// whether the focus lands in the same column or in the row's wide cell.
bool GridView::dataKeyUp(CellIndex index)
{
    const int v = vScroll_->value();
    if (index.row() == 0) {
        if (v <= vScroll_->minimum())
            return false;
        const CellIndex target = isHexRecord(v - 1) ? index : CellIndex(0);
        setVScroll(v - 1);
        focusCell(target);
        view_.FocusDataIndex = qint16(target.value());
        return true;
    }
    const CellIndex above(index.value() - kGridColumns);
    focusCell(isHexRecord(rowSlot_[std::size_t(index.row())] - 1) ? above : above.firstOfRow());
    return true;
}

bool GridView::dataKeyDown(CellIndex index)
{
    const int v = vScroll_->value();
    if (index.row() == kGridRows - 1) {
        if (v >= vScroll_->maximum())
            return false;
        const CellIndex target = isHexRecord(v + kGridRows) ? index : index.firstOfRow();
        setVScroll(v + 1);
        focusCell(target);
        view_.FocusDataIndex = qint16(target.value());
        return true;
    }
    const CellIndex below(index.value() + kGridColumns);
    focusCell(isHexRecord(rowSlot_[std::size_t(index.row())] + 1) ? below : below.firstOfRow());
    return true;
}

// Left and Backspace at the start of a HEX cell go to the end of the cell
// before, scrolling one byte left from the first column.
bool GridView::dataKeyLeft(CellIndex index)
{
    GridLineEdit* edit = cell(index);
    if (!isHexRecord(rowSlot_[std::size_t(index.row())]) || edit->cursorPosition() != 0 || edit->hasSelectedText())
        return false;
    if (!index.inFirstColumn()) {
        GridLineEdit* previous = cell(CellIndex(index.value() - 1));
        focusCell(CellIndex(index.value() - 1));
        previous->setCursorPosition(int(previous->text().size()));
        return true;
    }
    const int h = hScroll_->value();
    if (h <= hScroll_->minimum())
        return false;
    setHScroll(h - 1);
    view_.FocusDataIndex = qint16(index.value());
    edit->setCursorPosition(int(edit->text().size()));
    return true;
}

bool GridView::dataKeyRight(CellIndex index)
{
    GridLineEdit* edit = cell(index);
    if (!isHexRecord(rowSlot_[std::size_t(index.row())]) || edit->cursorPosition() != edit->text().size())
        return false;
    if (!index.inLastColumn()) {
        focusCell(CellIndex(index.value() + 1));
        cell(CellIndex(index.value() + 1))->setCursorPosition(0);
        return true;
    }
    const int h = hScroll_->value();
    if (h >= hScroll_->maximum())
        return false;
    setHScroll(h + 1);
    view_.FocusDataIndex = qint16(index.value());
    edit->setCursorPosition(0);
    return true;
}

// Tab walks the row's cells, scrolling at the window's edges, and leaves
// the data for the title going forward and for the type box going back.
bool GridView::dataKeyTab(CellIndex index, bool shift)
{
    const Row& row = rows_[std::size_t(index.row())];
    if (!isHexRecord(rowSlot_[std::size_t(index.row())])) {
        giveFocus(shift ? static_cast<QWidget*>(row.type) : static_cast<QWidget*>(row.title));
        return true;
    }
    const int h = hScroll_->value();
    if (!shift) {
        if (!index.inLastColumn()) {
            focusCell(CellIndex(index.value() + 1));
        } else if (h < hScroll_->maximum()) {
            setHScroll(h + 1);
            view_.FocusDataIndex = qint16(index.value());
        } else {
            giveFocus(row.title);
        }
        return true;
    }
    if (!index.inFirstColumn()) {
        focusCell(CellIndex(index.value() - 1));
    } else if (h > hScroll_->minimum()) {
        setHScroll(h - 1);
        view_.FocusDataIndex = qint16(index.value());
    } else {
        giveFocus(row.type);
    }
    return true;
}

} // namespace quorvane
