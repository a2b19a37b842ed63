#include "file_test_support.h"

#include "files/template_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include <map>

namespace quorvane {
namespace {

using test::PrintTo;

QByteArray saveToBuffer(const Document& document, QString* error = nullptr)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString result = FormatSave(buffer, document);
    if (error)
        *error = result;
    else
        EXPECT_EQ(result, QString());
    return bytes;
}

QString loadFromBytes(QByteArray bytes, Document& document)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return FormatLoad(buffer, document);
}

KeyRecord titled(KeyRecord record, const QString& title)
{
    record.KeyTitle = title;
    return record;
}

KeyRecord onlyTitle(const QString& title)
{
    KeyRecord record;
    record.KeyTitle = title;
    return record;
}

KeyRecord onlyData(const QString& data)
{
    KeyRecord record;
    record.KeyData = data;
    return record;
}

struct SaveCase {
    const char* name;
    AddressSize size;
    std::map<Slot, KeyRecord> records;
    QByteArray expected;
};

class TemplateSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(TemplateSave, ByteForByte)
{
    Document document = test::documentIn(GetParam().size);
    for (const auto& [slot, record] : GetParam().records)
        document.table[slot] = record;
    EXPECT_EQ(saveToBuffer(document), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TemplateSave,
    ::testing::Values(
        SaveCase{"EmptyTable", AddressSize::Bits32, {}, "# Template File\r\n"},
        SaveCase{"Address32", AddressSize::Bits32,
                 {{0, titled(test::hexRecord(0x120034, QStringLiteral("00112233445566778899")), QStringLiteral("ABC"))}},
                 "# Template File\r\nABC , 00120034 ,  10 ,  0\r\n00112233445566778899\r\n"},
        SaveCase{"Address24", AddressSize::Bits24, {{0, titled(test::asciiRecord(0xAB120034, QStringLiteral("hi")), QStringLiteral("x"))}},
                 "# Template File\r\nx , 120034 ,  2 ,  1\r\nhi\r\n"},
        SaveCase{"Address16", AddressSize::Bits16,
                 {{0, titled(test::hexRecord(0x120034, QStringLiteral("00112233445566778899")), QStringLiteral("ABC"))}},
                 "# Template File\r\nABC , 0034 ,  10 ,  0\r\n00112233445566778899\r\n"},
        SaveCase{"TitleOnlyAndDataOnly", AddressSize::Bits32,
                 {{1, onlyTitle(QStringLiteral("T"))}, {3, KeyRecord{}}, {4, onlyData(QStringLiteral("ab"))}},
                 "# Template File\r\nT , 00000000 ,  0 ,  0\r\n\r\n , 00000000 ,  0 ,  0\r\nab\r\n"},
        SaveCase{"SpareSlotWritten", AddressSize::Bits16, {{kSpareSlot, test::hexRecord(0x7, QStringLiteral("01"))}},
                 "# Template File\r\n , 0007 ,  1 ,  0\r\n01\r\n"},
        SaveCase{"TitleStartingWithHashGetsABlank", AddressSize::Bits16,
                 {{0, titled(test::hexRecord(1, QStringLiteral("01")), QStringLiteral("#1 key"))}},
                 "# Template File\r\n #1 key , 0001 ,  1 ,  0\r\n01\r\n"},
        SaveCase{"Utf8", AddressSize::Bits16,
                 {{0, titled(test::asciiRecord(2, QStringLiteral("\u20AC")), QStringLiteral("\u00C4"))}},
                 "# Template File\r\n\xC3\x84 , 0002 ,  3 ,  1\r\n\xE2\x82\xAC\r\n"}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

struct Loaded {
    const char* title;
    quint32 address;
    qint16 size;
    qint16 type;
    const char* data;
};

struct LoadCase {
    const char* name;
    QByteArray file;
    AddressSize sizeBefore;
    AddressSize sizeAfter;
    std::vector<Loaded> records;
};

class TemplateLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(TemplateLoad, FieldsCutFromTheRight)
{
    const LoadCase& c = GetParam();
    Document document = test::documentIn(c.sizeBefore);
    EXPECT_EQ(loadFromBytes(c.file, document), QString());
    EXPECT_EQ(document.mode.current(), c.sizeAfter);
    for (std::size_t i = 0; i < c.records.size(); ++i) {
        const KeyRecord& record = document.table[Slot(i)];
        SCOPED_TRACE(testing::Message() << "slot " << i);
        EXPECT_EQ(record.KeyTitle, QString::fromUtf8(c.records[i].title));
        EXPECT_EQ(record.address(), c.records[i].address);
        EXPECT_EQ(record.KeySize, c.records[i].size);
        EXPECT_EQ(record.KeyType, c.records[i].type);
        EXPECT_EQ(record.KeyData, QString::fromUtf8(c.records[i].data));
        EXPECT_TRUE(record.KeyAddrSet);
    }
    EXPECT_FALSE(document.table[Slot(c.records.size())].inUse());
}

INSTANTIATE_TEST_SUITE_P(
    Files, TemplateLoad,
    ::testing::Values(
        LoadCase{"HeaderOnly", "# Template File\r\n", AddressSize::Bits24, AddressSize::Bits24, {}},
        LoadCase{"TitleWithSeparatorsAndDigits", "# Template File\r\na , 1234 , b 12 , 00001234 ,  5 ,  1\r\nhello\r\n",
                 AddressSize::Bits16, AddressSize::Bits32, {{"a , 1234 , b 12", 0x1234, 5, 1, "hello"}}},
        LoadCase{"SizesOfOneTwoAndThreeDigits",
                 "# Template File\r\nA , 0001 ,  0 ,  0\r\n\r\nB , 0002 ,  10 ,  0\r\nx\r\nC , 0003 ,  100 ,  0\r\ny\r\n",
                 AddressSize::Bits32, AddressSize::Bits16, {{"A", 1, 0, 0, ""}, {"B", 2, 10, 0, "x"}, {"C", 3, 100, 0, "y"}}},
        LoadCase{"LastWidthDecides", "# Template File\r\nA , 0001 ,  1 ,  0\r\n01\r\nB , ABCDEF ,  1 ,  0\r\n02\r\n",
                 AddressSize::Bits32, AddressSize::Bits24, {{"A", 1, 1, 0, "01"}, {"B", 0xABCDEF, 1, 0, "02"}}},
        LoadCase{"HashDataLineIsData", "# Template File\r\nA , 00000001 ,  2 ,  1\r\n# not a comment\r\n",
                 AddressSize::Bits16, AddressSize::Bits32, {{"A", 1, 2, 1, "# not a comment"}}},
        LoadCase{"CommentLinesOfHandWrittenFiles",
                 "# Template File\r\n# keys of board 7\r\nA , 0001 ,  1 ,  0\r\nFF\r\n#\r\n## more\r\nB , 0002 ,  1 ,  0\r\nEE\r\n",
                 AddressSize::Bits32, AddressSize::Bits16, {{"A", 1, 1, 0, "FF"}, {"B", 2, 1, 0, "EE"}}},
        LoadCase{"BlankThenHashIsATitle", "# Template File\r\n #1 , 0001 ,  1 ,  0\r\nFF\r\n  # , 0002 ,  1 ,  0\r\nEE\r\n",
                 AddressSize::Bits32, AddressSize::Bits16, {{"#1", 1, 1, 0, "FF"}, {" #", 2, 1, 0, "EE"}}},
        LoadCase{"LfLineEnds", "# Template File\nA , 0001 ,  1 ,  0\nFF\n", AddressSize::Bits32, AddressSize::Bits16,
                 {{"A", 1, 1, 0, "FF"}}},
        LoadCase{"CrLineEndsNoFinalEnd", "# Template File\rA , 0001 ,  1 ,  0\rFF", AddressSize::Bits32,
                 AddressSize::Bits16, {{"A", 1, 1, 0, "FF"}}},
        LoadCase{"ByteOrderMark", "\xEF\xBB\xBF# Template File\r\nA , 0001 ,  1 ,  0\r\nFF\r\n", AddressSize::Bits32,
                 AddressSize::Bits16, {{"A", 1, 1, 0, "FF"}}},
        LoadCase{"Utf8Text", "# Template File\r\n\xC3\x84 , 0002 ,  3 ,  1\r\n\xE2\x82\xAC\r\n", AddressSize::Bits32,
                 AddressSize::Bits16, {{"\xC3\x84", 2, 3, 1, "\xE2\x82\xAC"}}},
        LoadCase{"LowerCaseAddress", "# Template File\r\nA , 00abcdef ,  1 ,  0\r\nFF\r\n", AddressSize::Bits16,
                 AddressSize::Bits32, {{"A", 0xABCDEF, 1, 0, "FF"}}}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(FormatLoad, ReadsAt257RecordsAndIgnoresTheRest)
{
    QByteArray file = "# Template File\r\n";
    for (int i = 0; i < 300; ++i)
        file += "R" + QByteArray::number(i) + " , " + (i < 280 ? "0001" : "00000001") + " ,  1 ,  0\r\nFF\r\n";
    Document document = test::documentIn(AddressSize::Bits32);
    EXPECT_EQ(loadFromBytes(file, document), QString());
    EXPECT_EQ(document.table[kSpareSlot].KeyTitle, QStringLiteral("R256"));
    EXPECT_EQ(document.mode.current(), AddressSize::Bits16);
}

struct FailCase {
    const char* name;
    QByteArray file;
    const char* error;
    AddressSize sizeAfter; // before the load: 16-bit
    int recordsRead;
};

class TemplateLoadFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(TemplateLoadFails, ReportsTheLineAndKeepsWhatWasRead)
{
    const FailCase& c = GetParam();
    Document document = test::documentIn(AddressSize::Bits16);
    EXPECT_EQ(loadFromBytes(c.file, document), QLatin1String(c.error));
    EXPECT_EQ(document.mode.current(), c.sizeAfter);
    for (Slot slot = 0; slot < c.recordsRead; ++slot)
        EXPECT_TRUE(document.table[slot].KeyAddrSet) << slot;
    EXPECT_FALSE(document.table[c.recordsRead].KeyAddrSet);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TemplateLoadFails,
    ::testing::Values(
        FailCase{"TypeNotHexOrAscii", "# Template File\r\nA , 000001 ,  1 ,  7\r\nFF\r\n",
                 "ERROR:Line 2 of the file: the type is neither 0 (HEX) nor 1 (ASCII).", AddressSize::Bits32, 0},
        FailCase{"SizeNotANumber", "# Template File\r\nA , 000001 ,  x ,  0\r\nFF\r\n",
                 "ERROR:Line 2 of the file: the size is not a decimal number.", AddressSize::Bits32, 0},
        FailCase{"AddressNotHex", "# Template File\r\nA , 0G000001 ,  1 ,  0\r\nFF\r\n",
                 "ERROR:Line 2 of the file: the address is not a hex number.", AddressSize::Bits32, 0},
        FailCase{"TooShort", "# Template File\r\nA\r\nFF\r\n", "ERROR:Line 2 of the file: the record line is too short.",
                 AddressSize::Bits32, 0},
        FailCase{"SecondRecordBadKeepsTheFirst",
                 "# Template File\r\nA , 000001 ,  1 ,  0\r\nFF\r\nB , 0001 ,  1 ,  x\r\nEE\r\n",
                 "ERROR:Line 4 of the file: the type is neither 0 (HEX) nor 1 (ASCII).", AddressSize::Bits24, 1},
        FailCase{"LineTooLong", "# Template File\r\n" + QByteArray(2 << 20, 'x'), "ERROR:Line 2 of the file: the line is too long.",
                 AddressSize::Bits32, 0}),
    [](const ::testing::TestParamInfo<FailCase>& info) { return std::string(info.param.name); });

TEST(FormatLoad, ARecordLineAtTheEndOfTheFileKeepsItsFields)
{
    Document document = test::documentIn(AddressSize::Bits32);
    const QString error = loadFromBytes("# Template File\r\nA , 00FF ,  2 ,  1\r\n", document);
    EXPECT_EQ(error, QStringLiteral("ERROR:Line 3 of the file: the file ends where the data line was expected."));
    const KeyRecord& record = document.table[0];
    EXPECT_EQ(record.KeyTitle, QStringLiteral("A"));
    EXPECT_EQ(record.address(), 0xFFu);
    EXPECT_EQ(record.KeySize, 2);
    EXPECT_EQ(record.KeyType, kTypeAscii);
    EXPECT_FALSE(record.KeyAddrSet);
    EXPECT_EQ(document.mode.current(), AddressSize::Bits16);
}

TEST(FormatLoad, AFileThatCannotBeOpenedSelects32Bit)
{
    QTemporaryDir dir;
    Document document = test::documentIn(AddressSize::Bits16);
    const QString error = FormatLoad(dir.filePath(QStringLiteral("missing.639")), document);
    EXPECT_TRUE(error.startsWith(QStringLiteral("ERROR:"))) << error.toStdString();
    EXPECT_GT(error.size(), 6);
    EXPECT_EQ(document.mode.current(), AddressSize::Bits32);
}

// Titles that begin with "#" once came back as comments and shifted every
// later line by one: each must read back as it was, with the next record
// intact behind it.
TEST(FormatSave, TitlesThatLookLikeCommentsReadBack)
{
    const QStringList titles = {QStringLiteral("#"), QStringLiteral("#abc"), QStringLiteral("# Template File"),
                                QStringLiteral(" #x"), QStringLiteral("  #"), QStringLiteral("a#b"),
                                QStringLiteral(" a"), QStringLiteral(" ")};
    Document document = test::documentIn(AddressSize::Bits24);
    for (int i = 0; i < titles.size(); ++i)
        document.table[i] = titled(test::hexRecord(quint32(i), QStringLiteral("0A")), titles[i]);
    const QByteArray bytes = saveToBuffer(document);
    for (const QByteArray& line : bytes.split('\n').mid(1))
        EXPECT_FALSE(line.startsWith('#')) << line.toStdString();

    Document loaded;
    ASSERT_EQ(loadFromBytes(bytes, loaded), QString());
    for (int i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(loaded.table[i].KeyTitle, titles[i]);
        EXPECT_EQ(loaded.table[i].KeyData, QStringLiteral("0A"));
    }
    EXPECT_FALSE(loaded.table[int(titles.size())].inUse());
}

struct RefusalCase {
    const char* name;
    Slot slot;
    KeyRecord record;
    const char* error;
};

KeyRecord withSize(KeyRecord record, qint16 size)
{
    record.KeySize = size;
    return record;
}

KeyRecord withType(KeyRecord record, qint16 type)
{
    record.KeyType = type;
    return record;
}

class TemplateRefuses : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(TemplateRefuses, WhatWouldNotReadBack)
{
    const RefusalCase& c = GetParam();
    Document document;
    document.table[0] = test::hexRecord(1, QStringLiteral("01"));
    document.table[c.slot] = c.record;
    QString error;
    EXPECT_TRUE(saveToBuffer(document, &error).isEmpty());
    EXPECT_EQ(error, QLatin1String(c.error));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.639"));
    test::writeFileBytes(path, "# Template File\r\n");
    EXPECT_EQ(FormatSave(path, document), QLatin1String(c.error));
    EXPECT_EQ(test::readFileBytes(path), "# Template File\r\n");
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("old.639")});
}

INSTANTIATE_TEST_SUITE_P(
    Files, TemplateRefuses,
    ::testing::Values(
        RefusalCase{"LineFeedInTitle", 3, onlyTitle(QStringLiteral("two\nlines")), "ERROR:Line 4: the title holds a line break."},
        RefusalCase{"CarriageReturnInData", kSpareSlot, test::asciiRecord(0, QStringLiteral("a\rb")),
                    "ERROR:Line 257: the data holds a line break."},
        RefusalCase{"SizeOfFourDigits", 1, withSize(onlyTitle(QStringLiteral("t")), 1000),
                    "ERROR:Line 2: the size 1000 is outside 0 to 999."},
        RefusalCase{"NegativeSize", 1, withSize(onlyTitle(QStringLiteral("t")), -2),
                    "ERROR:Line 2: the size -2 is outside 0 to 999."},
        RefusalCase{"UnknownType", 2, withType(onlyTitle(QStringLiteral("t")), 2),
                    "ERROR:Line 3: the type 2 is neither HEX nor ASCII."}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(FormatSave, RecordsNotInUseMayHoldAnything)
{
    Document document;
    document.table[0] = withType(KeyRecord{}, 7); // a type alone does not make a record in use
    EXPECT_EQ(saveToBuffer(document), "# Template File\r\n");
}

} // namespace
} // namespace quorvane
