#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace quorvane {

// Values of KeyType. Files may bring other digits; code that branches on the
// type says which of "zero" / "non-zero" / "exactly one" it means.
inline constexpr qint16 kTypeHex = 0;
inline constexpr qint16 kTypeAscii = 1;

// One record of the key-data table. Field names are the column names the
// rest of the program (and its users' documentation) talk about.
//
// The address is kept as two 16-bit halves, each the two's-complement bit
// pattern of the upper / lower 16 bits; 0x8000..0xFFFF read as negative.
struct KeyRecord {
    QString KeyTitle;
    qint16 KeyAddrHigh = 0;
    qint16 KeyAddrLow = 0;
    qint16 KeySize = 0;          // bytes; 0 means "no size given"
    qint16 KeyType = kTypeHex;   // 0 HEX, 1 ASCII
    QString KeyData;             // HEX: digits as typed; ASCII: the characters
    bool KeyAddrSet = false;     // the record has an address

    // A record is in use when any of title, size, address flag or data is set.
    // KeyType alone does not make a record in use.
    [[nodiscard]] bool inUse() const
    {
        return !KeyTitle.isEmpty() || KeySize != 0 || KeyAddrSet || !KeyData.isEmpty();
    }

    // The full start address, both halves taken as unsigned 16-bit patterns.
    [[nodiscard]] quint32 address() const
    {
        return (quint32(quint16(KeyAddrHigh)) << 16) | quint16(KeyAddrLow);
    }

    [[nodiscard]] bool isEmptyRecord() const { return *this == KeyRecord{}; }

    bool operator==(const KeyRecord&) const = default;
};

// A record slot, 0..256. Slots 0..255 are the document's records (line
// number = slot + 1); slot 256 is a spare that only the file readers fill and
// only the template writer reads.
using Slot = int;

inline constexpr int kSlotCount = 257;
inline constexpr int kRecordCount = 256;
inline constexpr Slot kSpareSlot = 256;

[[nodiscard]] inline int lineNumberOf(Slot slot) { return slot + 1; }

class RecordTable {
public:
    [[nodiscard]] KeyRecord& operator[](Slot slot) { return slots_.at(std::size_t(slot)); }
    [[nodiscard]] const KeyRecord& operator[](Slot slot) const { return slots_.at(std::size_t(slot)); }

    // Makes slots 0..255 empty records. The spare slot 256 keeps its contents.
    void BlankSet();

    // Exchanges two records whole (all seven columns).
    void swapRecords(Slot a, Slot b);

    bool operator==(const RecordTable&) const = default;

private:
    std::array<KeyRecord, kSlotCount> slots_{};
};

} // namespace quorvane
