#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <span>

// Which kind of object file key data is taken from or written into.
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

// A text format, tried in this order: the format's name as `quorvane-cli
// check` names it, and whether the first non-empty line of a file claims it.
struct TextFormatProbe {
    ObjectFileKind kind;
    const char* name;
    bool (*claims)(QByteArrayView lineStart); // the line's first two bytes, or fewer
};
[[nodiscard]] std::span<const TextFormatProbe> textFormatProbes();

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
// start: Srecord ("S" and a digit), IntelHex (":"), or Binary. A file without
// any line claims Srecord: an empty S-record file holds no data.
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

// "S-record" or "Intel HEX".
[[nodiscard]] QString formatName(ObjectFileKind textKind);

// "File format error." CR LF "FILE: " path CR LF "line 3 (as S-record): wrong checksum"
[[nodiscard]] QString damagedObjectFileText(const QString& path, const ObjectFileDamage& damage);

// Why an operation on a binary image stopped before reading it.
[[nodiscard]] QString startAddressNeededText(const QString& imagePath);

} // namespace quorvane
