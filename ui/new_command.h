#pragma once

#include "window_command.h"

namespace quorvane {

class SaveCommand;

// "New(&N)" (NewFile): the unsaved-changes prompt, then an empty document.
class NewCommand final : public WindowCommand {
public:
    NewCommand(EditorContext& context, SaveCommand& save, std::function<void()> initialize);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    void run();

private:
    EditorContext& context_;
    SaveCommand& save_;
    std::function<void()> initialize_;
    QAction* action_; // new
};

} // namespace quorvane
