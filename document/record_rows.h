#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

#include <vector>

// Whole records moved, inserted, removed and copied as rows of the table
// (slots 0..255; the spare slot is the readers' and never moves). Each
// operation either does all of its work or leaves the table as it was and
// says why.
namespace quorvane {

// Consecutive records, `first` and the `count` - 1 below it.
struct RowRange {
    Slot first = 0;
    int count = 1;
    [[nodiscard]] Slot end() const { return first + count; }
};

struct RowEditResult {
    QString error;   // empty when the table changed as asked
    Slot focus = 0;  // where the record the user stood on now is
    [[nodiscard]] bool done() const { return error.isEmpty(); }
};

// Inserts blank records above `at`; the records from `at` move down. Refused
// when that would push a record in use past line 256.
[[nodiscard]] RowEditResult insertBlankRecords(RecordTable& table, Slot at, int count = 1);
// Inserts `records` above `at`, as insertBlankRecords.
[[nodiscard]] RowEditResult insertRecords(RecordTable& table, Slot at, const std::vector<KeyRecord>& records);
// Removes the records; the ones below move up and blank records fill the end.
RowEditResult deleteRecords(RecordTable& table, RowRange rows);
// The records trade places with the one above (below); nothing moves at
// the first (last) line.
RowEditResult moveRecordsUp(RecordTable& table, RowRange rows);
RowEditResult moveRecordsDown(RecordTable& table, RowRange rows);
// A copy of the records goes right below them.
[[nodiscard]] RowEditResult duplicateRecords(RecordTable& table, RowRange rows);

// Records as tab-separated lines (title, address, size, type, data), as
// spreadsheets copy and paste cells: a field holding a tab, a line end or a
// quote is quoted, so every character comes back. The address is written in
// the digits of the address size, or in eight where it does not fit them.
[[nodiscard]] QString recordsToTsv(const RecordTable& table, RowRange rows, AddressSize size);

struct TsvRecords {
    std::vector<KeyRecord> records;
    QString error; // names the line of the text and the reason
    [[nodiscard]] bool ok() const { return error.isEmpty(); }
};

// Reads what recordsToTsv writes, with or without a heading line; CR LF or
// LF, empty lines skipped, quoted fields as spreadsheets write them. Every field is checked as the grid's fields would take it, and sizes
// against the address size; the first bad line refuses the whole text.
[[nodiscard]] TsvRecords recordsFromTsv(const QString& text, AddressSize size);

} // namespace quorvane
