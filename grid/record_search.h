#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

#include <optional>

namespace quorvane {

enum class RecordField { Title, Address };

struct RecordMatch {
    Slot slot;
    RecordField field;

    bool operator==(const RecordMatch&) const = default;
};

// The first record from slot `from` on, wrapping round after the last
// record, whose title holds `query` in any case, or whose address starts
// with it as hex digits: as the address field shows it in `size`, or
// without its leading zeros ("1000" finds 00001000; a "0x" in front is
// allowed). Records without an address are found by their title only; an
// empty query finds nothing.
[[nodiscard]] std::optional<RecordMatch> findRecord(const RecordTable& table, AddressSize size,
                                                    const QString& query, Slot from);

} // namespace quorvane
