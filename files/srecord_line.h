#pragma once

#include "core/address_size.h"
#include "core/hex_digits.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

// One Motorola S-record line, checked and taken apart. Lines are given
// without their line end. Shared by the KEY file reader and writer so that
// what one writes the other always accepts.
namespace quorvane {

// The longest line that can be valid: type, count, 255 counted bytes and one
// stray character after them (tolerated, as many tools leave one).
inline constexpr qsizetype kMaxSrecordLineLength = 2 + 2 + 2 * kMaxSrecordCount + 1;


// Why a line is not one well-formed S-record. A well-formed line is
// - "S0".."S9" except "S4", upper case;
// - the count, every counted byte and the checksum are hex digits;
// - the characters after the count are twice the count, give or take one
//   stray character at the end (which is not looked at);
// - a data record's count covers at least its address and checksum;
// - count plus counted bytes sum to 0xFF in their low byte.
enum class SrecordLineFault {
    None,
    TooShort,
    TooLong,
    NotSrecord,
    UnknownType,
    NotHex,
    CountDisagreesWithLength,
    CountTooSmall,
    WrongChecksum,
};
[[nodiscard]] SrecordLineFault srecordLineFault(QByteArrayView line);
[[nodiscard]] inline bool isValidSrecordLine(QByteArrayView line)
{
    return srecordLineFault(line) == SrecordLineFault::None;
}
// A few words for a person: "wrong checksum", ...
[[nodiscard]] QString describeSrecordLineFault(SrecordLineFault fault);

// A data record (S1, S2, S3) of a line that passed isValidSrecordLine.
struct SrecordData {
    RecordType type;
    QByteArrayView addressDigits; // 4, 6 or 8 hex digits
    QByteArrayView dataDigits;    // two hex digits per byte, letter case as in the file
};

// The data record of a valid line; nullopt for any other record type.
[[nodiscard]] std::optional<SrecordData> dataRecordOf(QByteArrayView validLine);

// The address size whose data records have this type.
[[nodiscard]] std::optional<AddressSize> addressSizeOf(RecordType dataType);

} // namespace quorvane
