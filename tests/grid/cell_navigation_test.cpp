// The navigation keys of the data cells: arrows, Backspace, Tab and
// Shift+Tab, inside a row, across rows and at every edge of the grid.
#include "grid_fixture.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr int kTitle = -1;   // the row's title field
constexpr int kTypeBox = -2; // the row's type box

struct Move {
    int asciiSlot;             // the one ASCII record, -1 for none
    int v, h;                  // the scroll bars before the key
    int from, caret, selected; // the cell, its caret and the characters selected left of it
    Qt::Key key;               // Backtab is pressed with Shift
    int to, toCaret;           // the focused cell (or kTitle, kTypeBox) and its caret, -1: not checked
    int vAfter, hAfter;
};

} // namespace

Q_DECLARE_METATYPE(Move)

class CellNavigationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GridFixture> fx;

private slots:
    void init() { fx = std::make_unique<GridFixture>(); QVERIFY(fx->start()); }
    void cleanup() { fx.reset(); }

    void keyMovesFocusCaretAndGrid_data()
    {
        QTest::addColumn<Move>("m");
        const auto row = [](const char* name, const Move& m) { QTest::newRow(name) << m; };
        // asciiSlot: the one ASCII record (-1 none); selectedBack: characters
        // selected leftwards from the caret; focusCaret -1: not checked.
        // Up and Down: the target row's type decides the column.
        row("up row 0 scrolls, HEX above", {-1, 5, 0, 3, 1, 0, Qt::Key_Up, 3, -1, 4, 0});
        row("up row 0 scrolls, ASCII above", {4, 5, 0, 3, 1, 0, Qt::Key_Up, 0, -1, 4, 0});
        row("up row 0 at the top", {-1, 0, 0, 3, 1, 0, Qt::Key_Up, 3, 1, 0, 0});
        row("up row 3, HEX above", {-1, 0, 0, 53, 1, 0, Qt::Key_Up, 37, -1, 0, 0});
        row("up row 3, ASCII above", {2, 0, 0, 53, 1, 0, Qt::Key_Up, 32, -1, 0, 0});
        row("down row 9 scrolls, HEX below", {-1, 5, 0, 151, 1, 0, Qt::Key_Down, 151, -1, 6, 0});
        row("down row 9 scrolls, ASCII below", {15, 5, 0, 151, 1, 0, Qt::Key_Down, 144, -1, 6, 0});
        row("down row 9 at the bottom", {-1, 246, 0, 151, 1, 0, Qt::Key_Down, 151, 1, 246, 0});
        row("down row 2, HEX below", {-1, 0, 0, 37, 1, 0, Qt::Key_Down, 53, -1, 0, 0});
        row("down row 2, ASCII below", {3, 0, 0, 37, 1, 0, Qt::Key_Down, 48, -1, 0, 0});
        // Left and Backspace move only from the start of a HEX cell without a
        // selection; a Backspace that moves deletes nothing.
        row("left to the previous cell", {-1, 0, 0, 37, 0, 0, Qt::Key_Left, 36, 2, 0, 0});
        row("left column 0 scrolls left", {-1, 0, 3, 32, 0, 0, Qt::Key_Left, 32, 2, 0, 2});
        row("left column 0 at offset 0", {-1, 0, 0, 32, 0, 0, Qt::Key_Left, 32, 0, 0, 0});
        row("backspace to the previous cell", {-1, 0, 0, 37, 0, 0, Qt::Key_Backspace, 36, 2, 0, 0});
        row("backspace column 0 scrolls left", {-1, 0, 3, 32, 0, 0, Qt::Key_Backspace, 32, 2, 0, 2});
        row("backspace column 0 at offset 0", {-1, 0, 0, 32, 0, 0, Qt::Key_Backspace, 32, 0, 0, 0});
        row("left inside a cell", {-1, 0, 0, 37, 1, 0, Qt::Key_Left, 37, 0, 0, 0});
        row("left at 0 with a selection stays", {-1, 0, 0, 37, 2, 2, Qt::Key_Left, 37, 0, 0, 0});
        row("left in an ASCII row", {2, 0, 0, 32, 3, 0, Qt::Key_Left, 32, 2, 0, 0});
        // Right moves only from the end of a HEX cell.
        row("right inside a cell", {-1, 0, 0, 37, 1, 0, Qt::Key_Right, 37, 2, 0, 0});
        row("right at the end", {-1, 0, 0, 37, 2, 0, Qt::Key_Right, 38, 0, 0, 0});
        row("right column 15 scrolls right", {-1, 0, 3, 47, 2, 0, Qt::Key_Right, 47, 0, 0, 4});
        row("right column 15 at offset 236", {-1, 0, 236, 47, 2, 0, Qt::Key_Right, 47, 2, 0, 236});
        row("right in an ASCII row", {2, 0, 0, 32, 1, 0, Qt::Key_Right, 32, 2, 0, 0});
        // Tab and Shift+Tab (Backtab) continue the row's Tab sequence.
        row("tab to the next cell", {-1, 0, 0, 37, 1, 0, Qt::Key_Tab, 38, -1, 0, 0});
        row("tab column 15 scrolls", {-1, 0, 3, 47, 1, 0, Qt::Key_Tab, 47, -1, 0, 4});
        row("tab column 15 at offset 236 to the title", {-1, 0, 236, 47, 1, 0, Qt::Key_Tab, kTitle, -1, 0, 236});
        row("tab in an ASCII row to the title", {2, 0, 0, 32, 1, 0, Qt::Key_Tab, kTitle, -1, 0, 0});
        row("shift+tab to the previous cell", {-1, 0, 0, 37, 1, 0, Qt::Key_Backtab, 36, -1, 0, 0});
        row("shift+tab column 0 scrolls", {-1, 0, 3, 32, 1, 0, Qt::Key_Backtab, 32, -1, 0, 2});
        row("shift+tab column 0 at offset 0 to the type", {-1, 0, 0, 32, 1, 0, Qt::Key_Backtab, kTypeBox, -1, 0, 0});
        row("shift+tab in an ASCII row to the type", {2, 0, 0, 32, 1, 0, Qt::Key_Backtab, kTypeBox, -1, 0, 0});
    }

    void keyMovesFocusCaretAndGrid()
    {
        QFETCH(Move, m);
        // Every record holds the largest data, so every cell shows two digits.
        for (int slot = 0; slot < kRecordCount; ++slot)
            fx->document.table[slot] = slot == m.asciiSlot ? asciiRecord(QStringLiteral("hello"))
                                                           : hexRecord(hexBytes(252, slot));
        fx->scrollTo(m.v, m.h);
        fx->load({});
        const RecordTable before = fx->document.table;
        fx->startIn(fx->cell(m.from), m.caret, m.selected);
        QCOMPARE(fx->grid->view().FocusDataIndex, m.from);

        fx->press(m.key, m.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);

        const int row = m.from / 16;
        const QString focus = m.to == kTitle     ? QStringLiteral("Text_title_%1").arg(row)
                              : m.to == kTypeBox ? QStringLiteral("Combo_type_%1").arg(row)
                                                 : QStringLiteral("Text_data_%1").arg(m.to);
        QCOMPARE(fx->focusName(), focus);
        if (m.toCaret >= 0)
            QCOMPARE(fx->focusCaret(), m.toCaret);
        // The index follows the focused data cell, is cleared by the title
        // and left alone by the type box.
        QCOMPARE(int(fx->grid->view().FocusDataIndex), m.to == kTitle ? -1 : m.to == kTypeBox ? m.from : m.to);
        QCOMPARE(fx->grid->vScroll()->value(), m.vAfter);
        QCOMPARE(fx->grid->hScroll()->value(), m.hAfter);
        QCOMPARE(fx->grid->layout().topSlot(), m.vAfter);
        QCOMPARE(fx->grid->layout().leftByte(), m.hAfter);
        // Navigation is never an edit, Backspace included.
        QVERIFY(fx->document.table == before);
        QCOMPARE(fx->state.Modified, false);
        QCOMPARE(fx->captionCalls, 0);
        // The grid shows the records the scroll bars say.
        QCOMPARE(fx->lineNo(0), QString::number(m.vAfter + 1));
        QCOMPARE(fx->dataIndex(0), twoDigitHex(m.hAfter));
    }
};

QTEST_MAIN(CellNavigationTest)
#include "cell_navigation_test.moc"
