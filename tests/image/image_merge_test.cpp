// Merging key data into an image: each format's lines come out as they went
// in but for the key bytes, their checksums, the lines added where the image
// had no data and the count records that count them. Expected images are
// built line by line with the test's own builders.

#include "tests/support/image_support.h"

#include "image/image_merge.h"
#include "image/recognition.h"

#include <QDir>
#include <QFile>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::bytes;
using test::ihex;
using test::key;
using test::srec;

const QByteArray k16 = bytes("00112233445566778899AABBCCDDEEFF");
const QByteArray k8 = bytes("0011223344556677");

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
        {.what = "a gap: lines as long as the image's longest, of its widest type, before the end record",
         .image = header + srec(1, 0x0100, bytes("0011")) + srec(2, 0x010000, k8) + srec(8, 0x0100),
         .keys = {key(3, 0x0200, "0102030405060708090A")},
         .expected = header + srec(1, 0x0100, bytes("0011")) + srec(2, 0x010000, k8)
                     + srec(2, 0x0200, bytes("0102030405060708")) + srec(2, 0x0208, bytes("090A")) + srec(8, 0x0100),
         .notes = {{3, 10}}},
        {.what = "part of a record in the image, the rest added",
         .image = srec(1, 0x1000, k8) + srec(9, 0),
         .keys = {key(5, 0x1006, "A1A2A3A4")},
         .expected = srec(1, 0x1000, bytes("001122334455A1A2")) + srec(1, 0x1008, bytes("A3A4")) + srec(9, 0),
         .notes = {{5, 2}}},
        {.what = "no end record: added in front of the closing count record, which counts them; wider where needed",
         .image = header + srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(5, 2),
         .keys = {key(0, 0x12000, "AB")},
         .expected = header + srec(1, 0x1000, k8) + srec(1, 0x1008, k8) + srec(2, 0x12000, bytes("AB")) + srec(5, 3),
         .notes = {{0, 1}}},
        {.what = "a count record counts the data lines before it, whatever it said",
         .image = srec(1, 0x1000, k8) + srec(5, 7) + srec(1, 0x1008, k8) + srec(6, 9) + srec(9, 0),
         .keys = {key(0, 0x1008, "AB")},
         .expected = srec(1, 0x1000, k8) + srec(5, 1) + srec(1, 0x1008, bytes("AB11223344556677")) + srec(6, 2)
                     + srec(9, 0)},
        {.what = "lines after the end record are no part of the image",
         .image = srec(1, 0x1000, k8) + srec(9, 0) + srec(1, 0x1000, k8),
         .keys = {key(0, 0x1000, "FF")},
         .expected = srec(1, 0x1000, bytes("FF11223344556677")) + srec(9, 0) + srec(1, 0x1000, k8)},
        {.what = "an empty image gets lines of 16 bytes",
         .image = {},
         .keys = {key(0, 0x100, "000102030405060708090A0B0C0D0E0F10")},
         .expected = srec(1, 0x100, bytes("000102030405060708090A0B0C0D0E0F")) + srec(1, 0x110, bytes("10")),
         .notes = {{0, 17}}},
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
        {.what = "mixed: each line keeps its own, added ones take the first",
         .image = srec(1, 0x1000, k8) + withLineFeeds(srec(1, 0x1008, k8) + srec(9, 0)), .keys = keys,
         .expected = overlaid.left(overlaid.indexOf('\n') + 1) + withLineFeeds(srec(1, 0x1008, bytes("AA11223344556677")))
                     + added + withLineFeeds(srec(9, 0)),
         .notes = {{1, 1}}},
        {.what = "LF, and a last line without one gets one before the lines added",
         .image = withLineFeeds(lines).chopped(1), .keys = keys,
         .expected = withLineFeeds(overlaid + added), .notes = {{1, 1}}},
    };
    for (const Row& row : rows)
        expectMerges(ObjectFileKind::Srecord, row);
}

TEST(MergeKeyData, IntelHexKeepsItsBasesAndAddsTheOnesItLacks)
{
    const QByteArray linear0800 = ihex(4, 0, bytes("0800"));
    const Row rows[] = {
        {.what = "an added record crossing 64 KiB: no base record while the image's last base reaches, then split at "
                 "the boundary; lines as long as the image's",
         .image = linear0800 + ihex(0, 0, k8) + ihex(1, 0),
         .keys = {key(0, 0x0800FFFA, "000102030405060708090A0B0C0D0E0F10111213")},
         .expected = linear0800 + ihex(0, 0, k8) + ihex(0, 0xFFFA, bytes("000102030405")) + ihex(4, 0, bytes("0801"))
                     + ihex(0, 0, bytes("060708090A0B0C0D")) + ihex(0, 8, bytes("0E0F10111213")) + ihex(1, 0),
         .notes = {{0, 20}}},
        {.what = "a segment base is cleared before the linear base an added line needs",
         .image = ihex(2, 0, bytes("1000")) + ihex(0, 0, k8) + ihex(1, 0), .keys = {key(0, 0x30000, "AB")},
         .expected = ihex(2, 0, bytes("1000")) + ihex(0, 0, k8) + ihex(2, 0, bytes("0000")) + ihex(4, 0, bytes("0003"))
                     + ihex(0, 0, bytes("AB")) + ihex(1, 0),
         .notes = {{0, 1}}},
        {.what = "an added record at the top, after lines at the bottom",
         .image = ihex(0, 0, k16) + ihex(1, 0),
         .keys = {key(0, 0xFFFFFFFE, "0102")},
         .expected = ihex(0, 0, k16) + ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFFE, bytes("0102")) + ihex(1, 0),
         .notes = {{0, 2}}},
    };
    for (const Row& row : rows)
        expectMerges(ObjectFileKind::IntelHex, row);
}

// Each refusal comes before any byte of the output is written.
TEST(MergeKeyData, RefusesWhatCannotBeWrittenAsItShould)
{
    const QByteArray image = srec(1, 0x1000, k8) + srec(9, 0);
    const std::vector<KeyBytes> outside = {key(0, 0x1006, "01020304"), key(1, 0x1000, "AB"),
                                           test::titled(key(2, 0x2000, "05"), u"far"_s)};
    QByteArray large = srec(1, 0x1000, k8); // and more than one block of output
    for (quint32 address = 0x10000; address < 0x90000; address += 16)
        large += srec(3, address, k16);
    struct Refusal {
        const char* what;
        QByteArray image;
        ObjectFileKind kind = ObjectFileKind::Srecord;
        MergeOptions options = {};
        QString message;
    };
    const Refusal refusals[] = {
        {.what = "bytes where a large image has no data, a record partly inside among them: refused before a "
                 "block is written",
         .image = large,
         .message = u"Key data lies where image has no data:\r\n"
                    u"Line 1 at 00001006 to 00001009: 2 of its 4 bytes lie where the image has no data.\r\n"
                    u"Line 3 (far) at 00002000 to 00002000: 1 of its 1 bytes lie where the image has no data."_s},
        {.what = "binary: every record outside, even when allowed", .image = QByteArray(16, '\0'),
         .kind = ObjectFileKind::Binary, .options = {.startAddress = 0x1008, .allowOutside = true, .progress = {}},
         .message = u"Key data lies outside image, which holds 00001008 to 00001017:\r\n"
                    u"Line 1 at 00001006 to 00001009: 2 of its 4 bytes lie where the image has no data.\r\n"
                    u"Line 2 at 00001000 to 00001000: 1 of its 1 bytes lie where the image has no data.\r\n"
                    u"Line 3 (far) at 00002000 to 00002000: 1 of its 1 bytes lie where the image has no data."_s},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        const Merged merged = mergeInto(refusal.image, refusal.kind, outside, refusal.options);
        EXPECT_EQ(merged.result.status, MergeStatus::OutsideImage);
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
    QTemporaryDir dir;
};

// The pass that merges recognises the image as recognizeObjectFile does: a
// binary one that starts as text is binary (a damaged one is refused as the
// other passes refuse it).
TEST_F(MergeFiles, TheImageIsRecognisedAsRecognitionWould)
{
    test::writeFileBytes(path(u"image"_s), "S1" + QByteArray(14, '\0'));
    ASSERT_EQ(recognizeObjectFile(path(u"image"_s)), ObjectFileKind::Binary);
    const MergeResult result = mergeKeyData(path(u"image"_s), {key(0, 0x1007, "AB")}, path(u"out"_s),
                                            {.startAddress = 0x1000, .allowOutside = false, .progress = {}});
    EXPECT_EQ(result.status, MergeStatus::Merged) << result.message.toStdString();
    EXPECT_EQ(test::readFileBytes(path(u"out"_s)), "S1" + QByteArray(5, '\0') + bytes("AB") + QByteArray(8, '\0'));
}

TEST_F(MergeFiles, NothingIsWrittenUnlessTheMergeIsComplete)
{
    const QByteArray previous = "the previous output\r\n";
    QByteArray big;
    while (big.size() <= 2 * kProgressInterval)
        big += srec(0, 0, QByteArray(200, 'h'));
    test::writeFileBytes(path(u"big.srec"_s), big + srec(1, 0x1000, k8));
    // Cancelled while writing: the previous output stays, no stray file is left.
    test::writeFileBytes(path(u"out"_s), previous);
    const MergeResult cancelled =
        mergeKeyData(path(u"big.srec"_s), {key(0, 0x1006, "01020304")}, path(u"out"_s),
                     {.startAddress = {}, .allowOutside = true, .progress = [](qint64, qint64) { return false; }});
    EXPECT_EQ(cancelled.status, MergeStatus::Cancelled);
    EXPECT_EQ(test::readFileBytes(path(u"out"_s)), previous);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({u"big.srec"_s, u"out"_s}));

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
