// The bytes of an image inside a range: lines clipped to it, a later line
// over an earlier one, and the first addresses nothing holds.

#include "image/image_range.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(RangeBytes, LaterLinesWinAndGapsAreNamed)
{
    constexpr AddressRange kRange{.first = 0x100, .last = 0x10F};
    const struct {
        const char* what;
        std::vector<std::pair<quint64, QByteArray>> lines;
        QByteArray expected; // '.' where nothing holds a byte
        std::optional<AddressRange> gap;
        std::vector<AddressRange> held = {};
    } cases[] = {
        {.what = "clipped at both ends",
         .lines = {{0xF8, QByteArray(16, 'A')}, {0x108, QByteArray(12, 'B')}},
         .expected = "AAAAAAAABBBBBBBB", .gap = std::nullopt},
        {.what = "out of order, the later line over the earlier",
         .lines = {{0x108, "BBBB"}, {0x100, "AAAAAAAAAA"}},
         .expected = "AAAAAAAAAABB....", .gap = AddressRange{.first = 0x10C, .last = 0x10F}},
        {.what = "one line across two runs and the gap between",
         .lines = {{0x100, "AA"}, {0x104, "BB"}, {0x101, "CCCCCC"}},
         .expected = "ACCCCCC.........", .gap = AddressRange{.first = 0x107, .last = 0x10F}},
        {.what = "a gap a record holds",
         .lines = {{0x100, "AAAA"}, {0x10C, "CCCC"}},
         .expected = "AAAA........CCCC", .gap = AddressRange{.first = 0x108, .last = 0x10B},
         .held = {{.first = 0x104, .last = 0x107}}},
        {.what = "no data", .lines = {}, .expected = "................", .gap = kRange},
    };
    const KeyLayout noKeys = [] {
        QString problem;
        return *KeyLayout::of({}, problem);
    }();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RangeBytes bytes(kRange);
        for (const auto& [address, line] : c.lines)
            bytes.put(address, line);
        EXPECT_EQ(bytes.checksum(ChecksumAlgorithm::Sha256, noKeys, '.'), checksumOf(ChecksumAlgorithm::Sha256, c.expected));
        const std::optional<AddressRange> gap = bytes.firstGap(c.held);
        ASSERT_EQ(gap.has_value(), c.gap.has_value());
        if (gap) {
            EXPECT_EQ(rangeText(*gap), rangeText(*c.gap));
        }
    }
}

} // namespace
} // namespace quorvane
