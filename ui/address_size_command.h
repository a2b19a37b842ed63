#pragma once

#include "editor_context.h"

namespace quorvane {

// The "AddressSize(&A)" commands (addr16_Click, addr24_Click, addr32_Click).
class AddressSizeCommand {
public:
    explicit AddressSizeCommand(EditorContext& context) : context_(context) {}

    // Switches to `requested` when the user agrees to any cutting and to any
    // key saved at another address; the grid is redrawn either way.
    void choose(AddressSize requested);

private:
    EditorContext& context_;
};

} // namespace quorvane
