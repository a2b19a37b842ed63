#pragma once

#include "window_command.h"

namespace quorvane {

// "File Save(&S)..." (FileSave_Click): the save-time sequence, the save
// dialog, then the writer chosen by the name. New, End and Open run it
// when the user answers Yes to the unsaved-changes prompt.
class SaveCommand final : public WindowCommand {
public:
    explicit SaveCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    // True when the file was written; the document is then unmodified.
    // Refused, cancelled or failed saves leave Modified as it was.
    bool run();

private:
    EditorContext& context_;
    QAction* action_; // FileSave
};

} // namespace quorvane
