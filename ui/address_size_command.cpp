#include "address_size_command.h"

#include "document/address_size_change.h"
#include "grid/grid_view.h"

namespace quorvane {

void AddressSizeCommand::choose(AddressSize requested)
{
    ModalQuestions questions(context_);
    if (changeAddressSize(context_.document, requested, questions))
        context_.grid.redraw();
}

} // namespace quorvane
