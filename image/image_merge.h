#pragma once

#include "progress.h"
#include "key_layout.h"
#include "recognition.h"

#include <QFileDevice>
#include <QIODevice>
#include <QString>

#include <optional>
#include <vector>

// Key data written into a firmware image, the inverse of the extraction: the
// image is read once, line by line (or block by block), and written out in
// its own format with the key bytes in place. Memory stays bounded by the key
// data, whatever the image's size.
//
// S-record and Intel HEX: every line is re-emitted as it was, with its own
// line end; a data line holding key bytes gets them in place and a new
// checksum, keeping its record type, address and length. Lines after the
// image's first end record are no part of the image and are copied as they
// are. Key bytes the image has no data for refuse the merge, unless allowed:
// then they are added as new data lines in front of the end record (at the end of a file without one, in front of a
// closing run of count records), as long as the image's longest data line;
// they end as the image's first line ends (CR LF when it has none), so a
// file with one style of line ends keeps it. An S-record line added is of
// the widest type the image uses, wider when its address needs it; an S5 or
// S6 count record is rewritten to count the data lines before it, added ones
// included. An Intel HEX line added is preceded by an extended linear address
// record (after one clearing the segment base, when the image set one)
// whenever the image's last base does not reach it.
//
// Binary: the image's bytes with the key bytes overlaid, the same length;
// its data is its whole length from its start address, and nothing is added.
//
// Whether key bytes lie where the image has no data is known only at the
// image's end, so a merge that may refuse them reads the image twice: once
// writing nothing, then, with nothing to refuse, writing the output.
namespace quorvane {

// A record some of whose bytes lie where the image has no data: partly
// inside counts as outside.
struct MergeNote {
    KeyBytes key;
    int bytesOutside = 0;
};

// "Line 3 (serial) at 00012000 to 00012007: 4 of its 8 bytes lie where the image has no data."
[[nodiscard]] QString mergeNoteText(const MergeNote& note);

enum class MergeStatus {
    Merged,             // the output is written; `notes` names the records with bytes added
    StartAddressNeeded, // the image is binary and no start address was given
    KeyDataRefused,     // the records cannot be placed together (KeyLayout::of)
    OutsideImage,       // key bytes where the image has no data, not allowed (never allowed in a binary image)
    FormatError,        // a line of the image's format whose bytes cannot be trusted
    ReadError,
    WriteError,
    Cancelled,          // the progress callback answered false
};

struct MergeResult {
    MergeStatus status = MergeStatus::Merged;
    ObjectFileKind kind = ObjectFileKind::Binary; // as recognised
    QString message; // the text to show for every status but Merged and Cancelled
    // Merged: the records whose bytes were added as new lines. OutsideImage:
    // those refused, each named in `message`.
    std::vector<MergeNote> notes;

    [[nodiscard]] explicit operator bool() const { return status == MergeStatus::Merged; }
};

struct MergeOptions {
    std::optional<quint32> startAddress; // of a binary image's first byte; unused for the text kinds
    // Key bytes where an S-record or Intel HEX image has no data are added as
    // new data lines instead of refusing the merge (and the image read once).
    bool allowOutside = false;
    ImageProgress progress;
};

// Recognises the image as recognizeObjectFile would, in the pass that
// merges, and writes `outputPath` through a QSaveFile: the file appears only
// when complete, and on any other status than Merged it is left as it was.
// `outputPath` may name the image itself.
[[nodiscard]] MergeResult mergeKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys,
                                       const QString& outputPath, const MergeOptions& options = {});

// The same, written to `output`, an open file, instead: for a caller that
// places the file itself. On any status but Merged it may hold part of an
// image, for the caller to discard.
[[nodiscard]] MergeResult mergeKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys,
                                       QFileDevice& output, const MergeOptions& options = {});

// The same for an image of a known kind, read from its current position
// (a binary image from its start; without allowOutside the device is read
// twice, so it must be able to seek back) and written to `output`, which
// holds an incomplete image on any status but Merged and nothing when the
// key data is refused. `imageName` names the image in messages. A line the
// format's check refuses is a FormatError here.
[[nodiscard]] MergeResult mergeKeyData(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                                       const std::vector<KeyBytes>& keys, QIODevice& output,
                                       const MergeOptions& options = {});

} // namespace quorvane
