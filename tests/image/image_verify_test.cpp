// Checking an image for key data: each record that the image does not hold
// as it is, with the first byte that differs and what the image has there.

#include "tests/support/image_support.h"

#include "image/image_verify.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::bytes;
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

// Whether a byte is held at all is in image_contract_test.cpp; here, how
// the records it finds are named.
TEST(VerifyKeyData, NamesEachRecordTheImageDoesNotHold)
{
    const QByteArray srecords = srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(1, 0x1004, bytes("AA")) + srec(9, 0);
    const struct {
        const char* what;
        QByteArray image = {};
        std::vector<KeyBytes> keys;
        std::vector<QString> differences = {};
    } rows[] = {
        {.what = "held across lines, the later of two overlapping lines counting",
         .keys = {key(0, 0x1003, "33AA55"), key(1, 0x1006, "66770011")}},
        {.what = "a byte differs: the earlier of two overlapping lines does not count",
         .keys = {key(0, 0x1000, "0011"), test::titled(key(3, 0x1004, "4455"), u"serial"_s)},
         .differences = {u"Line 4 (serial) at 00001004: byte 0 differs: expected 4455, found AA55"_s}},
        {.what = "bytes missing, and one differing before them", .keys = {key(0, 0x100E, "6676AABB"), key(1, 0x0FFF, "FF00")},
         .differences = {u"Line 1 at 0000100E: byte 1 differs: expected 6676AABB, found 6677----"_s,
                         u"Line 2 at 00000FFF: byte 0 is not in the image: expected FF00, found --00"_s}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const VerifyResult result = verifyIn(srecords, ObjectFileKind::Srecord, row.keys);
        EXPECT_EQ(result.status, row.differences.empty() ? VerifyStatus::Matches : VerifyStatus::Differs);
        EXPECT_EQ(textsOf(result), row.differences);
    }
    const VerifyResult binary = verifyIn(k8, ObjectFileKind::Binary, {key(1, 0x1006, "667788")}, 0x1000);
    EXPECT_EQ(textsOf(binary), std::vector{u"Line 2 at 00001006: byte 2 is not in the image: expected 667788, found 6677--"_s});
}

} // namespace
} // namespace quorvane
