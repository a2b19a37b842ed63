// Cost of one accepted keystroke in a data cell (key event to redrawn grid)
// and of a full redraw alone, on the offscreen platform.
#include "core/document.h"
#include "core/editor_state.h"
#include "core/hex_text.h"
#include "grid/grid_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace quorvane;

// A grid over a table whose ten visible records hold data, as after
// start-up and a file open.
struct BenchGrid {
    Document document;
    EditorState state;
    std::unique_ptr<GridView> grid;

    BenchGrid()
    {
        grid = std::make_unique<GridView>(document, state, [] {});
        grid->prepareRows();
        grid->clearDataMaxLengths();
        for (int slot = 0; slot < 10; ++slot) {
            KeyRecord& rec = document.table[slot];
            rec.KeyTitle = QStringLiteral("Key %1").arg(slot);
            rec.KeyAddrSet = true;
            rec.KeyAddrLow = qint16(slot * 0x100);
            if (slot == 4) {
                rec.KeyType = kTypeAscii;
                rec.KeyData = QStringLiteral("serial number 0042");
            } else {
                for (int b = 0; b < 40; ++b)
                    rec.KeyData += twoDigitHex(b + slot);
            }
        }
        grid->resetView();
        state.Modified = false;
        grid->show();
        grid->activateWindow();
        if (!QTest::qWaitForWindowActive(grid.get()))
            qWarning("grid window not active; focus-dependent figures are off");
    }

    QLineEdit* cell(int index) const { return grid->findChild<QLineEdit*>(QStringLiteral("Text_data_%1").arg(index)); }
};

// Replaces the first digit of a full cell: the change is written back, the
// grid redrawn and the caret placed, every iteration alike.
void BM_AcceptedKeystroke(benchmark::State& st)
{
    BenchGrid b;
    QLineEdit* cell = b.cell(37);
    cell->setFocus();
    const Qt::Key keys[] = {Qt::Key_A, Qt::Key_B};
    int k = 0;
    for (auto _ : st) {
        cell->setFocus();
        cell->setSelection(0, 1);
        QTest::keyClick(cell, keys[k ^= 1]);
    }
    if (!b.state.Modified)
        st.SkipWithError("the keystroke was not accepted");
}
BENCHMARK(BM_AcceptedKeystroke)->Unit(benchmark::kMicrosecond);

// The dearest kind of keystroke: a digit inserted into a full cell shifts
// the rest of the row, so all sixteen cells are rewritten and the caret
// moves to the next cell; Backspace there returns to the cell's end (a
// move) and a second Backspace shifts the row back. Each iteration is three
// keystrokes, two of them rewriting the whole row.
void BM_InsertAndDeleteKeystrokes(benchmark::State& st)
{
    BenchGrid b;
    QLineEdit* cell = b.cell(37);
    for (auto _ : st) {
        cell->setFocus();
        cell->setCursorPosition(1);
        QTest::keyClick(cell, Qt::Key_5);          // "A5B": caret to cell 38, position 0
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace); // at 0: back to cell 37's end
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace); // removes the 5
    }
    if (b.document.table[2].KeyData.size() != 80)
        st.SkipWithError("the row did not come back to its data");
}
BENCHMARK(BM_InsertAndDeleteKeystrokes)->Unit(benchmark::kMicrosecond);

// A redraw that changes nothing, and a one-byte scroll, which redraws every
// row and the column headers.
void BM_Redraw(benchmark::State& st)
{
    BenchGrid b;
    const bool scrolling = st.range(0) != 0;
    int leftByte = 0;
    for (auto _ : st) {
        if (scrolling)
            b.grid->byteScroll()->setValue(leftByte ^= 1);
        else
            b.grid->redraw();
    }
}
BENCHMARK(BM_Redraw)->Arg(0)->Arg(1)->ArgNames({"scroll"})->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
