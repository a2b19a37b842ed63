// Merging key data into an image: each format's lines come out as they went
// in but for the key bytes, their checksums, the lines added where the image
// had no data and the count records that count them. Expected images are
// built line by line with the test's own builders.

#include "extraction_test_support.h"
#include "image_test_support.h"

#include "files/image_merge.h"
#include "files/object_file.h"

#include <QDir>
#include <QFile>

#include <csignal>

#include <sys/resource.h>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::bytes;
using test::ihex;
using test::key;
using test::srec;

const QByteArray k16 = bytes("00112233445566778899AABBCCDDEEFF");
const QByteArray k8 = bytes("0011223344556677");

MergeOptions startingAt(std::optional<quint32> start)
{
    return {.startAddress = start, .allowOutside = false, .progress = {}};
}

const MergeOptions kAllowOutside = {.startAddress = {}, .allowOutside = true, .progress = {}};

struct Merged {
    MergeResult result;
    QByteArray output;
};

Merged mergeInto(const QByteArray& image, ObjectFileKind kind, const std::vector<KeyBytes>& keys,
                 const MergeOptions& options = {})
{
    test::TestDevice device(image);
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    MergeResult result = mergeKeyData(device, u"image"_s, kind, keys, output, options);
    return {std::move(result), output.data()};
}

// A note, as (slot, bytes outside) pairs.
std::vector<std::pair<Slot, int>> notesOf(const MergeResult& result)
{
    std::vector<std::pair<Slot, int>> notes;
    for (const MergeNote& note : result.notes)
        notes.emplace_back(note.key.slot, note.bytesOutside);
    return notes;
}

QByteArray withLineFeeds(QByteArray lines)
{
    return lines.replace("\r\n", "\n");
}

struct Row {
    const char* what;
    QByteArray image;
    std::vector<KeyBytes> keys;
    QByteArray expected;
    std::vector<std::pair<Slot, int>> notes = {};
};

void expectMerges(ObjectFileKind kind, const Row& row)
{
    SCOPED_TRACE(row.what);
    const Merged merged = mergeInto(row.image, kind, row.keys, kAllowOutside);
    EXPECT_EQ(merged.result.status, MergeStatus::Merged) << merged.result.message.toStdString();
    EXPECT_EQ(merged.output, row.expected);
    EXPECT_EQ(notesOf(merged.result), row.notes);
}

TEST(MergeKeyData, SrecordLinesKeepTheirShapeWithTheKeyBytesInPlace)
{
    const QByteArray header = srec(0, 0, "image");
    const Row rows[] = {
        {.what = "inside one line: the line's checksum follows its bytes",
         .image = header + srec(1, 0x1000, k16) + srec(1, 0x1010, k16) + srec(9, 0),
         .keys = {key(0, 0x1004, "DEADBEEF")},
         .expected = header + srec(1, 0x1000, bytes("00112233DEADBEEF8899AABBCCDDEEFF")) + srec(1, 0x1010, k16)
                     + srec(9, 0)},
        {.what = "lines that overlap both get the bytes",
         .image = srec(1, 0x1000, k8) + srec(1, 0x1004, k8) + srec(9, 0),
         .keys = {key(0, 0x1005, "EE")},
         .expected = srec(1, 0x1000, bytes("0011223344EE6677")) + srec(1, 0x1004, bytes("00EE223344556677")) + srec(9, 0)},
        {.what = "S3 up to the top of the 32-bit space",
         .image = srec(3, 0xFFFFFFF0, k16) + srec(7, 0),
         .keys = {key(0, 0xFFFFFFFC, "01020304")},
         .expected = srec(3, 0xFFFFFFF0, bytes("00112233445566778899AABB01020304")) + srec(7, 0)},
        {.what = "a gap: lines as long as the image's longest, of its widest type, before the end record",
         .image = header + srec(1, 0x0100, bytes("0011")) + srec(2, 0x010000, k8) + srec(8, 0x0100),
         .keys = {key(3, 0x20000, "0102030405060708090A")},
         .expected = header + srec(1, 0x0100, bytes("0011")) + srec(2, 0x010000, k8)
                     + srec(2, 0x20000, bytes("0102030405060708")) + srec(2, 0x20008, bytes("090A")) + srec(8, 0x0100),
         .notes = {{3, 10}}},
        {.what = "a gap above 16 bits in an S1 image takes the type the address needs",
         .image = srec(1, 0x1000, k8) + srec(9, 0),
         .keys = {key(0, 0x1002, "FF"), key(1, 0x12345678, "ABCD")},
         .expected = srec(1, 0x1000, bytes("0011FF3344556677")) + srec(3, 0x12345678, bytes("ABCD")) + srec(9, 0),
         .notes = {{1, 2}}},
        {.what = "part of a record in the image, the rest added",
         .image = srec(1, 0x1000, k8) + srec(9, 0),
         .keys = {key(5, 0x1006, "A1A2A3A4")},
         .expected = srec(1, 0x1000, bytes("001122334455A1A2")) + srec(1, 0x1008, bytes("A3A4")) + srec(9, 0),
         .notes = {{5, 2}}},
        {.what = "no end record: added in front of the closing count record, which counts them",
         .image = header + srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(5, 2),
         .keys = {key(0, 0x2000, "AB")},
         .expected = header + srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(1, 0x2000, bytes("AB")) + srec(5, 3),
         .notes = {{0, 1}}},
        {.what = "a count record counts the data lines before it, whatever it said",
         .image = srec(1, 0x1000, k8) + srec(5, 7) + srec(1, 0x1008, k8) + srec(6, 9) + srec(9, 0),
         .keys = {key(0, 0x1008, "AB")},
         .expected = srec(1, 0x1000, k8) + srec(5, 1) + srec(1, 0x1008, bytes("AB11223344556677")) + srec(6, 2)
                     + srec(9, 0)},
        {.what = "no end record and no count record: added at the end",
         .image = srec(1, 0x1000, k8),
         .keys = {key(0, 0x0FFE, "ABCDEF")},
         .expected = srec(1, 0x1000, bytes("EF11223344556677")) + srec(1, 0x0FFE, bytes("ABCD")),
         .notes = {{0, 2}}},
        {.what = "lines after the end record are no part of the image",
         .image = srec(1, 0x1000, k8) + srec(9, 0) + srec(1, 0x1000, k8),
         .keys = {key(0, 0x1000, "FF")},
         .expected = srec(1, 0x1000, bytes("FF11223344556677")) + srec(9, 0) + srec(1, 0x1000, k8)},
        {.what = "an empty image gets lines of 16 bytes",
         .image = {},
         .keys = {key(0, 0x100, "000102030405060708090A0B0C0D0E0F10")},
         .expected = srec(1, 0x100, bytes("000102030405060708090A0B0C0D0E0F")) + srec(1, 0x110, bytes("10")),
         .notes = {{0, 17}}},
        {.what = "no key bytes: the image as it was",
         .image = header + srec(1, 0x1000, k8) + srec(9, 0),
         .keys = {key(0, 0x1000, "")},
         .expected = header + srec(1, 0x1000, k8) + srec(9, 0)},
    };
    for (const Row& row : rows)
        expectMerges(ObjectFileKind::Srecord, row);
}

TEST(MergeKeyData, LineEndsAreThoseOfTheImage)
{
    const QByteArray lines = srec(1, 0x1000, k8) + srec(1, 0x1008, k8);
    const QByteArray overlaid = srec(1, 0x1000, k8) + srec(1, 0x1008, bytes("AA11223344556677"));
    const QByteArray added = srec(1, 0x3000, bytes("BB"));
    const std::vector<KeyBytes> keys = {key(0, 0x1008, "AA"), key(1, 0x3000, "BB")};
    const Row rows[] = {
        {.what = "LF", .image = withLineFeeds(lines + srec(9, 0)), .keys = keys,
         .expected = withLineFeeds(overlaid + added + srec(9, 0)), .notes = {{1, 1}}},
        {.what = "mixed: each line keeps its own, added ones take the first",
         .image = srec(1, 0x1000, k8) + withLineFeeds(srec(1, 0x1008, k8) + srec(9, 0)), .keys = keys,
         .expected = overlaid.left(overlaid.indexOf('\n') + 1) + withLineFeeds(srec(1, 0x1008, bytes("AA11223344556677")))
                     + added + withLineFeeds(srec(9, 0)),
         .notes = {{1, 1}}},
        {.what = "a last line without one gets one before the lines added",
         .image = withLineFeeds(lines).chopped(1), .keys = keys,
         .expected = withLineFeeds(overlaid + added), .notes = {{1, 1}}},
        {.what = "none at all: CR LF", .image = srec(1, 0x1000, k8).chopped(2), .keys = {key(1, 0x3000, "BB")},
         .expected = srec(1, 0x1000, k8) + added, .notes = {{1, 1}}},
    };
    for (const Row& row : rows)
        expectMerges(ObjectFileKind::Srecord, row);
}

TEST(MergeKeyData, IntelHexKeepsItsBasesAndAddsTheOnesItLacks)
{
    const QByteArray segment1 = ihex(2, 0, bytes("1000"));
    const QByteArray linear0800 = ihex(4, 0, bytes("0800"));
    const Row rows[] = {
        {.what = "across a 64 KiB boundary under segment bases",
         .image = segment1 + ihex(0, 0xFFF0, k16) + ihex(2, 0, bytes("2000")) + ihex(0, 0, k16) + ihex(1, 0),
         .keys = {key(0, 0x1FFFC, "0102030405060708")},
         .expected = segment1 + ihex(0, 0xFFF0, bytes("00112233445566778899AABB01020304")) + ihex(2, 0, bytes("2000"))
                     + ihex(0, 0, bytes("05060708445566778899AABBCCDDEEFF")) + ihex(1, 0)},
        {.what = "a gap the image's last base reaches: no base record",
         .image = linear0800 + ihex(0, 0, k16) + ihex(5, 0, bytes("08000000")) + ihex(1, 0),
         .keys = {key(0, 0x08000100, "ABCD")},
         .expected = linear0800 + ihex(0, 0, k16) + ihex(5, 0, bytes("08000000")) + ihex(0, 0x0100, bytes("ABCD"))
                     + ihex(1, 0),
         .notes = {{0, 2}}},
        {.what = "a gap beyond it: a linear base first",
         .image = linear0800 + ihex(0, 0, k16) + ihex(1, 0),
         .keys = {key(0, 0x09000010, "ABCD")},
         .expected = linear0800 + ihex(0, 0, k16) + ihex(4, 0, bytes("0900")) + ihex(0, 0x0010, bytes("ABCD")) + ihex(1, 0),
         .notes = {{0, 2}}},
        {.what = "a gap behind a segment base: the segment cleared, then a linear base",
         .image = segment1 + ihex(0, 0, k16) + ihex(1, 0),
         .keys = {key(0, 0x30000, "AB")},
         .expected = segment1 + ihex(0, 0, k16) + ihex(2, 0, bytes("0000")) + ihex(4, 0, bytes("0003"))
                     + ihex(0, 0, bytes("AB")) + ihex(1, 0),
         .notes = {{0, 1}}},
        {.what = "an added record crossing 64 KiB is split at the boundary, lines as long as the image's",
         .image = linear0800 + ihex(0, 0, k8) + ihex(1, 0),
         .keys = {key(0, 0x0800FFF8, "000102030405060708090A0B")},
         .expected = linear0800 + ihex(0, 0, k8) + ihex(0, 0xFFF8, bytes("0001020304050607"))
                     + ihex(4, 0, bytes("0801")) + ihex(0, 0, bytes("08090A0B")) + ihex(1, 0),
         .notes = {{0, 12}}},
        {.what = "up to the top of the 32-bit space",
         .image = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, k16) + ihex(1, 0),
         .keys = {key(0, 0xFFFFFFFC, "01020304")},
         .expected = ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, bytes("00112233445566778899AABB01020304")) + ihex(1, 0)},
        {.what = "an added record at the top, after lines at the bottom",
         .image = ihex(0, 0, k16) + ihex(1, 0),
         .keys = {key(0, 0xFFFFFFFE, "0102")},
         .expected = ihex(0, 0, k16) + ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFFE, bytes("0102")) + ihex(1, 0),
         .notes = {{0, 2}}},
    };
    for (const Row& row : rows)
        expectMerges(ObjectFileKind::IntelHex, row);
}

TEST(MergeKeyData, ABinaryImageKeepsItsLength)
{
    const Merged inside = mergeInto(QByteArray(64, '\x5A'), ObjectFileKind::Binary,
                                    {key(0, 0x1000, "0102"), key(1, 0x103E, "FEFF")}, startingAt(0x1000));
    EXPECT_EQ(inside.result.status, MergeStatus::Merged);
    EXPECT_EQ(inside.output, bytes("0102") + QByteArray(60, '\x5A') + bytes("FEFF"));
}

// Each refusal comes before any byte of the output is written.
TEST(MergeKeyData, RefusesWhatCannotBeWrittenAsItShould)
{
    const QByteArray image = srec(1, 0x1000, k8) + srec(9, 0);
    const std::vector<KeyBytes> outside = {key(0, 0x1006, "01020304"), key(1, 0x1000, "AB"),
                                           test::titled(key(2, 0x2000, "05"), u"far"_s)};
    struct Refusal {
        const char* what;
        QByteArray image;
        ObjectFileKind kind = ObjectFileKind::Srecord;
        std::vector<KeyBytes> keys;
        MergeOptions options = {};
        MergeStatus status;
        QString message;
    };
    const Refusal refusals[] = {
        {.what = "bytes where the image has no data, a record partly inside among them", .image = image,
         .keys = outside, .status = MergeStatus::OutsideImage,
         .message = u"Key data lies where image has no data:\r\n"
                    u"Line 1 at 00001006 to 00001009: 2 of its 4 bytes lie where the image has no data.\r\n"
                    u"Line 3 (far) at 00002000 to 00002000: 1 of its 1 bytes lie where the image has no data."_s},
        {.what = "Intel HEX: the same", .image = ihex(0, 0x1000, k8) + ihex(1, 0), .kind = ObjectFileKind::IntelHex,
         .keys = {outside[1], outside[2]}, .status = MergeStatus::OutsideImage,
         .message = u"Key data lies where image has no data:\r\n"
                    u"Line 3 (far) at 00002000 to 00002000: 1 of its 1 bytes lie where the image has no data."_s},
        {.what = "binary: every record outside, even when allowed", .image = QByteArray(16, '\0'),
         .kind = ObjectFileKind::Binary, .keys = {outside[0], outside[1], outside[2]},
         .options = {.startAddress = 0x1001, .allowOutside = true, .progress = {}}, .status = MergeStatus::OutsideImage,
         .message = u"Key data lies outside image, which holds 00001001 to 00001010:\r\n"
                    u"Line 2 at 00001000 to 00001000: 1 of its 1 bytes lie where the image has no data.\r\n"
                    u"Line 3 (far) at 00002000 to 00002000: 1 of its 1 bytes lie where the image has no data."_s},
        {.what = "binary: an empty image", .image = {}, .kind = ObjectFileKind::Binary, .keys = {outside[1]},
         .options = startingAt(0x1000), .status = MergeStatus::OutsideImage,
         .message = u"Key data lies outside image, which holds no bytes:\r\n"
                    u"Line 2 at 00001000 to 00001000: 1 of its 1 bytes lie where the image has no data."_s},
        {.what = "binary: no start address", .image = image, .kind = ObjectFileKind::Binary, .keys = {outside[1]},
         .status = MergeStatus::StartAddressNeeded,
         .message = u"image is neither S-records nor Intel HEX: the address of its first byte is needed."_s},
        {.what = "two records disagree on a byte", .image = image,
         .keys = {test::titled(key(0, 0x1000, "01020304"), u"a"_s), key(6, 0x1003, "0506")},
         .status = MergeStatus::KeyDataRefused, .message = u"Line 7: its byte at 00001003 differs from that of line 1."_s},
        {.what = "a record beyond FFFFFFFF", .image = image, .keys = {key(2, 0xFFFFFFFE, "010203")},
         .status = MergeStatus::KeyDataRefused, .message = u"Line 3: its 3 bytes at FFFFFFFE reach beyond address FFFFFFFF."_s},
        {.what = "a stray character after a data line's bytes", .image = srec(1, 0x1000, k8).insert(26, '0') + srec(9, 0),
         .keys = {key(0, 0x2000, "01")}, .status = MergeStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\n"_s},
        {.what = "an Intel HEX base of four bytes", .image = ihex(4, 0, bytes("00000001")) + ihex(0, 0, k8) + ihex(1, 0),
         .kind = ObjectFileKind::IntelHex, .keys = {key(0, 0, "01")}, .status = MergeStatus::FormatError,
         .message = u"File format error.\r\nFILE: image\r\n"_s},
        {.what = "a line of another format", .image = ihex(0, 0, k8), .keys = {key(0, 0, "01")},
         .status = MergeStatus::FormatError, .message = u"File format error.\r\nFILE: image\r\n"_s},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        const Merged merged = mergeInto(refusal.image, refusal.kind, refusal.keys, refusal.options);
        EXPECT_EQ(merged.result.status, refusal.status);
        EXPECT_EQ(merged.result.message, refusal.message);
        EXPECT_EQ(merged.output, QByteArray());
    }
    // Records that overlap with the same bytes are one run of key data.
    const Merged same = mergeInto(image, ObjectFileKind::Srecord, {key(0, 0x1000, "0102"), key(1, 0x1001, "0203")});
    EXPECT_EQ(same.result.status, MergeStatus::Merged);
    EXPECT_EQ(same.output, srec(1, 0x1000, bytes("0102033344556677")) + srec(9, 0));
}

TEST(MergeKeyData, AFailingDeviceIsReported)
{
    QByteArray image;
    for (quint32 address = 0; address < 0x40000; address += 16)
        image += srec(3, address, k16);
    test::FailDevice output(100000);
    test::TestDevice device(image);
    const MergeResult written = mergeKeyData(device, u"image"_s, ObjectFileKind::Srecord, {key(0, 0, "01")}, output);
    EXPECT_EQ(written.status, MergeStatus::WriteError);
    EXPECT_EQ(written.message, u"ERROR:No space left on device"_s);

    test::TestDevice unreadable(image, 5000);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const MergeResult read = mergeKeyData(unreadable, u"image"_s, ObjectFileKind::Srecord, {key(0, 0, "01")}, buffer);
    EXPECT_EQ(read.status, MergeStatus::ReadError);
    EXPECT_EQ(read.message, u"ERROR:image: Input/output error"_s);
}

class MergeFiles : public ::testing::Test {
protected:
    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QTemporaryDir dir;
};

// The pass that merges recognises the image as recognizeObjectFile does.
TEST_F(MergeFiles, TheImageIsRecognisedAsRecognitionWould)
{
    const QByteArray srecords = srec(1, 0x1000, k8) + srec(9, 0);
    const QByteArray intelHex = ihex(0, 0x1000, k8) + ihex(1, 0);
    struct Row {
        const char* what;
        QByteArray image;
        ObjectFileKind kind;
        QByteArray expected;
    };
    const Row rows[] = {
        {.what = "S-records", .image = srecords, .kind = ObjectFileKind::Srecord,
         .expected = srec(1, 0x1000, bytes("00112233445566AB")) + srec(9, 0)},
        {.what = "Intel HEX", .image = intelHex, .kind = ObjectFileKind::IntelHex,
         .expected = ihex(0, 0x1000, bytes("00112233445566AB")) + ihex(1, 0)},
        {.what = "S-records with a bad line at the end", .image = srecords + "S1 bad\r\n", .kind = ObjectFileKind::Binary,
         .expected = QByteArray(srecords + "S1 bad\r\n").replace(7, 1, bytes("AB"))},
        {.what = "a stray character and a bad line: not S-records rather than a format error",
         .image = srec(1, 0x1000, k8).insert(26, '0') + "S1 bad\r\n", .kind = ObjectFileKind::Binary,
         .expected = QByteArray(srec(1, 0x1000, k8).insert(26, '0') + "S1 bad\r\n").replace(7, 1, bytes("AB"))},
        {.what = "binary", .image = QByteArray(16, '\0'), .kind = ObjectFileKind::Binary,
         .expected = QByteArray(7, '\0') + bytes("AB") + QByteArray(8, '\0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::writeFileBytes(path(u"image"_s), row.image);
        ASSERT_EQ(recognizeObjectFile(path(u"image"_s)), row.kind);
        const MergeResult result =
            mergeKeyData(path(u"image"_s), {key(0, 0x1007, "AB")}, path(u"out"_s), startingAt(0x1000));
        EXPECT_EQ(result.status, MergeStatus::Merged) << result.message.toStdString();
        EXPECT_EQ(result.kind, row.kind);
        EXPECT_EQ(test::readFileBytes(path(u"out"_s)), row.expected);
    }
}

// The file system refuses the output halfway: a limit on the size of the
// files this process writes stands in for a full disk.
TEST_F(MergeFiles, AWriteThatFailsHalfwayLeavesNoPartialFile)
{
    QByteArray image;
    for (quint32 address = 0; address < 0x10000; address += 16)
        image += srec(3, address, QByteArray(16, 'k'));
    test::writeFileBytes(path(u"image.srec"_s), image);
    test::writeFileBytes(path(u"out.srec"_s), "the previous output\r\n");

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = rlim_t(image.size() / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const MergeResult result = mergeKeyData(path(u"image.srec"_s), {key(0, 0x8000, "01")}, path(u"out.srec"_s));
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result.status, MergeStatus::WriteError);
    EXPECT_TRUE(result.message.startsWith(u"ERROR:"_s) && result.message.size() > 6) << result.message.toStdString();
    EXPECT_EQ(test::readFileBytes(path(u"out.srec"_s)), "the previous output\r\n");
    EXPECT_EQ(entries(), QStringList({u"image.srec"_s, u"out.srec"_s}));
}

TEST_F(MergeFiles, NothingIsWrittenUnlessTheMergeIsComplete)
{
    const QByteArray previous = "the previous output\r\n";
    QByteArray big;
    while (big.size() <= 2 * kProgressInterval)
        big += srec(0, 0, QByteArray(200, 'h'));
    test::writeFileBytes(path(u"big.srec"_s), big + srec(1, 0x1000, k8));
    test::writeFileBytes(path(u"image.srec"_s), srec(1, 0x1000, k8) + srec(9, 0));
    test::writeFileBytes(path(u"image.bin"_s), k8);
    test::writeFileBytes(path(u"stray.srec"_s), srec(1, 0x1000, k8).insert(26, '0') + srec(9, 0));
    struct Row {
        const char* what;
        QString image;
        MergeOptions options = {};
        MergeStatus status;
    };
    const Row rows[] = {
        {.what = "bytes where the image has no data", .image = u"image.srec"_s, .status = MergeStatus::OutsideImage},
        {.what = "binary without a start address", .image = u"image.bin"_s, .status = MergeStatus::StartAddressNeeded},
        {.what = "binary, outside", .image = u"image.bin"_s,
         .options = startingAt(0x1000), .status = MergeStatus::OutsideImage},
        {.what = "cancelled", .image = u"big.srec"_s,
         .options = {.startAddress = {}, .allowOutside = false, .progress = [](qint64, qint64) { return false; }},
         .status = MergeStatus::Cancelled},
        {.what = "no image", .image = u"missing"_s, .status = MergeStatus::ReadError},
        {.what = "a format error", .image = u"stray.srec"_s, .status = MergeStatus::FormatError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::writeFileBytes(path(u"out"_s), previous);
        const MergeResult result = mergeKeyData(path(row.image), {key(0, 0x1006, "01020304")}, path(u"out"_s), row.options);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(test::readFileBytes(path(u"out"_s)), previous);
        EXPECT_EQ(entries(), QStringList({u"big.srec"_s, u"image.bin"_s, u"image.srec"_s, u"out"_s, u"stray.srec"_s}));
    }

    const MergeResult noFolder = mergeKeyData(path(u"image.srec"_s), {key(0, 0x1000, "01")}, path(u"no/out"_s));
    EXPECT_EQ(noFolder.status, MergeStatus::WriteError);
    EXPECT_TRUE(noFolder.message.startsWith(u"ERROR:"_s)) << noFolder.message.toStdString();

    std::vector<qint64> reports;
    std::vector<qint64> totals;
    const MergeResult inPlace = mergeKeyData(path(u"big.srec"_s), {key(0, 0x1000, "AB")}, path(u"big.srec"_s),
                                             {.startAddress = {}, .allowOutside = false, .progress = [&](qint64 done, qint64 total) {
                                                  reports.push_back(done);
                                                  totals.push_back(total);
                                                  return true;
                                              }});
    EXPECT_EQ(inPlace.status, MergeStatus::Merged);
    EXPECT_EQ(test::readFileBytes(path(u"big.srec"_s)), big + srec(1, 0x1000, bytes("AB11223344556677")));
    // Checked, then written: one progress over both passes.
    const qint64 size = (big + srec(1, 0x1000, k8)).size();
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_GT(reports.back(), size);
    EXPECT_EQ(totals, std::vector<qint64>(totals.size(), 2 * size));
}

} // namespace
} // namespace quorvane

namespace quorvane {
namespace {

// An image of random blocks at random addresses, as S-records or Intel HEX
// written line by line here, and its bytes by address.
struct RandomImage {
    std::map<quint64, char> bytes;
    QByteArray srecords;
    QByteArray intelHex;
};

RandomImage randomImage(std::mt19937& random)
{
    RandomImage image;
    const auto below = [&random](quint64 limit) { return std::uniform_int_distribution<quint64>(0, limit - 1)(random); };
    quint64 linearBase = ~quint64(0);
    for (int block = 0; block < 6; ++block) {
        const quint64 start = below(0x100000000 - 0x2000);
        const int length = 1 + int(below(0x1800));
        const int lineLength = 1 + int(below(40));
        for (int done = 0; done < length;) {
            const quint64 address = start + quint64(done);
            // Intel HEX lines stay within 64 KiB of their base.
            const int count = int(std::min<quint64>({quint64(lineLength), quint64(length - done),
                                                     0x10000 - (address & 0xFFFF)}));
            QByteArray data(count, '\0');
            for (char& byte : data)
                byte = char(random());
            for (int i = 0; i < count; ++i)
                image.bytes[address + quint64(i)] = data.at(i);
            image.srecords += srec(address > 0xFFFFFF ? 3 : address > 0xFFFF ? 2 : 1, quint32(address), data);
            if ((address >> 16) != linearBase) {
                linearBase = address >> 16;
                image.intelHex += ihex(4, 0, QByteArray::fromHex(QByteArray::number(linearBase, 16).rightJustified(4, '0')));
            }
            image.intelHex += ihex(0, quint16(address), data);
            done += count;
        }
    }
    image.srecords += srec(7, 0);
    image.intelHex += ihex(1, 0);
    return image;
}

// Records that do not overlap, most inside the image's data, some in its gaps.
std::vector<KeyBytes> randomKeys(std::mt19937& random, const RandomImage& image)
{
    std::vector<KeyBytes> keys;
    std::map<quint64, quint64> taken; // first -> last
    const auto free = [&taken](quint64 first, quint64 last) {
        const auto next = taken.lower_bound(first);
        if (next != taken.end() && next->first <= last)
            return false;
        return next == taken.begin() || std::prev(next)->second < first;
    };
    while (keys.size() < 40) {
        const int size = std::uniform_int_distribution<int>(1, 250)(random);
        quint64 first = std::uniform_int_distribution<quint64>(0, 0xFFFFFFFF - quint64(size) + 1)(random);
        if (random() % 4 != 0) {
            auto at = image.bytes.begin();
            std::advance(at, std::uniform_int_distribution<std::size_t>(0, image.bytes.size() - 1)(random));
            first = std::min<quint64>(at->first, 0x100000000 - quint64(size));
        }
        const quint64 last = first + quint64(size) - 1;
        if (!free(first, last))
            continue;
        taken[first] = last;
        QByteArray bytes(size, '\0');
        for (char& byte : bytes)
            byte = char(random());
        keys.push_back({.slot = Slot(keys.size()), .title = {}, .address = quint32(first), .bytes = bytes});
    }
    return keys;
}

// Merging, then extracting, gives back every record's bytes; any other range
// of the image's data reads as it did before.
TEST(MergeKeyData, WhatIsMergedIsExtractedAndNothingElseChanges)
{
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const RandomImage image = randomImage(random);
        const std::vector<KeyBytes> keys = randomKeys(random, image);
        std::vector<ExtractionTarget> targets;
        for (const KeyBytes& key : keys)
            targets.push_back(test::at(key.slot, key.address, int(key.bytes.size())));
        // Ranges of the image's data that no record touches.
        std::vector<ExtractionTarget> untouched;
        std::size_t nth = 0;
        for (const auto& [address, byte] : image.bytes) {
            const bool keyByte = std::any_of(keys.begin(), keys.end(), [address = address](const KeyBytes& key) {
                return address >= key.address && address < key.address + quint64(key.bytes.size());
            });
            if (!keyByte && nth++ % 97 == 0)
                untouched.push_back(test::at(Slot(untouched.size()), quint32(address), 1));
        }
        for (const auto& [kind, lines] : {std::pair{ObjectFileKind::Srecord, image.srecords},
                                          std::pair{ObjectFileKind::IntelHex, image.intelHex}}) {
            SCOPED_TRACE(int(kind));
            const Merged merged = mergeInto(lines, kind, keys, kAllowOutside);
            ASSERT_EQ(merged.result.status, MergeStatus::Merged) << merged.result.message.toStdString();
            EXPECT_FALSE(merged.result.notes.empty()) << "no record fell into a gap of the image";
            test::TestDevice output(merged.output);
            const ExtractionResult extracted = test::extractFrom(output, kind, 0, targets);
            ASSERT_TRUE(extracted) << extracted.errorText.toStdString();
            for (std::size_t i = 0; i < keys.size(); ++i)
                EXPECT_EQ(extracted.data[i], QString::fromLatin1(keys[i].bytes.toHex().toUpper())) << "record " << i;

            test::TestDevice before(lines);
            test::TestDevice after(merged.output);
            const ExtractionResult original = test::extractFrom(before, kind, 0, untouched);
            ASSERT_TRUE(original) << original.errorText.toStdString();
            EXPECT_EQ(test::extractFrom(after, kind, 0, untouched).data, original.data);
        }
    }
}

} // namespace
} // namespace quorvane
