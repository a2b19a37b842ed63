#include "edit_rules.h"

#include "core/data_bytes.h"
#include "core/hex_digits.h"
#include "grid_layout.h"
#include "row_write_back.h"

#include <algorithm>
#include <limits>

namespace quorvane {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool alwaysPasses(char16_t c) { return c == kCharCopy || c == kCharBackspace || c == kCharCut; }

} // namespace

char16_t filterTitleCharacter(char16_t code)
{
    return code == kCharTab ? kCharDiscarded : code;
}

char16_t filterAddressCharacter(char16_t code)
{
    if (isHexDigit(code))
        return upperHexDigit(code);
    return code == kCharBackspace ? code : kCharDiscarded;
}

char16_t filterSizeCharacter(char16_t code)
{
    return isDigit(code) || code == kCharBackspace ? code : kCharDiscarded;
}

char16_t filterDataCharacter(bool asciiRow, bool room, char16_t code)
{
    if (alwaysPasses(code))
        return code;
    if (asciiRow) {
        if (code == kCharTab)
            return kCharDiscarded;
        return room ? code : kCharDiscarded;
    }
    if (!room)
        return kCharDiscarded;
    if (isHexDigit(code))
        return upperHexDigit(code);
    return code == kCharPaste ? code : kCharDiscarded;
}

bool recordHasRoom(const KeyRecord& record, bool cellHasSelection)
{
    if (cellHasSelection)
        return true;
    // Without a size the write-back still keeps at most 252 bytes: a
    // character typed into a record that holds them all would push its last
    // byte out.
    if (record.KeyType == kTypeHex) {
        const qsizetype digits = record.KeySize == 0 ? kUnsizedHexDigits : 2 * qsizetype(record.KeySize);
        return record.KeyData.size() < digits;
    }
    return asciiByteCount(record.KeyData) < (record.KeySize == 0 ? kUnsizedAsciiBytes : int(record.KeySize));
}

QString paddedAddress(const QString& text, AddressSize size)
{
    return (QStringLiteral("00000000") + text).right(addressDigits(size));
}

qint16 sizeFromText(const QString& text)
{
    int value = 0;
    for (QChar ch : text) {
        if (!isDigit(ch.unicode()))
            break;
        value = std::min(value * 10 + (ch.unicode() - u'0'), int(std::numeric_limits<qint16>::max()));
    }
    return qint16(value);
}

InsertionCaret caretAfterInsertion(int hoffset, int column, int caret, qint16 size)
{
    int byte = hoffset + column + caret / 2;
    const int half = caret % 2;
    if (size > 0 && byte > size)
        byte = size;
    if (byte - hoffset >= kGridColumns)
        return {std::min(byte - (kGridColumns - 1), GridLayout::kMaxLeftByte), kGridColumns - 1, half};
    // Data longer than its size, edited with the window past the size, puts
    // the byte left of the window; the caret then stays in the first column.
    return {hoffset, std::clamp(byte - hoffset, 0, kGridColumns - 1), half};
}

} // namespace quorvane
