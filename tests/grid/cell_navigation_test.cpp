// The navigation keys of the data cells: arrows, Backspace, Tab and
// Shift+Tab, inside a row, across rows and at every edge of the grid.
#include "grid_fixture.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr int kTitle = -1;   // the row's title field
constexpr int kTypeBox = -2; // the row's type box

struct Move {
    int asciiSlot = -1; // the one ASCII record, -1 for none
    int v = 0;          // the scroll bars before the key
    int h = 0;
    int from = 0;       // the cell, its caret and the characters selected left of it
    int caret = 0;
    int selected = 0;
    Qt::Key key = Qt::Key_unknown; // Backtab is pressed with Shift
    int to = 0;                    // the focused cell (or kTitle, kTypeBox) and its caret
    int toCaret = -1;              // -1: not checked
    int vAfter = 0;
    int hAfter = 0;
};

} // namespace

Q_DECLARE_METATYPE(Move)

class CellNavigationTest : public GridTest {
    Q_OBJECT
private slots:
    void keyMovesFocusCaretAndGrid_data()
    {
        QTest::addColumn<Move>("m");
        const auto row = [](const char* name, const Move& m) { QTest::newRow(name) << m; };
        // Up and Down: the target row's type decides the column.
        row("up row 0 scrolls, HEX above", {.v = 5, .from = 3, .caret = 1, .key = Qt::Key_Up, .to = 3, .vAfter = 4});
        row("up row 0 scrolls, ASCII above",
            {.asciiSlot = 4, .v = 5, .from = 3, .caret = 1, .key = Qt::Key_Up, .to = 0, .vAfter = 4});
        row("up row 0 at the top", {.from = 3, .caret = 1, .key = Qt::Key_Up, .to = 3, .toCaret = 1});
        row("up row 3, HEX above", {.from = 53, .caret = 1, .key = Qt::Key_Up, .to = 37});
        row("up row 3, ASCII above", {.asciiSlot = 2, .from = 53, .caret = 1, .key = Qt::Key_Up, .to = 32});
        row("down row 9 scrolls, HEX below",
            {.v = 5, .from = 151, .caret = 1, .key = Qt::Key_Down, .to = 151, .vAfter = 6});
        row("down row 9 scrolls, ASCII below",
            {.asciiSlot = 15, .v = 5, .from = 151, .caret = 1, .key = Qt::Key_Down, .to = 144, .vAfter = 6});
        row("down row 9 at the bottom",
            {.v = 246, .from = 151, .caret = 1, .key = Qt::Key_Down, .to = 151, .toCaret = 1, .vAfter = 246});
        row("down row 2, HEX below", {.from = 37, .caret = 1, .key = Qt::Key_Down, .to = 53});
        row("down row 2, ASCII below", {.asciiSlot = 3, .from = 37, .caret = 1, .key = Qt::Key_Down, .to = 48});
        // Left and Backspace move only from the start of a HEX cell without a
        // selection; a Backspace that moves deletes nothing. Both take the
        // same path from there, which the Left rows follow.
        row("left to the previous cell", {.from = 37, .key = Qt::Key_Left, .to = 36, .toCaret = 2});
        row("left column 0 scrolls left",
            {.h = 3, .from = 32, .key = Qt::Key_Left, .to = 32, .toCaret = 2, .hAfter = 2});
        row("left column 0 at offset 0", {.from = 32, .key = Qt::Key_Left, .to = 32, .toCaret = 0});
        row("backspace to the previous cell", {.from = 37, .key = Qt::Key_Backspace, .to = 36, .toCaret = 2});
        row("left inside a cell", {.from = 37, .caret = 1, .key = Qt::Key_Left, .to = 37, .toCaret = 0});
        row("left at 0 with a selection stays",
            {.from = 37, .caret = 2, .selected = 2, .key = Qt::Key_Left, .to = 37, .toCaret = 0});
        row("left at the start of an ASCII row does not scroll",
            {.asciiSlot = 2, .h = 3, .from = 32, .key = Qt::Key_Left, .to = 32, .toCaret = 0, .hAfter = 3});
        // Right moves only from the end of a HEX cell.
        row("right inside a cell", {.from = 37, .caret = 1, .key = Qt::Key_Right, .to = 37, .toCaret = 2});
        row("right at the end", {.from = 37, .caret = 2, .key = Qt::Key_Right, .to = 38, .toCaret = 0});
        row("right column 15 scrolls right",
            {.h = 3, .from = 47, .caret = 2, .key = Qt::Key_Right, .to = 47, .toCaret = 0, .hAfter = 4});
        row("right column 15 at offset 236",
            {.h = 236, .from = 47, .caret = 2, .key = Qt::Key_Right, .to = 47, .toCaret = 2, .hAfter = 236});
        row("right in an ASCII row",
            {.asciiSlot = 2, .from = 32, .caret = 1, .key = Qt::Key_Right, .to = 32, .toCaret = 2});
        // Tab and Shift+Tab (Backtab) continue the row's Tab sequence.
        row("tab to the next cell", {.from = 37, .caret = 1, .key = Qt::Key_Tab, .to = 38});
        row("tab column 15 scrolls", {.h = 3, .from = 47, .caret = 1, .key = Qt::Key_Tab, .to = 47, .hAfter = 4});
        row("tab column 15 at offset 236 to the title",
            {.h = 236, .from = 47, .caret = 1, .key = Qt::Key_Tab, .to = kTitle, .hAfter = 236});
        row("tab in an ASCII row to the title",
            {.asciiSlot = 2, .from = 32, .caret = 1, .key = Qt::Key_Tab, .to = kTitle});
        row("shift+tab to the previous cell", {.from = 37, .caret = 1, .key = Qt::Key_Backtab, .to = 36});
        row("shift+tab column 0 scrolls",
            {.h = 3, .from = 32, .caret = 1, .key = Qt::Key_Backtab, .to = 32, .hAfter = 2});
        row("shift+tab column 0 at offset 0 to the type",
            {.from = 32, .caret = 1, .key = Qt::Key_Backtab, .to = kTypeBox});
        row("shift+tab in an ASCII row to the type",
            {.asciiSlot = 2, .from = 32, .caret = 1, .key = Qt::Key_Backtab, .to = kTypeBox});
    }

    void keyMovesFocusCaretAndGrid()
    {
        QFETCH(Move, m);
        // Every record holds the largest data, so every cell shows two digits.
        for (int slot = 0; slot < kRecordCount; ++slot)
            document.table[slot] = slot == m.asciiSlot ? asciiRecord(QStringLiteral("hello"))
                                                           : hexRecord(hexBytes(252, slot));
        scrollTo(m.v, m.h);
        load({});
        const RecordTable before = document.table;
        startIn(cell(m.from), m.caret, m.selected);
        QCOMPARE(grid->view().FocusDataIndex, m.from);

        press(m.key, m.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);

        const int row = m.from / 16;
        const QString focus = m.to == kTitle     ? QStringLiteral("Text_title_%1").arg(row)
                              : m.to == kTypeBox ? QStringLiteral("Combo_type_%1").arg(row)
                                                 : QStringLiteral("Text_data_%1").arg(m.to);
        QCOMPARE(focusName(), focus);
        if (m.toCaret >= 0)
            QCOMPARE(focusCaret(), m.toCaret);
        // The index follows the focused data cell, is cleared by the title
        // and left alone by the type box.
        QCOMPARE(int(grid->view().FocusDataIndex), m.to == kTitle ? -1 : m.to == kTypeBox ? m.from : m.to);
        QCOMPARE(grid->recordScroll()->value(), m.vAfter);
        QCOMPARE(grid->byteScroll()->value(), m.hAfter);
        QCOMPARE(grid->layout().topSlot(), m.vAfter);
        QCOMPARE(grid->layout().leftByte(), m.hAfter);
        // Navigation is never an edit, Backspace included.
        QVERIFY(document.table == before);
        QCOMPARE(state.Modified, false);
        QCOMPARE(captionCalls, 0);
        // The grid shows the records the scroll bars say.
        QCOMPARE(lineNo(0), QString::number(m.vAfter + 1));
        QCOMPARE(dataIndex(0), twoDigitHex(m.hAfter));
    }
};

QTEST_MAIN(CellNavigationTest)
#include "cell_navigation_test.moc"
