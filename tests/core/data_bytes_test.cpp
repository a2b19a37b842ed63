#include "core/data_bytes.h"
#include "core/hex_text.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString kE = QString::fromUtf8("\xC3\xA9");            // é, 2 bytes
const QString kA = QString::fromUtf8("\xE3\x81\x82");        // あ, 3 bytes
const QString kKey = QString::fromUtf8("\xF0\x9F\x94\x91");  // 🔑, 4 bytes, two UTF-16 units

TEST(DataBytes, ByteCountIsWhatTheKeyFileHolds)
{
    const struct {
        qint16 type;
        QString data;
        int bytes;
    } cases[] = {
        {kTypeHex, "", 0},       {kTypeHex, "A", 1},   {kTypeHex, "ABC", 2},
        {kTypeHex, "ABCD", 2},   {kTypeAscii, "", 0},  {kTypeAscii, "abc", 3},
        {kTypeAscii, kE, 2},     {kTypeAscii, "a" + kA, 4}, {kTypeAscii, kKey, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dataByteCount(c.type, c.data), c.bytes) << c.data.toStdString();
        if (c.type == kTypeAscii) { // agrees with the hex the writer produces
            EXPECT_EQ(ASCIIToHEX(c.data).size(), 2 * c.bytes);
        }
    }
}

TEST(DataBytes, CutNeverSplitsACharacter)
{
    const struct {
        QString text;
        int maxBytes;
        QString expected;
    } cases[] = {
        {"abcdef", 3, "abc"},
        {"abc", 10, "abc"},
        {"abc", 0, ""},
        {"a" + kE + "b", 2, "a"},        // é would need bytes 2 and 3
        {"a" + kE + "b", 3, "a" + kE},
        {kA + kA, 5, kA},
        {kKey + "x", 3, ""},
        {kKey + "x", 4, kKey},
        {kKey + "x", 5, kKey + "x"},
        {QString(QChar(0xD800)) + "ab", 2, QString(QChar(0xD800)) + "a"}, // lone surrogate: one byte
    };
    for (const auto& c : cases) {
        const QString cut = cutAsciiToBytes(c.text, c.maxBytes);
        EXPECT_EQ(cut, c.expected) << c.text.toStdString() << " / " << c.maxBytes;
        EXPECT_LE(asciiByteCount(cut), c.maxBytes);
        if (cut.size() < c.text.size()) { // the cut is the longest head that fits
            EXPECT_GT(asciiByteCount(cutAsciiToBytes(c.text, c.maxBytes + 4)), c.maxBytes);
        }
    }
}

} // namespace
