#include "new_command.h"

#include "unsaved_changes_prompt.h"

#include "grid/grid_view.h"

namespace quorvane {

NewCommand::NewCommand(EditorContext& context, SaveCommand& save, std::function<void()> initialize)
    : context_(context), save_(save), initialize_(std::move(initialize)),
      action_(createAction(context, "new", QStringLiteral("New(&N)"), Qt::CTRL | Qt::Key_N))
{
    runOnShownTable(context_, action_, [this] { run(); });
}

void NewCommand::run()
{
    if (!mayGiveUpDocument(context_, save_))
        return;
    // As after File Open: the empty document starts at line 1's address.
    context_.grid.showRecord(0, RecordField::Address);
    initialize_();
}

} // namespace quorvane
