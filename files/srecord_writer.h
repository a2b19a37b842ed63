#pragma once

#include "core/address_size.h"
#include "core/document.h"
#include "core/record_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <optional>

// The KEY file writer: one S1/S2/S3 line per record in use among slots
// 0..255, in slot order, then the end record of the address size. CR LF line
// ends, upper-case hex, no header and no count record.
namespace quorvane {

// Why the record in `slot` cannot be written as one S-record line that reads
// back to the same bytes (its size disagrees with its data, its HEX data is
// not whole bytes of hex digits, or its size is beyond the data limit); an
// empty text when it can. Records not in use always can.
[[nodiscard]] QString recordWriteProblem(const KeyRecord& record, Slot slot, AddressSize size);

// The bytes a KEY file holds for a record: its HEX digits read as bytes,
// or the UTF-8 bytes of its ASCII text. The record must have no write problem.
[[nodiscard]] QByteArray recordDataBytes(const KeyRecord& record);

// The S-record line of one record, without line end. The record must have no
// write problem.
[[nodiscard]] QByteArray srecordLineOf(const KeyRecord& record, AddressSize size);

// A data line of the address size's type (S1, S2, S3) holding `dataDigits`
// (two hex digits per byte, either case) at `address`, written in the size's
// width, with its count and checksum; without line end.
[[nodiscard]] QByteArray srecordDataLine(AddressSize size, quint32 address, QByteArrayView dataDigits);

// A count record (S5, or S6 when `dataLines` does not fit in 16 bits or
// `wide` asks for it) holding the number of data lines before it; nullopt
// beyond 24 bits, which no count record holds. Without line end.
[[nodiscard]] std::optional<QByteArray> srecordCountLine(qint64 dataLines, bool wide);

// The whole KEY file. Every record in use must have no write problem.
[[nodiscard]] QByteArray srecordFileContents(const RecordTable& table, AddressSize size);

// Write the document as a KEY file. Returns an empty text on success,
// otherwise "ERROR:" and the description. A record that would give a line
// that does not read back refuses the whole save before anything is written.
// The path form replaces the file only when it has been written completely.
[[nodiscard]] QString SRecodeSave(QIODevice& device, const Document& document);
[[nodiscard]] QString SRecodeSave(const QString& path, const Document& document);

} // namespace quorvane
