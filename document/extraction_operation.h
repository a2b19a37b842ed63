#pragma once

#include "image/key_extraction.h"
#include "image/progress.h"
#include "image/recognition.h"

#include "core/record_table.h"

#include <QString>

#include <functional>
#include <optional>

// The extraction command without its window: which reader, the start address
// of a binary image, the reading, and the table that results. The window and
// the command-line program show what it returns and adopt the table.
namespace quorvane {

// Asks the user for the start address of a binary image (hex digits as
// typed); nullopt when the question was cancelled.
using StartAddressQuestion = std::function<std::optional<QString>()>;

// The user's answer to the start-address question, checked: 1 to 8 hex
// digits make an address; anything else is "Address Input Error." CR LF
// "ADDRESS: " and the answer.
struct StartAddressReply {
    std::optional<quint32> address; // set for an address
    bool cancelled = false;         // the question was cancelled: nothing to show
    QString error;                  // the message for an answer that is no address
};
[[nodiscard]] StartAddressReply askStartAddressOf(const StartAddressQuestion& askStartAddress);

// What the commands that read an object file say when there is no normal
// file of its name.
inline const QString kObjectFileNotFoundMessage = QStringLiteral("File Not Found.");

enum class KeyDataStatus {
    Extracted,        // `table` holds the new data; the document is modified
    NothingExtracted, // no record has both an address and a size: nothing changes
    Cancelled,        // the start address or the reading was cancelled: no message
    Failed,           // `message` is the error to show; nothing changes
};

struct KeyDataResult {
    KeyDataStatus status = KeyDataStatus::NothingExtracted;
    QString message;
    // When Extracted: every slot 0..255 HEX, targets with their extracted
    // data, all others with empty data; titles, addresses and sizes as they
    // were, the spare slot untouched. Otherwise the table as given.
    RecordTable table;
    int recordsRead = 0; // Extracted: the records that got their data
};

// Extracts key data for every target of `table` from the object file at
// `path`, its kind recognised in the pass that reads the records
// (recognizeAndExtract): a text file is read once, progress covering all of
// it. For a binary image the file must exist as a normal file ("File Not
// Found.") before the start address is asked, and the answer must be 1 to 8
// hex digits ("Address Input Error." CR LF "ADDRESS: " and the answer). Any
// record that cannot be filled leaves the whole table as it was; the message
// names the first such record by slot.
[[nodiscard]] KeyDataResult SetKeyData(const RecordTable& table, const QString& path,
                                       const StartAddressQuestion& askStartAddress,
                                       const ImageProgress& progress = {});

} // namespace quorvane
