// Typing, pasting and deleting in the data cells: the character filter
// with its room rule, the write-back of every change and where the caret
// goes afterwards.
#include "grid_fixture.h"

#include <QClipboard>

using namespace quorvane;
using namespace quorvane::test;

class CellTypingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { fx.reset(); }

    void typingIntoEmptyRecord();
    void completingBeforeLastDigitStays();
    void hexFilter_data();
    void hexFilter();
    void roomRule_data();
    void roomRule();
    void autoAdvanceAtColumn15();
    void autoAdvanceAtOffset236();
    void insertionIntoFullCell_data();
    void insertionIntoFullCell();
    void paste_data();
    void paste();
    void deletion_data();
    void deletion();
    void insertionLeftOfWindowStaysInRow_data();
    void insertionLeftOfWindowStaysInRow();
    void lockedCellTakesNothing();
    void asciiRow_data();
    void asciiRow();
    void redrawStoresNothing();

private:
    // Focus `cell` with its caret at `caret` and forget the focus history.
    void startIn(int cell, int caret);
    std::unique_ptr<GridFixture> fx;
};

void CellTypingTest::init()
{
    fx = std::make_unique<GridFixture>();
    QVERIFY(fx->start());
}

void CellTypingTest::startIn(int cell, int caret)
{
    fx->focusCell(cell, caret);
    fx->titileSetCalls = 0;
}

void CellTypingTest::typingIntoEmptyRecord()
{
    startIn(32, 0);
    QTest::keyClicks(fx->cell(32), QStringLiteral("1a"));
    QCOMPARE(fx->document.table[2].KeyData, QStringLiteral("1A"));
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_33"));
    QCOMPARE(fx->cell(33)->cursorPosition(), 0);
    QCOMPARE(fx->cell(33)->isReadOnly(), false);
    QCOMPARE(fx->cell(34)->isReadOnly(), true);
    QCOMPARE(fx->state.Modified, true);
    QVERIFY(fx->titileSetCalls > 0);
    QCOMPARE(int(fx->state.FocusDataIndex), 33);
}

// The cell moves on only when its second digit was typed at its end.
void CellTypingTest::completingBeforeLastDigitStays()
{
    fx->load({{0, hexRecord(QStringLiteral("1"))}});
    startIn(0, 0);
    QTest::keyClick(fx->cell(0), Qt::Key_A);
    QCOMPARE(fx->document.table[0].KeyData, QStringLiteral("A1"));
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_0"));
    QCOMPARE(fx->cell(0)->cursorPosition(), 1);
}

void CellTypingTest::hexFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("lower case becomes upper") << "abcdef" << "ABCDEF";
    QTest::newRow("digits and upper case") << "09AF" << "09AF";
    QTest::newRow("space, letters and punctuation dropped") << "1 g-z.2" << "12";
    QTest::newRow("Enter dropped") << "1\r2" << "12";
}

void CellTypingTest::hexFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    startIn(0, 0);
    for (QChar ch : typed) {
        if (ch == u'\r')
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    QCOMPARE(fx->document.table[0].KeyData, stored);
}

void CellTypingTest::roomRule_data()
{
    QTest::addColumn<int>("selected"); // characters selected before the caret
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("clipboard");

    // Size 4 with its 8 digits stored; the caret after "11" in column 1.
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("digit without room") << 0 << int(Qt::Key_5) << 0 << "00112233" << "";
    QTest::newRow("paste without room") << 0 << int(Qt::Key_V) << ctrl << "00112233" << "99";
    QTest::newRow("digit replacing a selection") << 1 << int(Qt::Key_5) << 0 << "00152233" << "";
    QTest::newRow("paste over a selection") << 2 << int(Qt::Key_V) << ctrl << "00992233" << "99";
    QTest::newRow("backspace always") << 0 << int(Qt::Key_Backspace) << 0 << "0012233" << "";
    QTest::newRow("copy always") << 2 << int(Qt::Key_C) << ctrl << "00112233" << "11";
    QTest::newRow("cut always") << 2 << int(Qt::Key_X) << ctrl << "002233" << "11";
}

void CellTypingTest::roomRule()
{
    QFETCH(int, selected);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, stored);
    QFETCH(QString, clipboard);
    fx->load({{0, hexRecord(QStringLiteral("00112233"), 4)}});
    QGuiApplication::clipboard()->setText(key == Qt::Key_V ? clipboard : QString());
    startIn(1, 2);
    if (selected > 0)
        fx->cell(1)->cursorBackward(true, selected);

    QTest::keyClick(fx->cell(1), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(fx->document.table[0].KeyData, stored);
    QCOMPARE(fx->state.Modified, stored != QStringLiteral("00112233"));
    if (key != Qt::Key_V)
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void CellTypingTest::autoAdvanceAtColumn15()
{
    fx->load({{0, hexRecord(hexBytes(15))}});
    startIn(15, 0);
    QTest::keyClicks(fx->cell(15), QStringLiteral("AB"));

    QCOMPARE(fx->document.table[0].KeyData, hexBytes(15) + QStringLiteral("AB"));
    QCOMPARE(fx->grid->hScroll()->value(), 1);
    QCOMPARE(int(fx->state.CurHOffset), 1);
    QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_0"))->text(), QStringLiteral("01"));
    QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_15"))->text(), QStringLiteral("10"));
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_15"));
    QCOMPARE(fx->cell(15)->text(), QString()); // byte 16, the next to type
    QCOMPARE(fx->cell(15)->cursorPosition(), 0);
    QCOMPARE(fx->cell(14)->text(), QStringLiteral("AB"));
    QCOMPARE(fx->cell(15)->isReadOnly(), false);
}

void CellTypingTest::autoAdvanceAtOffset236()
{
    fx->load({{0, hexRecord(hexBytes(251))}});
    fx->scrollTo(0, 236);
    startIn(15, 0);
    QTest::keyClicks(fx->cell(15), QStringLiteral("CD"));

    QCOMPARE(fx->document.table[0].KeyData.size(), 504);
    QCOMPARE(fx->grid->hScroll()->value(), 236);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_15"));
    QCOMPARE(fx->cell(15)->text(), QStringLiteral("CD"));
    QCOMPARE(fx->cell(15)->cursorPosition(), 2);

    // One digit more than 252 bytes: the write-back drops it.
    QTest::keyClick(fx->cell(15), Qt::Key_E);
    QCOMPARE(fx->document.table[0].KeyData, hexBytes(251) + QStringLiteral("CD"));
    QCOMPARE(fx->cell(15)->text(), QStringLiteral("CD"));
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_15"));
    QCOMPARE(fx->cell(15)->cursorPosition(), 1);
    QCOMPARE(fx->grid->hScroll()->value(), 236);
}

void CellTypingTest::insertionIntoFullCell_data()
{
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("column3");
    QTest::addColumn<QString>("column4");
    QTest::addColumn<int>("focusCell");
    QTest::addColumn<int>("focusCaret");
    QTest::newRow("after the first digit") << 1 << "001122A5B4455" << "A5" << "B4" << 4 << 0;
    QTest::newRow("before the first digit") << 0 << "0011225AB4455" << "5A" << "B4" << 3 << 1;
    QTest::newRow("after the second digit") << 2 << "001122AB54455" << "AB" << "54" << 4 << 1;
}

void CellTypingTest::insertionIntoFullCell()
{
    QFETCH(int, caret);
    QFETCH(QString, stored);
    QFETCH(QString, column3);
    QFETCH(QString, column4);
    QFETCH(int, focusCell);
    QFETCH(int, focusCaret);
    fx->load({{0, hexRecord(QStringLiteral("001122AB4455"))}});
    startIn(3, caret);
    QTest::keyClick(fx->cell(3), Qt::Key_5);

    QCOMPARE(fx->document.table[0].KeyData, stored);
    QCOMPARE(fx->cell(3)->text(), column3);
    QCOMPARE(fx->cell(4)->text(), column4);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_%1").arg(focusCell));
    QCOMPARE(fx->cell(focusCell)->cursorPosition(), focusCaret);
    QCOMPARE(fx->cell(focusCell)->hasSelectedText(), false);
}

void CellTypingTest::paste_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<qint16>("size");
    QTest::addColumn<int>("storedDigits");
    QTest::addColumn<int>("hAfter");
    QTest::addColumn<int>("focusCell");
    QTest::newRow("20 digits") << 20 << qint16(0) << 20 << 0 << 10;
    QTest::newRow("40 digits scroll") << 40 << qint16(0) << 40 << 5 << 15;
    QTest::newRow("cut to the size, caret at its end") << 40 << qint16(6) << 12 << 0 << 6;
}

void CellTypingTest::paste()
{
    QFETCH(int, digits);
    QFETCH(qint16, size);
    QFETCH(int, storedDigits);
    QFETCH(int, hAfter);
    QFETCH(int, focusCell);
    fx->load({{0, hexRecord(QString(), size)}});
    const QString pasted = hexBytes(digits / 2, 0x40);
    QGuiApplication::clipboard()->setText(pasted);
    startIn(0, 0);
    QTest::keyClick(fx->cell(0), Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(fx->document.table[0].KeyData, pasted.left(storedDigits));
    QCOMPARE(fx->grid->hScroll()->value(), hAfter);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_%1").arg(focusCell));
    QCOMPARE(fx->cell(focusCell)->cursorPosition(), 0);
    QCOMPARE(fx->state.Modified, true);
}

void CellTypingTest::deletion_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("cellText");
    QTest::addColumn<int>("caretAfter");
    QTest::newRow("delete the first digit") << 0 << 0 << int(Qt::Key_Delete) << "BCDEF" << "BC" << 0;
    QTest::newRow("backspace the last digit of a cell") << 1 << 2 << int(Qt::Key_Backspace) << "ABCEF" << "CE" << 1;
    QTest::newRow("backspace inside a cell") << 2 << 1 << int(Qt::Key_Backspace) << "ABCDF" << "F" << 0;
}

void CellTypingTest::deletion()
{
    QFETCH(int, cell);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(QString, stored);
    QFETCH(QString, cellText);
    QFETCH(int, caretAfter);
    fx->load({{0, hexRecord(QStringLiteral("ABCDEF"))}});
    startIn(cell, caret);
    QTest::keyClick(fx->cell(cell), Qt::Key(key));

    QCOMPARE(fx->document.table[0].KeyData, stored);
    QCOMPARE(fx->cell(cell)->text(), cellText);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_%1").arg(cell));
    QCOMPARE(fx->cell(cell)->cursorPosition(), caretAfter);
    QCOMPARE(fx->cell(3)->isReadOnly(), stored.size() < 6);
}

// Data longer than its size, edited with the window past the size: the
// caret's byte lies left of the window and must stay in the same row.
void CellTypingTest::insertionLeftOfWindowStaysInRow_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("row 0") << 0;
    QTest::newRow("row 5") << 5;
}

void CellTypingTest::insertionLeftOfWindowStaysInRow()
{
    QFETCH(int, row);
    fx->load({{row, hexRecord(hexBytes(20), 2)}});
    fx->scrollTo(0, 10);
    QGuiApplication::clipboard()->setText(QStringLiteral("777"));
    startIn(row * 16 + 2, 2);
    fx->cell(row * 16 + 2)->cursorBackward(true, 1);
    QTest::keyClick(fx->cell(row * 16 + 2), Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(fx->document.table[row].KeyData, hexBytes(2));
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_%1").arg(row * 16));
    QCOMPARE(fx->grid->hScroll()->value(), 10);
}

void CellTypingTest::lockedCellTakesNothing()
{
    fx->load({{0, hexRecord(QStringLiteral("AB"))}});
    QCOMPARE(fx->cell(1)->isReadOnly(), false);
    QCOMPARE(fx->cell(2)->isReadOnly(), true);
    startIn(2, 0);
    QTest::keyClicks(fx->cell(2), QStringLiteral("12"));
    QCOMPARE(fx->document.table[0].KeyData, QStringLiteral("AB"));
    QCOMPARE(fx->state.Modified, false);
}

void CellTypingTest::asciiRow_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<qint16>("size");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("free text, no size") << "" << qint16(0) << "Key 1; ok?" << "Key 1; ok?";
    QTest::newRow("no room at the size") << "abc" << qint16(3) << "d" << "abc";
    QTest::newRow("room counted in bytes") << QString::fromUtf8("\xc3\xa9") << qint16(3) << "ab"
                                           << QString::fromUtf8("\xc3\xa9" "a");
}

void CellTypingTest::asciiRow()
{
    QFETCH(QString, before);
    QFETCH(qint16, size);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    fx->load({{1, asciiRecord(before, size)}});
    QCOMPARE(fx->cell(17)->isHidden(), true);
    startIn(16, int(before.size()));
    QTest::keyClicks(fx->cell(16), typed);

    QCOMPARE(fx->document.table[1].KeyData, stored);
    QCOMPARE(fx->cell(16)->text(), stored);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_data_16"));
    QCOMPARE(fx->cell(16)->cursorPosition(), int(stored.size()));
    QCOMPARE(fx->state.Modified, stored != before);
}

// While the grid is redrawn, the cells' change events store nothing.
void CellTypingTest::redrawStoresNothing()
{
    fx->load({{0, hexRecord(QStringLiteral("0011"))}, {1, asciiRecord(QStringLiteral("abc"))}});
    fx->document.table[0].KeyData = QStringLiteral("AABBCC");
    fx->document.table[1].KeyData = QStringLiteral("xyz");
    const RecordTable changed = fx->document.table;
    for (bool modified : {false, true}) {
        fx->state.Modified = modified;
        fx->titileSetCalls = 0;
        fx->grid->TableSet(0, 0);
        QVERIFY(fx->document.table == changed);
        QCOMPARE(fx->state.Modified, modified);
        QCOMPARE(fx->state.TableReady, true);
        QCOMPARE(fx->titileSetCalls, 0);
    }
    QCOMPARE(fx->cell(2)->text(), QStringLiteral("CC"));
    QCOMPARE(fx->cell(16)->text(), QStringLiteral("xyz"));
}

QTEST_MAIN(CellTypingTest)
#include "cell_typing_test.moc"
