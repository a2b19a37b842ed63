// The long jumps: a record's first and last byte, its title, a record
// anywhere in the table.
#include "grid_view.h"

#include "grid/grid_line_edit.h"

namespace quorvane {

std::optional<int> GridView::focusedRow() const
{
    const std::optional<ControlId> id = input_->idOf(window()->focusWidget());
    if (!id)
        return std::nullopt;
    return id->field == Field::Data ? CellIndex(id->index).row() : id->index;
}

// The row's first cell takes the focus before the edge is looked up: a
// size field left on the way has clamped the size by then.
void GridView::goToRecordEdge(int row, RecordEdge edge)
{
    const CellIndex first = CellIndex::at(row, 0);
    moveFocus(cell(first));
    CellIndex target = first;
    if (isHexRow(row)) {
        const int byte = edgeByte(recordOfRow(row), edge);
        const int left = leftByteShowing(byte, layout_.leftByte());
        target = first.inColumn(byte - left);
        moveFocus(cell(target));
        scrollToByte(left);
    }
    GridLineEdit* edit = cell(target);
    edit->setCursorPosition(edge == RecordEdge::First ? 0 : int(edit->text().size()));
}

void GridView::goToTitle(int row)
{
    moveFocus(controls_.row(row).title);
}

void GridView::showRecord(Slot slot, RecordField field)
{
    const Slot top = topSlotShowing(slot, layout_.topSlot());
    const RowControls& row = controls_.row(slot - top);
    moveFocus(field == RecordField::Title ? row.title : row.address);
    scrollToSlot(top);
}

void GridView::moveFocus(QWidget* target)
{
    QWidget* focused = window()->focusWidget();
    const bool focusEventsFollow =
        focused != target && (focused != nullptr ? focused->hasFocus() : window()->isActiveWindow());
    const std::optional<ControlId> leaving = input_->idOf(focused);
    giveFocus(target);
    if (focusEventsFollow)
        return;
    if (leaving)
        runLeaveRules(*leaving);
    if (const std::optional<ControlId> entering = input_->idOf(target))
        runEnterRules(*entering);
}

void GridView::runEnterRules(const ControlId& id)
{
    switch (id.field) {
    case Field::Title: onTitleFocusIn(id.index); break;
    case Field::Address: onAddressFocusIn(id.index); break;
    case Field::Size: onSizeFocusIn(id.index); break;
    case Field::Data: onCellFocusIn(CellIndex(id.index)); break;
    case Field::Type: break;
    }
}

} // namespace quorvane
