#pragma once

#include "core/document.h"

#include <QIODevice>
#include <QString>

// The template file keeps the whole table as UTF-8 text with CR LF line
// ends: the header "# Template File", then for each record in use (all 257
// slots) a record line "title , address ,  size ,  type" and a data line
// holding the data text as stored. The address has 4, 6 or 8 digits by the
// address size; the reader cuts every field from the right, so a title may
// hold anything but a line break.
//
// A line that starts with "#" where a record line is expected is a comment.
// A title that itself starts with "#" (after any blanks) is written with one
// more blank in front; the reader takes that blank off again. A reader that
// does not know this still reads the record (its title then has a leading
// blank) instead of skipping it as a comment and losing the line pairing.
namespace quorvane {

inline const QString kTemplateHeader = QStringLiteral("# Template File");

// The template extension: a file name ending in it is a template file.
inline const QString kTemplateExtension = QStringLiteral("639");

// Why the record in `slot` cannot be written so that it reads back (a line
// break in its title or data, a size beyond three digits, a type other than
// HEX or ASCII); an empty text when it can.
[[nodiscard]] QString templateWriteProblem(const KeyRecord& record, Slot slot);

// The record line of a record, without line end.
[[nodiscard]] QString templateRecordLine(const KeyRecord& record, AddressSize size);

// Write every record in use, slots 0..256, in the document's address size.
// Returns an empty text or "ERROR:" and the description; nothing is written
// when a record cannot be. The path form replaces the file only when it has
// been written completely.
[[nodiscard]] QString FormatSave(QIODevice& device, const Document& document);
[[nodiscard]] QString FormatSave(const QString& path, const Document& document);

// Fill the table from slot 0 upwards (at most 257 records; the table is not
// cleared first) and set the address size by the width of the last record
// line's address. Returns an empty text or "ERROR:" and the description.
// Records read before a failure stay; a failure before the first record line
// was read selects 32-bit addresses.
[[nodiscard]] QString FormatLoad(QIODevice& device, Document& document);
[[nodiscard]] QString FormatLoad(const QString& path, Document& document);

} // namespace quorvane
