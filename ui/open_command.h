#pragma once

#include "window_command.h"

#include "document/document_files.h"

namespace quorvane {

class SaveCommand;

// "File Open(&O)..." (FileOpen_Click).
class OpenCommand final : public WindowCommand {
public:
    OpenCommand(EditorContext& context, SaveCommand& save);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    void run();
    // Opens `path` as the command does after its dialog: also the file named
    // on the command line at start-up and one chosen from the recent files.
    OpenStatus openFile(const QString& path);

private:
    EditorContext& context_;
    SaveCommand& save_;
    QAction* action_; // FileOpen
};

} // namespace quorvane
