#pragma once

#include <QIODevice>
#include <QString>

#include <array>

// Which kind of object file key data is taken from or written into.
namespace quorvane {

enum class ObjectFileKind { Srecord, IntelHex, Binary };

// The kinds told by their lines, in the order they are tried.
inline constexpr std::array<ObjectFileKind, 2> kTextObjectFileKinds = {ObjectFileKind::Srecord, ObjectFileKind::IntelHex};

// The first kind whose format check passes, in this order: Motorola
// S-record, Intel HEX; any other file is a raw binary image. An empty file
// passes the first check. Each check stops at its first bad line, so an image
// of gigabytes is known for binary after a chunk or two.
//
// The device must allow seeking back to its start; its position afterwards
// is left wherever the last probe stopped. A path that cannot be opened is
// taken for binary, whose reader then tells why it cannot be read.
[[nodiscard]] ObjectFileKind recognizeObjectFile(QIODevice& device);
[[nodiscard]] ObjectFileKind recognizeObjectFile(const QString& path);

// Why an operation on a binary image stopped before reading it.
[[nodiscard]] QString startAddressNeededText(const QString& imagePath);

} // namespace quorvane
