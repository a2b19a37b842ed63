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

TEST(AddressSizeChange, NamesEveryKeyThatWouldMoveAndCancelKeepsAll)
{
    KeyRecord unsized = hexRecordAt(0xFFFE, u"AABBCC"_s);
    unsized.KeySize = 0; // reaches as far as its data
    KeyRecord unaddressed = test::recordAt(0x12340000, 2);
    unaddressed.KeyAddrSet = false;
    const std::map<Slot, KeyRecord> records = {
        {0, hexRecordAt(0x12345678, u"0102"_s)},
        {2, hexRecordAt(0xFFF0, QString(64, u'1'))}, // its tail passes FFFF
        {3, hexRecordAt(0xFFF0, QString(32, u'2'))}, // ends at FFFF
        {4, unsized},
        {5, hexRecordAt(0xFFFFFF, u"03"_s)},
        {6, unaddressed},
        {7, hexRecordAt(0x1000000, QString())},
    };
    const QString beyond16 = u"1 (12345678), 3 (0000FFF0), 5 (0000FFFE), 6 (00FFFFFF), 8 (01000000)"_s;
    const struct { AddressSize from, to; bool ok; QString listed; } rows[] = {
        {.from = AddressSize::Bits32, .to = AddressSize::Bits16, .ok = false, .listed = beyond16},
        {.from = AddressSize::Bits32, .to = AddressSize::Bits24, .ok = true, .listed = u"1 (12345678), 8 (01000000)"_s},
        {.from = AddressSize::Bits24, .to = AddressSize::Bits16, .ok = false, .listed = beyond16},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << int(row.from) << " to " << int(row.to));
        Document document = test::documentIn(row.from, records);
        test::ScriptedQuestions questions({row.ok});
        EXPECT_EQ(changeAddressSize(document, row.to, questions), row.ok);
        EXPECT_EQ(questions.asked, QStringList{u"The key data exceeds the upper bound of the address size.\r\nLineNo: "_s
                                               + row.listed
                                               + u"\r\n(The key data of these lines is saved at another address.)\r\n"
                                                 u"Continue ?"_s});
        EXPECT_EQ(document.mode.current(), row.ok ? row.to : row.from);
        // The stored addresses stay; only a save writes them narrower.
        EXPECT_EQ(document.table, test::documentIn(row.from, records).table);
    }
}

} // namespace
} // namespace quorvane
