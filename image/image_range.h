#pragma once

#include "key_layout.h"
#include "recognition.h"

#include "core/checksums.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <map>
#include <optional>
#include <vector>

// The bytes of an image inside one range of addresses, for a checksum that
// a device computes over its own memory: read once, then summed for each
// device with that device's key bytes laid over them. Only the image's data
// inside the range is held, never the addresses between, so a wide range
// over a sparse image costs what the image holds there.
namespace quorvane {

// Addresses from `first` to `last`, both included.
struct AddressRange {
    quint64 first = 0;
    quint64 last = 0;

    [[nodiscard]] bool overlaps(const AddressRange& other) const { return first <= other.last && other.first <= last; }
};

// "00001000-00001FFF", as the range is given.
[[nodiscard]] QString rangeText(const AddressRange& range);

class RangeBytes {
public:
    explicit RangeBytes(const AddressRange& range) : range_(range) {}

    [[nodiscard]] const AddressRange& range() const { return range_; }

    // Data the image gives at `address`; what lies outside the range is
    // dropped. Where the image gives an address twice, the later bytes
    // count, as they would when the image is loaded into a device (and as
    // verification reads it).
    void put(quint64 address, QByteArrayView bytes);

    // The first run of addresses of the range that neither the image's
    // data nor one of `alsoHeld` holds; nullopt when every address is held.
    [[nodiscard]] std::optional<AddressRange> firstGap(const std::vector<AddressRange>& alsoHeld) const;

    // The checksum over the range's bytes in address order: the image's,
    // with `keys` laid over them, and `fill` at addresses neither holds.
    [[nodiscard]] QByteArray checksum(ChecksumAlgorithm algorithm, const KeyLayout& keys, char fill) const;

private:
    AddressRange range_;
    // Runs of the image's data by their first address; no two overlap.
    std::map<quint64, QByteArray> runs_;
};

enum class RangeReadStatus {
    Read,
    StartAddressNeeded, // the image is binary and no start address was given
    FormatError,        // a damaged image, or a line of its format whose bytes cannot be trusted
    ReadError,
};

struct RangeRead {
    RangeReadStatus status = RangeReadStatus::Read;
    QString message; // the text to show for every status but Read
    std::optional<RangeBytes> bytes = std::nullopt; // Read
};

// The image's data inside `range`, its kind recognised as recognizeObjectFile
// would in the pass that reads it: an S-record or Intel HEX image's data
// lines up to its first end record, or a binary image's bytes from
// `startAddress`.
[[nodiscard]] RangeRead readImageRange(const QString& imagePath, const AddressRange& range,
                                       std::optional<quint32> startAddress);

} // namespace quorvane
