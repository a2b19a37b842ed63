#include "core/record_table.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::recordWith;

namespace {

// Blanking, swapping and the address halves are followed by the sort and
// the window tests; what counts as "in use" is decided here alone.
TEST(RecordTable, InUseWhenAnyOfTitleSizeAddressOrDataIsSet)
{
    const struct { const char* what; KeyRecord record; bool inUse; } cases[] = {
        {"type ascii alone", recordWith([](KeyRecord& r) { r.KeyType = kTypeAscii; }), false},
        {"address halves without flag", recordWith([](KeyRecord& r) { r.KeyAddrHigh = 1, r.KeyAddrLow = 2; }), false},
        {"title", recordWith([](KeyRecord& r) { r.KeyTitle = "x"; }), true},
        {"negative size", recordWith([](KeyRecord& r) { r.KeySize = -1; }), true},
        {"address flag", recordWith([](KeyRecord& r) { r.KeyAddrSet = true; }), true},
        {"data", recordWith([](KeyRecord& r) { r.KeyData = "0"; }), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.record.inUse(), c.inUse) << c.what;
}

} // namespace
