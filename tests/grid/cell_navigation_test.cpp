// The navigation keys of the data cells: arrows, Backspace, Tab and
// Shift+Tab, inside a row, across rows and at every edge of the grid.
#include "grid_fixture.h"

using namespace quorvane;
using namespace quorvane::test;

class CellNavigationTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { fx.reset(); }

    void keyMovesFocusCaretAndGrid_data();
    void keyMovesFocusCaretAndGrid();

private:
    std::unique_ptr<GridFixture> fx;
};

void CellNavigationTest::init()
{
    fx = std::make_unique<GridFixture>();
    QVERIFY(fx->start());
}

void CellNavigationTest::keyMovesFocusCaretAndGrid_data()
{
    QTest::addColumn<QList<int>>("asciiSlots");
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selectedBack"); // characters selected leftwards from the caret
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("focusCaret"); // -1: not checked
    QTest::addColumn<int>("focusDataIndex");
    QTest::addColumn<int>("vAfter");
    QTest::addColumn<int>("hAfter");

    const QList<int> hex;
    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

    // Up and Down: the target row's type decides the column.
    row("up row 0 scrolls, record above HEX") << hex << 5 << 0 << 3 << 1 << 0 << int(Qt::Key_Up) << none
        << "Text_data_3" << -1 << 3 << 4 << 0;
    row("up row 0 scrolls, record above ASCII") << QList<int>{4} << 5 << 0 << 3 << 1 << 0 << int(Qt::Key_Up)
        << none << "Text_data_0" << -1 << 0 << 4 << 0;
    row("up row 0 at the top") << hex << 0 << 0 << 3 << 1 << 0 << int(Qt::Key_Up) << none
        << "Text_data_3" << 1 << 3 << 0 << 0;
    row("up row 3, HEX above") << hex << 0 << 0 << 53 << 1 << 0 << int(Qt::Key_Up) << none
        << "Text_data_37" << -1 << 37 << 0 << 0;
    row("up row 3, ASCII above") << QList<int>{2} << 0 << 0 << 53 << 1 << 0 << int(Qt::Key_Up) << none
        << "Text_data_32" << -1 << 32 << 0 << 0;
    row("down row 9 scrolls, record below HEX") << hex << 5 << 0 << 151 << 1 << 0 << int(Qt::Key_Down) << none
        << "Text_data_151" << -1 << 151 << 6 << 0;
    row("down row 9 scrolls, record below ASCII") << QList<int>{15} << 5 << 0 << 151 << 1 << 0
        << int(Qt::Key_Down) << none << "Text_data_144" << -1 << 144 << 6 << 0;
    row("down row 9 at the bottom") << hex << 246 << 0 << 151 << 1 << 0 << int(Qt::Key_Down) << none
        << "Text_data_151" << 1 << 151 << 246 << 0;
    row("down row 2, HEX below") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Down) << none
        << "Text_data_53" << -1 << 53 << 0 << 0;
    row("down row 2, ASCII below") << QList<int>{3} << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Down) << none
        << "Text_data_48" << -1 << 48 << 0 << 0;
    row("shift+down acts as down") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Down) << shift
        << "Text_data_53" << -1 << 53 << 0 << 0;

    // Left and Backspace: only at the start of a HEX cell without selection;
    // Backspace that moves deletes nothing.
    for (int key : {int(Qt::Key_Left), int(Qt::Key_Backspace)}) {
        const QByteArray k = key == Qt::Key_Left ? "left" : "backspace";
        QTest::newRow(k + " to the previous cell") << hex << 0 << 0 << 37 << 0 << 0 << key << none
            << "Text_data_36" << 2 << 36 << 0 << 0;
        QTest::newRow(k + " column 0 scrolls left") << hex << 0 << 3 << 32 << 0 << 0 << key << none
            << "Text_data_32" << 2 << 32 << 0 << 2;
        QTest::newRow(k + " column 0 at offset 0") << hex << 0 << 0 << 32 << 0 << 0 << key << none
            << "Text_data_32" << 0 << 32 << 0 << 0;
    }
    row("left inside a cell") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Left) << none
        << "Text_data_37" << 0 << 37 << 0 << 0;
    row("left at 0 with a selection stays") << hex << 0 << 0 << 37 << 0 << 2 << int(Qt::Key_Left) << none
        << "Text_data_37" << 0 << 37 << 0 << 0;
    row("left in an ASCII row") << QList<int>{2} << 0 << 0 << 32 << 3 << 0 << int(Qt::Key_Left) << none
        << "Text_data_32" << 2 << 32 << 0 << 0;
    row("shift+left at 0 acts as left") << hex << 0 << 0 << 37 << 0 << 0 << int(Qt::Key_Left) << shift
        << "Text_data_36" << -1 << 36 << 0 << 0;

    // Right: only at the end of a HEX cell.
    row("right inside a cell") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Right) << none
        << "Text_data_37" << 2 << 37 << 0 << 0;
    row("right at the end") << hex << 0 << 0 << 37 << 2 << 0 << int(Qt::Key_Right) << none
        << "Text_data_38" << 0 << 38 << 0 << 0;
    row("right column 15 scrolls right") << hex << 0 << 3 << 47 << 2 << 0 << int(Qt::Key_Right) << none
        << "Text_data_47" << 0 << 47 << 0 << 4;
    row("right column 15 at offset 236") << hex << 0 << 236 << 47 << 2 << 0 << int(Qt::Key_Right) << none
        << "Text_data_47" << 2 << 47 << 0 << 236;
    row("right in an ASCII row") << QList<int>{2} << 0 << 0 << 32 << 1 << 0 << int(Qt::Key_Right) << none
        << "Text_data_32" << 2 << 32 << 0 << 0;

    // Tab and Shift+Tab continue the row's Tab sequence.
    row("tab to the next cell") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Tab) << none
        << "Text_data_38" << -1 << 38 << 0 << 0;
    row("tab column 15 scrolls") << hex << 0 << 3 << 47 << 1 << 0 << int(Qt::Key_Tab) << none
        << "Text_data_47" << -1 << 47 << 0 << 4;
    row("tab column 15 at offset 236 to the title") << hex << 0 << 236 << 47 << 1 << 0 << int(Qt::Key_Tab)
        << none << "Text_title_2" << -1 << -1 << 0 << 236;
    row("shift+tab to the previous cell") << hex << 0 << 0 << 37 << 1 << 0 << int(Qt::Key_Backtab) << shift
        << "Text_data_36" << -1 << 36 << 0 << 0;
    row("shift+tab column 0 scrolls") << hex << 0 << 3 << 32 << 1 << 0 << int(Qt::Key_Tab) << shift
        << "Text_data_32" << -1 << 32 << 0 << 2;
    row("shift+tab column 0 at offset 0 to the type box") << hex << 0 << 0 << 32 << 1 << 0 << int(Qt::Key_Tab)
        << shift << "Combo_type_2" << -1 << 32 << 0 << 0;
    row("tab in an ASCII row to the title") << QList<int>{2} << 0 << 0 << 32 << 1 << 0 << int(Qt::Key_Tab)
        << none << "Text_title_2" << -1 << -1 << 0 << 0;
    row("shift+tab in an ASCII row to the type box") << QList<int>{2} << 0 << 0 << 32 << 1 << 0
        << int(Qt::Key_Backtab) << shift << "Combo_type_2" << -1 << 32 << 0 << 0;
}

void CellNavigationTest::keyMovesFocusCaretAndGrid()
{
    QFETCH(QList<int>, asciiSlots);
    QFETCH(int, v);
    QFETCH(int, h);
    QFETCH(int, from);
    QFETCH(int, caret);
    QFETCH(int, selectedBack);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    QFETCH(int, focusCaret);
    QFETCH(int, focusDataIndex);
    QFETCH(int, vAfter);
    QFETCH(int, hAfter);

    // Every record holds the largest data, so every cell shows two digits.
    for (int slot = 0; slot < kRecordCount; ++slot)
        fx->document.table[slot] = asciiSlots.contains(slot) ? asciiRecord(QStringLiteral("hello"))
                                                             : hexRecord(hexBytes(252, slot));
    fx->scrollTo(v, h);
    fx->load({});
    const RecordTable before = fx->document.table;

    fx->focusCell(from, caret + selectedBack);
    if (selectedBack > 0)
        fx->cell(from)->cursorBackward(true, selectedBack);
    QCOMPARE(fx->state.FocusDataIndex, from);
    fx->titileSetCalls = 0; // leaving the start-up focus field refreshes the caption

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(fx->focusName(), focus);
    if (focusCaret >= 0)
        QCOMPARE(static_cast<QLineEdit*>(QApplication::focusWidget())->cursorPosition(), focusCaret);
    QCOMPARE(int(fx->state.FocusDataIndex), focusDataIndex);
    QCOMPARE(fx->grid->vScroll()->value(), vAfter);
    QCOMPARE(fx->grid->hScroll()->value(), hAfter);
    QCOMPARE(int(fx->state.CurVoffset), vAfter);
    QCOMPARE(int(fx->state.CurHOffset), hAfter);
    // Navigation is never an edit, Backspace included.
    QVERIFY(fx->document.table == before);
    QCOMPARE(fx->state.Modified, false);
    QCOMPARE(fx->titileSetCalls, 0);
    // The grid shows the records the scroll bars say.
    QCOMPARE(fx->label(QStringLiteral("Text_lineNo_0"))->text(), QString::number(vAfter + 1));
    QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_0"))->text(), twoDigitHex(hAfter));
}

QTEST_MAIN(CellNavigationTest)
#include "cell_navigation_test.moc"
