#pragma once

#include "progress.h"
#include "recognition.h"

#include "core/record_table.h"

#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Key data taken out of an object file: the bytes at the address and size of
// every record that names both. One pass over the file serves all records,
// so a large S-record or Intel HEX file is read once, not once per record.
namespace quorvane {

// The largest record that is looked for: one S1 line's worth of data. A
// larger record is still a target but gets empty data, without a message.
inline constexpr int kMaxExtractedSize = 252;

// A record to fill: its slot, its start address and its size in bytes.
struct ExtractionTarget {
    Slot slot = 0;
    quint32 address = 0;
    int size = 0;
};

// Every slot 0..255 with its address set and a size above 0, by slot. The
// spare slot is never a target.
[[nodiscard]] std::vector<ExtractionTarget> extractionTargets(const RecordTable& table);

enum class ExtractionStatus { Extracted, NotFound, FormatError, ReadError, Cancelled };

struct ExtractionResult {
    ExtractionStatus status = ExtractionStatus::Extracted;
    // When Extracted, one text per target in the order given: two hex digits
    // per byte (empty for a target above kMaxExtractedSize). Otherwise empty.
    std::vector<QString> data;
    // When NotFound, FormatError or ReadError: the message for the user, and
    // the slot it is about. A record-by-record reading in the order given would
    // have stopped at this same slot with this same text.
    QString errorText;
    std::optional<Slot> failedSlot;

    [[nodiscard]] explicit operator bool() const { return status == ExtractionStatus::Extracted; }
};

// "Data not found." CR LF "FILE: " path CR LF "ADDRESS: " 8 digits CR LF "SIZE: " size
[[nodiscard]] QString dataNotFoundText(const QString& path, quint32 address, int size);

// A raw image whose first byte lies at `startAddress`. Reads only the bytes
// of each record (the device must allow seeking) and gives them as upper-case
// digits. A record below the start address or reaching past the image's end
// is not found. Too little is read to report progress. The path form opens
// the file, and not at all when no target is looked for.
[[nodiscard]] ExtractionResult ExtractBinary(QIODevice& device, const QString& path, quint32 startAddress,
                                             const std::vector<ExtractionTarget>& targets);
[[nodiscard]] ExtractionResult ExtractBinary(const QString& path, quint32 startAddress,
                                             const std::vector<ExtractionTarget>& targets);

// The kind of an object file and, for a text format, its records, from one
// pass: each line is judged for the kind its first line claims exactly as
// recognizeObjectFile judges it (to the end of the file) and, until the
// records are done, read for them too. So a large S-record or Intel HEX file
// is read once in all, and progress covers the whole of it.
//
// A record whose every byte is found before the first end record (S7, S8,
// S9; Intel type 01) and before the end of the file gets the bytes as the
// file spells them, letter case kept; any byte missing is "Data not found."
// for it. Where lines overlap, a later line overwrites an earlier one until
// each byte of the record has been seen; from then on the record keeps its
// data. A line whose bytes cannot be trusted (FormatError) stops the reading
// for every record still incomplete, whether or not its bytes belong to one.
struct RecognizedExtraction {
    ObjectFileKind kind = ObjectFileKind::Binary;
    // Unset for a binary image: its start address is still to be asked.
    // Cancelled when the progress callback cancelled, whatever the kind.
    // For a damaged file a FormatError for no slot in particular, whose text
    // names the first bad line and why (damagedObjectFileText).
    std::optional<ExtractionResult> result;
};
[[nodiscard]] RecognizedExtraction recognizeAndExtract(QIODevice& device, const QString& path,
                                                       const std::vector<ExtractionTarget>& targets,
                                                       const ImageProgress& progress = {});
[[nodiscard]] RecognizedExtraction recognizeAndExtract(const QString& path,
                                                       const std::vector<ExtractionTarget>& targets,
                                                       const ImageProgress& progress = {});

} // namespace quorvane
