#pragma once

#include "window_command.h"

#include "document/record_rows.h"

namespace quorvane {

// The commands on whole records of the grid, each on the selected records
// or the row the focus is in: insert a blank record above it, delete it, move it up or down,
// duplicate it, and copy, cut or paste records as tab-separated lines
// through the clipboard, so that they go to and come from a spreadsheet.
// Each change is one undo step.
class RowCommands final : public WindowCommand {
public:
    explicit RowCommands(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return actions_; }

private:
    using RowEdit = std::function<RowEditResult(RecordTable&, RowRange)>;
    void add(const char* objectName, const QString& caption, const QKeySequence& shortcut, std::function<void()> run);
    // `follow`: the records stay the same and move, so the focus and the
    // selection go with them.
    void edit(const QString& step, const RowEdit& operation, bool follow = false);
    void copy();
    void paste();
    [[nodiscard]] RowRange currentRows() const;

    EditorContext& context_;
    QList<QAction*> actions_;
};

} // namespace quorvane
