#pragma once

#include "window_command.h"

namespace quorvane {

// "Version(&V)..." (version_Click): the version box, modal over the window.
class VersionCommand final : public WindowCommand {
public:
    explicit VersionCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

private:
    QAction* action_; // version
};

} // namespace quorvane
