#include "window_command.h"

#include "grid/grid_view.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>

namespace quorvane {

QAction* createAction(EditorContext& context, const char* objectName, const QString& caption,
                      const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, &context.window);
    action->setObjectName(QLatin1String(objectName));
    action->setShortcut(shortcut);
    return action;
}

void runOnShownTable(EditorContext& context, QAction* action, std::function<void()> run)
{
    QObject::connect(action, &QAction::triggered, &context.window, [&context, run = std::move(run)] {
        // A shortcut opens no menu, whose opening would write the grid back.
        context.grid.CommitGrid();
        run();
    });
}

void showStatus(EditorContext& context, const QString& text)
{
    auto* window = qobject_cast<QMainWindow*>(&context.window);
    if (window == nullptr)
        return;
    if (text.isEmpty())
        window->statusBar()->clearMessage();
    else
        window->statusBar()->showMessage(text);
}

} // namespace quorvane
