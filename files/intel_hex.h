#pragma once

#include "format_check.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <optional>

// Intel HEX lines: ":" count, offset (2 bytes), type, data, checksum, all as
// hex pairs. One of the object files key data is taken from and put into.
namespace quorvane {

// The longest line: ":" and 2 digits each for count, offset, type, 255 data
// bytes and the checksum. A longer run of characters cannot be a line of the
// format, so a reader gives up once it has seen that many.
inline constexpr int kMaxIntelHexCount = 255;
inline constexpr qsizetype kMaxIntelHexLineLength = 1 + 2 * (1 + 2 + 1 + kMaxIntelHexCount + 1);

// Record types, valued as the format's own codes.
enum class IntelHexType : quint8 {
    Data = 0x00,
    EndOfFile = 0x01,
    ExtendedSegmentAddress = 0x02,
    StartSegmentAddress = 0x03,
    ExtendedLinearAddress = 0x04,
    StartLinearAddress = 0x05,
};

// Why a line is not a well-formed Intel HEX line. A well-formed line starts
// with ":", has 2 * count + 11 characters, all hex digits after the colon,
// and its count + 5 bytes sum to 0 in their low byte. The type is not
// judged here: a reader skips the types it does not know.
enum class IntelHexLineFault {
    None,
    TooShort,
    TooLong,
    NoColon,
    NotHex,
    CountDisagreesWithLength,
    WrongChecksum,
};
[[nodiscard]] IntelHexLineFault intelHexLineFault(QByteArrayView line);
[[nodiscard]] inline bool isValidIntelHexLine(QByteArrayView line)
{
    return intelHexLineFault(line) == IntelHexLineFault::None;
}
// A few words for a person: "wrong checksum", ...
[[nodiscard]] QString describeIntelHexLineFault(IntelHexLineFault fault);

// Valid when every line is a valid Intel HEX line (an empty file is);
// otherwise the first bad line and why, or the read failure. Stops at the
// first bad line, so a file of another kind is rejected from its first
// characters. Lines may end in CR LF, LF or CR.
[[nodiscard]] FormatCheck CheckIntelHexFile(QIODevice& device);
[[nodiscard]] FormatCheck CheckIntelHexFile(const QString& path);

// The fields of a line whose frame is sound: ":", count, offset and type as
// hex, and 2 * count + 11 characters. Neither the data digits nor the
// checksum are looked at; the format check has done that for a whole file.
struct IntelHexFields {
    int count;
    quint16 offset;
    quint8 type;                // an IntelHexType, or another code to skip
    QByteArrayView dataDigits;  // 2 * count digits, letter case as in the file
};
[[nodiscard]] std::optional<IntelHexFields> intelHexFieldsOf(QByteArrayView line);

// A line of the given type holding `dataDigits` (two hex digits per byte,
// either case, at most kMaxIntelHexCount bytes) with its count and checksum;
// without line end.
[[nodiscard]] QByteArray intelHexLine(IntelHexType type, quint16 offset, QByteArrayView dataDigits);

} // namespace quorvane
