#pragma once

#include "record_table.h"

#include <QString>

// How many bytes a record's data text stands for, and cutting text to a
// number of bytes. An ASCII record is written as the UTF-8 bytes of its
// text, so a character outside ASCII counts as several bytes; every size
// rule measures in these bytes so that a record's size always matches what
// the KEY file holds.
namespace quorvane {

// Bytes of an ASCII text as written: its UTF-8 length.
[[nodiscard]] int asciiByteCount(const QString& text);

// HEX: half the number of digits, rounded up. ASCII (any non-zero type):
// the UTF-8 length.
[[nodiscard]] int dataByteCount(qint16 keyType, const QString& data);

// The longest head of `text` whose UTF-8 form has at most `maxBytes` bytes;
// a character is never split.
[[nodiscard]] QString cutAsciiToBytes(const QString& text, int maxBytes);

} // namespace quorvane
