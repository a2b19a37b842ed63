#pragma once

#include "window_command.h"

#include "grid/grid_input_router.h"

namespace quorvane {

// "Undo(&U)" and "Redo(&R)" over the document's history. It also ties the
// history to the grid: every edit typed there becomes a step (the
// keystrokes of one field one step), the line numbers of records changed
// since the save are marked, and undoing back to the saved state leaves
// the document unmodified.
class UndoCommand final : public WindowCommand {
public:
    explicit UndoCommand(EditorContext& context);
    // The grid and the application outlive the command, and the focus
    // moves (leave rules run) while the window is taken down.
    ~UndoCommand() override;

    [[nodiscard]] QList<QAction*> actions() const override { return {undo_, redo_}; }

private:
    void recordEdit(Slot slot, Field field);
    void focusMoved(const QWidget* now);
    void showRestored();
    void showStep(const QString& form, const QString& step);

    EditorContext& context_;
    QAction* undo_; // EditUndo
    QAction* redo_; // EditRedo
    int focusedField_ = -1; // the edit key of the field the focus is in
    QMetaObject::Connection focusConnection_;
};

} // namespace quorvane
