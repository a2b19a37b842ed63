#pragma once

#include "grid/grid_layout.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <optional>

class QDropEvent;
class QKeyEvent;
class QMimeData;
class QWidget;

class QWheelEvent;

namespace quorvane {

struct KeyStroke;

enum class Field { Title, Address, Size, Type, Data };

struct ControlId {
    Field field;
    int index; // row for the record fields, cell index for data cells
};

// The grid's handlers for one key, as the router calls them.
class GridKeyHandlers {
public:
    virtual void onTitleKeyDown(int row, int keyCode, bool shift) = 0;   // Text_title_KeyDown
    virtual void onAddressKeyDown(int row, int keyCode, bool shift) = 0; // Text_address_KeyDown
    virtual void onSizeKeyDown(int row, int keyCode, bool shift) = 0;    // Text_size_KeyDown
    virtual void onTypeKeyDown(int row, int keyCode, bool shift) = 0;    // Combo_type_KeyDown
    // True when the key moved the focus, the caret or the grid; the key
    // then has no further effect in the cell.
    virtual bool onCellKeyDown(CellIndex cell, int keyCode, bool shift) = 0; // Text_data_KeyDown
    // The character the cell takes for `code`: the same, another, or
    // kCharDiscarded.
    virtual char16_t onCellKeyPress(CellIndex cell, char16_t code) = 0; // Text_data_KeyPress
    // A wheel turned over any control scrolls the grid.
    virtual void onWheel(QWheelEvent* event) = 0;

protected:
    ~GridKeyHandlers() = default;
};

// Every input event of the grid's controls passes here before the control
// sees it. A key press becomes key-down, then the character filter, then
// the control's own edit, whose change signal runs the change handler.
// Text that would bypass the filters (drops, middle-click paste) is
// stopped, and a wheel turn over a type box is left to the grid.
enum class WindowKeys { EveryField, DataCells };

class GridInputRouter : public QObject {
    Q_OBJECT
public:
    GridInputRouter(GridKeyHandlers& handlers, QObject* parent);

    // Filters the control's events from now on and refuses it drops;
    // setFileDropHandler opens the data cells again.
    void watch(QWidget* control, ControlId id);
    [[nodiscard]] std::optional<ControlId> idOf(const QObject* control) const;

    // Receives the data of files dropped onto a data cell.
    void setFileDropHandler(std::function<void(const QMimeData*)> handler);
    // Keys the window's shortcuts take from the controls: from every field
    // (a line edit would undo its own typing on Ctrl+Z), or from the data
    // cells alone (where a line edit would take Ctrl+Home for its caret; in
    // the other fields they stay the control's own).
    void leaveKeysToWindow(const QList<QKeySequence>& keys, WindowKeys where)
    {
        (where == WindowKeys::EveryField ? everyFieldKeys_ : dataCellKeys_) += keys;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each returns true when the event is consumed.
    bool routeKey(const ControlId& id, QWidget* control, const KeyStroke& stroke);
    bool keyDown(const ControlId& id, int keyCode, bool shift);
    char16_t keyPress(const ControlId& id, char16_t code);
    bool passesUnchanged(const ControlId& id, const QString& text);
    bool filterDrop(const ControlId& id, QDropEvent* event);
    [[nodiscard]] static bool isMiddleClickPaste(const ControlId& id, const QEvent* event);
    // Whether the window's shortcut takes the key from the control.
    [[nodiscard]] bool leavesToWindow(const ControlId& id, const QKeyEvent& event) const;
    // Whether the window takes the key from every field.
    [[nodiscard]] bool isReserved(const QKeyEvent& event) const;

    GridKeyHandlers& handlers_;
    QHash<const QObject*, ControlId> controls_;
    std::function<void(const QMimeData*)> fileDropHandler_;
    QList<QKeySequence> everyFieldKeys_;
    QList<QKeySequence> dataCellKeys_;
};

} // namespace quorvane
