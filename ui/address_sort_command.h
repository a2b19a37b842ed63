#pragma once

#include "window_command.h"

namespace quorvane {

// "Address Sort On(&N)" and "Address Sort Off(&F)" (DoSort_Click,
// DoSort2_Click): the option the save-time checks follow; choosing it sorts
// nothing now. `showSortOff` shows or hides the window's indicator.
class AddressSortCommand final : public WindowCommand {
public:
    AddressSortCommand(EditorContext& context, std::function<void(bool)> showSortOff);

    [[nodiscard]] QList<QAction*> actions() const override { return {sortOn_, sortOff_}; }

    // Sets the option, its marks and the indicator.
    void setSortOn(bool on);

private:
    EditorContext& context_;
    std::function<void(bool)> showSortOff_;
    QAction* sortOn_;  // DoSort
    QAction* sortOff_; // DoSort2
};

} // namespace quorvane
