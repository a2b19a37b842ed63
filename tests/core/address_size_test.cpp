#include "core/address_size.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;

namespace {

TEST(AddressSize, ModesHaveTheirRecordTypesWidthsAndLimits)
{
    const struct {
        AddressSize size;
        int bytes;
        int digits;
        RecordType data;
        RecordType end;
        int limit;
        const char* endLine;
    } cases[] = {
        {AddressSize::Bits16, 2, 4, RecordType::S1, RecordType::S9, 252, "S9030000FC"},
        {AddressSize::Bits24, 3, 6, RecordType::S2, RecordType::S8, 251, "S804000000FB"},
        {AddressSize::Bits32, 4, 8, RecordType::S3, RecordType::S7, 250, "S70500000000FA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.size));
        EXPECT_EQ(addressBytes(c.size), c.bytes);
        EXPECT_EQ(addressDigits(c.size), c.digits);
        EXPECT_EQ(dataRecordType(c.size), c.data);
        EXPECT_EQ(endRecordType(c.size), c.end);
        EXPECT_EQ(dataLimit(c.size), c.limit);
        // The largest record still fits the count byte.
        EXPECT_EQ(c.limit + c.bytes + 1, kMaxSrecordCount);
        EXPECT_EQ(endRecordLine(c.size), QString::fromLatin1(c.endLine));
    }
}

TEST(AddressSize, RecordTypeTextIsTheLetterAndDigit)
{
    EXPECT_EQ(recordTypeText(RecordType::S0), QStringLiteral("S0"));
    EXPECT_EQ(recordTypeText(RecordType::S3), QStringLiteral("S3"));
    EXPECT_EQ(recordTypeText(RecordType::S9), QStringLiteral("S9"));
}

TEST(AddressSize, NewModeIs32BitAndEverySetReachesTheListener)
{
    AddressMode mode;
    EXPECT_EQ(mode.current(), AddressSize::Bits32);

    std::vector<AddressSize> seen;
    mode.setListener([&](AddressSize s) { seen.push_back(s); });
    mode.SetAddr16();
    EXPECT_EQ(mode.current(), AddressSize::Bits16);
    mode.SetAddr24();
    EXPECT_EQ(mode.current(), AddressSize::Bits24);
    mode.SetAddr32();
    mode.SetAddr32(); // setting the same mode again still tells the menu
    EXPECT_EQ(mode.current(), AddressSize::Bits32);
    EXPECT_EQ(seen, (std::vector{AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32,
                                 AddressSize::Bits32}));
}

} // namespace
