// Open and save as whole operations, without a window: what they ask, what
// they refuse, what they leave in the table and on disk.

#include "document/address_size_change.h"
#include "document/document_files.h"
#include "document/save_operation.h"
#include "document/status_texts.h"
#include "files/srecord_writer.h"
#include "tests/support/file_support.h"
#include "tests/support/scripted_questions.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::ScriptedQuestions;
constexpr auto Bits16 = AddressSize::Bits16;
constexpr auto Bits32 = AddressSize::Bits32;

TEST(DocumentFiles, TheExtensionAloneChoosesTheTemplateFormat)
{
    const std::pair<const char*, bool> rows[] = {
        {"keys.639", true}, {"/a/b.c/keys.639", true}, {"keys.639.bak", false}, {"KEYS.KEY", false}, {"keys.ZTV", false},
        {"keys", false}, {"639", true}, /* no ".": the whole name is the extension */ {"/a/x.639/keys", false}, {"keys.6390", false},
    };
    for (const auto& [path, isTemplate] : rows)
        EXPECT_EQ(isTemplateFileName(QString::fromUtf8(path)), isTemplate) << path;
}

TEST(StatusTexts, TheFocusedRecordsRangeInTheAddressWidth)
{
    const struct { KeyRecord record; AddressSize size; const char* text; } rows[] = {
        {.record = test::hexRecordAt(0x08000000, QString(32, u'A')), .size = Bits32, .text = "Line 3: 08000000-0800000F"},
        {.record = test::addressed(test::hexRecord(u"ABC"_s), 0x12), .size = Bits16, .text = "Line 3: 0012-0013"}, // size from the data
        {.record = test::hexRecordAt(0xFFF0, QString(64, u'1')), .size = Bits16, .text = "Line 3: FFF0-1000F (past FFFF)"},
        {.record = test::hexRecordAt(0x12345, u"AB"_s), .size = Bits16, .text = "Line 3: 12345-12345 (past FFFF)"},
        {.record = test::hexRecordAt(0x10, {}), .size = AddressSize::Bits24, .text = "Line 3: 000010 (no data)"},
        {.record = test::titled({}, u"t"_s), .size = Bits32, .text = "Line 3: no address"},
        {.record = {}, .size = Bits32, .text = "Line 3: empty"},
    };
    for (const auto& row : rows) {
        const Document document = test::documentIn(row.size, {{2, row.record}});
        EXPECT_EQ(recordRangeText(document, 2), QString::fromLatin1(row.text));
    }
}

class DocumentOnDisk : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};
using OpenDocument = DocumentOnDisk;
using SaveDocument = DocumentOnDisk;

TEST_F(OpenDocument, RefusesWhatItCannotReadWithTheTextToShow)
{
    test::writeFileBytes(path(u"bad.KEY"_s), "S10510000102E7\r\nS10510000102E8\r\n");
    test::writeFileBytes(path(u"bad.639"_s), "# Template File\r\nA , 0001 ,  1 ,  0\r\n");
    struct Row {
        QString name;
        OpenStatus status;
        QString message;
        QString details = {}; // after the path
    };
    const Row rows[] = {
        {.name = u"missing.KEY"_s, .status = OpenStatus::FileNotFound, .message = u"File not found."_s},
        {.name = u"bad.KEY"_s, .status = OpenStatus::NotSrecord,
         .message = u"Illegal file loading.\r\nSelect the appropriate file"_s, .details = u"\r\nLine 2: wrong checksum"_s},
        {.name = u"bad.639"_s, .status = OpenStatus::ReadFailed,
         .message = u"ERROR:Line 3 of the file: the file ends where the data line was expected."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        const OpenResult result = openDocument(path(row.name));
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(result.details, path(row.name) + row.details);
        EXPECT_EQ(result.document.table, RecordTable{}); // nothing half-read is handed out
    }
}

TEST_F(SaveDocument, EachStepSpeaksInItsOrderAndCancelKeepsWhatWasDone)
{
    const QByteArray previous = "previous contents\r\n";
    struct Row {
        const char* name = "";
        std::map<Slot, KeyRecord> records = {};
        AddressSize size = Bits32;
        bool sortOn = true;
        std::deque<bool> answers = {};
        SaveStatus status = SaveStatus::Saved;
        QStringList asked = {};               // the warnings, in order
        QString message = {};                 // for Refused
        std::map<Slot, KeyRecord> after = {}; // slots checked afterwards
    };
    KeyRecord noAddress = test::hexRecordAt(0, u"01"_s);
    noAddress.KeyAddrSet = false;
    noAddress.KeyTitle = u"t"_s;
    const KeyRecord oversized = test::hexRecordAt(0x10, QString(2 * 251, u'A'));
    const KeyRecord trimmed = test::hexRecordAt(0x10, QString(2 * 250, u'A'));
    KeyRecord oddNoSize = test::hexRecordAt(0x100, u"ABC"_s);
    oddNoSize.KeySize = 0;
    const QString srecordWarning = u"The size of Srecord is exceeded.\r\nLineNo: 2\r\nContinue ?"_s;

    const KeyRecord at100 = test::hexRecordAt(0x100, u"01"_s), at1000 = test::hexRecordAt(0x1000, u"0102"_s);
    const KeyRecord at1001 = test::hexRecordAt(0x1001, u"01"_s);
    // Digits a 16-bit document hides (a template mixing address widths), and
    // tails past the top of the address size.
    const KeyRecord hidden = test::hexRecordAt(0x12345678, u"01"_s), pastFFFF = test::hexRecordAt(0xFFF0, QString(64, u'1'));
    const auto moveWarning = [](const QString& lines) {
        return u"The key data exceeds the upper bound of the address size.\r\nLineNo: "_s + lines
            + u"\r\n(The key data of these lines is saved at another address.)\r\nContinue ?"_s;
    };
    const Row rows[] = {
        {.name = "no address refuses before any question", .records = {{0, test::hexRecordAt(1, u"01"_s)}, {4, noAddress}},
         .status = SaveStatus::Refused, .message = u"No Address.\r\nLineNo: 5"_s},
        {.name = "oversized, Cancel: the filled sizes stay, nothing is cut", .records = {{0, oddNoSize}, {1, oversized}},
         .sortOn = false, .answers = {false}, .status = SaveStatus::Cancelled, .asked = {srecordWarning},
         .after = {{0, test::hexRecordAt(0x100, u"ABC"_s)}, {1, oversized}}},
        {.name = "oversized, OK: cut and padded, then saved", .records = {{0, oddNoSize}, {1, oversized}}, .sortOn = false,
         .answers = {true}, .asked = {srecordWarning}, .after = {{0, test::hexRecordAt(0x100, u"AB0C"_s)}, {1, trimmed}}},
        {.name = "collisions refuse after sorting", .records = {{3, at1001}, {7, at1000}}, .status = SaveStatus::Refused,
         .message = u"Duplicated Address\r\nNo.1 No.2 \r\nSave the file after correcting the duplicated Address"_s,
         .after = {{0, at1000}, {1, at1001}}},
        {.name = "sort off: neither sorted nor checked", .records = {{3, at1001}, {7, at1000}}, .sortOn = false,
         .after = {{3, at1001}, {7, at1000}}},
        {.name = "hidden digits, Cancel: neither cut nor sorted", .records = {{0, hidden}, {1, at100}}, .size = Bits16,
         .answers = {false}, .status = SaveStatus::Cancelled, .asked = {moveWarning(u"1 (12345678)"_s)},
         .after = {{0, hidden}, {1, at100}}},
        {.name = "past FFFF, OK: saved", .records = {{0, pastFFFF}}, .size = Bits16, .sortOn = false, .answers = {true},
         .asked = {moveWarning(u"1 (0000FFF0)"_s)}, .after = {{0, pastFFFF}}},
        {.name = "past FFFFFFFF refuses", .records = {{2, test::hexRecordAt(0xFFFFFFF0, QString(64, u'2'))}},
         .status = SaveStatus::Refused, .message = u"The key data exceeds the highest address FFFFFFFF.\r\nLineNo: 3 (FFFFFFF0)"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString target = path(u"out.KEY"_s);
        test::writeFileBytes(target, previous);
        Document document = test::documentIn(row.size, row.records);
        ScriptedQuestions questions(row.answers);
        const SaveResult result = saveDocument(document, target, row.sortOn, questions);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(questions.asked, row.asked);
        EXPECT_EQ(result.message, row.status == SaveStatus::Refused ? row.message : QString());
        for (const auto& [slot, record] : row.after)
            EXPECT_EQ(document.table[slot], record) << "slot " << slot;
        if (row.status == SaveStatus::Saved) {
            EXPECT_EQ(test::readFileBytes(target), srecordFileContents(document.table, row.size));
        } else {
            EXPECT_EQ(test::readFileBytes(target), previous); // a refused save never touches the file
        }
    }
}

// Choosing the size in force again is no change of limit: nothing to ask,
// but what exceeds the limit is still cut.
TEST(AddressSizeChange, TheSameSizeCutsToItsLimitWithoutAsking)
{
    Document document = test::documentIn(Bits32, {{0, test::hexRecordAt(0x10, QString(2 * 252, u'1'))}});
    ScriptedQuestions questions;
    EXPECT_TRUE(changeAddressSize(document, Bits32, questions));
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(document.table[0].KeySize, 250);
    EXPECT_EQ(document.table[0].KeyData.size(), 2 * 250);
}

} // namespace
} // namespace quorvane
