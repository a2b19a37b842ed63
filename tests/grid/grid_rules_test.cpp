// The grid's rules without a widget, for the values the keyboard cannot
// reach or the widget tests do not vary: the character filters at their
// boundaries, the room rule, writing back a row, the size's value and
// reading Qt key events as key codes.
#include "grid/edit_rules.h"
#include "grid/key_codes.h"
#include "grid/row_write_back.h"
#include "tests/support/qt_printers.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

KeyRecord record(qint16 type, const QString& data, qint16 size)
{
    KeyRecord rec;
    rec.KeyType = type;
    rec.KeyData = data;
    rec.KeySize = size;
    return rec;
}

} // namespace

TEST(KeyFilters, DataCellsAtTheirBoundaries)
{
    struct Case { bool ascii; bool room; char16_t in; char16_t out; };
    const Case cases[] = {
        {false, true, u'0', u'0'}, {false, true, u'9', u'9'}, {false, true, u'A', u'A'}, {false, true, u'F', u'F'},
        {false, true, u'a', u'A'}, {false, true, u'f', u'F'}, {false, true, u'G', 0},    {false, true, u'g', 0},
        {false, true, u'@', 0},    {false, true, u'`', 0},    {false, true, u'/', 0},    {false, true, u':', 0},
        {false, true, 22, 22},     {false, false, 22, 0},     {false, false, 24, 24},    {true, true, 9, 0},
        {true, true, 22, 22},      {true, false, 22, 0},      {true, false, 3, 3},       {true, false, 8, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filterDataCharacter(c.ascii, c.room, c.in), c.out) << int(c.in) << (c.ascii ? " ascii" : " hex");
}

TEST(KeyFilters, RecordFields)
{
    EXPECT_EQ(filterTitleCharacter(9), 0);
    EXPECT_EQ(filterTitleCharacter(u'~'), u'~');
    for (char16_t c : {u'0', u'9', u'A', u'F'})
        EXPECT_EQ(filterAddressCharacter(c), c);
    EXPECT_EQ(filterAddressCharacter(u'f'), u'F');
    for (char16_t c : {u'/', u':', u'@', u'G', u'`', u'g', char16_t(3), char16_t(24)})
        EXPECT_EQ(filterAddressCharacter(c), 0) << int(c);
    for (char16_t c : {u'/', u':'})
        EXPECT_EQ(filterSizeCharacter(c), 0) << int(c);
}

TEST(RoomRule, SizeInDigitsOrBytes)
{
    EXPECT_TRUE(recordHasRoom(record(kTypeHex, "0011223", 4), false));
    EXPECT_TRUE(recordHasRoom(record(kTypeHex, QString(600, u'0'), 0), false));
    EXPECT_TRUE(recordHasRoom(record(kTypeAscii, "ab", 3), false));
    EXPECT_FALSE(recordHasRoom(record(kTypeAscii, QString::fromUtf8("a\xc3\xa9"), 3), false));
    EXPECT_TRUE(recordHasRoom(record(kTypeAscii, "abc", 3), true));
}

TEST(RowWriteBack, HexRowReplacesItsWindow)
{
    const QString forty = QString::fromLatin1("0123456789").repeated(4);
    const auto hex = [](const QString& data, qint16 size, int h, const RowCellTexts& cells) {
        return rowDataAfterEdit(record(kTypeHex, data, size), h, cells);
    };
    EXPECT_EQ(hex(forty, 0, 2, RowCellTexts{"XY"}), forty.left(4) + "XY" + forty.mid(36));
    EXPECT_EQ(hex("ABC", 0, 2, RowCellTexts{}), QStringLiteral("ABC")); // data ends before the window
    // The size, or 252 bytes without one, cuts the joined data at its end.
    EXPECT_EQ(hex(forty, 3, 2, RowCellTexts{"ABC"}), QStringLiteral("0123AB"));
    EXPECT_EQ(hex(QString(504, u'0'), 0, 0, RowCellTexts{"1" + QString(32, u'0')}), "1" + QString(503, u'0'));
}

TEST(RowWriteBack, AsciiAndOtherTypes)
{
    const RowCellTexts cells{"Hello world", "ignored"};
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 0), 7, cells), QStringLiteral("Hello world"));
    // Sizes are bytes as written (UTF-8): a two-byte character does not fit in the last byte.
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 3), 0, RowCellTexts{"ab\xc3\xa9"}), QStringLiteral("ab"));
    EXPECT_EQ(rowDataAfterEdit(record(kTypeAscii, "", 0), 0, RowCellTexts{QString(300, u'x')}).size(), 252);
    EXPECT_EQ(rowDataAfterEdit(record(4, "keep", 0), 0, cells), QStringLiteral("keep"));
}

TEST(FieldRules, SizeValue)
{
    EXPECT_EQ(sizeFromText(""), 0);
    EXPECT_EQ(sizeFromText("12x4"), 12);
    EXPECT_EQ(sizeFromText("99999999"), 32767);
}

TEST(KeyStrokes, CodesAndCharacters)
{
    struct Case { int key; Qt::KeyboardModifiers mods; const char* text; int code; bool shift; int character; };
    const Case cases[] = {
        {Qt::Key_Backtab, Qt::NoModifier, "", kKeyTab, true, 9},
        {Qt::Key_Enter, Qt::NoModifier, "\r", kKeyReturn, false, 13},
        {Qt::Key_V, Qt::ControlModifier, "v", 'V', false, 22},
        {Qt::Key_V, Qt::ControlModifier, "\x16", 'V', false, 22},
        {Qt::Key_1, Qt::ControlModifier, "1", '1', false, 0},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A', true, 'A'},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", kKeyDelete, false, 0},
        {Qt::Key_F, Qt::AltModifier, "f", 'F', false, 'f'},
        {Qt::Key_Insert, Qt::ShiftModifier, "", kKeyInsert, true, 22},
        {Qt::Key_Delete, Qt::ShiftModifier, "", kKeyDelete, true, 24},
        {Qt::Key_F1, Qt::NoModifier, "", kKeyNone, false, 0},
    };
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, QString::fromLatin1(c.text));
        const KeyStroke stroke = keyStrokeOf(event);
        EXPECT_EQ(stroke.keyCode, c.code) << c.key;
        EXPECT_EQ(stroke.shift, c.shift) << c.key;
        EXPECT_EQ(int(stroke.character), c.character) << c.key;
    }
}
