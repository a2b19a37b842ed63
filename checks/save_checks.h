#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

// The checks and normalising steps a save runs over the record table before
// writing it. They look at slots 0..255 only; the spare slot 256 is never a
// record of the saved document.
//
// Checks return a report list (see report_list.h) and leave the table alone.
// Steps rewrite the table in place; redrawing the grid afterwards is the
// caller's business.
//
// Sizes are measured in the bytes a KEY file holds: HEX data counts half its
// digits rounded up, ASCII data the bytes of its UTF-8 form. A character
// outside ASCII is written as several bytes, so counting characters would make
// an S-record's count disagree with its data.
namespace quorvane {

// Records with a title, a size or data, but no address.
[[nodiscard]] QString AddressEmptyCheck(const RecordTable& table);

// HEX records whose data holds anything but hex digits.
[[nodiscard]] QString CheckHEXData(const RecordTable& table);

// Records whose size does not fit one S-record line of the address size.
[[nodiscard]] QString CheckSrecordTotalSize(const RecordTable& table, AddressSize size);

// Records whose size differs from their data's byte count. A template file
// keeps size and data separately, so for it only a missing size (0) counts.
[[nodiscard]] QString CheckDataSize(const RecordTable& table, bool templateFile);

// Gives every record without a valid size (0 or negative) the byte count of
// its data.
void FillMissingSizes(RecordTable& table);

// Makes HEX data whole bytes: an odd digit count gets a "0" before its last
// digit (ABC -> AB0C).
void PadOddHexData(RecordTable& table);

// Makes the data of every record with a positive size exactly that many
// bytes: HEX keeps its last digits (upper-cased) and is filled with "F" on the
// left, ASCII keeps its head (never splitting a character) and is filled with
// "F" on the right.
void FitDataToSize(RecordTable& table);

} // namespace quorvane
