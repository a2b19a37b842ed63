#pragma once

#include "editor_context.h"

namespace quorvane {

class SaveCommand;

// Asks whether a modified document should be saved before it is given up
// (the unsaved-changes prompt of New, End and Open). True when the caller
// may go on: nothing was modified, the user said No, or the save succeeded.
[[nodiscard]] bool mayGiveUpDocument(EditorContext& context, SaveCommand& save);

} // namespace quorvane
