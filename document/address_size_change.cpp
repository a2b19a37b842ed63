#include "address_size_change.h"

#include "checks/srecord_limit.h"

namespace quorvane {

bool changeAddressSize(Document& document, AddressSize requested, Questions& questions)
{
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
