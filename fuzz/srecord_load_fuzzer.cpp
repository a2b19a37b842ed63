// SRecodeLoad over any bytes, then the KEY writer over what it loaded. A
// loaded record holds exactly its size in hex digits at an address; a KEY
// file the program writes passes its own check and loads back to the same
// records, addresses as the address size writes them and digits upper case.

#include "fuzz_support.h"

#include "files/srecord_reader.h"
#include "files/srecord_writer.h"

#include "core/hex_text.h"

using namespace quorvane;
using quorvane::fuzz::describe;
using quorvane::fuzz::expect;

namespace {

void expectLoadedRecords(const RecordTable& table)
{
    bool gapSeen = false;
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (!record.inUse()) {
            gapSeen = true;
            continue;
        }
        expect(!gapSeen, "records fill the slots from 0 without a gap", [&] { return QString::number(slot); });
        expect(record.KeyAddrSet && record.KeyTitle.isEmpty() && record.KeyType == kTypeHex,
               "a loaded record has an address, no title and HEX data", [&] { return describe(record); });
        expect(record.KeySize >= 0 && record.KeySize <= kMaxSrecordCount - 3
                   && record.KeyData.size() == 2 * record.KeySize && IsHEXString(record.KeyData),
               "a loaded record holds two hex digits per byte of its size", [&] { return describe(record); });
    }
}

bool anyRecordBeyond(const RecordTable& table, int limit)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (table[slot].inUse() && table[slot].KeySize > limit)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    Document loaded;
    const QString error = SRecodeLoad(input.device(), loaded);
    if (!error.isEmpty()) {
        expect(error.startsWith(QStringLiteral("ERROR:")) && error.size() > 6, "a failure is an error text",
               [&] { return error; });
        return 0;
    }
    expectLoadedRecords(loaded.table);

    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    const AddressSize addressSize = loaded.mode.current();
    const QString saveError = SRecodeSave(out, loaded);
    if (!saveError.isEmpty()) {
        // A data line of 252 bytes fits 16-bit addresses only, yet a later
        // S3 line makes the document 32-bit: the one thing the writer refuses.
        expect(anyRecordBeyond(loaded.table, dataLimit(addressSize)),
               "the writer refuses only a record beyond the limit", [&] { return saveError; });
        expect(written.isEmpty(), "a refused save writes nothing");
        return 0;
    }

    fuzz::InputDevice reread(written);
    expect(bool(CheckSrecordFile(reread.device())), "a written KEY file passes the check");
    Document again;
    expect(SRecodeLoad(reread.rewound(), again).isEmpty(), "a written KEY file loads");
    expect(again.mode.current() == addressSize, "the address size comes back");
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord expected = fuzz::narrowed(loaded.table[slot], addressSize);
        expected.KeyData = expected.KeyData.toUpper();
        expect(again.table[slot] == expected, "a written KEY file loads back to its records",
               [&] { return describe(again.table[slot]) + QStringLiteral(" / ") + describe(expected); });
    }
    expect(!again.table[kSpareSlot].inUse(), "the spare slot is never written");
    return 0;
}
