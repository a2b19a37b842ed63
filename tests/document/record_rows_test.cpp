// Whole records inserted, removed, moved and duplicated, and the
// tab-separated text they are copied and pasted as.

#include "document/record_rows.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::recordWith;

// Slots 0, 1, 2, ... titled by the letters of `titles`, and `last` at line 256.
RecordTable lettered(const QString& titles, const QString& last = {})
{
    RecordTable table;
    for (qsizetype i = 0; i < titles.size(); ++i)
        table[Slot(i)].KeyTitle = titles.at(i);
    table[kRecordCount - 1].KeyTitle = last;
    return table;
}

// "slot:title" of every record in use.
QString inUse(const RecordTable& table)
{
    QStringList shown;
    for (Slot s = 0; s < kSlotCount; ++s)
        if (table[s].inUse())
            shown << QStringLiteral("%1:%2").arg(s).arg(table[s].KeyTitle);
    return shown.join(u' ');
}

TEST(RecordRows, MoveWholeRecordsOrRefuseWithoutChange)
{
    using Operation = std::function<RowEditResult(RecordTable&)>;
    const auto at = [](Slot first, int count = 1) { return RowRange{.first = first, .count = count}; };
    const std::vector<KeyRecord> three(3, recordWith([](KeyRecord& r) { r.KeyTitle = u"p"_s; }));
    const struct {
        const char* name;
        RecordTable table;
        Operation operation;
        QString after = {}; // empty: as before
        Slot focus = 0;
        QString error = {};
    } rows[] = {
        {.name = "insert", .table = lettered(u"abc"_s), .operation = [](RecordTable& t) { return insertBlankRecords(t, 1); },
         .after = u"0:a 2:b 3:c"_s, .focus = 1},
        {.name = "insert, line 256 in use", .table = lettered(u"abc"_s, u"z"_s),
         .operation = [](RecordTable& t) { return insertBlankRecords(t, 4); }, .focus = 4,
         .error = u"Cannot insert 1 record at line 5: no empty line is left at the end of the table."_s},
        {.name = "delete two", .table = lettered(u"abcd"_s, u"z"_s),
         .operation = [&](RecordTable& t) { return deleteRecords(t, at(1, 2)); }, .after = u"0:a 1:d 253:z"_s, .focus = 1},
        {.name = "up", .table = lettered(u"abc"_s), .operation = [&](RecordTable& t) { return moveRecordsUp(t, at(2)); },
         .after = u"0:a 1:c 2:b"_s, .focus = 1},
        {.name = "up at line 1", .table = lettered(u"abc"_s), .operation = [&](RecordTable& t) { return moveRecordsUp(t, at(0)); }},
        {.name = "down", .table = lettered(u"abc"_s), .operation = [&](RecordTable& t) { return moveRecordsDown(t, at(0)); },
         .after = u"0:b 1:a 2:c"_s, .focus = 1},
        {.name = "down at line 256", .table = lettered(u"a"_s, u"z"_s),
         .operation = [&](RecordTable& t) { return moveRecordsDown(t, at(255)); }, .focus = 255},
        {.name = "duplicate", .table = lettered(u"abc"_s), .operation = [&](RecordTable& t) { return duplicateRecords(t, at(1)); },
         .after = u"0:a 1:b 2:b 3:c"_s, .focus = 2},
        {.name = "paste three, two lines below", .table = lettered(u"ab"_s),
         .operation = [&](RecordTable& t) { return insertRecords(t, 254, three); }, .focus = 254,
         .error = u"Cannot insert 3 records at line 255: 2 empty lines are left at the end of the table."_s},
        {.name = "paste three", .table = lettered(u"ab"_s), .operation = [&](RecordTable& t) { return insertRecords(t, 1, three); },
         .after = u"0:a 1:p 2:p 3:p 4:b"_s, .focus = 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RecordTable table = row.table;
        const RowEditResult result = row.operation(table);
        EXPECT_EQ(result.error, row.error);
        EXPECT_EQ(result.focus, row.focus);
        EXPECT_EQ(inUse(table), row.after.isEmpty() ? inUse(row.table) : row.after);
    }
}

TEST(RecordTsv, RoundTripsEveryColumn)
{
    RecordTable table;
    table[0] = test::hexRecordAt(0x1234, u"A1B2"_s);
    table[0].KeyTitle = u"key one"_s;
    table[1] = test::addressed(test::asciiRecord(u"S/N "_s + test::kAUmlaut, 8), 0x12345678); // wider than 16 bits
    table[2].KeyType = kTypeAscii; // not in use
    table[3] = test::hexRecord(u"ABC"_s); // no size, odd digits
    table[3].KeyAddrSet = false;
    table[4] = test::asciiRecord(u"a\tb\r\n\"c\"\r"_s, 0); // every character a field must quote
    table[4].KeyTitle = u"\"quoted\"\ttitle\n"_s;
    const QString text = recordsToTsv(table, {.first = 0, .count = 5}, AddressSize::Bits16);
    EXPECT_EQ(text.section(u"\r\n"_s, 0, 0), u"key one\t1234\t2\tHEX\tA1B2"_s);
    const TsvRecords back = recordsFromTsv(text, AddressSize::Bits16);
    ASSERT_EQ(back.error, QString());
    EXPECT_EQ(back.records, std::vector<KeyRecord>({table[0], table[1], table[2], table[3], table[4]}));
    // A spreadsheet's heading line, LF line ends, lower-case digits and a
    // quoted cell.
    const TsvRecords typed =
        recordsFromTsv(u"Title\tAddress\tSize\tType\tData\n\"k \"\"1\"\"\"\t1234\t2\thex\ta1b2\n"_s, AddressSize::Bits16);
    ASSERT_EQ(typed.records.size(), 1u);
    EXPECT_EQ(typed.records[0], recordWith([&](KeyRecord& r) { r = table[0]; r.KeyTitle = u"k \"1\""_s; }));
}

TEST(RecordTsv, RefusesTheFirstBadLineWithItsReason)
{
    const struct {
        QString text;
        QString error;
    } rows[] = {
        {u"a\t12\t2\tHEX"_s, u"Line 1 of the pasted text: it has 4 fields, not the 5 of a record (title, address, size, type, data)."_s},
        {u"a\t12345G\t2\tHEX\t00"_s, u"Line 1 of the pasted text: address \"12345G\" is not 1 to 8 hex digits."_s},
        {u"a\t1\t251\tHEX\t"_s, u"Line 1 of the pasted text: size \"251\" is not a number from 0 to 250."_s},
        {u"a\t1\t2\tBIN\t"_s, u"Line 1 of the pasted text: type \"BIN\" is not HEX or ASCII."_s},
        {u"a\t1\t2\tHEX\t00\r\nb\t1\t2\tHEX\t0G"_s, u"Line 2 of the pasted text: data \"0G\" is not hex digits."_s},
        {u"b\t1\t2\tHEX\t010203"_s, u"Line 1 of the pasted text: its data holds 3 bytes, more than its size of 2."_s},
        {u"b\t1\t\tASCII\t"_s + QString(253, u'x'), u"Line 1 of the pasted text: its data holds 253 bytes, more than the 252 of a record."_s},
        {u"\n"_s, u"The pasted text holds no records."_s},
        {u"a\t1\t2\tHEX\t00\n\nb\t1\t2\tASCII\t\"x\ny"_s, u"Line 3 of the pasted text: a quoted field has no closing quote."_s},
    };
    for (const auto& row : rows) {
        const TsvRecords result = recordsFromTsv(row.text, AddressSize::Bits32);
        EXPECT_EQ(result.error, row.error);
        EXPECT_TRUE(result.records.empty());
    }
}

} // namespace
} // namespace quorvane
