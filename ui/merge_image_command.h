#pragma once

#include "window_command.h"

namespace quorvane {

// "Write KEY Data into Image...": the table as shown, after the save-time
// checks, written into a copy of a firmware image at the records' addresses,
// in the image's own format. Key bytes where the image has no data are
// listed in a warning before anything is written; what was written is said
// in the window's status bar.
class MergeImageCommand final : public WindowCommand {
public:
    explicit MergeImageCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    void run();

private:
    EditorContext& context_;
    QAction* action_; // KEY_merge
};

} // namespace quorvane
