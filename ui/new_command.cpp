#include "new_command.h"

#include "unsaved_changes_prompt.h"

namespace quorvane {

NewCommand::NewCommand(EditorContext& context, SaveCommand& save, std::function<void()> initialize)
    : context_(context), save_(save), initialize_(std::move(initialize)),
      action_(createAction(context, "new", QStringLiteral("New(&N)"), Qt::CTRL | Qt::Key_N))
{
    runOnShownTable(context_, action_, [this] { run(); });
}

void NewCommand::run()
{
    if (mayGiveUpDocument(context_, save_))
        initialize_();
}

} // namespace quorvane
