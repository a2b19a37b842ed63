#pragma once

#include "editor_context.h"

#include <QKeySequence>
#include <QList>

#include <functional>

class QAction;

namespace quorvane {

// A command of the window's menus. It owns its menu items (caption,
// shortcut, object name, check marks) and what choosing them does, so the
// window only places the items in its menus.
class WindowCommand {
public:
    WindowCommand() = default;
    WindowCommand(const WindowCommand&) = delete;
    WindowCommand& operator=(const WindowCommand&) = delete;
    virtual ~WindowCommand() = default;

    // The command's items, in the order they stand in their menu.
    [[nodiscard]] virtual QList<QAction*> actions() const = 0;
};

// A menu item of the window named `objectName`, owned by the window so that
// its shortcut works wherever the focus is in it.
[[nodiscard]] QAction* createAction(EditorContext& context, const char* objectName, const QString& caption,
                                    const QKeySequence& shortcut = {});

// Choosing `action`, from its menu or by its shortcut, runs `run` on the
// table as the grid shows it.
void runOnShownTable(EditorContext& context, QAction* action, std::function<void()> run);

// Tells the outcome of a command in the window's status bar until the next
// one; an empty text clears it, so that an earlier outcome does not stand
// for a command that is running.
void showStatus(EditorContext& context, const QString& text);

} // namespace quorvane
