#include "version_command.h"

#include "version_box.h"

#include <QAction>
#include <QWidget>

namespace quorvane {

VersionCommand::VersionCommand(EditorContext& context)
    : action_(createAction(context, "version", QStringLiteral("Version(&V)...")))
{
    QObject::connect(action_, &QAction::triggered, &context.window, [&context] {
        VersionBox box(&context.window);
        box.exec();
    });
}

} // namespace quorvane
