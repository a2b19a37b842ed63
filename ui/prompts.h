#pragma once

#include "modal_ui.h"

namespace quorvane {

// The unsaved-changes question of New, End and File Open: Yes saves first,
// No discards, Cancel abandons the command. `fileName` is the file-name
// field's text, shown as the first line (empty when the table has no file).
[[nodiscard]] MessageRequest unsavedPromptRequest(const QString& fileName);
[[nodiscard]] qint16 UnsavedPrompt(ModalUi& modal, const QString& fileName);

} // namespace quorvane
