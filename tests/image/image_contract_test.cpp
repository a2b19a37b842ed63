// What an image holds, as the three passes over it read it: extraction finds
// the bytes, verification finds them equal, and a merge of the same bytes
// writes the image back as it was; where the image holds no byte, the
// extraction finds nothing, verification names the byte missing and the
// merge refuses.

#include "tests/support/image_support.h"

#include "image/image_merge.h"
#include "image/image_verify.h"

#include <map>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum ObjectFileKind;
using test::bytes;
using test::ihex;
using test::srec;

const QByteArray k16 = bytes("00112233445566778899AABBCCDDEEFF");
const QByteArray kS9 = srec(9, 0);
const QByteArray kEof = ihex(1, 0);

QByteArray image256()
{
    QByteArray image(256, 0);
    for (int i = 0; i < 256; ++i)
        image[i] = char(i);
    return image;
}

TEST(ImagePasses, AgreeOnWhatTheImageHolds)
{
    struct Row {
        const char* what;
        ObjectFileKind kind = Srecord;
        QByteArray image;
        quint32 address;
        QByteArray held = {}; // the image's bytes from `address`; empty: not all held
        int size = 0;    // when nothing is held
        quint32 start = 0; // of a binary image
    };
    const Row rows[] = {
        {.what = "inside one line", .image = srec(1, 0x1000, k16) + kS9, .address = 0x1002, .held = bytes("22334455")},
        {.what = "across two lines", .image = srec(1, 0x1000, k16) + srec(1, 0x1010, bytes("A0A1A2A3")) + kS9,
         .address = 0x100E, .held = bytes("EEFFA0A1")},
        {.what = "header and count records are passed over",
         .image = srec(0, 0, "HDR") + srec(5, 0) + srec(6, 0) + srec(2, 0xAB0000, k16) + srec(8, 0),
         .address = 0xAB000F, .held = bytes("FF")},
        {.what = "lines after the end record are no part of the image",
         .image = srec(1, 0x1000, k16) + kS9 + srec(1, 0x2000, bytes("CAFE")), .address = 0x2000, .size = 2},
        {.what = "without an end record, bytes past the last line are missing", .image = srec(1, 0x1000, k16),
         .address = 0x100E, .size = 4},
        {.what = "a line at the top of the 32-bit space ends there",
         .image = srec(3, 0, k16) + srec(3, 0xFFFFFFF0, k16) + srec(7, 0), .address = 0xFFFFFFFC, .held = bytes("CCDDEEFF")},
        {.what = "a line crossing the top does not wrap to 0", .image = srec(3, 0xFFFFFFF0, k16 + k16) + srec(7, 0),
         .address = 0, .size = 1},
        {.what = "an empty data line holds nothing", .image = srec(1, 0x1000) + srec(1, 0x1001, bytes("AB")) + kS9,
         .address = 0x1001, .held = bytes("AB")},

        {.what = "an extended linear address of 8000 places data at 80000000", .kind = IntelHex,
         .image = ihex(4, 0, bytes("8000")) + ihex(0, 0, k16) + kEof, .address = 0x80000004, .held = bytes("44556677")},
        {.what = "an extended segment address counts in 16-byte paragraphs", .kind = IntelHex,
         .image = ihex(2, 0, bytes("1000")) + ihex(0, 0x0010, k16) + kEof, .address = 0x10010, .held = bytes("0011")},
        {.what = "linear and segment parts add up", .kind = IntelHex,
         .image = ihex(4, 0, bytes("0001")) + ihex(2, 0, bytes("1000")) + ihex(0, 0, k16) + kEof,
         .address = 0x20001, .held = bytes("11")},
        {.what = "start addresses and unknown types are passed over", .kind = IntelHex,
         .image = ihex(3, 0, bytes("12345678")) + ihex(5, 0, bytes("12345678")) + ihex(6, 0, bytes("00"))
                  + ihex(0, 0x10, k16) + kEof,
         .address = 0x10, .held = bytes("00")},
        {.what = "the end-of-file record stops the reading", .kind = IntelHex,
         .image = ihex(0, 0x1000, k16) + kEof + ihex(0, 0x2000, bytes("CAFE")), .address = 0x2000, .size = 2},
        {.what = "a line crossing the top of the 32-bit space", .kind = IntelHex,
         .image = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .address = 0xFFFFFFFC,
         .held = bytes("CCDDEEFF")},
        {.what = "a line crossing the top does not wrap to 0", .kind = IntelHex,
         .image = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16 + k16) + kEof, .address = 0, .size = 1},

        {.what = "the last bytes of a binary image", .kind = Binary, .image = image256(), .address = 0x10FC,
         .held = bytes("FCFDFEFF"), .start = 0x1000},
        {.what = "a binary image ending at the top of the 32-bit space", .kind = Binary, .image = image256(),
         .address = 0xFFFFFFFC, .held = bytes("FCFDFEFF"), .start = 0xFFFFFF00},
        {.what = "one byte past a binary image's end", .kind = Binary, .image = image256(), .address = 0x10FC,
         .size = 5, .start = 0x1000},
        {.what = "one byte below its start", .kind = Binary, .image = image256(), .address = 0x0FFF, .size = 1,
         .start = 0x1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const bool held = !row.held.isEmpty();
        const int size = held ? int(row.held.size()) : row.size;
        test::TestDevice device(row.image);
        const ExtractionResult extracted = test::extractFrom(device, row.kind, row.start, {test::at(0, row.address, size)});
        EXPECT_EQ(extracted.status, held ? ExtractionStatus::Extracted : ExtractionStatus::NotFound);
        EXPECT_EQ(held ? extracted.data.at(0) : extracted.errorText,
                  held ? QString::fromLatin1(row.held.toHex().toUpper())
                       : u"Data not found.\r\nFILE: /data/key.obj\r\nADDRESS: %1\r\nSIZE: %2"_s
                             .arg(u"%1"_s.arg(row.address, 8, 16, QChar(u'0')).toUpper()).arg(size));

        const KeyBytes key{.slot = 0, .title = {}, .address = row.address,
                           .bytes = held ? row.held : QByteArray(size, '\x5A')};
        test::TestDevice verified(row.image);
        const VerifyResult verify =
            verifyKeyData(verified, u"image"_s, row.kind, {key}, {.startAddress = row.start, .progress = {}});
        EXPECT_EQ(verify.status, held ? VerifyStatus::Matches : VerifyStatus::Differs);

        test::TestDevice merged(row.image);
        QBuffer output;
        output.open(QIODevice::WriteOnly);
        const MergeResult merge = mergeKeyData(merged, u"image"_s, row.kind, {key}, output,
                                               {.startAddress = row.start, .allowOutside = false, .progress = {}});
        EXPECT_EQ(merge.status, held ? MergeStatus::Merged : MergeStatus::OutsideImage);
        EXPECT_EQ(output.data(), held ? row.image : QByteArray());
    }
}

// Merge and verification stop alike, with the same words, before they can
// tell anything; the merge writes nothing.
TEST(ImagePasses, RefuseAlikeWhatTheyCannotRead)
{
    const QByteArray k8 = bytes("0011223344556677");
    const struct {
        const char* what;
        QByteArray image;
        ObjectFileKind kind = Srecord;
        std::vector<KeyBytes> keys = {test::key(0, 0x1000, "00")};
        VerifyStatus status;
        QString message;
    } rows[] = {
        {.what = "a binary image without its start", .image = k8, .kind = Binary, .status = VerifyStatus::StartAddressNeeded,
         .message = u"image is neither S-records nor Intel HEX: the address of its first byte is needed."_s},
        {.what = "records that disagree", .image = k8, .kind = Binary, .keys = {test::key(0, 0, "00"), test::key(1, 0, "01")},
         .status = VerifyStatus::KeyDataRefused, .message = u"Line 2: its byte at 00000000 differs from that of line 1."_s},
        {.what = "a record beyond FFFFFFFF", .image = srec(1, 0x1000, k8) + kS9,
         .keys = {test::key(2, 0xFFFFFFFE, "010203")}, .status = VerifyStatus::KeyDataRefused,
         .message = u"Line 3: its 3 bytes at FFFFFFFE reach beyond address FFFFFFFF."_s},
        {.what = "a stray character after a data line's bytes", .image = srec(1, 0x1000, k8).insert(26, '0') + kS9,
         .status = VerifyStatus::FormatError, .message = u"File format error.\r\nFILE: image\r\n"_s},
        {.what = "a damaged image", .image = srec(1, 0x1000, k8) + "S9\r\n", .status = VerifyStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\nline 2 (as S-record): too short for an S-record"_s},
        {.what = "damaged Intel HEX", .image = ihex(0, 0x1000, k8) + ":00000001FE\r\n", .kind = IntelHex, .status = VerifyStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\nline 2 (as Intel HEX): wrong checksum"_s},
    };
    const std::map<VerifyStatus, MergeStatus> mergeStatusOf = {
        {VerifyStatus::StartAddressNeeded, MergeStatus::StartAddressNeeded},
        {VerifyStatus::KeyDataRefused, MergeStatus::KeyDataRefused},
        {VerifyStatus::FormatError, MergeStatus::FormatError},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice verified(row.image);
        const VerifyResult verify = verifyKeyData(verified, u"image"_s, row.kind, row.keys);
        EXPECT_EQ(verify.status, row.status);
        EXPECT_EQ(verify.message, row.message);
        test::TestDevice merged(row.image);
        QBuffer output;
        output.open(QIODevice::WriteOnly);
        const MergeResult merge = mergeKeyData(merged, u"image"_s, row.kind, row.keys, output);
        EXPECT_EQ(merge.message, row.message);
        EXPECT_EQ(merge.status, mergeStatusOf.at(row.status));
        EXPECT_EQ(output.data(), QByteArray());
    }
}

} // namespace
} // namespace quorvane
