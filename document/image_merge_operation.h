#pragma once

#include "extraction_operation.h"
#include "questions.h"

#include "core/document.h"
#include "image/key_layout.h"
#include "image/progress.h"

#include <QFileDevice>
#include <QString>
#include <QStringList>

#include <vector>

// Writing a document's key data into a firmware image, and checking that an
// image holds it: the window's "Write KEY Data into Image..." and the
// command line's merge, verify and batch --image share these. The caller
// first runs the document through prepareKeyData (save_operation.h), as a
// save would before writing a KEY file, and then chooses the files.
namespace quorvane {

// The bytes a KEY file of the document would hold, record by record: every
// record in use among slots 0..255 with at least one byte, at its address as
// the KEY file writes it (narrowed to the address size), titled for messages.
// nullopt, with `problem` set, when a record would not read back from a KEY
// file (the KEY writer's own check).
[[nodiscard]] std::optional<std::vector<KeyBytes>> keyBytesOf(const Document& document, QString& problem);

enum class ImageOperationStatus {
    Done,        // merge: the output is written; verify: the image holds every record
    Differs,     // verify: `lines` names each record the image does not hold
    OutsideData, // merge: key bytes where an S-record or Intel HEX image has no data, refused; `message` names
                 // each record, nothing written
    NothingToDo, // no record has data: nothing read, nothing written
    Cancelled,   // the start address or the reading was cancelled: nothing to show
    Failed,      // `message` is the error to show; nothing written
};

struct ImageOperationResult {
    ImageOperationStatus status = ImageOperationStatus::Done;
    QString message;
    // Done, for a merge: one note per record whose bytes lay where the image
    // had no data and were added as new data lines. Differs: one line per
    // record, in line order.
    QStringList lines;
    int recordsWritten = 0; // Done, for a merge: the records written into the image
};

// What a merge does with key bytes where an S-record or Intel HEX image has
// no data (a binary image never takes them): they usually mean a wrong address.
enum class KeyBytesOutside {
    Refuse, // OutsideData, nothing written
    Add,    // added as new data lines, each record noted
    Ask,    // an OK/Cancel warning names them before anything is written; OK adds them
};

struct ImageMergeChoices {
    KeyBytesOutside outside = KeyBytesOutside::Refuse;
    Questions* questions = nullptr; // asks for KeyBytesOutside::Ask
    ImageProgress progress = {};
};

// Writes `outputPath`: the image at `imagePath` in its own format with the
// document's key data in place. The image must be a normal file ("File Not
// Found."), the output's folder writable ("File Save Error."); a binary
// image's start address is asked as the extraction asks it, once the image
// is known to be binary. Key bytes where the image has no data are found
// by a pass that writes nothing, so a refusal or a Cancel leaves no output.
// The output appears only when complete.
[[nodiscard]] ImageOperationResult writeKeyDataIntoImage(const Document& document, const QString& imagePath,
                                                         const QString& outputPath,
                                                         const StartAddressQuestion& askStartAddress,
                                                         const ImageMergeChoices& choices = {});

// The same, written to `output`, an open file, instead of `outputPath`: for a
// caller that places the file itself. On any status but Done it may hold part
// of an image, for the caller to discard.
[[nodiscard]] ImageOperationResult writeKeyDataIntoImage(const Document& document, const QString& imagePath,
                                                         QFileDevice& output,
                                                         const StartAddressQuestion& askStartAddress,
                                                         const ImageMergeChoices& choices = {});

// Whether the image at `imagePath` holds every record's bytes at its address.
[[nodiscard]] ImageOperationResult verifyKeyDataInImage(const Document& document, const QString& imagePath,
                                                        const StartAddressQuestion& askStartAddress,
                                                        const ImageProgress& progress = {});

} // namespace quorvane
