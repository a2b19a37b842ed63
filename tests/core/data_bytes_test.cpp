#include "core/data_bytes.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// Byte counts are followed by the save checks; the cut is used by the
// checks, the S-record limit and the grid's write-back alike.
TEST(DataBytes, CutNeverSplitsACharacter)
{
    const struct { QString text; int maxBytes; QString expected; } cases[] = {
        {"a" + kAUmlaut + "b", 2, "a"},
        {"a" + kAUmlaut + "b", 3, "a" + kAUmlaut},
        {kEuro + kEuro, 5, kEuro},
        {kEmoji + "x", 3, ""},
        {kEmoji + "x", 5, kEmoji + "x"},
        {QString(QChar(0xD800)) + "ab", 2, QString(QChar(0xD800)) + "a"}, // a lone surrogate is written as one byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutAsciiToBytes(c.text, c.maxBytes), c.expected) << c.text.toStdString() << " / " << c.maxBytes;
}

} // namespace
