#include "checks/address_sort.h"

#include "table_builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace quorvane {
namespace {

using test::recordAt;

struct Placed {
    Slot slot;
    quint32 address;
    int size = 1;
};

RecordTable tableOf(const std::vector<Placed>& records)
{
    RecordTable table;
    for (const Placed& p : records)
        table[p.slot] = recordAt(p.address, p.size, QStringLiteral("@%1").arg(p.slot));
    return table;
}

// Records placed in slots 0, 1, 2, ... in the given order.
RecordTable tableInOrder(const std::vector<std::pair<quint32, int>>& records)
{
    RecordTable table;
    Slot slot = 0;
    for (const auto& [address, size] : records) {
        table[slot] = recordAt(address, size, QStringLiteral("@%1").arg(slot));
        ++slot;
    }
    return table;
}

std::vector<QString> titlesInUse(const RecordTable& table)
{
    std::vector<QString> titles;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (table[slot].inUse())
            titles.push_back(table[slot].KeyTitle);
    }
    return titles;
}

int countInUse(const RecordTable& table)
{
    int n = 0;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        n += table[slot].inUse() ? 1 : 0;
    return n;
}

QString reportWithLine(const QString& line)
{
    return QStringLiteral("Duplicated Address\r\n") + line
        + QStringLiteral("\r\nSave the file after correcting the duplicated Address");
}

TEST(AddressSort, CutNarrowsEveryStoredAddressToTheMode)
{
    const struct {
        AddressSize mode;
        quint32 address;
        quint32 expected;
    } cases[] = {
        {AddressSize::Bits16, 0x12345678, 0x00005678}, {AddressSize::Bits16, 0xFFFF8000, 0x00008000},
        {AddressSize::Bits24, 0x12345678, 0x00345678}, {AddressSize::Bits24, 0xFFFF8000, 0x00FF8000},
        {AddressSize::Bits32, 0x12345678, 0x12345678}, {AddressSize::Bits32, 0xFFFF8000, 0xFFFF8000},
    };
    for (const auto& c : cases) {
        RecordTable table;
        table[0] = recordAt(c.address, 1);
        // A record not in use is cut as well.
        table[255] = recordAt(c.address, 0, QString());
        table[255].KeyAddrSet = false;
        table[kSpareSlot] = recordAt(c.address, 1);
        cutAddressesToMode(table, c.mode);
        EXPECT_EQ(table[0].address(), c.expected) << std::hex << c.address;
        EXPECT_EQ(table[255].address(), c.expected) << std::hex << c.address;
        EXPECT_EQ(table[kSpareSlot].address(), c.address);
    }
}

TEST(AddressSort, OrdersRecordsInUseAndClosesTheGaps)
{
    RecordTable table = tableOf({{0, 300}, {3, 100}, {7, 200}});
    EXPECT_EQ(Sort_AddressCheck(table, AddressSize::Bits32).result(), 0);
    EXPECT_EQ(table[0].address(), 100u);
    EXPECT_EQ(table[1].address(), 200u);
    EXPECT_EQ(table[2].address(), 300u);
    EXPECT_EQ(countInUse(table), 3);
}

TEST(AddressSort, ComparesHalvesAsUnsigned)
{
    RecordTable table = tableInOrder({{0x80000000, 1}, {0xFFFF0000, 1}, {0x7FFFFFFF, 1}, {0x00000001, 1}, {0x00008000, 1}});
    sortByAddress(table);
    const std::vector<quint32> expected = {0x00000001, 0x00008000, 0x7FFFFFFF, 0x80000000, 0xFFFF0000};
    for (Slot slot = 0; slot < 5; ++slot)
        EXPECT_EQ(table[slot].address(), expected[std::size_t(slot)]) << slot;
}

TEST(AddressSort, SixteenBitModeComparesTheLowHalvesAndKeepsTheCut)
{
    RecordTable table = tableInOrder({{0x00000010, 1}, {0x12340000, 1}});
    EXPECT_EQ(Sort_AddressCheck(table, AddressSize::Bits16).result(), 0);
    EXPECT_EQ(table[0].KeyTitle, QStringLiteral("@1"));
    EXPECT_EQ(table[0].KeyAddrHigh, 0);
    EXPECT_EQ(table[1].address(), 0x10u);
}

TEST(AddressSort, TwentyFourBitModeCanMakeAddressesCollide)
{
    RecordTable table = tableInOrder({{0x02001000, 4}, {0x01001000, 4}});
    const CollisionReport report = Sort_AddressCheck(table, AddressSize::Bits24);
    EXPECT_TRUE(report.found);
    EXPECT_EQ(table[0].address(), 0x001000u);
    EXPECT_EQ(table[1].address(), 0x001000u);
}

TEST(AddressSort, ExchangesFollowTheSelectionRuleForEqualAddresses)
{
    const struct {
        const char* name;
        std::vector<std::pair<quint32, int>> records;
        std::vector<QString> expectedOrder;
    } cases[] = {
        // The first 5 goes to the back: equal records change order.
        {"equal pair overtaken", {{5, 1}, {5, 1}, {1, 1}}, {"@2", "@1", "@0"}},
        // Among equal smallest addresses the first is taken.
        {"first of equal smallest", {{2, 1}, {1, 1}, {1, 1}}, {"@1", "@2", "@0"}},
        {"equal to the current is no exchange", {{1, 1}, {1, 1}, {0, 1}, {1, 1}}, {"@2", "@1", "@0", "@3"}},
        {"already sorted stays", {{1, 1}, {2, 1}, {2, 1}, {3, 1}}, {"@0", "@1", "@2", "@3"}},
    };
    for (const auto& c : cases) {
        RecordTable table = tableInOrder(c.records);
        sortByAddress(table);
        EXPECT_EQ(titlesInUse(table), c.expectedOrder) << c.name;
    }
}

TEST(AddressSort, RecordsNotInUseAreNeitherComparedNorMovedBySorting)
{
    RecordTable table = tableOf({{1, 50}, {4, 10}});
    // Not in use, though it holds an address pattern and the ASCII type.
    KeyRecord idle;
    idle.KeyType = kTypeAscii;
    idle.KeyAddrLow = 1;
    table[2] = idle;
    sortByAddress(table);
    EXPECT_EQ(table[1].address(), 10u);
    EXPECT_EQ(table[4].address(), 50u);
    EXPECT_EQ(table[2], idle);
    EXPECT_FALSE(table[0].inUse());
}

TEST(AddressSort, CompactionKeepsTheOrderOfBothKinds)
{
    RecordTable table;
    KeyRecord idleA;
    idleA.KeyType = kTypeAscii;
    KeyRecord idleB;
    idleB.KeyAddrLow = 7;
    table[0] = idleA;
    table[2] = recordAt(9, 1, QStringLiteral("x"));
    table[3] = idleB;
    table[200] = recordAt(1, 1, QStringLiteral("y"));
    table[255] = recordAt(5, 1, QStringLiteral("z"));
    compactRecords(table);
    EXPECT_EQ(titlesInUse(table), (std::vector<QString>{"x", "y", "z"}));
    EXPECT_EQ(table[2].KeyTitle, QStringLiteral("z"));
    EXPECT_EQ(table[3], idleA);
    EXPECT_EQ(table[5], idleB);
    EXPECT_EQ(countInUse(table), 3);
}

TEST(AddressSort, EndAddressCarriesIntoTheHighHalf)
{
    const struct {
        quint32 start;
        int size;
        quint64 end;
    } cases[] = {
        {0x1000, 16, 0x100F},         {0xFFF8, 16, 0x10007},
        {0xFFFFFFF8, 16, 0x100000007}, {0x2000, 1, 0x2000},
        {0x2000, 0, 0x2000},           {0x2000, -5, 0x2000},
        {0x0, 999, 998},
    };
    for (const auto& c : cases)
        EXPECT_EQ(endAddress(recordAt(c.start, c.size)), c.end) << std::hex << c.start << " size " << std::dec << c.size;
}

TEST(AddressSort, ReportsEachCollidingNeighbourOnce)
{
    const struct {
        const char* name;
        std::vector<std::pair<quint32, int>> records;
        QString line;
    } cases[] = {
        {"overlap by one byte", {{0x1000, 16}, {0x100F, 1}}, QStringLiteral("No.1 No.2 ")},
        {"adjacent", {{0x1000, 16}, {0x1010, 1}}, QString()},
        {"carry into high half", {{0xFFF8, 16}, {0x10000, 1}}, QStringLiteral("No.1 No.2 ")},
        {"carry beyond 32 bits", {{0xFFFFFFF8, 16}, {0xFFFFFFFF, 1}}, QStringLiteral("No.1 No.2 ")},
        {"size 0 at the same address", {{0x2000, 0}, {0x2000, 0}}, QStringLiteral("No.1 No.2 ")},
        {"size 0 then next address", {{0x2000, 0}, {0x2001, 0}}, QString()},
        {"chain of three", {{0x0, 16}, {0x8, 16}, {0x10, 16}}, QStringLiteral("No.1 No.2 No.3 ")},
        {"contained range", {{0x0, 100}, {0x10, 1}, {0x20, 1}}, QStringLiteral("No.1 No.2 ")},
        {"two groups",
         {{0x0, 1}, {0x10, 4}, {0x12, 1}, {0x20, 1}, {0x30, 4}, {0x32, 4}, {0x34, 1}, {0x40, 1}},
         QStringLiteral("No.2 No.3 No.5 No.6 No.7 ")},
        {"pairs back to back", {{0x0, 2}, {0x1, 1}, {0x10, 2}, {0x11, 1}}, QStringLiteral("No.1 No.2 No.3 No.4 ")},
    };
    for (const auto& c : cases) {
        RecordTable table = tableInOrder(c.records);
        const CollisionReport report = Sort_AddressCheck(table, AddressSize::Bits32);
        EXPECT_EQ(report.found, !c.line.isEmpty()) << c.name;
        EXPECT_EQ(report.result(), c.line.isEmpty() ? 0 : 1) << c.name;
        EXPECT_EQ(report.DupMessage, reportWithLine(c.line)) << c.name;
    }
}

TEST(AddressSort, RecordsWithTitlesOnlySitAtZeroAndCollide)
{
    RecordTable table;
    table[4].KeyTitle = QStringLiteral("a");
    table[9].KeyTitle = QStringLiteral("b");
    const CollisionReport report = Sort_AddressCheck(table, AddressSize::Bits32);
    EXPECT_EQ(report.DupMessage.toUtf8(),
              QByteArray("Duplicated Address\r\nNo.1 No.2 \r\nSave the file after correcting the duplicated Address"));
    EXPECT_EQ(table[0].KeyTitle, QStringLiteral("a"));
    EXPECT_EQ(table[1].KeyTitle, QStringLiteral("b"));
}

TEST(AddressSort, NoRecordsNoCollision)
{
    RecordTable table;
    const CollisionReport report = Sort_AddressCheck(table, AddressSize::Bits32);
    EXPECT_FALSE(report.found);
    EXPECT_EQ(report.DupMessage.toUtf8(),
              QByteArray("Duplicated Address\r\n\r\nSave the file after correcting the duplicated Address"));
    EXPECT_EQ(table, RecordTable{});
}

TEST(AddressSort, CollisionsOfAnUncompactedTableNameTheRecordsLines)
{
    const RecordTable table = tableOf({{0, 0x10, 4}, {5, 0x11, 4}, {9, 0x12, 1}});
    EXPECT_EQ(checkAddressCollisions(table).DupMessage, reportWithLine(QStringLiteral("No.1 No.6 No.10 ")));
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
    const std::vector<quint32> addresses = {0x0, 0x1, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const int inUsePercent = int(seed % 101); // from empty to full tables
        RecordTable table;
        for (Slot slot = 0; slot <= kSpareSlot; ++slot) {
            const quint32 address = addresses[std::uniform_int_distribution<std::size_t>(0, addresses.size() - 1)(random)];
            if (std::uniform_int_distribution<int>(0, 99)(random) < inUsePercent) {
                table[slot] = recordAt(address, 1, QStringLiteral("%1").arg(slot));
            } else {
                // Not in use, yet not blank: the sort must carry it unchanged.
                table[slot] = recordAt(address, 0, QString());
                table[slot].KeyAddrSet = false;
                table[slot].KeyType = qint16(slot % 2);
            }
        }
        const RecordTable before = table;
        const std::vector<KeyRecord> expected = expectedAfterSort(before);

        (void)Sort_AddressCheck(table, AddressSize::Bits32);

        for (Slot slot = 0; slot < kRecordCount; ++slot)
            ASSERT_EQ(table[slot], expected[std::size_t(slot)]) << "seed " << seed << " slot " << slot;
        ASSERT_EQ(table[kSpareSlot], before[kSpareSlot]) << "seed " << seed;
        for (Slot slot = 1; slot < kRecordCount && table[slot].inUse(); ++slot)
            ASSERT_LE(table[slot - 1].address(), table[slot].address()) << "seed " << seed;
    }
}

} // namespace
} // namespace quorvane
