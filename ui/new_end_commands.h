#pragma once

#include "editor_context.h"
#include "file_commands.h"

#include <functional>

namespace quorvane {

// "New(&N)" (NewFile): the unsaved-changes prompt, then an empty document.
class NewCommand {
public:
    NewCommand(EditorContext& context, SaveCommand& save, std::function<void()> initialize)
        : context_(context), save_(save), initialize_(std::move(initialize))
    {
    }
    void run();

private:
    EditorContext& context_;
    SaveCommand& save_;
    std::function<void()> initialize_;
};

// "End(&X)" (END_Click), also what the window's close box asks for: the
// unsaved-changes prompt, the settings file, then the end of the program.
class EndCommand {
public:
    EndCommand(EditorContext& context, SaveCommand& save, std::function<void()> writeSettings)
        : context_(context), save_(save), writeSettings_(std::move(writeSettings))
    {
    }
    // True when the program is to end now; false when the user kept it.
    [[nodiscard]] bool run();

private:
    EditorContext& context_;
    SaveCommand& save_;
    std::function<void()> writeSettings_;
};

} // namespace quorvane
