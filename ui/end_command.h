#pragma once

#include "window_command.h"

namespace quorvane {

class SaveCommand;

// "End(&X)" (END_Click), also what the window's close box asks for: the
// unsaved-changes prompt, then `end` (the settings file and the end of the
// program).
class EndCommand final : public WindowCommand {
public:
    EndCommand(EditorContext& context, SaveCommand& save, std::function<void()> end);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    // True when the program ends now; false when the user kept it.
    bool run();

private:
    EditorContext& context_;
    SaveCommand& save_;
    std::function<void()> end_;
    QAction* action_; // END
};

} // namespace quorvane
