// The reader of pasted rows over any text: it never reads past its input,
// refuses with a line and a reason or gives records, and records it gives,
// copied again, paste back to the same records.

#include "fuzz_support.h"

#include "document/record_rows.h"

#include <QString>

using namespace quorvane;
using quorvane::fuzz::expect;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const AddressSize addressSize : {AddressSize::Bits16, AddressSize::Bits32}) {
        const TsvRecords pasted = recordsFromTsv(text, addressSize);
        expect(pasted.ok() != pasted.records.empty(), "records or a reason, never both");
        if (!pasted.ok() || pasted.records.size() > std::size_t(kRecordCount))
            continue;
        RecordTable table;
        for (std::size_t i = 0; i < pasted.records.size(); ++i)
            table[Slot(i)] = pasted.records[i];
        const QString copied = recordsToTsv(table, {.first = 0, .count = int(pasted.records.size())}, addressSize);
        const TsvRecords again = recordsFromTsv(copied, addressSize);
        expect(again.ok(), "copied rows paste", [&] { return again.error; });
        expect(again.records == pasted.records, "copied rows paste back to the same records");
    }
    return 0;
}
