#pragma once

#include "format_check.h"

#include "core/document.h"

#include <QIODevice>
#include <QString>
#include <QtGlobal>

// The KEY file reader, in two passes: CheckSrecordFile proves that every
// line is a well-formed S-record, then SRecodeLoad turns each S1/S2/S3 line
// into one record of the table. Any S-record file is accepted, whatever its
// line ends (CR LF, LF, CR) and whatever header, count or end records it has.
namespace quorvane {

// Valid when every line is a valid S-record (an empty file is); otherwise
// the first bad line and why, or the read failure. Stops at the first bad
// line, so a file of another kind is rejected from its first characters.
[[nodiscard]] FormatCheck CheckSrecordFile(QIODevice& device);
[[nodiscard]] FormatCheck CheckSrecordFile(const QString& path);

// Fills the table from slot 0 upwards, one record per data line, at most
// 257 records (slot 256 included), and sets the address size by the type of
// the last data line. The table is expected to have been cleared just
// before. An end record before any data line clears the table and stops.
// Returns an empty text, or "ERROR:" and the description; records stored
// before a failure stay, the slot being filled stays untouched and the
// address size is not changed.
[[nodiscard]] QString SRecodeLoad(QIODevice& device, Document& document);
[[nodiscard]] QString SRecodeLoad(const QString& path, Document& document);

} // namespace quorvane
