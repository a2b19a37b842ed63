#pragma once

#include "core/document.h"

#include <QString>

// The one-line outcomes the editor's status bar gives: what was saved,
// opened or read, and where the selected record lies.
namespace quorvane {

// "1 record", "12 records".
[[nodiscard]] QString recordCountText(int count);
// Records 0..255 in use: what a save writes.
[[nodiscard]] int recordsInUse(const RecordTable& table);
// "Saved KEY file keys.KEY: 12 records": the kind the writer the name
// chooses writes (KEY file, template file, Intel HEX file).
[[nodiscard]] QString savedFileText(const QString& path, const RecordTable& table);
// "Opened template file t.639: 3 records": a template or a KEY file, as read.
[[nodiscard]] QString openedFileText(const QString& path, const RecordTable& table);
// The range of the record in `slot` in the document's address width, by
// its line number: "Line 3: 08000000-0800000F"; a record without data
// gives its start only.
[[nodiscard]] QString recordRangeText(const Document& document, Slot slot);

} // namespace quorvane
