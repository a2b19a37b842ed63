#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>
#include <QtGlobal>

// The typing rules of the grid's fields and data cells, free of widgets:
// which characters a field takes, when a record has room for one more, how
// an address and a size are normalised, and where the caret goes after an
// insertion into a full data cell.
namespace quorvane {

// Character codes the filters know by number.
inline constexpr char16_t kCharCopy = 3;      // Ctrl+C
inline constexpr char16_t kCharBackspace = 8;
inline constexpr char16_t kCharTab = 9;
inline constexpr char16_t kCharPaste = 22;    // Ctrl+V
inline constexpr char16_t kCharCut = 24;      // Ctrl+X
// A filter returns this to discard the character.
inline constexpr char16_t kCharDiscarded = 0;

[[nodiscard]] char16_t filterTitleCharacter(char16_t code);
[[nodiscard]] char16_t filterAddressCharacter(char16_t code);
[[nodiscard]] char16_t filterSizeCharacter(char16_t code);
// `asciiRow`: the record's type is not HEX. `room`: see recordHasRoom.
[[nodiscard]] char16_t filterDataCharacter(bool asciiRow, bool room, char16_t code);

// The record may take one more character: its data is shorter than its
// size (two digits per byte for HEX, UTF-8 bytes for text; 252 bytes when
// it has no size), or the cell has a selection the character will replace.
[[nodiscard]] bool recordHasRoom(const KeyRecord& record, bool cellHasSelection);

// The address zero-padded on the left to the full width of the size.
[[nodiscard]] QString paddedAddress(const QString& text, AddressSize size);

// The value of the text's leading decimal digits (0 for none).
[[nodiscard]] qint16 sizeFromText(const QString& text);

// Where the caret goes after text was typed or pasted into a full HEX
// cell and the row was written back.
struct InsertionCaret {
    int hscroll;  // value for the horizontal scroll bar (unchanged if no scroll)
    int column;   // target data column, 0..15
    int position; // caret within that cell: 0 or 1
};

// `hoffset` is the window's first byte before the edit, `column` the edited
// cell, `caret` its caret after the edit and `size` the record's size.
[[nodiscard]] InsertionCaret caretAfterInsertion(int hoffset, int column, int caret, qint16 size);

} // namespace quorvane
