#include "file_test_support.h"

#include "files/template_file.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;
using test::hexRecordAt;
using test::titled;

TEST(FormatSave, WritesEveryRecordInUseExactly)
{
    const struct { AddressSize size; std::map<Slot, KeyRecord> records; QByteArray expected; } rows[] = {
        // A type alone does not put a record in use.
        {Bits32, {{0, {.KeyTitle = {}, .KeyType = 7, .KeyData = {}}}}, "# Template File\r\n"},
        {Bits32, {{0, titled(hexRecordAt(0x120034, u"00112233445566778899"_s), u"ABC"_s)}},
         "# Template File\r\nABC , 00120034 ,  10 ,  0\r\n00112233445566778899\r\n"},
        {Bits24, {{0, titled(test::asciiRecordAt(0xAB120034, u"\u20AC"_s), u"\u00C4"_s)}},
         "# Template File\r\n\xC3\x84 , 120034 ,  3 ,  1\r\n\xE2\x82\xAC\r\n"},
        {Bits16, {{kSpareSlot, hexRecordAt(0x7, u"01"_s)}}, "# Template File\r\n , 0007 ,  1 ,  0\r\n01\r\n"},
        {Bits32, {{1, {.KeyTitle = u"T"_s, .KeyData = {}}}, {3, {}}, {4, {.KeyTitle = {}, .KeyData = u"ab"_s}}},
         "# Template File\r\nT , 00000000 ,  0 ,  0\r\n\r\n , 00000000 ,  0 ,  0\r\nab\r\n"},
        {Bits16, {{0, titled(hexRecordAt(1, u"01"_s), u"#1 key"_s)}}, "# Template File\r\n #1 key , 0001 ,  1 ,  0\r\n01\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(test::written(FormatSave, test::documentIn(row.size, row.records)), row.expected);
}

struct Loaded { QString title; quint32 address; qint16 size; qint16 type; QString data; };

TEST(FormatLoad, CutsTheFieldsFromTheRight)
{
    const struct { QByteArray file; AddressSize after; std::vector<Loaded> records; } rows[] = {
        {"# Template File\r\na , 1234 , b 12 , 00001234 ,  5 ,  1\r\nhello\r\n", Bits32, {{"a , 1234 , b 12", 0x1234, 5, 1, "hello"}}},
        {"# Template File\r\nA , 0001 ,  1 ,  0\r\n01\r\nB , ABCDEF ,  1 ,  0\r\n02\r\n", Bits24,
         {{"A", 1, 1, 0, "01"}, {"B", 0xABCDEF, 1, 0, "02"}}},
        {"# Template File\r\nA , 00000001 ,  2 ,  1\r\n# not a comment\r\n", Bits32, {{"A", 1, 2, 1, "# not a comment"}}},
        {"# Template File\r\n# board 7\r\nA , 0001 ,  1 ,  0\r\nFF\r\n#\r\n## more\r\nB , 0002 ,  1 ,  0\r\nEE\r\n", Bits16,
         {{"A", 1, 1, 0, "FF"}, {"B", 2, 1, 0, "EE"}}},
        {"\xEF\xBB\xBF# Template File\r\nA , 0001 ,  1 ,  0\r\nFF\r\n", Bits16, {{"A", 1, 1, 0, "FF"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        Document document = test::documentIn(Bits16 == row.after ? Bits32 : Bits16);
        EXPECT_EQ(test::readInto(FormatLoad, row.file, document), QString());
        EXPECT_EQ(document.mode.current(), row.after);
        for (std::size_t i = 0; i < row.records.size(); ++i) {
            const Loaded& want = row.records[i];
            const KeyRecord expected{want.title, 0, 0, want.size, want.type, want.data, false};
            EXPECT_EQ(document.table[Slot(i)], test::addressed(expected, want.address)) << "slot " << i;
        }
        EXPECT_FALSE(document.table[Slot(row.records.size())].inUse());
    }
}

TEST(FormatLoad, Reads257RecordsAndIgnoresTheRest)
{
    QByteArray file = "# Template File\r\n";
    for (int i = 0; i < 300; ++i)
        file += "R" + QByteArray::number(i) + " , " + (i < 280 ? "0001" : "00000001") + " ,  1 ,  0\r\nFF\r\n";
    Document document = test::documentIn(Bits32);
    EXPECT_EQ(test::readInto(FormatLoad, file, document), QString());
    EXPECT_EQ(document.table[kSpareSlot].KeyTitle, u"R256"_s);
    EXPECT_EQ(document.mode.current(), Bits16);
}

TEST(FormatLoad, ReportsTheLineAndKeepsWhatWasRead)
{
    // Before any record line is read a failure selects 32-bit addresses.
    const struct { QByteArray file; const char* error; AddressSize after; int recordsRead; } rows[] = {
        {"# Template File\r\nA , 000001 ,  1 ,  7\r\nFF\r\n", "Line 2 of the file: the type is neither 0 (HEX) nor 1 (ASCII).", Bits32, 0},
        {"# Template File\r\nA , 000001 ,  x ,  0\r\nFF\r\n", "Line 2 of the file: the size is not a decimal number.", Bits32, 0},
        {"# Template File\r\nA , 0G000001 ,  1 ,  0\r\nFF\r\n", "Line 2 of the file: the address is not a hex number.", Bits32, 0},
        {"# Template File\r\nA\r\nFF\r\n", "Line 2 of the file: the record line is too short.", Bits32, 0},
        // No comma marks the address and no line before gives its width.
        {"# Template File\r\nTitle ,  1 ,  0\r\nFF\r\n", "Line 2 of the file: the address is not a hex number.", Bits32, 0},
        {"# Template File\r\nA , 000001 ,  1 ,  0\r\nFF\r\nB , 0001 ,  1 ,  x\r\n",
         "Line 4 of the file: the type is neither 0 (HEX) nor 1 (ASCII).", Bits24, 1},
        {"# Template File\r\n" + QByteArray(200 << 10, 'x'), "Line 2 of the file: the line is too long.", Bits32, 0},
        {"# Template File\r\nCaf\xE9 , 0001 ,  1 ,  1\r\nA\r\n", "Line 2 of the file: the text is not UTF-8.", Bits32, 0},
        {"# Template File\r\nA , 000001 ,  1 ,  1\r\nA\r\nB , 0020 ,  3 ,  1\r\n\xE2\x82", // cut off by the end of the file
         "Line 5 of the file: the text is not UTF-8.", Bits16, 1},
    };
    for (const auto& row : rows) {
        Document document = test::documentIn(Bits16);
        EXPECT_EQ(test::readInto(FormatLoad, row.file, document), u"ERROR:"_s + QLatin1String(row.error));
        EXPECT_EQ(document.mode.current(), row.after) << row.error;
        EXPECT_EQ(document.table[0].KeyAddrSet, row.recordsRead > 0) << row.error;
        EXPECT_FALSE(document.table[1].KeyAddrSet) << row.error;
    }
}

TEST(FormatLoad, ARecordLineAtTheEndOfTheFileKeepsItsFields)
{
    Document document = test::documentIn(Bits32);
    EXPECT_EQ(test::readInto(FormatLoad, "# Template File\r\nA , 00FF ,  2 ,  1\r\n", document),
              u"ERROR:Line 3 of the file: the file ends where the data line was expected."_s);
    EXPECT_EQ(document.table[0], (KeyRecord{u"A"_s, 0, 0xFF, 2, kTypeAscii, {}, false}));
    EXPECT_EQ(document.mode.current(), Bits16);
}

TEST(FormatSave, RefusesWhatWouldNotReadBack)
{
    const struct { Slot slot; KeyRecord record; const char* error; } rows[] = {
        {3, {.KeyTitle = u"two\nlines"_s, .KeyData = {}}, "ERROR:Line 4: the title holds a line break."},
        {kSpareSlot, {.KeyTitle = {}, .KeyData = u"a\rb"_s}, "ERROR:Line 257: the data holds a line break."},
        {1, {.KeyTitle = {}, .KeySize = 1000, .KeyData = {}}, "ERROR:Line 2: the size 1000 is outside 0 to 999."},
        {1, {.KeyTitle = {}, .KeySize = -2, .KeyData = {}}, "ERROR:Line 2: the size -2 is outside 0 to 999."},
        {2, {.KeyTitle = u"t"_s, .KeyType = 2, .KeyData = {}}, "ERROR:Line 3: the type 2 is neither HEX nor ASCII."},
    };
    for (const auto& row : rows) {
        const Document document = test::documentIn(Bits32, {{0, hexRecordAt(1, u"01"_s)}, {row.slot, row.record}});
        QString error;
        EXPECT_EQ(test::written(FormatSave, document, &error), QByteArray());
        EXPECT_EQ(error, QLatin1String(row.error));
    }
}

} // namespace
} // namespace quorvane
