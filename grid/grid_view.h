#pragma once

#include "core/document.h"
#include "core/editor_state.h"
#include "grid/grid_controls.h"
#include "grid/grid_input_router.h"
#include "grid/grid_layout.h"
#include "grid/grid_redraw.h"
#include "grid/grid_view_state.h"
#include "grid/navigation_targets.h"
#include "grid/record_search.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QMimeData;
class QScrollBar;

namespace quorvane {

// The 10 x 16 grid over the record table: line numbers, address, size and
// type fields, 160 data cells, titles, column headers and both scroll bars.
// It is a view: every edit is written into the table at once, and the grid
// is redrawn from the table after it.
//
// The main window owns the caption; the grid calls `captionChanged` (the
// window's TitileSet) whenever an edit changed EditorState::Modified and the
// caption should follow.
class GridView : public QWidget, private GridKeyHandlers {
    Q_OBJECT
public:
    static constexpr int kRows = kGridRows;
    static constexpr int kColumns = kGridColumns;

    GridView(Document& document, EditorState& state, std::function<void()> captionChanged,
             QWidget* parent = nullptr);
    ~GridView() override;

    // Start-up: type lists get "HEX" and "ASCII" (index 0 selected), address
    // fields at most 8 characters, size fields at most 3.
    void prepareRows();
    // Every data cell back to "no length limit".
    void clearDataMaxLengths();
    // Follows the address size: 4, 6 or 8 characters.
    void setAddressMaxLength(int length);

    // Rewrites every control from the table at the layout's position
    // (TableSet at the scroll bars' values).
    void redraw();
    // Writes every row back into the table, then redraws.
    void CommitGrid();

    // Back to the top-left of the table for a new or opened document: both
    // scroll bars at 0, the grid and its column headers drawn, the view
    // ready for edits.
    void resetView();
    [[nodiscard]] const GridViewState& view() const { return view_; }
    // Where the grid stands; the scroll bars always show the same position.
    [[nodiscard]] const GridLayout& layout() const { return layout_; }

    [[nodiscard]] QScrollBar* recordScroll() const { return controls_.recordScroll; }
    [[nodiscard]] QScrollBar* byteScroll() const { return controls_.byteScroll; }

    // Where a "No." heading over the line numbers fits, in grid coordinates.
    [[nodiscard]] QRect lineNumberHeadingRect() const { return layout_.lineNumberHeadingRect(); }

    // Receives whatever is dropped onto a data cell. Without a handler the
    // cells take no drop at all; nothing dropped is ever typed into them.
    void setFileDropHandler(std::function<void(const QMimeData*)> handler);
    // Keys the window's commands take from the grid's controls (see
    // GridInputRouter::leaveKeysToWindow).
    void leaveKeysToWindow(const QList<QKeySequence>& keys, WindowKeys where) { input_->leaveKeysToWindow(keys, where); }

    // The long jumps of the window's Edit menu. Each moves the focus before
    // it scrolls, with the rules of leaving and entering the fields, so a
    // field left applies its rules to the record it showed.
    //
    // The grid row whose field or cell has the focus, if any.
    [[nodiscard]] std::optional<int> focusedRow() const;
    // The first or last byte of the row's record, scrolling as needed, the
    // caret before or after its digits; an ASCII row's cell, the caret at
    // the start or end of its text.
    void goToRecordEdge(int row, RecordEdge edge);
    void goToTitle(int row);
    // Scrolls the least that shows `slot` and focuses its title or address.
    void showRecord(Slot slot, RecordField field);

    // The width the grid is built for; a wider grid gives the rest to the titles.
    [[nodiscard]] QSize sizeHint() const override { return layout_.baseSize(); }

    // Hears of every edit the user made in a field or cell of the record in
    // `slot`, after it is in the table (for undo).
    void setEditRecorder(std::function<void(Slot, Field)> recorder) { editRecorder_ = std::move(recorder); }
    // Marks the line numbers of the records `changed` names.
    void setChangedMarker(std::function<bool(Slot)> changed) { redraw_.setChangedMarker(std::move(changed)); }
    void markRows() { redraw_.markRows(); }
    // The record of the row the focus is in (or was last in a data cell);
    // the top row's when the grid never had it.
    [[nodiscard]] Slot currentSlot() const;
    // The record and field a control of the grid edits.
    [[nodiscard]] std::optional<std::pair<Slot, Field>> fieldOf(const QWidget* control) const;
    // Shows `slot`, scrolling as little as needed, with the focus in the
    // same field of its row.
    void focusSlot(Slot slot);

    // A click on a line number selects its record, Shift+click the records
    // from the one clicked before; the focus goes to the row. The records a
    // row command works on, first and last: the selected ones while the
    // focus is in one of them, otherwise the one the focus is in.
    [[nodiscard]] std::pair<Slot, Slot> currentRows() const;
    // The selection follows records a command moved by `delta` lines.
    void moveRowSelection(int delta);
    void clearRowSelection();

protected:
    // The wheel scrolls records, with Shift bytes, through the scroll bars
    // as a drag of their sliders would: the focused field's leave rules run
    // first.
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onWheel(QWheelEvent* event) override { wheelEvent(event); }
    void resizeEvent(QResizeEvent* event) override;

private:
    void watchControls();
    void connectRow(int row);
    void connectCell(int index);

    [[nodiscard]] KeyRecord& recordOfRow(int row);
    [[nodiscard]] KeyRecord& recordOfCell(CellIndex cell) { return recordOfRow(cell.row()); }
    [[nodiscard]] bool isHexRecord(Slot slot) const;
    [[nodiscard]] bool isHexRow(int row) const { return isHexRecord(layout_.slotOfRow(row)); }
    [[nodiscard]] GridLineEdit* cell(CellIndex index) const { return controls_.cell(index); }

    // Rebuilds KeyData of the record in `row` from the row's cells (see
    // rowDataAfterEdit). No redraw, no Modified.
    void StoreRowData(int row);
    void markModified();
    void recordEdit(int row, Field field);
    void clickLineNumber(int row, bool extend);
    void selectRows(Slot first, Slot last);
    [[nodiscard]] bool isSelected(Slot slot) const { return selectedFirst_ >= 0 && slot >= selectedFirst_ && slot <= selectedLast_; }

    // The scroll bars are the one way the position changes: moving one runs
    // its change handler, which moves the layout and redraws.
    void scrollToSlot(Slot topSlot);
    void scrollToByte(int leftByte);
    void onRecordScroll(Slot topSlot); // VScroll1_Change
    void onByteScroll(int leftByte);   // HScroll1_Change
    void leaveRecordFieldBefore(QScrollBar* bar);
    void runLeaveRules(const ControlId& id);
    void runEnterRules(const ControlId& id);
    // Gives `target` the focus. Where Qt tells the fields nothing (the window
    // not active yet after a dialog, or the focus staying where it is while
    // the grid scrolls under it), their rules run here.
    void moveFocus(QWidget* target);

    void focusCell(CellIndex index);
    void giveFocus(QWidget* widget);

    void onTitleChanged(int row);                                     // Text_title_Change
    void onTitleFocusIn(int row);                                     // Text_title_GotFocus
    void onTitleFocusOut(int row);                                    // Text_title_LostFocus
    void onTitleKeyDown(int row, int keyCode, bool shift) override;
    void onAddressChanged(int row);                                   // Text_address_Change
    void onAddressFocusIn(int row);                                   // Text_address_GotFocus
    void onAddressFocusOut(int row);                                  // Text_address_LostFocus
    void onAddressKeyDown(int row, int keyCode, bool shift) override;
    void onSizeChanged(int row);                                      // Text_size_Change
    void onSizeFocusIn(int row);                                      // Text_size_GotFocus
    void onSizeFocusOut(int row);                                     // Text_size_LostFocus
    void onSizeKeyDown(int row, int keyCode, bool shift) override;
    void onTypeChosen(int row);                                       // Combo_type_Click
    void onTypeKeyDown(int row, int keyCode, bool shift) override;

    void onCellChanged(CellIndex index); // Text_data_Change
    void applyCellChange(CellIndex index);
    void onCellFocusIn(CellIndex index); // Text_data_GotFocus
    bool onCellKeyDown(CellIndex index, int keyCode, bool shift) override;
    char16_t onCellKeyPress(CellIndex index, char16_t code) override;
    // The navigation keys of a data cell; true when the key moved something.
    bool moveUp(CellIndex index);
    bool moveDown(CellIndex index);
    bool moveLeft(CellIndex index);
    bool moveRight(CellIndex index);
    bool moveByTab(CellIndex index, bool shift);
    void placeCaretAfterInsertion(CellIndex index, int caret, int leftByteBefore);

    Document& document_;
    EditorState& state_;
    std::function<void()> captionChanged_;
    std::function<void(Slot, Field)> editRecorder_;
    GridViewState view_;
    GridLayout layout_;
    GridControls controls_;
    GridRedraw redraw_{document_, state_, view_, layout_, controls_};
    GridInputRouter* input_ = nullptr;
    Slot selectionAnchor_ = -1;
    Slot selectedFirst_ = -1; // -1: no record selected
    Slot selectedLast_ = -1;
    QMetaObject::Connection focusWatch_;
    int wheelRemainder_ = 0; // eighths of a degree not yet scrolled (fine-grained wheels)
};

} // namespace quorvane
