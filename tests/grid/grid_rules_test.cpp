// The grid's rules without a widget, for the values the keyboard cannot
// reach or the widget tests do not vary: the character filters at their
// boundaries, the room rule, writing back a row, the size's value and
// reading Qt key events as key codes. What a HEX cell shows is followed by
// the widget tests.
#include "grid/edit_rules.h"
#include "grid/key_codes.h"
#include "grid/row_write_back.h"
#include "tests/support/record_builders.h"

#include <QInputDevice>
#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

enum class Filter { Title, Address, Size, HexCell, AsciiCell };

char16_t filtered(Filter filter, bool room, char16_t code)
{
    switch (filter) {
    case Filter::Title: return filterTitleCharacter(code);
    case Filter::Address: return filterAddressCharacter(code);
    case Filter::Size: return filterSizeCharacter(code);
    case Filter::HexCell: return filterDataCharacter(false, room, code);
    case Filter::AsciiCell: return filterDataCharacter(true, room, code);
    }
    return code;
}

KeyRecord record(qint16 type, const QString& data, int size) { return test::hexRecord(data, size, type); }

} // namespace

// Each character of `in` goes through the filter and comes out as the
// character at its place in `out`, where '-' stands for discarded.
TEST(KeyFilters, AtTheirBoundaries)
{
    const QString paste(kCharPaste), cut(kCharCut), copy(kCharCopy), back(kCharBackspace), tab(kCharTab);
    struct Case {
        Filter filter;
        bool room = true;
        QString in;
        QString out;
    };
    const Case cases[] = {
        // Neighbours of the digit and letter ranges; lower case comes up.
        {.filter = Filter::HexCell, .in = "09AFaf/:@G`g" + paste, .out = "09AFAF------" + paste},
        {.filter = Filter::Address, .in = "09AFf/:@G`g" + copy + cut, .out = "09AFF--------"},
        {.filter = Filter::Size, .in = "/:", .out = "--"},
        {.filter = Filter::Title, .in = tab + "~", .out = "-~"},
        // Paste needs room; copy, cut and Backspace never do.
        {.filter = Filter::HexCell, .room = false, .in = paste + cut, .out = "-" + cut},
        {.filter = Filter::AsciiCell, .in = tab + paste, .out = "-" + paste},
        {.filter = Filter::AsciiCell, .room = false, .in = paste + copy + back, .out = "-" + copy + back},
    };
    for (const Case& c : cases) {
        for (qsizetype k = 0; k < c.in.size(); ++k) {
            const char16_t expected = c.out[k] == u'-' ? 0 : c.out[k].unicode();
            EXPECT_EQ(filtered(c.filter, c.room, c.in[k].unicode()), expected) << int(c.filter) << " code " << int(c.in[k].unicode());
        }
    }
}

TEST(RoomRule, SizeInDigitsOrBytes)
{
    struct Case {
        KeyRecord record;
        bool selection = false;
        bool room;
    };
    const Case cases[] = {
        {.record = record(kTypeHex, "0011223", 4), .room = true},           // half a byte left
        {.record = record(kTypeHex, QString(503, u'0'), 0), .room = true},  // no size: 252 bytes
        {.record = record(kTypeHex, QString(504, u'0'), 0), .room = false},
        {.record = record(kTypeAscii, QString(126, QChar(0xE4)), 0), .room = false}, // 252 bytes
        {.record = record(kTypeAscii, "ab", 3), .room = true},
        {.record = record(kTypeAscii, QString::fromUtf8("a\xc3\xa9"), 3), .room = false}, // bytes, not characters
        {.record = record(kTypeAscii, "abc", 3), .selection = true, .room = true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recordHasRoom(c.record, c.selection), c.room) << c.record.KeyData.toStdString();
}

TEST(RowWriteBack, ReplacesTheWindowAndCutsToTheSize)
{
    const QString forty = QString::fromLatin1("0123456789").repeated(4);
    const RowCellTexts hello{"Hello world", "ignored"};
    struct Case {
        const char* name;
        KeyRecord record;
        int leftByte;
        RowCellTexts cells;
        QString stored;
    };
    const Case cases[] = {
        {.name = "HEX window in the middle", .record = record(kTypeHex, forty, 0), .leftByte = 2,
         .cells = {"XY"}, .stored = forty.left(4) + "XY" + forty.mid(36)},
        {.name = "HEX data ending before the window", .record = record(kTypeHex, "ABC", 0), .leftByte = 2,
         .cells = {}, .stored = "ABC"},
        {.name = "HEX cut to the size", .record = record(kTypeHex, forty, 3), .leftByte = 2, .cells = {"ABC"},
         .stored = "0123AB"},
        {.name = "HEX without a size cut to 252 bytes", .record = record(kTypeHex, QString(504, u'0'), 0),
         .leftByte = 0, .cells = {"1" + QString(32, u'0')}, .stored = "1" + QString(503, u'0')},
        {.name = "ASCII takes the first cell", .record = record(kTypeAscii, "", 0), .leftByte = 7, .cells = hello,
         .stored = "Hello world"},
        {.name = "ASCII size in UTF-8 bytes", .record = record(kTypeAscii, "", 3), .leftByte = 0,
         .cells = {"ab\xc3\xa9"}, .stored = "ab"},
        {.name = "ASCII without a size cut to 252", .record = record(kTypeAscii, "", 0), .leftByte = 0,
         .cells = {QString(300, u'x')}, .stored = QString(252, u'x')},
        {.name = "other types keep their data", .record = record(4, "keep", 0), .leftByte = 0, .cells = hello,
         .stored = "keep"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowDataAfterEdit(c.record, c.leftByte, c.cells), c.stored) << c.name;
}

TEST(FieldRules, SizeValue)
{
    struct Case {
        const char* text;
        qint16 size;
    };
    const Case cases[] = {
        {.text = "", .size = 0},
        {.text = "12x4", .size = 12},
        {.text = "99999999", .size = 32767},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sizeFromText(QString::fromLatin1(c.text)), c.size) << c.text;
}

TEST(KeyStrokes, CodesAndCharacters)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
        const char* text = "";
        int code;
        bool shift = false;
        int character = 0;
    };
    const Case cases[] = {
        {.key = Qt::Key_Backtab, .code = kKeyTab, .shift = true, .character = 9},
        {.key = Qt::Key_Enter, .text = "\r", .code = kKeyReturn, .character = 13},
        {.key = Qt::Key_V, .mods = Qt::ControlModifier, .text = "v", .code = 'V', .character = 22},
        {.key = Qt::Key_V, .mods = Qt::ControlModifier, .text = "\x16", .code = 'V', .character = 22},
        {.key = Qt::Key_1, .mods = Qt::ControlModifier, .text = "1", .code = '1'},
        {.key = Qt::Key_A, .mods = Qt::ShiftModifier, .text = "A", .code = 'A', .shift = true, .character = 'A'},
        {.key = Qt::Key_Delete, .text = "\x7f", .code = kKeyDelete},
        {.key = Qt::Key_F, .mods = Qt::AltModifier, .text = "f", .code = 'F', .character = 'f'},
        {.key = Qt::Key_Insert, .mods = Qt::ShiftModifier, .code = kKeyInsert, .shift = true, .character = 22},
        {.key = Qt::Key_Delete, .mods = Qt::ShiftModifier, .code = kKeyDelete, .shift = true, .character = 24},
        {.key = Qt::Key_F1, .code = kKeyNone},
    };
    // A key event without a device makes Qt create a keyboard that, with no
    // application to own it, is never freed: the leak check would fail.
    const QInputDevice keyboard(QStringLiteral("test keyboard"), 1, QInputDevice::DeviceType::Keyboard);
    for (const Case& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.mods, 0, 0, 0, QString::fromLatin1(c.text), false, 1, &keyboard);
        const KeyStroke stroke = keyStrokeOf(event);
        EXPECT_EQ(stroke.keyCode, c.code) << c.key;
        EXPECT_EQ(stroke.shift, c.shift) << c.key;
        EXPECT_EQ(int(stroke.character), c.character) << c.key;
    }
}
