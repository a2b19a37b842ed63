#pragma once

#include "progress.h"
#include "key_layout.h"
#include "recognition.h"

#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

// Whether an image holds the key data: each record's bytes at its address,
// found in one pass over the image as the extraction reads it (lines up to
// the first end record). Where the image gives an address twice, the later
// line counts, as it would when the image is loaded into a device.
namespace quorvane {

// What the image has at one of a record's addresses: a byte, or nothing.
inline constexpr int kNoImageByte = -1;

// A record whose bytes the image does not hold as they are.
struct RecordDifference {
    KeyBytes key;
    int firstDifference = 0;  // offset in the record of the first byte that differs or is missing
    std::vector<int> found;   // the image's byte at each of the record's addresses, or kNoImageByte
};

// "Line 3 (serial) at 00001000: byte 2 differs: expected 0A0B0C0D, found 0A0BFF0D" or
// "...: byte 2 is not in the image: expected 0A0B0C0D, found 0A0B----"
[[nodiscard]] QString differenceText(const RecordDifference& difference);

enum class VerifyStatus {
    Matches,            // every record's bytes are in the image
    Differs,            // `differences` names each record that is not, in the order given
    StartAddressNeeded, // the image is binary and no start address was given
    KeyDataRefused,     // the records cannot be placed together (KeyLayout::of)
    FormatError,        // a damaged image, or a line of its format whose bytes cannot be trusted
    ReadError,
    Cancelled,          // the progress callback answered false
};

struct VerifyResult {
    VerifyStatus status = VerifyStatus::Matches;
    ObjectFileKind kind = ObjectFileKind::Binary; // as recognised
    QString message; // the text to show for the statuses that are neither Matches, Differs nor Cancelled
    std::vector<RecordDifference> differences;

    [[nodiscard]] explicit operator bool() const { return status == VerifyStatus::Matches; }
};

struct VerifyOptions {
    std::optional<quint32> startAddress; // of a binary image's first byte; unused for the text kinds
    ImageProgress progress;
};

// Recognises the image as recognizeObjectFile would, in the pass that reads it.
[[nodiscard]] VerifyResult verifyKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys,
                                         const VerifyOptions& options = {});

// The same for an image of a known kind, read from its current position (a
// binary image by seeking). `imageName` names the image in messages.
[[nodiscard]] VerifyResult verifyKeyData(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                                         const std::vector<KeyBytes>& keys, const VerifyOptions& options = {});

} // namespace quorvane
