// Editing of the record fields: title, address, size and type.
#include "grid_view.h"

#include "core/hex_text.h"
#include "grid/edit_rules.h"
#include "grid/grid_line_edit.h"
#include "grid/key_codes.h"

#include <QComboBox>

namespace quorvane {

void GridView::onTitleChanged(int row)
{
    if (!view_.TableReady)
        return;
    recordOfRow(row).KeyTitle = controls_.row(row).title->text();
    markModified();
    recordEdit(row, Field::Title);
}

void GridView::onTitleFocusIn(int)
{
    view_.FocusDataIndex = -1;
}

void GridView::onTitleFocusOut(int row)
{
    controls_.row(row).title->setCursorPosition(0);
}

void GridView::onTitleKeyDown(int row, int keyCode, bool shift)
{
    if (keyCode != kKeyTab)
        return;
    if (shift) {
        const CellIndex first = CellIndex::at(row, 0);
        focusCell(isHexRow(row) ? first.lastOfRow() : first);
        return;
    }
    if (row < kGridRows - 1) {
        giveFocus(controls_.row(row + 1).address);
        return;
    }
    if (layout_.topSlot() >= GridLayout::kMaxTopSlot)
        return;
    scrollToSlot(layout_.topSlot() + 1);
    giveFocus(controls_.row(kGridRows - 1).address);
}

void GridView::onAddressChanged(int row)
{
    if (!view_.TableReady)
        return;
    KeyRecord& record = recordOfRow(row);
    const QString text = controls_.row(row).address->text();
    record.KeyAddrHigh = GetAddrHigh(text);
    record.KeyAddrLow = GetAddrLow(text);
    state_.Modified = true;
    record.KeyAddrSet = !text.isEmpty();
    if (captionChanged_)
        captionChanged_();
    recordEdit(row, Field::Address);
}

void GridView::onAddressFocusIn(int row)
{
    GridLineEdit* field = controls_.row(row).address;
    field->setCursorPosition(int(field->text().size()));
    view_.FocusDataIndex = -1;
}

// Leaving the field rewrites the address from the digits shown, so in a
// narrower address size the digits the field does not show are dropped.
void GridView::onAddressFocusOut(int row)
{
    GridLineEdit* field = controls_.row(row).address;
    KeyRecord& record = recordOfRow(row);
    const QString text = field->text();
    const qint16 high = GetAddrHigh(text);
    const qint16 low = GetAddrLow(text);
    // Dropped digits are an edit: the document must not be given up unasked.
    if (high != record.KeyAddrHigh || low != record.KeyAddrLow)
        state_.Modified = true;
    record.KeyAddrHigh = high;
    record.KeyAddrLow = low;
    if (captionChanged_)
        captionChanged_();
    if (record.KeyAddrSet)
        field->setTextIfChanged(paddedAddress(text, document_.mode.current()));
    recordEdit(row, Field::Address);
}

void GridView::onAddressKeyDown(int row, int keyCode, bool shift)
{
    if (keyCode != kKeyTab)
        return;
    if (!shift) {
        giveFocus(controls_.row(row).size);
        return;
    }
    if (row > 0) {
        giveFocus(controls_.row(row - 1).title);
        return;
    }
    if (layout_.topSlot() <= 0)
        return;
    // Leave the field before the grid moves: its focus-loss rules belong to
    // the record being left, not to the one that scrolls into this row.
    giveFocus(controls_.row(0).title);
    scrollToSlot(layout_.topSlot() - 1);
}

void GridView::onSizeChanged(int row)
{
    if (!view_.TableReady)
        return;
    recordOfRow(row).KeySize = sizeFromText(controls_.row(row).size->text());
    markModified();
    recordEdit(row, Field::Size);
}

void GridView::onSizeFocusIn(int row)
{
    GridLineEdit* field = controls_.row(row).size;
    field->setCursorPosition(int(field->text().size()));
    view_.FocusDataIndex = -1;
}

// A size is bounded by the largest S-record of the address size; leaving
// the field also cuts the row's data to the size now given.
void GridView::onSizeFocusOut(int row)
{
    GridLineEdit* field = controls_.row(row).size;
    KeyRecord& record = recordOfRow(row);
    record.KeySize = sizeFromText(field->text());
    const int limit = dataLimit(document_.mode.current());
    if (record.KeySize > limit) {
        record.KeySize = qint16(limit);
        field->setTextIfChanged(QString::number(limit));
    }
    if (record.KeySize < 0) {
        record.KeySize = 0;
        field->setTextIfChanged(QStringLiteral("0"));
    }
    StoreRowData(row);
    redraw();
    recordEdit(row, Field::Size);
}

void GridView::onSizeKeyDown(int row, int keyCode, bool shift)
{
    if (keyCode != kKeyTab)
        return;
    const RowControls& r = controls_.row(row);
    giveFocus(shift ? static_cast<QWidget*>(r.address) : static_cast<QWidget*>(r.type));
}

// The type of a record that holds data cannot change: the box is set back.
// Choosing the type already shown is a choice too, and stores nothing new.
void GridView::onTypeChosen(int row)
{
    if (!view_.TableReady)
        return;
    QComboBox* box = controls_.row(row).type;
    KeyRecord& record = recordOfRow(row);
    if (box->currentIndex() < 0)
        return; // a type from a file that the list does not hold; nothing was chosen
    if (box->currentIndex() != record.KeyType && !record.KeyData.isEmpty())
        box->setCurrentIndex(record.KeyType);
    if (box->currentIndex() >= 0)
        record.KeyType = qint16(box->currentIndex());
    redraw();
    view_.FocusDataIndex = -1;
    recordEdit(row, Field::Type);
}

void GridView::onTypeKeyDown(int row, int keyCode, bool shift)
{
    if (keyCode != kKeyTab)
        return;
    if (shift)
        giveFocus(controls_.row(row).size);
    else
        focusCell(CellIndex::at(row, 0));
}

} // namespace quorvane
