#include "address_sort.h"

#include "save_messages.h"

#include <algorithm>
#include <optional>

namespace quorvane {

namespace {

std::optional<Slot> nextInUse(const RecordTable& table, Slot after)
{
    for (Slot slot = after + 1; slot < kRecordCount; ++slot) {
        if (table[slot].inUse())
            return slot;
    }
    return std::nullopt;
}

// The lowest slot not in use (kRecordCount when all are) lies above the
// highest slot in use (0 when none is): no record in use sits behind a gap.
bool isCompact(const RecordTable& table)
{
    Slot last = 0;
    Slot first = kRecordCount;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (table[slot].inUse())
            last = slot;
        else if (first == kRecordCount)
            first = slot;
    }
    return last <= first;
}

QString lineLabel(Slot slot)
{
    return QStringLiteral("No.") + QString::number(lineNumberOf(slot)) + QLatin1Char(' ');
}

} // namespace

void cutAddressesToMode(RecordTable& table, AddressSize size)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord& record = table[slot];
        switch (size) {
        case AddressSize::Bits16: record.KeyAddrHigh = 0; break;
        case AddressSize::Bits24: record.KeyAddrHigh = qint16(record.KeyAddrHigh & 0xFF); break;
        case AddressSize::Bits32: break;
        }
    }
}

void sortByAddress(RecordTable& table)
{
    for (Slot i = 0; i < kRecordCount - 1; ++i) {
        if (!table[i].inUse())
            continue;
        std::optional<Slot> smallest;
        quint32 smallestAddress = table[i].address();
        for (Slot j = i + 1; j < kRecordCount; ++j) {
            if (table[j].inUse() && table[j].address() < smallestAddress) {
                smallest = j;
                smallestAddress = table[j].address();
            }
        }
        if (smallest)
            table.swapRecords(i, *smallest);
    }
}

void compactRecords(RecordTable& table)
{
    // Each pass moves every record in use one slot down past a gap, so the
    // relative order of both kinds of record is kept.
    do {
        for (Slot k = 1; k < kRecordCount; ++k) {
            if (!table[k - 1].inUse() && table[k].inUse())
                table.swapRecords(k - 1, k);
        }
    } while (!isCompact(table));
}

quint64 endAddress(const KeyRecord& record)
{
    const quint64 start = record.address();
    return record.KeySize > 0 ? start + quint64(record.KeySize) - 1 : start;
}

CollisionReport checkAddressCollisions(const RecordTable& table)
{
    CollisionReport report;
    report.message = QStringLiteral("Duplicated Address") + kCrLf;
    bool previousCollided = false;
    // The highest end of all records so far, not only of the neighbour: a
    // long record can cover several records after it, and the neighbour
    // alone would let such an overlap be saved unreported.
    quint64 reach = 0;
    for (Slot i = 0; i < kRecordCount - 1; ++i) {
        if (!table[i].inUse())
            continue;
        reach = std::max(reach, endAddress(table[i]));
        const std::optional<Slot> next = nextInUse(table, i);
        if (!next)
            break;
        if (table[*next].address() <= reach) {
            // In a chain, record i was already named as the second of the
            // previous pair.
            if (!previousCollided)
                report.message += lineLabel(i);
            report.message += lineLabel(*next);
            previousCollided = true;
            report.found = true;
        } else {
            previousCollided = false;
        }
    }
    report.message += kCrLf + QStringLiteral("Save the file after correcting the duplicated Address");
    return report;
}

CollisionReport Sort_AddressCheck(RecordTable& table, AddressSize size)
{
    cutAddressesToMode(table, size);
    sortByAddress(table);
    compactRecords(table);
    return checkAddressCollisions(table);
}

} // namespace quorvane
