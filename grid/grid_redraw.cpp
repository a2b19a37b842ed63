#include "grid_redraw.h"

#include "core/hex_text.h"
#include "grid/grid_line_edit.h"
#include "grid/row_write_back.h"

#include <QComboBox>
#include <QLabel>

namespace quorvane {

namespace {

// Typing limit of an ASCII row's wide cell.
constexpr int kAsciiCellLength = 252;

void setLabelText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace

GridRedraw::GridRedraw(const Document& document, EditorState& state, GridViewState& view, const GridLayout& layout,
                       const GridControls& controls)
    : document_(document), state_(state), view_(view), layout_(layout), controls_(controls)
{
}

void GridRedraw::TableSet()
{
    const bool modified = state_.Modified;
    view_.TableReady = false;
    for (int r = 0; r < kGridRows; ++r)
        drawRow(r);
    state_.Modified = modified;
    view_.TableReady = true;
    DataInputEnable();
    markRows();
}

void GridRedraw::markRows()
{
    static const QString kChanged = QStringLiteral("background: #ffd27f; color: #7a3d00;");
    static const QString kSelected = QStringLiteral("background: palette(highlight); color: palette(highlighted-text);");
    static const QString kChangedAndSelected = kSelected + QStringLiteral(" border-left: 4px solid #ffa000;");
    for (int r = 0; r < kGridRows; ++r) {
        const Slot slot = layout_.slotOfRow(r);
        const bool changed = changed_ && changed_(slot);
        const bool selected = selected_ && selected_(slot);
        const QString& colours = selected ? (changed ? kChangedAndSelected : kSelected) : kChanged;
        const QString style = changed || selected ? QStringLiteral("QLabel { %1 }").arg(colours) : QString();
        QLabel* label = controls_.row(r).lineNo;
        if (label->styleSheet() != style)
            label->setStyleSheet(style);
    }
}

void GridRedraw::drawRow(int r)
{
    const Slot slot = layout_.slotOfRow(r);
    const KeyRecord& record = document_.table[slot];
    const RowControls& row = controls_.row(r);
    setLabelText(row.lineNo, QString::number(lineNumberOf(slot)));
    if (record.KeyType != kTypeHex)
        showRowAsAscii(r);
    else
        showRowAsHex(r);

    const CellIndex first = CellIndex::at(r, 0);
    if (record.inUse()) {
        row.title->setTextIfChanged(record.KeyTitle);
        row.address->setTextIfChanged(
            record.KeyAddrSet ? AddrToText(record.KeyAddrHigh, record.KeyAddrLow, document_.mode.current()) : QString());
        row.size->setTextIfChanged(QString::number(record.KeySize));
        if (record.KeyType != kTypeHex) {
            controls_.cell(first)->setTextIfChanged(record.KeyData);
        } else {
            for (int c = 0; c < kGridColumns; ++c)
                controls_.cell(first.inColumn(c))->setTextIfChanged(hexCellText(record.KeyData, layout_.byteOfColumn(c)));
        }
    } else {
        row.title->setTextIfChanged(QString());
        row.address->setTextIfChanged(QString());
        row.size->setTextIfChanged(QString());
        for (int c = 0; c < kGridColumns; ++c)
            controls_.cell(first.inColumn(c))->setTextIfChanged(QString());
    }
    row.type->setCurrentIndex(record.KeyType);
}

void GridRedraw::LabelSet()
{
    for (int c = 0; c < kGridColumns; ++c)
        setLabelText(controls_.byteHeaders[std::size_t(c)], twoDigitHex(layout_.byteOfColumn(c)));
}

void GridRedraw::DataInputEnable()
{
    for (int r = 0; r < kGridRows; ++r) {
        const KeyRecord& record = document_.table[layout_.slotOfRow(r)];
        const CellIndex first = CellIndex::at(r, 0);
        if (record.KeyType == kTypeHex) {
            for (int c = 0; c < kGridColumns; ++c) {
                const int byte = layout_.byteOfColumn(c);
                const bool open = hexCellOpen(record.KeyData.size(), byte);
                GridLineEdit* cell = controls_.cell(first.inColumn(c));
                cell->setReadOnlyIfChanged(!open);
                // Past a given size no byte can be typed either.
                cell->setShadedIfChanged(!open || (record.KeySize > 0 && byte >= record.KeySize));
            }
        } else {
            controls_.cell(first)->setReadOnlyIfChanged(false);
            controls_.cell(first)->setShadedIfChanged(false);
        }
    }
}

void GridRedraw::showRowAsHex(int row)
{
    GridLineEdit* first = controls_.cell(CellIndex::at(row, 0));
    first->setWidthIfChanged(layout_.cellWidth());
    first->setTypingLimit(0);
    first->setInputMethodsAllowed(false);
    for (int c = 1; c < kGridColumns; ++c)
        controls_.cell(CellIndex::at(row, c))->setVisibleIfChanged(true);
}

void GridRedraw::showRowAsAscii(int row)
{
    GridLineEdit* first = controls_.cell(CellIndex::at(row, 0));
    first->setWidthIfChanged(layout_.wideCellWidth());
    first->setTypingLimit(kAsciiCellLength);
    first->setInputMethodsAllowed(true);
    for (int c = 1; c < kGridColumns; ++c)
        controls_.cell(CellIndex::at(row, c))->setVisibleIfChanged(false);
}

} // namespace quorvane
