#include "core/record_table.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

template<typename Edit>
KeyRecord with(Edit edit)
{
    KeyRecord r;
    edit(r);
    return r;
}

// A record with every column set, different for each `n`.
KeyRecord filledRecord(int n)
{
    return {QStringLiteral("t%1").arg(n), qint16(n), qint16(-n), qint16(n % 250 + 1), qint16(n % 2), "AB", true};
}

TEST(RecordTable, InUseWhenAnyOfTitleSizeAddressOrDataIsSet)
{
    const struct { const char* what; KeyRecord record; bool inUse; } cases[] = {
        {"type ascii alone", with([](KeyRecord& r) { r.KeyType = kTypeAscii; }), false},
        {"address halves without flag", with([](KeyRecord& r) { r.KeyAddrHigh = 1, r.KeyAddrLow = 2; }), false},
        {"title", with([](KeyRecord& r) { r.KeyTitle = "x"; }), true},
        {"negative size", with([](KeyRecord& r) { r.KeySize = -1; }), true},
        {"address flag", with([](KeyRecord& r) { r.KeyAddrSet = true; }), true},
        {"data", with([](KeyRecord& r) { r.KeyData = "0"; }), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.record.inUse(), c.inUse) << c.what;
}

TEST(RecordTable, AddressCombinesHalvesAsUnsignedPatterns)
{
    EXPECT_EQ(with([](KeyRecord& r) { r.KeyAddrHigh = 0x12, r.KeyAddrLow = qint16(0x8000); }).address(), 0x00128000u);
    EXPECT_EQ(with([](KeyRecord& r) { r.KeyAddrHigh = qint16(0x8001), r.KeyAddrLow = 1; }).address(), 0x80010001u);
}

TEST(RecordTable, BlankSetEmptiesRecordsButKeepsSpareSlot)
{
    RecordTable table;
    for (Slot s = 0; s < kSlotCount; ++s)
        table[s] = filledRecord(s);
    table.BlankSet();
    for (Slot s = 0; s < kRecordCount; ++s)
        EXPECT_TRUE(table[s].isEmptyRecord()) << s;
    EXPECT_EQ(table[kSpareSlot], filledRecord(kSpareSlot));
}

TEST(RecordTable, SwapExchangesWholeRecordsAndRejectsSlotsOutsideTheTable)
{
    RecordTable table;
    table[3] = filledRecord(3);
    table[200] = filledRecord(200);
    table.swapRecords(3, 200);
    EXPECT_EQ(table[3], filledRecord(200));
    EXPECT_EQ(table[200], filledRecord(3));
}

} // namespace
