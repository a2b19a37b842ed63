#include "grid_input_router.h"

#include "grid/edit_rules.h"
#include "grid/grid_line_edit.h"
#include "grid/key_codes.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QWheelEvent>

#include <algorithm>

namespace quorvane {

GridInputRouter::GridInputRouter(GridKeyHandlers& handlers, QObject* parent)
    : QObject(parent), handlers_(handlers)
{
}

// Every way of putting text into a control other than its keys (drops,
// middle-click and context-menu paste, input methods) would bypass the key
// filters and reach the write-back unchecked.
void GridInputRouter::watch(QWidget* control, ControlId id)
{
    controls_.insert(control, id);
    control->installEventFilter(this);
    control->setAcceptDrops(false);
}

std::optional<ControlId> GridInputRouter::idOf(const QObject* control) const
{
    const auto it = controls_.constFind(control);
    if (it == controls_.cend())
        return std::nullopt;
    return *it;
}

void GridInputRouter::setFileDropHandler(std::function<void(const QMimeData*)> handler)
{
    fileDropHandler_ = std::move(handler);
}

bool GridInputRouter::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = controls_.constFind(watched);
    if (it == controls_.cend())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A line edit claims its own undo, redo, clipboard and caret keys
        // before the window's shortcuts are tried; ignored here, the
        // shortcut runs instead of the key press.
        if (!leavesToWindow(*it, *static_cast<QKeyEvent*>(event)))
            return false;
        event->ignore();
        return true;
    case QEvent::KeyPress:
        // A reserved key whose command is disabled does nothing at all.
        if (isReserved(*static_cast<QKeyEvent*>(event)))
            return true;
        return routeKey(*it, static_cast<QWidget*>(watched), keyStrokeOf(*static_cast<QKeyEvent*>(event)));
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return filterDrop(*it, static_cast<QDropEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return isMiddleClickPaste(*it, event);
    case QEvent::Wheel:
        // No control scrolls by itself (a type box changes only by a
        // choice); the turn scrolls the grid, wherever the mouse is.
        handlers_.onWheel(static_cast<QWheelEvent*>(event));
        return true;
    default:
        return false;
    }
}

namespace {

QKeySequence pressedKey(const QKeyEvent& event)
{
    return QKeySequence(QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key())));
}

} // namespace

bool GridInputRouter::isReserved(const QKeyEvent& event) const
{
    return everyFieldKeys_.contains(pressedKey(event));
}

// Nothing dropped is typed into a control. Whatever is dropped on a data
// cell goes to the drop handler, which decides what it means (text or more
// than one file is an error the user is told about).
bool GridInputRouter::filterDrop(const ControlId& id, QDropEvent* event)
{
    if (id.field != Field::Data || !fileDropHandler_) {
        event->ignore();
        return true;
    }
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        fileDropHandler_(event->mimeData());
    return true;
}

// X11 pastes the selection on a middle click; the title takes it like typing.
bool GridInputRouter::isMiddleClickPaste(const ControlId& id, const QEvent* event)
{
    return id.field != Field::Title && id.field != Field::Type
           && static_cast<const QMouseEvent*>(event)->button() == Qt::MiddleButton;
}

bool GridInputRouter::leavesToWindow(const ControlId& id, const QKeyEvent& event) const
{
    return isReserved(event) || (id.field == Field::Data && dataCellKeys_.contains(pressedKey(event)));
}

// Tab is always consumed here, so Qt's focus traversal never sees it. A
// key that made the key-down handler move the focus, the caret or the
// grid has done its work and is not also applied to the cell. Text that
// the filter could not judge is never left for the field to insert.
bool GridInputRouter::routeKey(const ControlId& id, QWidget* control, const KeyStroke& stroke)
{
    bool moved = false;
    if (stroke.keyCode != kKeyNone)
        moved = keyDown(id, stroke.keyCode, stroke.shift);
    if (stroke.keyCode == kKeyTab || moved)
        return true;
    if (id.field == Field::Type)
        return false;
    if (stroke.character == 0)
        return !stroke.text.isEmpty();
    if (stroke.text.size() > 1 && stroke.character == stroke.text.front().unicode())
        return !passesUnchanged(id, stroke.text);
    const char16_t passed = keyPress(id, stroke.character);
    if (passed == kCharDiscarded)
        return true;
    if (passed != stroke.character) {
        auto* edit = static_cast<GridLineEdit*>(control);
        if (!edit->isReadOnly())
            edit->insert(QString(QChar(passed)));
        return true;
    }
    return false;
}

// A key that types several characters at once (a compose sequence) is let
// through whole or not at all.
bool GridInputRouter::passesUnchanged(const ControlId& id, const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [&](QChar ch) { return keyPress(id, ch.unicode()) == ch.unicode(); });
}

bool GridInputRouter::keyDown(const ControlId& id, int keyCode, bool shift)
{
    switch (id.field) {
    case Field::Title: handlers_.onTitleKeyDown(id.index, keyCode, shift); return false;
    case Field::Address: handlers_.onAddressKeyDown(id.index, keyCode, shift); return false;
    case Field::Size: handlers_.onSizeKeyDown(id.index, keyCode, shift); return false;
    case Field::Type: handlers_.onTypeKeyDown(id.index, keyCode, shift); return false;
    case Field::Data: return handlers_.onCellKeyDown(CellIndex(id.index), keyCode, shift);
    }
    return false;
}

char16_t GridInputRouter::keyPress(const ControlId& id, char16_t code)
{
    switch (id.field) {
    case Field::Title: return filterTitleCharacter(code);
    case Field::Address: return filterAddressCharacter(code);
    case Field::Size: return filterSizeCharacter(code);
    case Field::Type: return code;
    case Field::Data: return handlers_.onCellKeyPress(CellIndex(id.index), code);
    }
    return code;
}

} // namespace quorvane
