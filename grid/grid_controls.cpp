#include "grid_controls.h"

#include "grid/grid_line_edit.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

namespace quorvane {

namespace {

// In the order of Heading.
const QString kHeadingTexts[kHeadingCount] = {QStringLiteral("Title"), QStringLiteral("Address"),
                                              QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Data")};

QString objectNameOf(const char* control, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(index);
}

} // namespace

void GridControls::create(QWidget* grid)
{
    for (int r = 0; r < kGridRows; ++r) {
        RowControls& row = rows[std::size_t(r)];
        row.lineNo = new QLabel(grid);
        row.lineNo->setObjectName(objectNameOf("Text_lineNo", r));
        row.lineNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.address = new GridLineEdit(grid);
        row.address->setObjectName(objectNameOf("Text_address", r));
        row.size = new GridLineEdit(grid);
        row.size->setObjectName(objectNameOf("Text_size", r));
        row.type = new QComboBox(grid);
        row.type->setObjectName(objectNameOf("Combo_type", r));
        row.type->setFocusPolicy(Qt::StrongFocus); // a wheel turn is not a choice
        row.title = new GridLineEdit(grid);
        row.title->setObjectName(objectNameOf("Text_title", r));
        // Text that bypasses the key filters would reach the write-back unchecked.
        for (GridLineEdit* field : {row.address, row.size}) {
            field->setContextMenuPolicy(Qt::NoContextMenu);
            field->setInputMethodsAllowed(false);
        }
        for (int c = 0; c < kGridColumns; ++c) {
            const int i = CellIndex::at(r, c).value();
            auto* edit = new GridLineEdit(grid);
            edit->setObjectName(objectNameOf("Text_data", i));
            edit->setAlignment(Qt::AlignLeft);
            edit->setInputMethodsAllowed(false); // an ASCII layout allows them in its wide cell
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            cells[std::size_t(i)] = edit;
        }
    }
    for (int c = 0; c < kGridColumns; ++c) {
        byteHeaders[std::size_t(c)] = new QLabel(grid);
        byteHeaders[std::size_t(c)]->setObjectName(objectNameOf("Label_DataIndex", c));
        byteHeaders[std::size_t(c)]->setAlignment(Qt::AlignCenter);
    }
    for (int h = 0; h < kHeadingCount; ++h) {
        headings[std::size_t(h)] = new QLabel(kHeadingTexts[h], grid);
        headings[std::size_t(h)]->setObjectName(objectNameOf("Label3", h));
    }
    recordScroll = new QScrollBar(Qt::Vertical, grid);
    recordScroll->setObjectName(QStringLiteral("VScroll1"));
    recordScroll->setRange(0, GridLayout::kMaxTopSlot);
    byteScroll = new QScrollBar(Qt::Horizontal, grid);
    byteScroll->setObjectName(QStringLiteral("HScroll1"));
    byteScroll->setRange(0, GridLayout::kMaxLeftByte);
}

// Absolute positions, as the row layouts need: an ASCII row's first cell is
// widened over the row.
void GridControls::place(const GridLayout& layout)
{
    for (int h = 0; h < kHeadingCount; ++h)
        headings[std::size_t(h)]->setGeometry(layout.headingRect(Heading(h)));
    for (int c = 0; c < kGridColumns; ++c)
        byteHeaders[std::size_t(c)]->setGeometry(layout.dataIndexRect(c));
    for (int r = 0; r < kGridRows; ++r) {
        const RowControls& controls = row(r);
        controls.lineNo->setGeometry(layout.lineNumberRect(r));
        controls.address->setGeometry(layout.addressRect(r));
        controls.size->setGeometry(layout.sizeRect(r));
        controls.type->setGeometry(layout.typeRect(r));
        for (int c = 0; c < kGridColumns; ++c)
            cell(CellIndex::at(r, c))->setGeometry(layout.cellRect(CellIndex::at(r, c)));
    }
    placeTitleColumn(layout);
    byteScroll->setGeometry(layout.byteScrollRect());
}

void GridControls::placeTitleColumn(const GridLayout& layout)
{
    headings[std::size_t(Heading::Title)]->setGeometry(layout.headingRect(Heading::Title));
    for (int r = 0; r < kGridRows; ++r)
        row(r).title->setGeometry(layout.titleRect(r));
    recordScroll->setGeometry(layout.recordScrollRect());
}

} // namespace quorvane
