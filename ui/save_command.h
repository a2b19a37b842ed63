#pragma once

#include "window_command.h"

namespace quorvane {

// "Save(&V)" and "File Save(&S)..." (FileSave_Click): the save-time
// sequence, then the writer chosen by the name. File Save asks for the name
// in its dialog; Save writes the document's own file without one when it
// may (EditorState::savesInPlace) and is File Save otherwise. New, End and
// Open run File Save when the user answers Yes to the unsaved-changes prompt.
class SaveCommand final : public WindowCommand {
public:
    explicit SaveCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return {saveAction_, fileSaveAction_}; }

    // File Save. True when the file was written; the document is then
    // unmodified. Refused, cancelled or failed saves leave Modified as it was.
    bool run();
    // Save, with the same result.
    bool saveInPlace();

private:
    // An empty `path` asks for one in the save dialog.
    bool saveTo(QString path);

    EditorContext& context_;
    QAction* saveAction_;     // Save
    QAction* fileSaveAction_; // FileSave
};

} // namespace quorvane
