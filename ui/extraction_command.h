#pragma once

#include "window_command.h"

class QMimeData;

namespace quorvane {

// "Extract KEY Data(&E)..." (KEY_extract_Click) and files dropped onto the
// drop label or a data cell (DragDrop): the key data of every record with an
// address and a size, read out of an object file. The table changes only
// when every record was found.
class ExtractionCommand final : public WindowCommand {
public:
    explicit ExtractionCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return {action_}; }

    void run();
    // What was dropped: exactly one file, not a folder.
    void drop(const QMimeData* data);
    // SetKeyData with the window's dialogs: the start address of a binary
    // image, the progress of a long reading, the error boxes and the redraw.
    void extractFrom(const QString& path);

private:
    EditorContext& context_;
    QAction* action_; // KEY_extract
};

} // namespace quorvane
