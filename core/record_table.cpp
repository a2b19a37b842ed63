#include "record_table.h"

#include <utility>

namespace quorvane {

void RecordTable::BlankSet()
{
    for (Slot s = 0; s < kRecordCount; ++s)
        slots_[std::size_t(s)] = KeyRecord{};
}

void RecordTable::swapRecords(Slot a, Slot b)
{
    std::swap((*this)[a], (*this)[b]);
}

} // namespace quorvane
