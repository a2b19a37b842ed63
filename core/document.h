#pragma once

#include "address_size.h"
#include "record_table.h"

namespace quorvane {

// The one document: the record table and the address size it is written in.
// The file readers and writers, the checks and the window all work on it.
struct Document {
    RecordTable table;
    AddressMode mode;
};

// Takes over the table and the address size of `source`; the listeners of
// `target` hear of the new size.
inline void adoptDocument(Document& target, const Document& source)
{
    target.table = source.table;
    target.mode.set(source.mode.current());
}

} // namespace quorvane
