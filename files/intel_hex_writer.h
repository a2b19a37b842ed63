#pragma once

#include "core/address_size.h"
#include "core/document.h"
#include "core/record_table.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// The KEY data as an Intel HEX file, for programmers and tool chains that
// take no S-records: the records in use in slot order, each split into data
// lines of up to 16 bytes that never cross a 64 KiB page, an extended linear
// address line wherever the page changes, then the end-of-file line. CR LF
// line ends, upper-case hex.
namespace quorvane {

inline constexpr int kIntelHexKeyLineBytes = 16;

// The whole file. Every record in use must have no write problem. A record
// lies at the address its S-record line would carry: the address cut to the
// address size's digits, so both formats put the same bytes at the same place.
[[nodiscard]] QByteArray intelHexFileContents(const RecordTable& table, AddressSize size);

// Write the document as an Intel HEX KEY file, replacing the file only once
// the new one is complete. Returns an empty text on success, otherwise
// "ERROR:" and the description; a record that would not read back, or whose
// data would run past FFFFFFFF, refuses the whole save before anything is written.
// The device form writes to an open device, for a caller that places the file itself.
[[nodiscard]] QString IntelHexSave(QIODevice& device, const Document& document);
[[nodiscard]] QString IntelHexSave(const QString& path, const Document& document);

} // namespace quorvane
