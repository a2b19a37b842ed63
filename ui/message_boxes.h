#pragma once

#include "modal_ui.h"

namespace quorvane {

// The boxes every command shows the same way. Errors have the title
// "ERROR", a critical-stop icon and an OK button and end the command;
// warnings have the title "WARNING", an exclamation icon and OK (the
// default) and Cancel.
[[nodiscard]] MessageRequest errorBoxRequest(const QString& text, const QString& details = {});
[[nodiscard]] MessageRequest warningBoxRequest(const QString& text);
void showError(ModalUi& modal, const QString& text, const QString& details = {});
// True for OK.
[[nodiscard]] bool askWarning(ModalUi& modal, const QString& text);

// The unsaved-changes question of New, End and File Open: Yes saves first,
// No discards, Cancel abandons the command. `fileName` is the file-name
// field's text, shown as the first line (empty when the table has no file).
[[nodiscard]] MessageRequest unsavedPromptRequest(const QString& fileName);
[[nodiscard]] MessageResult UnsavedPrompt(ModalUi& modal, const QString& fileName);

} // namespace quorvane
