// Where the long jumps land, without a widget: a record's edge bytes with
// the least scrolling, the record scroll that shows a line, the line number
// typed, and the records Find goes to.
#include "grid/navigation_targets.h"
#include "grid/record_search.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(RecordEdges, LandOnTheByteWithTheLeastScroll)
{
    struct Case {
        const char* what;
        KeyRecord record;
        RecordEdge edge = RecordEdge::Last;
        int leftBefore = 0;
        int byte;
        int leftAfter;
    };
    const Case cases[] = {
        {.what = "size 40, typed or not", .record = test::hexRecord("AB", 40), .byte = 39, .leftAfter = 24},
        {.what = "size 40, seen already", .record = test::hexRecord("AB", 40), .leftBefore = 30, .byte = 39,
         .leftAfter = 30},
        {.what = "no size: last typed", .record = test::hexRecord("0011223"), .byte = 3, .leftAfter = 0},
        {.what = "no size, scrolled past", .record = test::hexRecord("0011223"), .leftBefore = 9, .byte = 3,
         .leftAfter = 3},
        {.what = "empty", .record = test::hexRecord(""), .leftBefore = 5, .byte = 0, .leftAfter = 0},
        {.what = "no size, full", .record = test::hexRecord(QString(504, QLatin1Char('F'))), .byte = 251,
         .leftAfter = 236},
        {.what = "longer than the grid shows", .record = test::hexRecord("", 300), .byte = 251, .leftAfter = 236},
        {.what = "first", .record = test::hexRecord("AB", 40), .edge = RecordEdge::First, .leftBefore = 17,
         .byte = 0, .leftAfter = 0},
    };
    for (const Case& c : cases) {
        const int byte = edgeByte(c.record, c.edge);
        EXPECT_EQ(byte, c.byte) << c.what;
        EXPECT_EQ(leftByteShowing(byte, c.leftBefore), c.leftAfter) << c.what;
    }
}

TEST(LineTargets, ScrollTheLeastAndReadOnlyLineNumbers)
{
    const struct { Slot slot; Slot topBefore; Slot topAfter; } scrolls[] = {
        {.slot = 14, .topBefore = 10, .topAfter = 10}, {.slot = 19, .topBefore = 10, .topAfter = 10},
        {.slot = 20, .topBefore = 10, .topAfter = 11}, {.slot = 3, .topBefore = 10, .topAfter = 3},
        {.slot = 255, .topBefore = 0, .topAfter = 246},
    };
    for (const auto& s : scrolls)
        EXPECT_EQ(topSlotShowing(s.slot, s.topBefore), s.topAfter) << s.slot;
    const struct { const char* typed; std::optional<int> line; } lines[] = {
        {"1", 1}, {" 256 ", 256}, {"0", {}}, {"257", {}}, {"-3", {}}, {"12a", {}}, {"", {}},
    };
    for (const auto& l : lines)
        EXPECT_EQ(lineNumberFromText(QString::fromLatin1(l.typed)), l.line) << l.typed;
}

TEST(FindRecord, ByTitleOrAddressFromTheGivenSlotRound)
{
    RecordTable table;
    table[3] = test::recordAt(0x00012000, 0, QStringLiteral("Boot Key"));
    table[70] = test::recordAt(0x0000F000, 0, QStringLiteral("main key"));
    table[71] = test::recordAt(0x12345678, 0, QStringLiteral("serial"));
    table[80] = KeyRecord{QStringLiteral("0x55 pattern"), 0, 0x7700, 0, kTypeHex, {}, false};
    struct Case {
        const char* query;
        Slot from = 0;
        AddressSize size = AddressSize::Bits32;
        std::optional<RecordMatch> found;
    };
    const Case cases[] = {
        {.query = "KEY", .found = RecordMatch{3, RecordField::Title}},
        {.query = "KEY", .from = 4, .found = RecordMatch{70, RecordField::Title}},
        {.query = "KEY", .from = 71, .found = RecordMatch{3, RecordField::Title}},
        {.query = "f0", .found = RecordMatch{70, RecordField::Address}},
        {.query = "0000f", .found = RecordMatch{70, RecordField::Address}},
        {.query = "0x1234", .found = RecordMatch{71, RecordField::Address}},
        {.query = "12", .found = RecordMatch{3, RecordField::Address}},
        {.query = "12", .from = 4, .found = RecordMatch{71, RecordField::Address}},
        // 24-bit addresses show six digits: 345678.
        {.query = "3456", .size = AddressSize::Bits24, .found = RecordMatch{71, RecordField::Address}},
        {.query = "1234", .size = AddressSize::Bits24},
        // An address not set is no address, whatever its halves hold.
        {.query = "0x55", .found = RecordMatch{80, RecordField::Title}},
        {.query = "77"},
        {.query = "boat"},
        {.query = ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findRecord(table, c.size, QString::fromLatin1(c.query), c.from), c.found) << c.query << " " << c.from;
}
