// Narrowing the address size: every record whose key data would be saved at
// another address is named before anything changes.

#include "document/address_size_change.h"
#include "tests/support/record_builders.h"
#include "tests/support/scripted_questions.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::hexRecordAt;
constexpr auto Bits16 = AddressSize::Bits16;
constexpr auto Bits24 = AddressSize::Bits24;
constexpr auto Bits32 = AddressSize::Bits32;

QString moveWarning(const QString& lines)
{
    return u"The key data exceeds the upper bound of the address size.\r\nLineNo: "_s + lines
        + u"\r\n(The key data of these lines is saved at another address.)\r\nContinue ?"_s;
}

TEST(AddressSizeChange, NamesEveryKeyThatWouldMoveAndCancelKeepsAll)
{
    KeyRecord unsized = hexRecordAt(0xFFFE, u"AABBCC"_s);
    unsized.KeySize = 0; // reaches as far as its data
    KeyRecord unaddressed = test::recordAt(0x12340000, 2);
    unaddressed.KeyAddrSet = false;
    const std::map<Slot, KeyRecord> records = {
        {0, hexRecordAt(0x12345678, u"0102"_s)},
        {2, hexRecordAt(0xFFF0, QString(64, u'1'))},  // its tail passes FFFF
        {3, hexRecordAt(0xFFF0, QString(32, u'2'))},  // ends at FFFF
        {4, unsized},
        {5, hexRecordAt(0xFFFFFF, u"03"_s)},
        {6, unaddressed},
        {7, hexRecordAt(0x1000000, QString())},
    };
    struct Row {
        const char* name;
        AddressSize from;
        AddressSize to;
        std::deque<bool> answers = {};
        QString asked;
        bool changed = true;
    };
    const Row rows[] = {
        {.name = "32 to 16, Cancel", .from = Bits32, .to = Bits16, .answers = {false},
         .asked = moveWarning(u"1 (12345678), 3 (0000FFF0), 5 (0000FFFE), 6 (00FFFFFF), 8 (01000000)"_s), .changed = false},
        {.name = "32 to 24, OK", .from = Bits32, .to = Bits24, .answers = {true},
         .asked = moveWarning(u"1 (12345678), 8 (01000000)"_s)},
        {.name = "24 to 16, Cancel", .from = Bits24, .to = Bits16, .answers = {false},
         .asked = moveWarning(u"1 (12345678), 3 (0000FFF0), 5 (0000FFFE), 6 (00FFFFFF), 8 (01000000)"_s), .changed = false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Document document = test::documentIn(row.from, records);
        test::ScriptedQuestions questions(row.answers);
        EXPECT_EQ(changeAddressSize(document, row.to, questions), row.changed);
        EXPECT_EQ(questions.asked, QStringList{row.asked});
        EXPECT_EQ(document.mode.current(), row.changed ? row.to : row.from);
        // The stored addresses stay; only a save writes them narrower.
        EXPECT_EQ(document.table, test::documentIn(row.from, records).table);
    }
}

TEST(AddressSizeChange, KeysThatFitTheNarrowerSizeAskNothing)
{
    Document document = test::documentIn(Bits32, {{0, hexRecordAt(0xFFFF, u"01"_s)}});
    test::ScriptedQuestions questions;
    EXPECT_TRUE(changeAddressSize(document, Bits16, questions));
    EXPECT_EQ(questions.asked, QStringList());
}

} // namespace
} // namespace quorvane
