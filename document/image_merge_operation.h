#pragma once

#include "extraction_operation.h"
#include "questions.h"

#include "core/document.h"
#include "core/checksums.h"
#include "image/image_range.h"
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

// A checksum over a range of the image a document's key data is written
// into, such as the one a device's firmware checks its memory with. The
// image's data in the range is read once; the checksum of each document is
// then over those bytes with the document's key data laid over them, as the
// merge will write them, so that a device's checksum covers its own serial.
struct ImageRangeResult {
    ImageOperationStatus status = ImageOperationStatus::Done; // Done, Cancelled or Failed
    QString message;
    std::optional<RangeBytes> bytes = std::nullopt; // Done
};

// The data of the image at `imagePath` inside `range`, the start address of
// a binary image asked as the merge asks it.
[[nodiscard]] ImageRangeResult imageBytesInRange(const QString& imagePath, const AddressRange& range,
                                                 const StartAddressQuestion& askStartAddress);

// Where a record in use with an address and a size (its data's when it has
// none) will lie, at its address as the KEY file writes it: what a merge
// puts into the image whatever data the record is given.
struct KeyDataRange {
    Slot slot = 0;
    AddressRange range;
};
[[nodiscard]] std::vector<KeyDataRange> keyDataRanges(const Document& document);

struct RangeChecksum {
    QByteArray bytes;                 // the checksum, when neither of the others is set
    std::optional<AddressRange> gap;  // the first addresses without data, when no fill byte is given
    QString problem;                  // a record in the range that will not be written as it is
};

// The checksum over the range of `image` with the document's key data laid
// over it, and `fill` where neither the image nor a record gives a byte;
// without `fill` such addresses are the gap.
[[nodiscard]] RangeChecksum checksumOverImageRange(const Document& document, const RangeBytes& image,
                                                   ChecksumAlgorithm algorithm, std::optional<char> fill);

} // namespace quorvane
