#include "unsaved_changes_prompt.h"

#include "message_boxes.h"
#include "save_command.h"

namespace quorvane {

bool mayGiveUpDocument(EditorContext& context, SaveCommand& save)
{
    if (!context.state.Modified)
        return true;
    switch (UnsavedPrompt(context.modal, context.state.fileName)) {
    case MessageResult::No:
        return true;
    case MessageResult::Yes:
        return save.run();
    default:
        return false;
    }
}

} // namespace quorvane
