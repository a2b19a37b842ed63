// The grid's rules without a widget: cell geometry, drawing and writing
// back a row, the character filters, address and size normalisation, the
// caret after an insertion, and reading Qt key events as key codes.
#include "grid/edit_rules.h"
#include "grid/grid_geometry.h"
#include "grid/key_codes.h"
#include "grid/row_write_back.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace quorvane;

// Readable failure messages for texts.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QString digits(int count, char16_t first = u'0')
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(char16_t(first + i % 10));
    return s;
}

RowCellTexts cellsOf(std::initializer_list<const char*> texts)
{
    RowCellTexts cells;
    std::size_t c = 0;
    for (const char* t : texts)
        cells[c++] = QString::fromUtf8(t);
    return cells;
}

RowCellTexts cellsShowing(const QString& data, int hoffset, int column = -1, const char* edited = "")
{
    RowCellTexts cells;
    for (int c = 0; c < 16; ++c)
        cells[std::size_t(c)] = c == column ? QString::fromLatin1(edited) : hexCellText(data, hoffset, c);
    return cells;
}

KeyRecord record(qint16 type, const QString& data, qint16 size)
{
    KeyRecord rec;
    rec.KeyType = type;
    rec.KeyData = data;
    rec.KeySize = size;
    return rec;
}

} // namespace

TEST(CellIndex, RowColumnAndRowEnds)
{
    struct Case { int index, row, column, first, last; };
    for (const Case& c : {Case{0, 0, 0, 0, 15}, Case{37, 2, 5, 32, 47}, Case{159, 9, 15, 144, 159},
                          Case{144, 9, 0, 144, 159}}) {
        const CellIndex i(c.index);
        EXPECT_EQ(i.row(), c.row) << c.index;
        EXPECT_EQ(i.column(), c.column) << c.index;
        EXPECT_EQ(i.firstOfRow().value(), c.first) << c.index;
        EXPECT_EQ(i.lastOfRow().value(), c.last) << c.index;
        EXPECT_EQ(CellIndex::at(c.row, c.column), i);
    }
    EXPECT_EQ(CellIndex(47).byteOffset(236), 251);
    EXPECT_EQ(CellIndex(47).firstDigit(236), 502);
}

TEST(HexCell, TextAndLock)
{
    struct Case { const char* data; int hoffset; int column; const char* text; bool open; };
    const Case cases[] = {
        {"0A1B2", 0, 0, "0A", true}, {"0A1B2", 0, 2, "2", true},  {"0A1B2", 0, 3, "", false},
        {"0A1B2", 1, 0, "1B", true}, {"0A1B2", 1, 1, "2", true},  {"0A1B2", 1, 2, "", false},
        {"", 0, 0, "", true},        {"", 1, 0, "", false},       {"0A1B", 0, 2, "", true},
    };
    for (const Case& c : cases) {
        const QString data = QString::fromLatin1(c.data);
        EXPECT_EQ(hexCellText(data, c.hoffset, c.column), QString::fromLatin1(c.text)) << c.data << " " << c.column;
        EXPECT_EQ(hexCellOpen(data.size(), c.hoffset, c.column), c.open) << c.data << " " << c.column;
    }
}

TEST(RowWriteBack, HexEdits)
{
    struct Case { const char* name; QString data; qint16 size; int hoffset; RowCellTexts cells; QString expected; };
    const QString forty = digits(40);
    const Case cases[] = {
        {"digit deleted shifts left", "0011223344", 0, 0, cellsOf({"00", "1", "22", "33", "44"}), "001223344"},
        {"digit inserted shifts right", "0011223344", 0, 0, cellsOf({"0A0", "11", "22", "33", "44"}),
         "0A011223344"},
        {"window in the middle keeps head and tail", forty, 0, 2, cellsShowing(forty, 2), forty},
        {"window edit between head and tail", forty, 0, 2, cellsOf({"XY"}),
         forty.left(4) + "XY" + forty.mid(36)},
        {"data ends before the window", "ABC", 0, 2, RowCellTexts{}, "ABC"},
        {"cut to the size", "", 3, 0, cellsOf({"AA", "BB", "CC", "DD"}), "AABBCC"},
        {"unsized cut to 504 digits", digits(502), 0, 236, cellsShowing(digits(502), 236, 15, "123"),
         digits(502) + "12"},
        {"sized cut keeps the head", digits(40), 10, 2, cellsShowing(digits(40), 2, 0, "ABC"),
         digits(4) + "ABC" + digits(40).mid(6, 13)},
    };
    for (const Case& c : cases) {
        const KeyRecord rec = record(kTypeHex, c.data, c.size);
        EXPECT_EQ(rowDataAfterEdit(rec, c.hoffset, c.cells), c.expected) << c.name;
    }
}

TEST(RowWriteBack, AsciiAndOtherTypes)
{
    const RowCellTexts cells = cellsOf({"Hello world", "ignored"});
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 5), 7, cells), QStringLiteral("Hello"));
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 0), 7, cells), QStringLiteral("Hello world"));
    // Sizes are bytes as written (UTF-8): a two-byte character does not fit in the last byte.
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 3), 0, cellsOf({"ab\xc3\xa9"})), QStringLiteral("ab"));
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 0), 0, RowCellTexts{QString(300, u'x')}).size(), 252);
    EXPECT_EQ(rowDataAfterEdit(record(4, "keep", 0), 0, cells), QStringLiteral("keep"));
}

TEST(KeyFilters, DataCells)
{
    struct Case { bool ascii; bool room; char16_t in; char16_t out; };
    const Case cases[] = {
        {false, true, u'7', u'7'}, {false, true, u'F', u'F'}, {false, true, u'c', u'C'}, {false, true, 22, 22},
        {false, false, u'7', 0},   {false, false, u'c', 0},   {false, false, 22, 0},     {false, false, 3, 3},
        {false, false, 8, 8},      {false, false, 24, 24},    {false, true, 9, 0},       {false, true, 13, 0},
        {false, true, u' ', 0},    {false, true, u'g', 0},    {false, true, u'G', 0},    {true, true, u'g', u'g'},
        {true, true, u' ', u' '},  {true, true, 9, 0},        {true, false, u'a', 0},    {true, false, 8, 8},
        {true, false, 3, 3},       {true, false, 24, 24},     {true, true, 22, 22},      {true, false, 22, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filterDataCharacter(c.ascii, c.room, c.in), c.out) << int(c.in) << (c.ascii ? " ascii" : " hex");
}

TEST(KeyFilters, RecordFields)
{
    EXPECT_EQ(filterTitleCharacter(9), 0);
    EXPECT_EQ(filterTitleCharacter(22), 22);
    EXPECT_EQ(filterTitleCharacter(u'~'), u'~');
    for (char16_t c : {u'0', u'9', u'A', u'F', char16_t(8)})
        EXPECT_EQ(filterAddressCharacter(c), c);
    EXPECT_EQ(filterAddressCharacter(u'a'), u'A');
    EXPECT_EQ(filterAddressCharacter(u'f'), u'F');
    for (char16_t c : {u'g', u'G', u' ', char16_t(3), char16_t(22), char16_t(24), char16_t(9)})
        EXPECT_EQ(filterAddressCharacter(c), 0) << int(c);
    for (char16_t c : {u'0', u'9', char16_t(8)})
        EXPECT_EQ(filterSizeCharacter(c), c);
    for (char16_t c : {u'a', u'A', u'-', char16_t(22)})
        EXPECT_EQ(filterSizeCharacter(c), 0) << int(c);
}

TEST(RoomRule, SizeInDigitsOrBytes)
{
    EXPECT_TRUE(recordHasRoom(record(kTypeHex, "0011223", 4), false));
    EXPECT_FALSE(recordHasRoom(record(kTypeHex, "00112233", 4), false));
    EXPECT_TRUE(recordHasRoom(record(kTypeHex, "00112233", 4), true));
    EXPECT_TRUE(recordHasRoom(record(kTypeHex, digits(600), 0), false));
    EXPECT_TRUE(recordHasRoom(record(kTypeAscii, "ab", 3), false));
    EXPECT_FALSE(recordHasRoom(record(kTypeAscii, "abc", 3), false));
    EXPECT_FALSE(recordHasRoom(record(kTypeAscii, QString::fromUtf8("a\xc3\xa9"), 3), false));
}

TEST(FieldRules, AddressPaddingAndSizeValue)
{
    EXPECT_EQ(paddedAddress("12", AddressSize::Bits32), QStringLiteral("00000012"));
    EXPECT_EQ(paddedAddress("12", AddressSize::Bits24), QStringLiteral("000012"));
    EXPECT_EQ(paddedAddress("12", AddressSize::Bits16), QStringLiteral("0012"));
    EXPECT_EQ(paddedAddress("12345678", AddressSize::Bits16), QStringLiteral("5678"));
    EXPECT_EQ(sizeFromText(""), 0);
    EXPECT_EQ(sizeFromText("300"), 300);
    EXPECT_EQ(sizeFromText("12x4"), 12);
    EXPECT_EQ(sizeFromText("99999999"), 32767);
}

TEST(InsertionCaret, FollowsTheInsertedText)
{
    struct Case { const char* name; int h, column, caret; qint16 size; int hscroll, targetColumn, position; };
    const Case cases[] = {
        {"after the first digit", 0, 3, 2, 0, 0, 4, 0},
        {"before the first digit", 0, 3, 1, 0, 0, 3, 1},
        {"20 digits pasted", 0, 0, 20, 0, 0, 10, 0},
        {"40 digits pasted scroll", 0, 0, 40, 0, 5, 15, 0},
        {"beyond the last offset", 236, 15, 3, 0, 236, 15, 1},
        {"held at the size", 0, 0, 40, 6, 0, 6, 0},
        {"byte left of the window", 10, 2, 3, 2, 10, 0, 1},
    };
    for (const Case& c : cases) {
        const InsertionCaret got = caretAfterInsertion(c.h, c.column, c.caret, c.size, 236);
        EXPECT_EQ(got.hscroll, c.hscroll) << c.name;
        EXPECT_EQ(got.column, c.targetColumn) << c.name;
        EXPECT_EQ(got.position, c.position) << c.name;
    }
}

TEST(KeyStrokes, CodesAndCharacters)
{
    struct Case { int key; Qt::KeyboardModifiers mods; const char* text; int code; bool shift; int character; };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, "", kKeyLeft, false, 0},
        {Qt::Key_Down, Qt::ShiftModifier, "", kKeyDown, true, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, "", kKeyTab, true, 9},
        {Qt::Key_Tab, Qt::NoModifier, "\t", kKeyTab, false, 9},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", kKeyBackspace, false, 8},
        {Qt::Key_V, Qt::ControlModifier, "v", 'V', false, 22},
        {Qt::Key_V, Qt::ControlModifier, "\x16", 'V', false, 22},
        {Qt::Key_C, Qt::ControlModifier, "", 'C', false, 3},
        {Qt::Key_A, Qt::NoModifier, "a", 'A', false, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A', true, 'A'},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", kKeyDelete, false, 0},
        {Qt::Key_F, Qt::AltModifier, "f", 'F', false, 0},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text));
        const KeyStroke stroke = keyStrokeOf(event);
        EXPECT_EQ(stroke.keyCode, c.code) << c.key;
        EXPECT_EQ(stroke.shift, c.shift) << c.key;
        EXPECT_EQ(int(stroke.character), c.character) << c.key;
    }
}
