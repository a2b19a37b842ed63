#include "address_size_change.h"

#include "checks/srecord_limit.h"

namespace quorvane {

bool changeAddressSize(Document& document, AddressSize requested, Questions& questions)
{
    // Fewer address digits keep the stored address, but every save writes
    // it in the new width: a key that does not fit would land elsewhere.
    if (addressDigits(requested) < addressDigits(document.mode.current())) {
        const std::vector<Slot> moved = recordsBeyondAddressSize(document.table, requested);
        if (!moved.empty() && !questions.confirmWarning(addressMoveWarningText(document.table, moved)))
            return false;
    }
    if (needsAddressSizeWarning(document.mode.current(), requested)
        && !questions.confirmWarning(addressSizeWarningText()))
        return false;
    document.mode.set(requested);
    // 16-bit has the largest limit: nothing can be too large for it.
    if (requested != AddressSize::Bits16)
        TrimToSrecordLimit(document.table, requested);
    return true;
}

} // namespace quorvane
