// The document's key data going into an image: the bytes a KEY file would
// hold, the save steps run first, the start address asked only for a binary
// image, the question on bytes outside and the count of records written.
// Where the bytes land and the words of a refusal are the image pass's.

#include "document/image_merge_operation.h"
#include "document/save_operation.h"
#include "tests/support/file_support.h"
#include "tests/support/qt_printers.h"
#include "tests/support/record_builders.h"
#include "tests/support/scripted_questions.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::asciiRecordAt;
using test::documentIn;
using test::hexRecordAt;
using test::titled;
constexpr auto Bits16 = AddressSize::Bits16;
constexpr auto Bits32 = AddressSize::Bits32;

// (slot, address, bytes as hex, title) of each record.
using KeyRow = std::tuple<Slot, quint32, QByteArray, QString>;

std::vector<KeyRow> rowsOf(const std::vector<KeyBytes>& keys)
{
    std::vector<KeyRow> rows;
    for (const KeyBytes& key : keys)
        rows.emplace_back(key.slot, key.address, key.bytes.toHex().toUpper(), key.title);
    return rows;
}

TEST(KeyBytesOf, AreTheBytesAKeyFileWouldHold)
{
    KeyRecord noAddress = hexRecordAt(0x1000, u"01"_s);
    noAddress.KeyAddrSet = false;
    KeyRecord titleOnly;
    titleOnly.KeyTitle = u"later"_s;
    struct Row {
        const char* what;
        Document document;
        std::vector<KeyRow> keys = {};
        QString problem = {};
    };
    const Row rows[] = {
        {.what = "HEX digits as bytes, ASCII text as UTF-8, titles kept",
         .document = documentIn(Bits32, {{0, titled(hexRecordAt(0x12345678, u"a1B2"_s), u"serial"_s)},
                                         {3, asciiRecordAt(0x2000, u"A"_s + test::kAUmlaut + test::kEuro + test::kEmoji)}}),
         .keys = {{0, 0x12345678, "A1B2", u"serial"_s}, {3, 0x2000, "41C3A4E282ACF09F9880", QString()}}},
        {.what = "records without data are left out",
         .document = documentIn(Bits32, {{0, titleOnly}, {1, hexRecordAt(0x10, u"FF"_s)}}),
         .keys = {{1, 0x10, "FF", QString()}}},
        {.what = "16-bit addresses as the KEY file writes them",
         .document = documentIn(Bits16, {{0, hexRecordAt(0x12345678, u"01"_s)}}),
         .keys = {{0, 0x5678, "01", QString()}}},
        {.what = "the spare slot is no record",
         .document = documentIn(Bits32, {{kSpareSlot, hexRecordAt(0x10, u"FF"_s)}})},
        {.what = "a size that disagrees with the data",
         .document = documentIn(Bits32, {{2, [] { KeyRecord r = hexRecordAt(0x10, u"FF"_s); r.KeySize = 2; return r; }()}}),
         .problem = u"Line 3: the size 2 does not match the 1 byte of its data."_s},
        {.what = "no address", .document = documentIn(Bits32, {{4, noAddress}}),
         .problem = u"Line 5: the record has no address."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QString problem;
        const std::optional<std::vector<KeyBytes>> keys = keyBytesOf(row.document, problem);
        EXPECT_EQ(problem, row.problem);
        EXPECT_EQ(keys.has_value(), row.problem.isEmpty());
        if (keys) {
            EXPECT_EQ(rowsOf(*keys), row.keys);
        }
    }
}

TEST(PrepareKeyData, RunsTheSaveStepsOfAKeyFileAndWritesNothing)
{
    const QString sizeWarning = u"The size of data is different.\r\nLineNo: 2\r\nContinue ?"_s;
    KeyRecord shortData = hexRecordAt(0x2000, u"AB"_s);
    shortData.KeySize = 3;
    KeyRecord noSize = hexRecordAt(0x1000, u"0102"_s);
    noSize.KeySize = 0;
    struct Row {
        const char* what;
        std::deque<bool> answers;
        SaveStatus status;
        Document after;
    };
    const Row rows[] = {
        {.what = "answered OK: sizes filled, data fitted, records sorted", .answers = {true}, .status = SaveStatus::Saved,
         .after = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"0102"_s)}, {1, hexRecordAt(0x2000, u"FFFFAB"_s)}})},
        {.what = "declined: what the steps did stays", .answers = {false}, .status = SaveStatus::Cancelled,
         .after = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"0102"_s)}, {1, shortData}})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Document document = documentIn(Bits32, {{0, shortData}, {1, noSize}});
        test::ScriptedQuestions questions(row.answers);
        EXPECT_EQ(prepareKeyData(document, true, questions).status, row.status);
        EXPECT_EQ(questions.asked, QStringList{sizeWarning});
        EXPECT_EQ(document.table, row.after.table);
    }
}

class ImageOperations : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Two S1 lines at 0x1000 and an end record (checksums worked out by
        // hand); the same bytes as a binary image.
        test::writeFileBytes(path(u"image.srec"_s),
                             "S10B1000001122334455667708\r\nS10B1008001122334455667700\r\nS9030000FC\r\n");
        test::writeFileBytes(path(u"image.bin"_s), QByteArray::fromHex("00112233445566770011223344556677"));
    }

    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }

    // Answers the start-address question and counts the times it was asked.
    [[nodiscard]] StartAddressQuestion answering(std::optional<QString> answer)
    {
        return [this, answer] {
            ++asked;
            return answer;
        };
    }

    QTemporaryDir dir;
    int asked = 0;
};

TEST_F(ImageOperations, WriteKeyDataIntoImageAsksOnlyWhatItNeeds)
{
    const Document keys = documentIn(Bits32, {{0, titled(hexRecordAt(0x1004, u"AABBCCDD"_s), u"serial"_s)},
                                              {1, hexRecordAt(0x3000, u"EE"_s)}});
    const QString note = u"Line 2 at 00003000 to 00003000: 1 of its 1 bytes lie where the image has no data."_s;
    const QString outside = u"Key data lies where %1 has no data:\r\n"_s.arg(path(u"image.srec"_s)) + note;
    const QString question = outside + u"\r\nAdd them to the image as new data lines?"_s;
    struct Row {
        const char* what;
        QString image;
        Document document;
        std::optional<QString> answer = {};
        QString output = u"out"_s;
        KeyBytesOutside outside = KeyBytesOutside::Refuse;
        std::deque<bool> answers = {};
        QStringList questions = {};
        int asked = 0;
        ImageOperationStatus status;
        QString message = {};
        QStringList lines = {};
        int records = 0; // none: no file; where the bytes go is the image pass's
    };
    const Row rows[] = {
        {.what = "bytes where the image has no data: refused", .image = u"image.srec"_s, .document = keys,
         .status = ImageOperationStatus::OutsideData, .message = outside, .lines = {note}},
        {.what = "asked, OK: added", .image = u"image.srec"_s, .document = keys, .outside = KeyBytesOutside::Ask,
         .answers = {true}, .questions = {question}, .status = ImageOperationStatus::Done, .lines = {note}, .records = 2},
        {.what = "asked, Cancel: nothing written", .image = u"image.srec"_s, .document = keys,
         .outside = KeyBytesOutside::Ask, .answers = {false}, .questions = {question},
         .status = ImageOperationStatus::Cancelled},
        {.what = "binary: the start address asked once, nothing outside, no question", .image = u"image.bin"_s,
         .document = documentIn(Bits32, {{0, hexRecordAt(0x100E, u"EEFF"_s)}}), .answer = u"1000"_s,
         .outside = KeyBytesOutside::Ask, .asked = 1, .status = ImageOperationStatus::Done, .records = 1},
        {.what = "binary: outside it is an error, never a question", .image = u"image.bin"_s, .document = keys,
         .answer = u"1000"_s, .outside = KeyBytesOutside::Ask, .asked = 1, .status = ImageOperationStatus::Failed,
         .message = u"Key data lies outside %1, which holds 00001000 to 0000100F:\r\n"_s.arg(path(u"image.bin"_s))
                    + note},
        {.what = "binary: question cancelled", .image = u"image.bin"_s, .document = keys, .asked = 1,
         .status = ImageOperationStatus::Cancelled},
        {.what = "binary: not an address", .image = u"image.bin"_s, .document = keys, .answer = u"10O0"_s, .asked = 1,
         .status = ImageOperationStatus::Failed, .message = u"Address Input Error.\r\nADDRESS: 10O0"_s},
        {.what = "no image", .image = u"missing.srec"_s, .document = keys, .status = ImageOperationStatus::Failed,
         .message = u"File Not Found."_s},
        {.what = "no folder for the output", .image = u"image.srec"_s, .document = keys, .output = u"no/out"_s,
         .status = ImageOperationStatus::Failed, .message = u"File Save Error."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(path(u"out"_s));
        asked = 0;
        test::ScriptedQuestions questions(row.answers);
        const ImageOperationResult result =
            writeKeyDataIntoImage(row.document, path(row.image), path(row.output), answering(row.answer),
                                  {.outside = row.outside, .questions = &questions, .progress = {}});
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(result.lines, row.lines);
        EXPECT_EQ(result.recordsWritten, row.records);
        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(questions.asked, row.questions);
        EXPECT_EQ(QFile::exists(path(u"out"_s)), row.records > 0);
    }
}

} // namespace
} // namespace quorvane
