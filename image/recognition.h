#pragma once

#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <optional>

// Which kind of image key data is taken from, written into or checked in,
// and the one place that decides it: a pass over an image is run as the
// text format its first line claims, and only when that format's check
// refuses a line is the image found damaged or binary.
namespace quorvane {

enum class ObjectFileKind {
    Srecord,
    IntelHex,
    Binary,
    // Text that claims S-records or Intel HEX by its first line but fails
    // that format's check: never read as a binary image, whose start address
    // would make key bytes of the file's characters.
    Damaged,
};

// The first bad line of a file that claims a text format, and why, in the
// words of that format's check.
struct ObjectFileDamage {
    ObjectFileKind format = ObjectFileKind::Srecord; // Srecord or IntelHex
    qint64 line = 0;
    QString reason;
};

struct ObjectFileRecognition {
    ObjectFileKind kind = ObjectFileKind::Binary;
    std::optional<ObjectFileDamage> damage; // set exactly when kind is Damaged
};

// The text kind a file's first non-empty line claims, read from the device's
// position: Srecord ("S" and a digit), IntelHex (":"), or Binary. A file
// without any line claims Srecord: an empty S-record file holds no data.
[[nodiscard]] ObjectFileKind claimedKind(QIODevice& device);

// The claimed kind when every non-empty line passes its check (empty lines
// are skipped, as objcopy and srec_cat skip them). When a line fails, the
// file is Damaged if it holds only printable characters and line ends, and
// Binary otherwise: a raw image is known as such at its first byte that no
// text holds, and a text file is read to its end. A path that cannot be
// opened is taken for binary, whose reader then tells why it cannot be read.
// The device must allow seeking back to its start; its position afterwards
// is left wherever the reading stopped.
[[nodiscard]] ObjectFileRecognition examineObjectFile(QIODevice& device);
[[nodiscard]] ObjectFileRecognition examineObjectFile(const QString& path);
[[nodiscard]] ObjectFileKind recognizeObjectFile(QIODevice& device);
[[nodiscard]] ObjectFileKind recognizeObjectFile(const QString& path);

// What one pass over an image found.
template <typename Result>
struct ImagePass {
    ObjectFileKind kind = ObjectFileKind::Binary;
    std::optional<Result> result;           // a text kind: what its pass gave
    std::optional<ObjectFileDamage> damage; // Damaged: the first bad line, when one was found
};

// Runs `textPass(kind)` over the image from its start when its first line
// claims a text format; the pass gives nullopt at the first line that
// format's check refuses, and the image is then examined again for the line
// and why (Damaged), or found Binary. Recognition thus costs nothing beyond
// the pass itself for an image that is what it claims. Binary, without a
// pass, also when the device cannot seek back to its start.
template <typename Result, typename TextPass>
[[nodiscard]] ImagePass<Result> passOverImage(QIODevice& device, TextPass textPass)
{
    if (!device.seek(0))
        return {};
    const ObjectFileKind claimed = claimedKind(device);
    if (claimed == ObjectFileKind::Binary || !device.seek(0))
        return {};
    if (std::optional<Result> result = textPass(claimed))
        return {.kind = claimed, .result = std::move(result), .damage = {}};
    // Rare enough to read again: the line the check refused, or the byte
    // that makes the file a binary image after all.
    ObjectFileRecognition seen = examineObjectFile(device);
    return {.kind = seen.kind == ObjectFileKind::Binary ? ObjectFileKind::Binary : ObjectFileKind::Damaged,
            .result = {}, .damage = std::move(seen.damage)};
}

// "S-record" or "Intel HEX".
[[nodiscard]] QString formatName(ObjectFileKind textKind);

// "File format error." CR LF "FILE: " path CR LF "line 3 (as S-record): wrong checksum"
[[nodiscard]] QString damagedObjectFileText(const QString& path, const ObjectFileDamage& damage);
// "File format error." CR LF "FILE: " path CR LF, and the line and why when
// they are known.
[[nodiscard]] QString fileFormatErrorText(const QString& path, const std::optional<ObjectFileDamage>& damage = {});

// Why an operation on a binary image stopped before reading it.
[[nodiscard]] QString startAddressNeededText(const QString& imagePath);

} // namespace quorvane
