#include "end_command.h"

#include "unsaved_changes_prompt.h"

namespace quorvane {

EndCommand::EndCommand(EditorContext& context, SaveCommand& save, std::function<void()> end)
    : context_(context), save_(save), end_(std::move(end)),
      action_(createAction(context, "END", QStringLiteral("End(&X)"), Qt::CTRL | Qt::Key_Q))
{
    runOnShownTable(context_, action_, [this] { (void)run(); });
}

bool EndCommand::run()
{
    if (!mayGiveUpDocument(context_, save_))
        return false;
    end_();
    return true;
}

} // namespace quorvane
