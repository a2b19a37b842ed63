#include "core/editor_state.h"
#include "core/hex_text.h"
#include "core/record_table.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

KeyRecord filledRecord(int n)
{
    KeyRecord r;
    r.KeyTitle = QStringLiteral("t%1").arg(n);
    r.KeyAddrHigh = qint16(n);
    r.KeyAddrLow = qint16(-n);
    r.KeySize = qint16(n % 250 + 1);
    r.KeyType = qint16(n % 2);
    r.KeyData = QStringLiteral("AB");
    r.KeyAddrSet = true;
    return r;
}

TEST(RecordTable, InUseWhenAnyOfTitleSizeAddressOrDataIsSet)
{
    const struct {
        const char* what;
        KeyRecord record;
        bool inUse;
    } cases[] = {
        {"empty", KeyRecord{}, false},
        {"type ascii alone", [] { KeyRecord r; r.KeyType = kTypeAscii; return r; }(), false},
        {"address halves without flag", [] { KeyRecord r; r.KeyAddrHigh = 1; r.KeyAddrLow = 2; return r; }(), false},
        {"title", [] { KeyRecord r; r.KeyTitle = QStringLiteral("x"); return r; }(), true},
        {"size", [] { KeyRecord r; r.KeySize = 1; return r; }(), true},
        {"negative size", [] { KeyRecord r; r.KeySize = -1; return r; }(), true},
        {"address flag", [] { KeyRecord r; r.KeyAddrSet = true; return r; }(), true},
        {"data", [] { KeyRecord r; r.KeyData = QStringLiteral("0"); return r; }(), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.record.inUse(), c.inUse) << c.what;
}

TEST(RecordTable, AddressCombinesHalvesAsUnsignedPatterns)
{
    KeyRecord r;
    r.KeyAddrHigh = GetAddrHigh(QStringLiteral("FFFF8000"));
    r.KeyAddrLow = GetAddrLow(QStringLiteral("FFFF8000"));
    EXPECT_EQ(r.KeyAddrHigh, -1);
    EXPECT_EQ(r.KeyAddrLow, -32768);
    EXPECT_EQ(r.address(), 0xFFFF8000u);
    EXPECT_EQ(AddrToText(r.KeyAddrHigh, r.KeyAddrLow, AddressSize::Bits32), QStringLiteral("FFFF8000"));
}

TEST(RecordTable, BlankSetEmptiesRecordsButKeepsSpareSlot)
{
    RecordTable table;
    for (Slot s = 0; s < kSlotCount; ++s)
        table[s] = filledRecord(s);
    const KeyRecord spare = table[kSpareSlot];

    table.BlankSet();

    for (Slot s = 0; s < kRecordCount; ++s) {
        EXPECT_TRUE(table[s].isEmptyRecord()) << s;
        EXPECT_FALSE(table[s].inUse()) << s;
    }
    EXPECT_EQ(table[kSpareSlot], spare);
}

TEST(RecordTable, SwapExchangesWholeRecords)
{
    RecordTable table;
    table[3] = filledRecord(3);
    table[200] = filledRecord(200);
    table.swapRecords(3, 200);
    EXPECT_EQ(table[3], filledRecord(200));
    EXPECT_EQ(table[200], filledRecord(3));
}

TEST(RecordTable, SlotsOutsideTheTableAreRejected)
{
    RecordTable table;
    EXPECT_THROW((void)table[kSlotCount], std::out_of_range);
    EXPECT_THROW((void)table[-1], std::out_of_range);
    EXPECT_EQ(lineNumberOf(0), 1);
    EXPECT_EQ(lineNumberOf(255), 256);
}

TEST(EditorState, CaptionFollowsModifiedOnlyWhenTableReady)
{
    EXPECT_EQ(captionFor(true, false), QStringLiteral("Quorvane"));
    EXPECT_EQ(captionFor(true, true), QStringLiteral("Quorvane [Modified]"));
    EXPECT_FALSE(captionFor(false, true).has_value());
    EXPECT_FALSE(captionFor(false, false).has_value());
}

TEST(EditorState, StartValues)
{
    const EditorState state;
    EXPECT_FALSE(state.Modified);
    EXPECT_FALSE(state.TableReady);
    EXPECT_EQ(state.FocusDataIndex, -1);
    const Settings settings;
    EXPECT_EQ(settings.FilterIndexSetting, 1);
    EXPECT_EQ(settings.SortOn, 1);
    EXPECT_TRUE(settings.LastPath.isEmpty());
    EXPECT_EQ(makeFPad(), QString(2048, QLatin1Char('F')));
}

} // namespace
