#include "grid_view.h"

#include "grid/grid_line_edit.h"
#include "grid/row_write_back.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QResizeEvent>
#include <QWheelEvent>

namespace quorvane {

namespace {

FontMeasures measuresOf(const QFont& font)
{
    const QFontMetrics fm(font);
    return FontMeasures{.digitWidth = fm.horizontalAdvance(QLatin1Char('0')),
                        .lineHeight = fm.height(),
                        .typeNameWidth = fm.horizontalAdvance(QStringLiteral("ASCII"))};
}

} // namespace

GridView::GridView(Document& document, EditorState& state, std::function<void()> captionChanged, QWidget* parent)
    : QWidget(parent), document_(document), state_(state), captionChanged_(std::move(captionChanged)),
      input_(new GridInputRouter(*this, this))
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout_ = GridLayout(measuresOf(font()));
    controls_.create(this);
    controls_.place(layout_);
    setMinimumSize(layout_.baseSize());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    watchControls();
    for (int r = 0; r < kGridRows; ++r)
        connectRow(r);
    for (int i = 0; i < kGridCells; ++i)
        connectCell(i);
    connect(controls_.recordScroll, &QScrollBar::valueChanged, this, &GridView::onRecordScroll);
    connect(controls_.byteScroll, &QScrollBar::valueChanged, this, &GridView::onByteScroll);
    for (QScrollBar* bar : {controls_.recordScroll, controls_.byteScroll})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar] { leaveRecordFieldBefore(bar); });
    for (const RowControls& row : controls_.rows)
        row.lineNo->installEventFilter(this);
    redraw_.setSelectedMarker([this](Slot slot) { return isSelected(slot); });
    // Working in a record outside the selection ends it.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (const auto field = fieldOf(now); field && !isSelected(field->first))
            clearRowSelection();
    });
}

// The application's focus moves while the grid is taken down.
GridView::~GridView()
{
    disconnect(focusWatch_);
}

void GridView::watchControls()
{
    for (int r = 0; r < kGridRows; ++r) {
        input_->watch(controls_.row(r).address, {Field::Address, r});
        input_->watch(controls_.row(r).size, {Field::Size, r});
        input_->watch(controls_.row(r).type, {Field::Type, r});
        input_->watch(controls_.row(r).title, {Field::Title, r});
    }
    for (int i = 0; i < kGridCells; ++i)
        input_->watch(cell(CellIndex(i)), {Field::Data, i});
}

void GridView::connectRow(int r)
{
    const RowControls& row = controls_.row(r);
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
    GridLineEdit* edit = cell(CellIndex(i));
    connect(edit, &QLineEdit::textChanged, this, [this, i] { onCellChanged(CellIndex(i)); });
    connect(edit, &GridLineEdit::gotFocus, this, [this, i] { onCellFocusIn(CellIndex(i)); });
}

void GridView::prepareRows()
{
    for (const RowControls& row : controls_.rows) {
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
    for (GridLineEdit* edit : controls_.cells)
        edit->setTypingLimit(0);
}

void GridView::setAddressMaxLength(int length)
{
    for (const RowControls& row : controls_.rows)
        row.address->setTypingLimit(length);
}

void GridView::setFileDropHandler(std::function<void(const QMimeData*)> handler)
{
    const bool takesDrops = bool(handler);
    input_->setFileDropHandler(std::move(handler));
    for (GridLineEdit* edit : controls_.cells)
        edit->setAcceptDrops(takesDrops);
}

KeyRecord& GridView::recordOfRow(int row)
{
    return document_.table[layout_.slotOfRow(row)];
}

bool GridView::isHexRecord(Slot slot) const
{
    return document_.table[slot].KeyType == kTypeHex;
}

void GridView::redraw()
{
    redraw_.TableSet();
}

void GridView::resetView()
{
    scrollToSlot(0);
    scrollToByte(0);
    redraw_.TableSet();
    redraw_.LabelSet();
    view_.TableReady = true;
}

void GridView::CommitGrid()
{
    for (int r = 0; r < kGridRows; ++r)
        StoreRowData(r);
    redraw();
}

void GridView::StoreRowData(int row)
{
    KeyRecord& record = recordOfRow(row);
    RowCellTexts texts;
    for (int c = 0; c < kGridColumns; ++c)
        texts[std::size_t(c)] = cell(CellIndex::at(row, c))->text();
    record.KeyData = rowDataAfterEdit(record, layout_.leftByte(), texts);
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
    redraw_.TableSet();
}

void GridView::onByteScroll(int leftByte)
{
    layout_.setLeftByte(leftByte);
    redraw_.TableSet();
    redraw_.LabelSet();
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

void GridView::wheelEvent(QWheelEvent* event)
{
    constexpr int kNotch = 120;
    const QPoint angle = event->angleDelta();
    // Some systems turn Shift+wheel into a horizontal turn by themselves.
    const bool bytes = (event->modifiers() & Qt::ShiftModifier) || (angle.y() == 0 && angle.x() != 0);
    wheelRemainder_ += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = wheelRemainder_ / kNotch;
    wheelRemainder_ %= kNotch;
    event->accept();
    if (notches == 0)
        return;
    QScrollBar* bar = bytes ? controls_.byteScroll : controls_.recordScroll;
    // With tracking on, moving the slider triggers the bar's own move
    // action: actionTriggered (the leave rules), then the value change.
    bar->setSliderPosition(bar->value() - notches * QApplication::wheelScrollLines() * bar->singleStep());
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout_.setWidth(width());
    controls_.placeTitleColumn(layout_);
}

void GridView::scrollToSlot(Slot topSlot) { controls_.recordScroll->setValue(topSlot); }
void GridView::scrollToByte(int leftByte) { controls_.byteScroll->setValue(leftByte); }

void GridView::focusCell(CellIndex index) { giveFocus(cell(index)); }

// Focus moved by the handlers is not a Tab traversal: Qt would select the
// whole text of a field reached by Tab, the editor keeps the caret.
void GridView::giveFocus(QWidget* widget) { widget->setFocus(Qt::OtherFocusReason); }

void GridView::recordEdit(int row, Field field)
{
    if (editRecorder_)
        editRecorder_(layout_.slotOfRow(row), field);
}

std::optional<std::pair<Slot, Field>> GridView::fieldOf(const QWidget* control) const
{
    const auto id = input_->idOf(control);
    if (!id)
        return std::nullopt;
    return std::pair{layout_.slotOfRow(id->field == Field::Data ? CellIndex(id->index).row() : id->index), id->field};
}

Slot GridView::currentSlot() const
{
    if (const auto field = fieldOf(window()->focusWidget()))
        return field->first;
    if (view_.FocusDataIndex != -1)
        return layout_.slotOfRow(CellIndex(view_.FocusDataIndex).row());
    return layout_.topSlot();
}

void GridView::focusSlot(Slot slot)
{
    const std::optional<ControlId> id = input_->idOf(window()->focusWidget());
    const Slot top = layout_.topSlot();
    if (slot < top)
        scrollToSlot(slot);
    else if (slot >= top + kGridRows)
        scrollToSlot(slot - (kGridRows - 1));
    if (!id)
        return;
    const int row = slot - layout_.topSlot();
    const RowControls& controls = controls_.row(row);
    switch (id->field) {
    case Field::Title: giveFocus(controls.title); break;
    case Field::Address: giveFocus(controls.address); break;
    case Field::Size: giveFocus(controls.size); break;
    case Field::Type: giveFocus(controls.type); break;
    case Field::Data: {
        const CellIndex target = CellIndex::at(row, CellIndex(id->index).column());
        focusCell(isHexRow(row) ? target : target.firstOfRow());
        break;
    }
    }
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QWidget::eventFilter(watched, event);
    const auto* click = static_cast<QMouseEvent*>(event);
    for (int r = 0; r < kGridRows; ++r) {
        if (watched == controls_.row(r).lineNo && click->button() == Qt::LeftButton) {
            clickLineNumber(r, click->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void GridView::clickLineNumber(int row, bool extend)
{
    const Slot slot = layout_.slotOfRow(row);
    if (!extend || selectionAnchor_ < 0)
        selectionAnchor_ = slot;
    selectRows(std::min(selectionAnchor_, slot), std::max(selectionAnchor_, slot));
    giveFocus(controls_.row(row).title);
}

void GridView::selectRows(Slot first, Slot last)
{
    selectedFirst_ = first;
    selectedLast_ = last;
    redraw_.markRows();
}

std::pair<Slot, Slot> GridView::currentRows() const
{
    const Slot current = currentSlot();
    if (isSelected(current))
        return {selectedFirst_, selectedLast_};
    return {current, current};
}

void GridView::moveRowSelection(int delta)
{
    if (selectedFirst_ >= 0) {
        selectionAnchor_ += delta;
        selectRows(selectedFirst_ + delta, selectedLast_ + delta);
    }
}

void GridView::clearRowSelection()
{
    selectionAnchor_ = -1;
    selectRows(-1, -1);
}

void GridView::markModified()
{
    state_.Modified = true;
    if (captionChanged_)
        captionChanged_();
}

} // namespace quorvane
