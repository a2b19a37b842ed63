#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

// Putting the records in use into address order without gaps, and finding
// records whose address ranges overlap. Works on slots 0..255.
namespace quorvane {

// Narrows every stored address to the address size: 24-bit keeps the low
// byte of the high half, 16-bit clears the high half.
void cutAddressesToMode(RecordTable& table, AddressSize size);

// Selection sort by exchange over the records in use. For each record i in
// use, the record in use after it with the smallest address strictly below
// record i's (the first of equal ones) changes places with it. Records not in
// use are neither moved nor compared. The exchanges are not stable; this rule
// fixes where records with equal addresses end up.
void sortByAddress(RecordTable& table);

// Moves the records in use to slots 0..n-1 and the others behind them, both
// keeping their relative order.
void compactRecords(RecordTable& table);

// Last byte of a record: start + size - 1, or the start itself when there is
// no positive size. It may lie beyond 32 bits (FFFFFFF8 + 16).
[[nodiscard]] quint64 endAddress(const KeyRecord& record);

// The report of overlapping records and whether there was any.
struct CollisionReport {
    bool found = false;
    QString message; // "Duplicated Address", the lines, the advice: shown when found
};

// Walks the records in use in slot order: the next record collides when it
// starts at or before the last byte of any record before it (the furthest
// end so far). A chain of colliding records names each line once:
// "No.5 No.6 No.7 ".
[[nodiscard]] CollisionReport checkAddressCollisions(const RecordTable& table);

// Cut, sort and compact the table, then check it for collisions. The table
// keeps its new order whatever the outcome; the caller redraws the grid and,
// when `found`, shows `message` and does not save.
[[nodiscard]] CollisionReport Sort_AddressCheck(RecordTable& table, AddressSize size);

} // namespace quorvane
