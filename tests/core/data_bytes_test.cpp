#include "core/data_bytes.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString kE = QString::fromUtf8("\xC3\xA9");           // é, 2 bytes
const QString kA = QString::fromUtf8("\xE3\x81\x82");       // あ, 3 bytes
const QString kKey = QString::fromUtf8("\xF0\x9F\x94\x91"); // 🔑, 4 bytes, two UTF-16 units

TEST(DataBytes, ByteCountIsWhatTheKeyFileHolds)
{
    EXPECT_EQ(dataByteCount(kTypeHex, "ABC"), 2);
    EXPECT_EQ(dataByteCount(kTypeHex, "ABCD"), 2);
    EXPECT_EQ(dataByteCount(kTypeAscii, "a" + kE + kA + kKey), 1 + 2 + 3 + 4);
    EXPECT_EQ(dataByteCount(2, "ab"), 2); // any non-zero type holds characters
}

TEST(DataBytes, CutNeverSplitsACharacter)
{
    const struct { QString text; int maxBytes; QString expected; } cases[] = {
        {"a" + kE + "b", 2, "a"},
        {"a" + kE + "b", 3, "a" + kE},
        {kA + kA, 5, kA},
        {kKey + "x", 3, ""},
        {kKey + "x", 5, kKey + "x"},
        {QString(QChar(0xD800)) + "ab", 2, QString(QChar(0xD800)) + "a"}, // a lone surrogate is written as one byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutAsciiToBytes(c.text, c.maxBytes), c.expected) << c.text.toStdString() << " / " << c.maxBytes;
}

} // namespace
