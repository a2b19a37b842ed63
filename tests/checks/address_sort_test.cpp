#include "checks/address_sort.h"

#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace quorvane {
namespace {

using test::recordAt;
using test::tableInOrder;

std::vector<QString> titlesInUse(const RecordTable& table)
{
    std::vector<QString> titles;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (table[slot].inUse())
            titles.push_back(table[slot].KeyTitle);
    }
    return titles;
}

QString reportWithLine(const QString& line)
{
    return "Duplicated Address\r\n" + line + "\r\nSave the file after correcting the duplicated Address";
}

TEST(AddressSort, CutNarrowsEveryRecordsAddressButTheSparesToTheMode)
{
    // The high half F123 reads as negative; 24 bits keep its low byte.
    const struct { AddressSize mode; quint32 expected; } cases[] = {
        {AddressSize::Bits16, 0x00008000}, {AddressSize::Bits24, 0x00238000}, {AddressSize::Bits32, 0xF1238000}};
    for (const auto& c : cases) {
        RecordTable table;
        table[0] = recordAt(0xF1238000, 1);
        table[255] = recordAt(0xF1238000, 0, QString()); // not in use, cut all the same
        table[255].KeyAddrSet = false;
        table[kSpareSlot] = table[0];
        cutAddressesToMode(table, c.mode);
        EXPECT_EQ(table[0].address(), c.expected) << int(c.mode);
        EXPECT_EQ(table[255].address(), c.expected) << int(c.mode);
        EXPECT_EQ(table[kSpareSlot].address(), 0xF1238000u);
    }
}

TEST(AddressSort, CutsBeforeSortingAndChecking)
{
    // In 32 bits these are in order and apart; cut to 16 bits they swap and overlap.
    RecordTable table = tableInOrder({{0x00000008, 1}, {0x12340006, 4}});
    EXPECT_EQ(Sort_AddressCheck(table, AddressSize::Bits16).message, reportWithLine("No.1 No.2 "));
    EXPECT_EQ(titlesInUse(table), (std::vector<QString>{"@1", "@0"}));
    EXPECT_EQ(table[0].address(), 6u);
}

TEST(AddressSort, EndAddressIsTheLastByteBeyond32BitsOrTheStart)
{
    const struct { quint32 start; int size; quint64 end; } cases[] = {
        {0xFFF8, 16, 0x10007}, {0xFFFFFFF8, 16, 0x100000007}, {0x2000, 0, 0x2000}, {0x2000, -5, 0x2000}};
    for (const auto& c : cases)
        EXPECT_EQ(endAddress(recordAt(c.start, c.size)), c.end) << c.start << " size " << c.size;
}

TEST(AddressSort, ReportsEachCollidingNeighbourOnce)
{
    const struct { const char* name; std::vector<std::pair<quint32, int>> records; QString line; } cases[] = {
        {"no records", {}, ""},
        {"overlap by one byte", {{0x1000, 16}, {0x100F, 1}}, "No.1 No.2 "},
        {"adjacent", {{0x1000, 16}, {0x1010, 1}}, ""},
        {"end beyond 32 bits", {{0xFFFFFFF8, 16}, {0xFFFFFFFF, 1}}, "No.1 No.2 "},
        {"size 0 at the same address", {{0x2000, 0}, {0x2000, 0}}, "No.1 No.2 "},
        {"chain of three", {{0x0, 16}, {0x8, 16}, {0x10, 16}}, "No.1 No.2 No.3 "},
        {"one record covers the next two", {{0x0, 100}, {0x10, 1}, {0x20, 1}}, "No.1 No.2 No.3 "},
        {"covered, then clear again", {{0x0, 0x21}, {0x10, 1}, {0x20, 1}, {0x30, 1}}, "No.1 No.2 No.3 "},
        {"pairs back to back", {{0x0, 2}, {0x1, 1}, {0x10, 2}, {0x11, 1}}, "No.1 No.2 No.3 No.4 "},
    };
    for (const auto& c : cases) {
        RecordTable table = tableInOrder(c.records);
        const CollisionReport report = Sort_AddressCheck(table, AddressSize::Bits32);
        EXPECT_EQ(report.found, !c.line.isEmpty()) << c.name;
        EXPECT_EQ(report.message, reportWithLine(c.line)) << c.name;
    }
}

TEST(AddressSort, CollisionsOfAnUncompactedTableNameTheRecordsLines)
{
    RecordTable table;
    table[0] = recordAt(0x10, 4);
    table[5] = recordAt(0x11, 4);
    table[9] = recordAt(0x12, 1);
    EXPECT_EQ(checkAddressCollisions(table).message, reportWithLine("No.1 No.6 No.10 "));
}

// Reference for where every record ends up: the records in use, taken out of
// the table, run through a textbook selection sort (std::min_element finds
// the first smallest), followed by the records not in use in their order.
std::vector<KeyRecord> expectedAfterSort(const RecordTable& table)
{
    std::vector<KeyRecord> inUse;
    std::vector<KeyRecord> idle;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        (table[slot].inUse() ? inUse : idle).push_back(table[slot]);
    const auto byAddress = [](const KeyRecord& a, const KeyRecord& b) { return a.address() < b.address(); };
    for (auto it = inUse.begin(); it != inUse.end(); ++it) {
        const auto smallest = std::min_element(std::next(it), inUse.end(), byAddress);
        if (smallest != inUse.end() && smallest->address() < it->address())
            std::iter_swap(it, smallest);
    }
    inUse.insert(inUse.end(), idle.begin(), idle.end());
    return inUse;
}

TEST(AddressSort, RandomTablesEndAsTheReferenceSortSays)
{
    // Few distinct addresses, so ties are common; both halves cover
    // patterns read as negative.
    const quint32 addresses[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const int inUsePercent = int(seed % 101); // from empty to full tables
        RecordTable table;
        for (Slot slot = 0; slot <= kSpareSlot; ++slot) {
            const quint32 address = addresses[std::uniform_int_distribution<std::size_t>(0, 8)(random)];
            const bool inUse = std::uniform_int_distribution<int>(0, 99)(random) < inUsePercent;
            // One not in use still holds an address and a type: the sort must carry it unchanged.
            table[slot] = recordAt(address, inUse ? 1 : 0, inUse ? QString::number(slot) : QString());
            table[slot].KeyAddrSet = inUse;
            table[slot].KeyType = qint16(slot % 2);
        }
        const RecordTable before = table;
        const std::vector<KeyRecord> expected = expectedAfterSort(before);

        (void)Sort_AddressCheck(table, AddressSize::Bits32);

        for (Slot slot = 0; slot < kRecordCount; ++slot)
            ASSERT_EQ(table[slot], expected[std::size_t(slot)]) << "seed " << seed << " slot " << slot;
        ASSERT_EQ(table[kSpareSlot], before[kSpareSlot]) << "seed " << seed;
    }
}

} // namespace
} // namespace quorvane
