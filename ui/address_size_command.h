#pragma once

#include "window_command.h"

namespace quorvane {

// The "AddressSize(&A)" commands (addr16_Click, addr24_Click, addr32_Click).
// Their check marks show the document's mode and nothing else.
class AddressSizeCommand final : public WindowCommand {
public:
    explicit AddressSizeCommand(EditorContext& context);

    [[nodiscard]] QList<QAction*> actions() const override;

    // Switches to `requested` when the user agrees to any cutting and to any
    // key saved at another address; the grid is redrawn either way.
    void choose(AddressSize requested);

private:
    void showMode(AddressSize current);

    EditorContext& context_;
    QAction* bits16_; // addr16
    QAction* bits24_; // addr24
    QAction* bits32_; // addr32
};

} // namespace quorvane
