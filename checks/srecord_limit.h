#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

#include <vector>

// Keeping records within one S-record line when the address size changes.
namespace quorvane {

// Lowers every size above the data limit of `size` to that limit and cuts the
// data to match: HEX to twice as many digits, ASCII to as many UTF-8 bytes
// (never splitting a character). Only the size decides; smaller and negative
// sizes are left as they are. Slot 256 is not a record of the document and is
// left alone.
void TrimToSrecordLimit(RecordTable& table, AddressSize size);

// Going to an address size with a smaller data limit may cut data, so the
// user is asked first; going to the same or a larger limit is silent.
[[nodiscard]] constexpr bool needsAddressSizeWarning(AddressSize current, AddressSize requested)
{
    return dataLimit(requested) < dataLimit(current);
}

// Text of the OK/Cancel warning shown before such a change.
[[nodiscard]] QString addressSizeWarningText();

// The records with an address whose key data would not be written where it
// is now in `size`: the start address has more digits than the size keeps,
// or the last byte (by the size, or by the data when there is none) lies
// above the size's top address, where its S-record line would wrap round.
// Slots in ascending order.
[[nodiscard]] std::vector<Slot> recordsBeyondAddressSize(const RecordTable& table, AddressSize size);

// Text of the OK/Cancel warning that names those records, line and full
// address, before the address size narrows or a save writes them.
[[nodiscard]] QString addressMoveWarningText(const RecordTable& table, const std::vector<Slot>& hits);

// Text of the error that refuses to save records whose key data runs past
// FFFFFFFF (those beyond the 32-bit size): no address size can hold them.
[[nodiscard]] QString addressOverflowErrorText(const RecordTable& table, const std::vector<Slot>& hits);

} // namespace quorvane
