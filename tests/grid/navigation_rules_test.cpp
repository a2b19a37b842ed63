// Where the long jumps land, without a widget: a record's edge bytes with
// the least scrolling, the line number typed, and the records Find goes to;
// the record scroll that shows a line is followed by the window's tests.
#include "grid/navigation_targets.h"
#include "grid/record_search.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(JumpTargets, LandWithTheLeastScroll)
{
    using test::hexRecord;
    using enum RecordEdge;
    const struct { KeyRecord record; RecordEdge edge = Last; int left = 0; int byte; int leftAfter; } edges[] = {
        {.record = hexRecord("AB", 40), .byte = 39, .leftAfter = 24}, // a size: its last byte, typed or not
        {.record = hexRecord("AB", 40), .left = 30, .byte = 39, .leftAfter = 30}, // already in view
        {.record = hexRecord("0011223"), .left = 9, .byte = 3, .leftAfter = 3},   // no size: the last typed
        {.record = hexRecord(""), .left = 5, .byte = 0, .leftAfter = 0},
        {.record = hexRecord("", 300), .byte = 251, .leftAfter = 236}, // no further than the grid shows
        {.record = hexRecord("AB", 40), .edge = First, .left = 17, .byte = 0, .leftAfter = 0},
    };
    for (const auto& e : edges) {
        EXPECT_EQ(edgeByte(e.record, e.edge), e.byte) << e.record.KeyData.size();
        EXPECT_EQ(leftByteShowing(e.byte, e.left), e.leftAfter) << e.byte;
    }
    const struct { const char* typed; std::optional<int> line = {}; } typed[] = {
        {.typed = " 256 ", .line = 256}, {.typed = "1", .line = 1}, {.typed = "0"}, {.typed = "257"},
        {.typed = "12a"}, {.typed = ""}};
    for (const auto& t : typed)
        EXPECT_EQ(lineNumberFromText(QString::fromLatin1(t.typed)), t.line) << t.typed;
}

TEST(FindRecord, ByTitleOrAddressFromTheGivenSlotRound)
{
    RecordTable table;
    table[3] = test::recordAt(0x00012000, 0, QStringLiteral("Boot Key"));
    table[70] = test::recordAt(0x0000F000, 0, QStringLiteral("main key"));
    table[71] = test::recordAt(0x12345678, 0, QStringLiteral("serial"));
    table[80] = KeyRecord{QStringLiteral("0x55"), 0, 0x7700, 0, kTypeHex, {}, false}; // halves, no address
    using enum RecordField;
    constexpr AddressSize kBits24 = AddressSize::Bits24;
    const struct { const char* query; Slot from = 0; AddressSize size = AddressSize::Bits32;
                   std::optional<RecordMatch> found = {}; } cases[] = {
        {.query = "KEY", .found = RecordMatch{3, Title}},
        {.query = "KEY", .from = 71, .found = RecordMatch{3, Title}},
        {.query = "0000f", .found = RecordMatch{70, Address}},
        {.query = "f0", .found = RecordMatch{70, Address}}, // leading zeros optional
        {.query = "0x1234", .from = 4, .found = RecordMatch{71, Address}},
        {.query = "3456", .size = kBits24, .found = RecordMatch{71, Address}}, // as 24-bit shows it: 345678
        {.query = "0x55", .found = RecordMatch{80, Title}},
        {.query = "77"},
        {.query = ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findRecord(table, c.size, QString::fromLatin1(c.query), c.from), c.found) << c.query << " " << c.from;
}
