#include "grid_view.h"

#include "core/hex_text.h"
#include "grid/edit_rules.h"
#include "grid/grid_line_edit.h"
#include "grid/row_write_back.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>

namespace quorvane {

namespace {

// In the order of Heading.
const QString kHeadingTexts[kHeadingCount] = {QStringLiteral("Title"), QStringLiteral("Address"),
                                              QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Data")};

constexpr int kAsciiCellLength = 252;

FontMeasures measuresOf(const QFont& font)
{
    const QFontMetrics fm(font);
    return FontMeasures{.digitWidth = fm.horizontalAdvance(QLatin1Char('0')),
                        .lineHeight = fm.height(),
                        .typeNameWidth = fm.horizontalAdvance(QStringLiteral("ASCII"))};
}

void setLabelText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

QString objectNameOf(const char* control, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(index);
}

} // namespace

GridView::GridView(Document& document, EditorState& state, std::function<void()> captionChanged, QWidget* parent)
    : QWidget(parent), document_(document), state_(state), captionChanged_(std::move(captionChanged)),
      input_(new GridInputRouter(*this, this))
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout_ = GridLayout(measuresOf(font()));
    createControls();
    placeControls();
    for (int r = 0; r < kGridRows; ++r)
        connectRow(r);
    for (int i = 0; i < kGridCells; ++i)
        connectCell(i);
    connect(recordScroll_, &QScrollBar::valueChanged, this, &GridView::onRecordScroll);
    connect(byteScroll_, &QScrollBar::valueChanged, this, &GridView::onByteScroll);
    for (QScrollBar* bar : {recordScroll_, byteScroll_})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar] { leaveRecordFieldBefore(bar); });
}

GridView::~GridView() = default;

void GridView::createControls()
{
    for (int r = 0; r < kGridRows; ++r) {
        Row& row = rows_[std::size_t(r)];
        row.lineNo = new QLabel(this);
        row.lineNo->setObjectName(objectNameOf("Text_lineNo", r));
        row.lineNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.address = new GridLineEdit(this);
        row.address->setObjectName(objectNameOf("Text_address", r));
        row.size = new GridLineEdit(this);
        row.size->setObjectName(objectNameOf("Text_size", r));
        row.type = new QComboBox(this);
        row.type->setObjectName(objectNameOf("Combo_type", r));
        row.type->setFocusPolicy(Qt::StrongFocus); // a wheel turn is not a choice
        row.title = new GridLineEdit(this);
        row.title->setObjectName(objectNameOf("Text_title", r));
        input_->watch(row.address, {Field::Address, r});
        input_->watch(row.size, {Field::Size, r});
        input_->watch(row.type, {Field::Type, r});
        input_->watch(row.title, {Field::Title, r});
        for (GridLineEdit* field : {row.address, row.size}) {
            field->setContextMenuPolicy(Qt::NoContextMenu);
            field->setInputMethodsAllowed(false);
        }
        for (int c = 0; c < kGridColumns; ++c) {
            const int i = CellIndex::at(r, c).value();
            auto* edit = new GridLineEdit(this);
            edit->setObjectName(objectNameOf("Text_data", i));
            edit->setAlignment(Qt::AlignLeft);
            edit->setInputMethodsAllowed(false); // an ASCII layout allows them in its wide cell
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            cells_[std::size_t(i)] = edit;
            input_->watch(edit, {Field::Data, i});
        }
    }
    for (int c = 0; c < kGridColumns; ++c) {
        byteHeaders_[std::size_t(c)] = new QLabel(this);
        byteHeaders_[std::size_t(c)]->setObjectName(objectNameOf("Label_DataIndex", c));
        byteHeaders_[std::size_t(c)]->setAlignment(Qt::AlignCenter);
    }
    for (int h = 0; h < kHeadingCount; ++h) {
        headings_[std::size_t(h)] = new QLabel(kHeadingTexts[h], this);
        headings_[std::size_t(h)]->setObjectName(objectNameOf("Label3", h));
    }
    recordScroll_ = new QScrollBar(Qt::Vertical, this);
    recordScroll_->setObjectName(QStringLiteral("VScroll1"));
    recordScroll_->setRange(0, GridLayout::kMaxTopSlot);
    byteScroll_ = new QScrollBar(Qt::Horizontal, this);
    byteScroll_->setObjectName(QStringLiteral("HScroll1"));
    byteScroll_->setRange(0, GridLayout::kMaxLeftByte);
}

// Absolute positions, as the row layouts need: an ASCII row's first cell is
// widened over the row.
void GridView::placeControls()
{
    for (int h = 0; h < kHeadingCount; ++h)
        headings_[std::size_t(h)]->setGeometry(layout_.headingRect(Heading(h)));
    for (int c = 0; c < kGridColumns; ++c)
        byteHeaders_[std::size_t(c)]->setGeometry(layout_.dataIndexRect(c));
    for (int r = 0; r < kGridRows; ++r) {
        Row& row = rows_[std::size_t(r)];
        row.lineNo->setGeometry(layout_.lineNumberRect(r));
        row.address->setGeometry(layout_.addressRect(r));
        row.size->setGeometry(layout_.sizeRect(r));
        row.type->setGeometry(layout_.typeRect(r));
        for (int c = 0; c < kGridColumns; ++c)
            cell(CellIndex::at(r, c))->setGeometry(layout_.cellRect(CellIndex::at(r, c)));
        row.title->setGeometry(layout_.titleRect(r));
    }
    recordScroll_->setGeometry(layout_.recordScrollRect());
    byteScroll_->setGeometry(layout_.byteScrollRect());
    setFixedSize(layout_.gridSize());
}

void GridView::connectRow(int r)
{
    const Row& row = rows_[std::size_t(r)];
    connect(row.title, &QLineEdit::textChanged, this, [this, r] { onTitleChanged(r); });
    connect(row.title, &GridLineEdit::gotFocus, this, [this, r] { onTitleFocusIn(r); });
    connect(row.title, &GridLineEdit::lostFocus, this, [this, r] { onTitleFocusOut(r); });
    connect(row.address, &QLineEdit::textChanged, this, [this, r] { onAddressChanged(r); });
    connect(row.address, &GridLineEdit::gotFocus, this, [this, r] { onAddressFocusIn(r); });
    connect(row.address, &GridLineEdit::lostFocus, this, [this, r] { onAddressFocusOut(r); });
    connect(row.size, &QLineEdit::textChanged, this, [this, r] { onSizeChanged(r); });
    connect(row.size, &GridLineEdit::gotFocus, this, [this, r] { onSizeFocusIn(r); });
    connect(row.size, &GridLineEdit::lostFocus, this, [this, r] { onSizeFocusOut(r); });
    // Only the user's choice, even of the item already shown; the index set
    // by a redraw or by the set-back is no choice.
    connect(row.type, &QComboBox::activated, this, [this, r] { onTypeChosen(r); });
}

// textChanged, not textEdited: the handlers must also see the changes made
// by code (a redraw, the address padding) and tell them apart by TableReady.
void GridView::connectCell(int i)
{
    GridLineEdit* edit = cells_[std::size_t(i)];
    connect(edit, &QLineEdit::textChanged, this, [this, i] { onCellChanged(CellIndex(i)); });
    connect(edit, &GridLineEdit::gotFocus, this, [this, i] { onCellFocusIn(CellIndex(i)); });
}

void GridView::prepareRows()
{
    for (Row& row : rows_) {
        // Filling a list selects its first item; at start-up that is not a choice.
        const QSignalBlocker blocker(row.type);
        row.type->clear();
        row.type->insertItem(0, QStringLiteral("HEX"));
        row.type->insertItem(1, QStringLiteral("ASCII"));
        row.type->setCurrentIndex(0);
        row.address->setTypingLimit(GridLayout::kAddressChars);
        row.size->setTypingLimit(GridLayout::kSizeChars);
    }
}

void GridView::clearDataMaxLengths()
{
    for (GridLineEdit* edit : cells_)
        edit->setTypingLimit(0);
}

void GridView::setAddressMaxLength(int length)
{
    for (Row& row : rows_)
        row.address->setTypingLimit(length);
}

QScrollBar* GridView::vScroll() const { return recordScroll_; }
QScrollBar* GridView::hScroll() const { return byteScroll_; }
QRect GridView::lineNumberHeadingRect() const { return layout_.lineNumberHeadingRect(); }

void GridView::setFileDropHandler(std::function<void(const QMimeData*)> handler)
{
    const bool takesDrops = bool(handler);
    input_->setFileDropHandler(std::move(handler));
    for (GridLineEdit* edit : cells_)
        edit->setAcceptDrops(takesDrops);
}

KeyRecord& GridView::recordOfRow(int row)
{
    return document_.table[layout_.slotOfRow(row)];
}

bool GridView::isHexRecord(int slot) const
{
    return document_.table[slot].KeyType == kTypeHex;
}

void GridView::TableSet()
{
    const bool modified = state_.Modified;
    view_.TableReady = false;
    for (int r = 0; r < kGridRows; ++r)
        drawRow(r);
    state_.Modified = modified;
    view_.TableReady = true;
    DataInputEnable();
}

void GridView::drawRow(int r)
{
    const Slot slot = layout_.slotOfRow(r);
    const KeyRecord& rec = document_.table[slot];
    const Row& row = rows_[std::size_t(r)];
    setLabelText(row.lineNo, QString::number(lineNumberOf(slot)));
    if (rec.KeyType != kTypeHex)
        showRowAsAscii(r);
    else
        showRowAsHex(r);

    const CellIndex first = CellIndex::at(r, 0);
    if (rec.inUse()) {
        row.title->setTextIfChanged(rec.KeyTitle);
        row.address->setTextIfChanged(
            rec.KeyAddrSet ? AddrToText(rec.KeyAddrHigh, rec.KeyAddrLow, document_.mode.current()) : QString());
        row.size->setTextIfChanged(QString::number(rec.KeySize));
        if (rec.KeyType != kTypeHex) {
            cell(first)->setTextIfChanged(rec.KeyData);
        } else {
            for (int c = 0; c < kGridColumns; ++c)
                cell(first.inColumn(c))->setTextIfChanged(hexCellText(rec.KeyData, layout_.byteOfColumn(c)));
        }
    } else {
        row.title->setTextIfChanged(QString());
        row.address->setTextIfChanged(QString());
        row.size->setTextIfChanged(QString());
        for (int c = 0; c < kGridColumns; ++c)
            cell(first.inColumn(c))->setTextIfChanged(QString());
    }
    row.type->setCurrentIndex(rec.KeyType);
}

void GridView::redraw()
{
    TableSet();
}

void GridView::resetView()
{
    scrollToSlot(0);
    scrollToByte(0);
    TableSet();
    LabelSet();
    view_.TableReady = true;
}

void GridView::LabelSet()
{
    for (int c = 0; c < kGridColumns; ++c)
        setLabelText(byteHeaders_[std::size_t(c)], twoDigitHex(layout_.byteOfColumn(c)));
}

void GridView::DataInputEnable()
{
    for (int r = 0; r < kGridRows; ++r) {
        const KeyRecord& rec = recordOfRow(r);
        const CellIndex first = CellIndex::at(r, 0);
        if (rec.KeyType == kTypeHex) {
            for (int c = 0; c < kGridColumns; ++c)
                cell(first.inColumn(c))->setReadOnlyIfChanged(!hexCellOpen(rec.KeyData.size(), layout_.byteOfColumn(c)));
        } else {
            cell(first)->setReadOnlyIfChanged(false);
        }
    }
}

void GridView::CommitGrid()
{
    for (int r = 0; r < kGridRows; ++r)
        StoreRowData(r);
    redraw();
}

void GridView::StoreRowData(int row)
{
    KeyRecord& rec = recordOfRow(row);
    RowCellTexts texts;
    for (int c = 0; c < kGridColumns; ++c)
        texts[std::size_t(c)] = cell(CellIndex::at(row, c))->text();
    rec.KeyData = rowDataAfterEdit(rec, layout_.leftByte(), texts);
}

void GridView::showRowAsHex(int row)
{
    GridLineEdit* first = cell(CellIndex::at(row, 0));
    first->setWidthIfChanged(layout_.cellWidth());
    first->setTypingLimit(0);
    first->setInputMethodsAllowed(false);
    for (int c = 1; c < kGridColumns; ++c)
        cell(CellIndex::at(row, c))->setVisibleIfChanged(true);
}

void GridView::showRowAsAscii(int row)
{
    GridLineEdit* first = cell(CellIndex::at(row, 0));
    first->setWidthIfChanged(layout_.wideCellWidth());
    first->setTypingLimit(kAsciiCellLength);
    first->setInputMethodsAllowed(true);
    for (int c = 1; c < kGridColumns; ++c)
        cell(CellIndex::at(row, c))->setVisibleIfChanged(false);
}

// The focus follows first, while the layout still describes the rows on
// screen: a field that loses the focus applies its rules to the record it
// shows, not to the one about to scroll into its row.
void GridView::onRecordScroll(Slot topSlot)
{
    if (view_.FocusDataIndex != -1) {
        const CellIndex focused(view_.FocusDataIndex);
        const bool asciiNow = document_.table[topSlot + focused.row()].KeyType == kTypeAscii;
        focusCell(asciiNow ? focused.firstOfRow() : focused);
    }
    layout_.setTopSlot(topSlot);
    TableSet();
}

void GridView::onByteScroll(int leftByte)
{
    layout_.setLeftByte(leftByte);
    TableSet();
    LabelSet();
}

// A scroll bar takes no focus, so a record field would keep it while its
// row comes to show another record, and its leave rules (size clamp and
// cut, address padding) would later hit that record. The field is left
// before the user's scroll moves the grid.
void GridView::leaveRecordFieldBefore(QScrollBar* bar)
{
    QWidget* focused = window()->focusWidget();
    const std::optional<ControlId> id = input_->idOf(focused);
    if (!id || id->field == Field::Data || id->field == Field::Type)
        return;
    const bool focusEventsFollow = focused->hasFocus(); // not in an inactive window
    bar->setFocus(Qt::MouseFocusReason);
    if (!focusEventsFollow)
        runLeaveRules(*id);
}

void GridView::runLeaveRules(const ControlId& id)
{
    switch (id.field) {
    case Field::Title: onTitleFocusOut(id.index); break;
    case Field::Address: onAddressFocusOut(id.index); break;
    case Field::Size: onSizeFocusOut(id.index); break;
    case Field::Type:
    case Field::Data: break;
    }
}

void GridView::scrollToSlot(Slot topSlot) { recordScroll_->setValue(topSlot); }
void GridView::scrollToByte(int leftByte) { byteScroll_->setValue(leftByte); }

void GridView::focusCell(CellIndex index) { giveFocus(cell(index)); }

// Focus moved by the handlers is not a Tab traversal: Qt would select the
// whole text of a field reached by Tab, the editor keeps the caret.
void GridView::giveFocus(QWidget* widget) { widget->setFocus(Qt::OtherFocusReason); }

void GridView::markModified()
{
    state_.Modified = true;
    if (captionChanged_)
        captionChanged_();
}

} // namespace quorvane
