// Checking an image for key data: each record that the image does not hold
// as it is, with the first byte that differs and what the image has there.

#include "tests/support/image_support.h"

#include "image/image_verify.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::bytes;
using test::ihex;
using test::key;
using test::srec;

const QByteArray k8 = bytes("0011223344556677");

VerifyResult verifyIn(const QByteArray& image, ObjectFileKind kind, const std::vector<KeyBytes>& keys,
                      std::optional<quint32> start = std::nullopt)
{
    test::TestDevice device(image);
    return verifyKeyData(device, u"image"_s, kind, keys, {.startAddress = start, .progress = {}});
}

std::vector<QString> textsOf(const VerifyResult& result)
{
    std::vector<QString> texts;
    for (const RecordDifference& difference : result.differences)
        texts.push_back(differenceText(difference));
    return texts;
}

TEST(VerifyKeyData, NamesEachRecordTheImageDoesNotHold)
{
    const QByteArray srecords = srec(0, 0, "hdr") + srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(9, 0);
    const QByteArray intelHex = ihex(4, 0, bytes("0001")) + ihex(0, 0xFFF8, k8) + ihex(4, 0, bytes("0002"))
                                + ihex(0, 0, k8) + ihex(1, 0);
    struct Row {
        const char* what;
        QByteArray image;
        ObjectFileKind kind = ObjectFileKind::Srecord;
        std::optional<quint32> start = {};
        std::vector<KeyBytes> keys;
        std::vector<QString> differences = {};
    };
    const Row rows[] = {
        {.what = "every record held, across lines", .image = srecords,
         .keys = {key(0, 0x1000, "0011"), key(1, 0x1006, "66770011"), key(2, 0x100F, "77")}},
        {.what = "a byte differs", .image = srecords,
         .keys = {key(0, 0x1000, "0011"), test::titled(key(3, 0x1005, "556699"), u"serial"_s)},
         .differences = {u"Line 4 (serial) at 00001005: byte 2 differs: expected 556699, found 556677"_s}},
        {.what = "bytes missing, and one differing before them", .image = srecords,
         .keys = {key(0, 0x100E, "6676AABB"), key(1, 0x0FFF, "FF00")},
         .differences = {u"Line 1 at 0000100E: byte 1 differs: expected 6676AABB, found 6677----"_s,
                         u"Line 2 at 00000FFF: byte 0 is not in the image: expected FF00, found --00"_s}},
        {.what = "lines after the end record are no part of the image",
         .image = srec(1, 0x1000, k8) + srec(9, 0) + srec(1, 0x2000, k8), .keys = {key(0, 0x2000, "00")},
         .differences = {u"Line 1 at 00002000: byte 0 is not in the image: expected 00, found --"_s}},
        {.what = "where lines overlap, the later one counts",
         .image = srec(1, 0x1000, k8) + srec(1, 0x1004, bytes("AA")) + srec(9, 0),
         .keys = {key(0, 0x1003, "33AA55")}},
        {.what = "where lines overlap, the earlier one does not",
         .image = srec(1, 0x1000, k8) + srec(1, 0x1004, bytes("AA")) + srec(9, 0),
         .keys = {key(1, 0x1004, "44")},
         .differences = {u"Line 2 at 00001004: byte 0 differs: expected 44, found AA"_s}},
        {.what = "Intel HEX across a 64 KiB boundary", .image = intelHex, .kind = ObjectFileKind::IntelHex,
         .keys = {key(0, 0x1FFFE, "66770011"), key(1, 0x20007, "78")},
         .differences = {u"Line 2 at 00020007: byte 0 differs: expected 78, found 77"_s}},
        {.what = "binary, partly outside", .image = k8, .kind = ObjectFileKind::Binary, .start = 0x1000,
         .keys = {key(0, 0x1000, "0011"), key(1, 0x1006, "667788")},
         .differences = {u"Line 2 at 00001006: byte 2 is not in the image: expected 667788, found 6677--"_s}},
        {.what = "binary, below the start", .image = k8, .kind = ObjectFileKind::Binary, .start = 0x1001,
         .keys = {key(0, 0x1000, "0011")},
         .differences = {u"Line 1 at 00001000: byte 0 is not in the image: expected 0011, found --00"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const VerifyResult result = verifyIn(row.image, row.kind, row.keys, row.start);
        EXPECT_EQ(result.status, row.differences.empty() ? VerifyStatus::Matches : VerifyStatus::Differs);
        EXPECT_EQ(textsOf(result), row.differences);
    }
}

TEST(VerifyKeyData, SaysWhyItCannotTell)
{
    struct Row {
        const char* what;
        QByteArray image;
        ObjectFileKind kind;
        std::vector<KeyBytes> keys;
        VerifyStatus status;
        QString message;
    };
    const Row rows[] = {
        {.what = "a binary image without its start", .image = k8, .kind = ObjectFileKind::Binary,
         .keys = {key(0, 0, "00")}, .status = VerifyStatus::StartAddressNeeded,
         .message = u"image is neither S-records nor Intel HEX: the address of its first byte is needed."_s},
        {.what = "records that disagree", .image = k8, .kind = ObjectFileKind::Binary,
         .keys = {key(0, 0, "00"), key(1, 0, "01")}, .status = VerifyStatus::KeyDataRefused,
         .message = u"Line 2: its byte at 00000000 differs from that of line 1."_s},
        {.what = "a line whose bytes cannot be trusted", .image = srec(1, 0x1000, k8).insert(26, '0'),
         .kind = ObjectFileKind::Srecord, .keys = {key(0, 0x1000, "00")}, .status = VerifyStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\n"_s},
        {.what = "a damaged image", .image = srec(1, 0x1000, k8) + "S9\r\n", .kind = ObjectFileKind::Srecord,
         .keys = {key(0, 0x1000, "00")}, .status = VerifyStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\nline 2 (as S-record): too short for an S-record"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const VerifyResult result = verifyIn(row.image, row.kind, row.keys);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.message, row.message);
    }
}

} // namespace
} // namespace quorvane
