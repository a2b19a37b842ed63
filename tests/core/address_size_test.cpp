#include "core/address_size.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;

namespace {

TEST(AddressSize, ModesHaveTheirRecordTypesWidthsAndLimits)
{
    const struct { AddressSize size; int digits; RecordType data; int limit; const char* endLine; } cases[] = {
        {AddressSize::Bits16, 4, RecordType::S1, 252, "S9030000FC"},
        {AddressSize::Bits24, 6, RecordType::S2, 251, "S804000000FB"},
        {AddressSize::Bits32, 8, RecordType::S3, 250, "S70500000000FA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.size));
        EXPECT_EQ(addressDigits(c.size), c.digits);
        EXPECT_EQ(dataRecordType(c.size), c.data);
        EXPECT_EQ(dataLimit(c.size), c.limit);
        EXPECT_EQ(endRecordLine(c.size), QString::fromLatin1(c.endLine));
    }
}

TEST(AddressSize, NewModeIs32BitAndEverySetReachesEveryListener)
{
    AddressMode mode;
    EXPECT_EQ(mode.current(), AddressSize::Bits32);
    std::vector<AddressSize> seen;
    std::vector<AddressSize> alsoSeen;
    mode.addListener([&](AddressSize s) { seen.push_back(s); });
    mode.addListener([&](AddressSize s) { alsoSeen.push_back(s); });
    mode.SetAddr16();
    mode.SetAddr24();
    EXPECT_EQ(mode.current(), AddressSize::Bits24);
    mode.SetAddr32();
    mode.SetAddr32(); // setting the same mode again still tells the menu
    const std::vector all{AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32, AddressSize::Bits32};
    EXPECT_EQ(seen, all);
    EXPECT_EQ(alsoSeen, all);
}

TEST(AddressSize, ACopyTakesTheModeButNotTheListeners)
{
    AddressMode mode;
    int heard = 0;
    mode.addListener([&](AddressSize) { ++heard; });
    mode.SetAddr16();
    AddressMode copy = mode;
    EXPECT_EQ(copy.current(), AddressSize::Bits16);
    copy.SetAddr24();
    EXPECT_EQ(heard, 1);
    mode = copy; // assignment is silent too: only set() tells the listeners
    EXPECT_EQ(mode.current(), AddressSize::Bits24);
    EXPECT_EQ(heard, 1);
}

} // namespace
