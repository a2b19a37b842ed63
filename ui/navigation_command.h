#pragma once

#include "window_command.h"

namespace quorvane {

// The long ways made short, in the Edit menu and on their keys: a record's
// first and last byte (Ctrl+Home, Ctrl+End, taken from the data cells,
// whose own caret keys they were), the row's title (Ctrl+T), a line number
// (Ctrl+G) and a record found by its title or address (Ctrl+F, F3 for the
// next one).
class NavigationCommand final : public WindowCommand {
public:
    explicit NavigationCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override { return actions_; }

private:
    void inFocusedRow(const std::function<void(int row)>& jump);
    void goToLine();
    void find();
    void findNext();
    // The slot of the focused row, or of the top row when no row has the focus.
    [[nodiscard]] Slot currentSlot() const;

    EditorContext& context_;
    QString query_; // what Find looked for last; F3 looks for it again
    QList<QAction*> actions_;
};

} // namespace quorvane
