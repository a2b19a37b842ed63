#pragma once

#include "core/document.h"

#include <QIODevice>
#include <QString>

// Opening a document file: the template or the KEY file, chosen by the
// file name, read into a fresh document so that a failure leaves the one
// being edited as it was.
namespace quorvane {

// The extension is the text after the last "." (the whole name when there
// is none), compared with "639" exactly: x.639 is a template, x.639.bak and
// X.KEY are KEY files.
[[nodiscard]] QString fileExtension(const QString& path);
[[nodiscard]] bool isTemplateFileName(const QString& path);
// A KEY file name that asks for Intel HEX: hex, ihx or ihex, in any case.
[[nodiscard]] bool isIntelHexFileName(const QString& path);

// Whether the editor's Save may write a file it has just opened back under
// its own name: the writer the name chooses writes the format the reader of
// that name read. Not so for a KEY name asking for Intel HEX: it was read as
// S-records and would be written in the other format.
[[nodiscard]] bool writesBackAsRead(const QString& path);

enum class OpenStatus {
    Opened,
    FileNotFound, // no normal file of that name
    NotSrecord,   // a KEY file name whose content is not S-records
    ReadFailed,   // the reader stopped, or the file could not be read; `message` is the "ERROR:" text
};

struct OpenResult {
    OpenStatus status = OpenStatus::Opened;
    QString message;   // the text to show for every status but Opened
    Document document; // the file's content when Opened
    // What is known beyond `message`, lines joined by CR LF: the file, and for
    // a file that is not S-records its first bad line and why.
    QString details;

    [[nodiscard]] bool opened() const { return status == OpenStatus::Opened; }
};

inline const QString kFileNotFoundMessage = QStringLiteral("File not found.");
inline const QString kIllegalFileMessage = QStringLiteral("Illegal file loading.\r\nSelect the appropriate file");

// Reads the file as a template (extension 639) or as a KEY file, which must
// first pass CheckSrecordFile. A failure's details start with the path.
[[nodiscard]] OpenResult openDocument(const QString& path);

// The same over an open device, which for a KEY file must allow seeking back
// to its start: the check and the load read the same bytes.
[[nodiscard]] OpenResult openDocument(QIODevice& device, bool templateFile);

} // namespace quorvane
