#pragma once

#include "questions.h"

#include "core/document.h"

#include <QIODevice>
#include <QString>

// Saving a document: the checks and normalising steps in their fixed order,
// then the writer chosen by the file name. The window chooses the file
// between the two halves; a script knows it from the start.
namespace quorvane {

enum class SaveStatus {
    Saved,
    Refused,   // a check or the writer refused: show `message` as an error
    Cancelled, // the user declined a warning: nothing to show
};

struct SaveResult {
    SaveStatus status = SaveStatus::Saved;
    QString message;

    [[nodiscard]] bool saved() const { return status == SaveStatus::Saved; }
};

// The format of a KEY file: chosen by its name (Intel HEX for .hex, .ihx
// and .ihex, S-records for any other), or as the caller asks. A template
// name writes a template whatever is asked.
enum class KeyFileFormat { ByName, SRecord, IntelHex };

inline const QString kFileSaveErrorMessage = QStringLiteral("File Save Error.");

// Before the file is chosen: records without an address and illegal HEX
// data refuse; missing sizes are filled; oversized records are cut after a
// warning; odd HEX data is padded; key data past FFFFFFFF refuses, and key
// data the address size would save at another address is named in a
// warning, whatever the file's format (the template keeps only the size's
// digits too); with `sortOn`, the records are cut to the address size,
// sorted and compacted, and overlapping ranges refuse.
// What a step changed stays, whatever a later step decides.
[[nodiscard]] SaveResult prepareSave(Document& document, bool sortOn, Questions& questions);

// After the file is chosen: sizes that disagree with the data are fitted
// after a warning, the file's folder is probed, and the template or KEY
// writer of the format replaces the file only once the new content is complete.
[[nodiscard]] SaveResult writeDocumentFile(Document& document, const QString& path, Questions& questions,
                                           KeyFileFormat format = KeyFileFormat::ByName);

// The same, written to `output`, an open device, instead of replacing the
// file: `path` only chooses the writer, as its name would. For a caller that
// places the file itself (a batch moves many into place after one sync); on
// a refusal `output` may hold part of a file, for the caller to discard.
[[nodiscard]] SaveResult writeDocumentFile(Document& document, const QString& path, QIODevice& output,
                                           Questions& questions, KeyFileFormat format = KeyFileFormat::ByName);

// The first step of writeDocumentFile alone: sizes that disagree with the
// data (for a template file only missing ones) are fitted after a warning.
[[nodiscard]] SaveResult fitDataSizes(Document& document, bool templateFile, Questions& questions);

// Everything a save does to a KEY file's records before writing them:
// prepareSave, then fitDataSizes for a KEY file. For the operations that
// put the key data somewhere else, such as into a firmware image; nothing is
// written. What the steps changed stays in the document.
[[nodiscard]] SaveResult prepareKeyData(Document& document, bool sortOn, Questions& questions);

// Both halves, for callers that know the file from the start.
[[nodiscard]] SaveResult saveDocument(Document& document, const QString& path, bool sortOn, Questions& questions,
                                      KeyFileFormat format = KeyFileFormat::ByName);

} // namespace quorvane
