#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// What one line of an S-record or Intel HEX image means to a pass that wants
// the image's bytes: data at an address, the end of the image, or a line that
// carries no data. Extraction, merge and verification read every image
// through the same meaning (TextImageReader), so they agree on every line.
namespace quorvane {

enum class ImageLineKind {
    Data,  // S1, S2, S3; Intel type 00
    End,   // S7, S8, S9; Intel type 01: no line after it is part of the image
    Count, // S5, S6: the number of data lines before it
    Other, // a header, a start address, an Intel base record, an unknown Intel type
};

struct ImageLine {
    ImageLineKind kind = ImageLineKind::Other;
    // Data only: the first byte's address, in at least 33 bits so that a
    // line near the top of the 32-bit space does not wrap round to 0, and
    // two digits per byte, letter case as in the file. The digits are not
    // judged here; a caller that uses them checks them (or the file passed
    // its format check).
    quint64 address = 0;
    QByteArrayView dataDigits;
};

// Address parts an Intel HEX file carries from line to line. Both are added
// to a data line's offset. An S-record image leaves it as it is.
struct IntelHexBase {
    quint64 linear = 0;  // extended linear address x 65536
    quint64 segment = 0; // extended segment address x 16

    [[nodiscard]] quint64 address(quint16 offset) const { return linear + segment + offset; }
};

} // namespace quorvane
