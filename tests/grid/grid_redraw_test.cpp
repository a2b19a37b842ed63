// The grid as a view of the table: its layout, the redraw and its guard,
// which cells accept typing, the two row layouts and the write-back of
// every row.
#include "grid_fixture.h"

#include <QFontDatabase>

using namespace quorvane;
using namespace quorvane::test;

class GridRedrawTest : public GridTest {
    Q_OBJECT
private slots:
    // Where each control goes is the layout's; the widgets stand there.
    void controlsStandWhereTheLayoutPutsThem()
    {
        const GridLayout& layout = grid->layout();
        for (int r = 0; r < 10; ++r) {
            QCOMPARE(control<QLabel>(QStringLiteral("Text_lineNo_%1").arg(r))->geometry(), layout.lineNumberRect(r));
            QCOMPARE(address(r)->geometry(), layout.addressRect(r));
            QCOMPARE(size(r)->geometry(), layout.sizeRect(r));
            QCOMPARE(type(r)->geometry(), layout.typeRect(r));
            QCOMPARE(title(r)->geometry(), layout.titleRect(r));
            for (int c = 0; c < 16; ++c)
                QCOMPARE(cell(r * 16 + c)->geometry(), layout.cellRect(CellIndex::at(r, c)));
        }
        QCOMPARE(cell(0)->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    }

    void hexWindow_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("h");
        QTest::addColumn<QStringList>("firstCells");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("openCells"); // cells 0..openCells-1 accept typing
        QTest::addColumn<int>("shadedFrom"); // cells from here on look locked
        // The cells' own rules are grid_rules_test's; these rows check that
        // each cell shows and opens the byte of its column at the offset.
        QTest::newRow("odd data at offset 1") << "0A1B2" << 1 << QStringList{"1B", "2", "", ""} << 0 << 2 << 2;
        QTest::newRow("full window") << hexBytes(40) << 20 << QStringList{"14", "15", "16", "17"} << 0 << 16 << 16;
        QTest::newRow("size reached: the next cell is open but shaded")
            << hexBytes(3) << 0 << QStringList{"00", "01", "02", ""} << 3 << 4 << 3;
    }

    void hexWindow()
    {
        QFETCH(QString, data);
        QFETCH(int, h);
        QFETCH(QStringList, firstCells);
        QFETCH(int, size);
        QFETCH(int, openCells);
        QFETCH(int, shadedFrom);
        load({{1, hexRecord(data, qint16(size))}});
        scrollTo(0, h);
        QCOMPARE(rowTexts(1, 4), firstCells);
        for (int c = 0; c < 16; ++c) {
            QLineEdit* shown = cell(16 + c);
            QCOMPARE(shown->isReadOnly(), c >= openCells);
            // A cell that takes no input looks it: it takes the window's colour.
            QCOMPARE(shown->palette().color(QPalette::Base) == shown->palette().color(QPalette::Window),
                     c >= shadedFrom);
        }
        QCOMPARE(dataIndex(15), twoDigitHex(h + 15));
    }

    // A record not in use shows nothing, an address not set shows no digits.
    void recordNotInUseIsBlank()
    {
        load({{0, titled(hexRecord(hexBytes(16), 16), QStringLiteral("x"))}});
        KeyRecord blank;
        blank.KeyAddrLow = 0x55; // halves without the address flag mean nothing
        const KeyRecord unset{{}, 0x1234, 0x5678, 1, kTypeHex, {}, false}; // in use all the same
        load({{0, blank}, {1, unset}});
        QCOMPARE(address(1)->text(), QString());
        QCOMPARE(title(0)->text(), QString());
        QCOMPARE(address(0)->text(), QString());
        QCOMPARE(size(0)->text(), QString());
        QCOMPARE(rowTexts(0), QStringList(QList<QString>(16)));
    }

    void asciiLayout()
    {
        const QRect hexFirst = cell(0)->geometry();
        const QRect hexLast = cell(15)->geometry();
        load({{0, asciiRecord(QStringLiteral("text"))}});
        QCOMPARE(cell(0)->geometry().left(), hexFirst.left());
        QCOMPARE(cell(0)->geometry().right(), hexLast.right());
        QCOMPARE(cell(0)->maxLength(), 252);
        QCOMPARE(cell(0)->text(), QStringLiteral("text"));
        QCOMPARE(type(0)->currentIndex(), 1);
        for (int c = 1; c < 16; ++c)
            QVERIFY(cell(c)->isHidden());

        load({{0, hexRecord(QStringLiteral("AB"))}});
        QCOMPARE(cell(0)->geometry(), hexFirst);
        QCOMPARE(cell(0)->maxLength(), 32767);
        for (int c = 1; c < 16; ++c)
            QVERIFY(!cell(c)->isHidden());
        QCOMPARE(cell(0)->text(), QStringLiteral("AB"));
    }

    // The wide cell's limit of 252 characters bounds typing; a longer text that
    // came from a file is shown and written back whole, not cut by the widget.
    void longAsciiTextIsShownWhole()
    {
        const QString text(300, QLatin1Char('k'));
        load({{0, asciiRecord(text, 999)}});
        QCOMPARE(cell(0)->text(), text);
        grid->CommitGrid();
        QCOMPARE(data(0), text);
    }

    // The rows shown are written back into the records they show; the rest
    // of the table is left alone.
    void commitWritesEveryRowBack()
    {
        load({{0, hexRecord(hexBytes(40))}, {9, asciiRecord(QStringLiteral("abc"))},
                  {12, hexRecord(QStringLiteral("77"))}});
        scrollTo(3, 0);
        data(3) = QStringLiteral("FFFF");
        data(9) = QStringLiteral("zzz");
        data(12) = QStringLiteral("EE");
        data(0) = QStringLiteral("12");
        grid->CommitGrid();
        QCOMPARE(data(3), QString());
        QCOMPARE(data(9), QStringLiteral("abc"));
        QCOMPARE(data(12), QStringLiteral("77"));
        QCOMPARE(data(0), QStringLiteral("12"));
        QCOMPARE(state.Modified, false);
    }

    // While the grid is redrawn, the fields' change events store nothing and
    // the modified flag keeps its value; a field whose text does not change
    // keeps its caret.
    void redrawStoresNothing()
    {
        load({{0, titled(addressed(hexRecord(QStringLiteral("0011"), 12), 0x100), QStringLiteral("one"))},
              {1, asciiRecord(QStringLiteral("abc"))}, {2, hexRecord(QStringLiteral("2233"))}});
        startIn(cell(33), 1);
        KeyRecord& stored = document.table[0];
        stored.KeyTitle = QStringLiteral("two");
        stored.KeySize = 99;
        stored.KeyAddrLow = 0x200;
        stored.KeyData = QStringLiteral("AABBCC");
        data(1) = QStringLiteral("xyz");
        document.table[3].KeyType = kTypeAscii;
        const RecordTable changed = document.table;
        for (bool modified : {false, true}) {
            state.Modified = modified;
            grid->redraw();
            QVERIFY(document.table == changed);
            QCOMPARE(state.Modified, modified);
            QCOMPARE(grid->view().TableReady, true);
            QCOMPARE(captionCalls, 0);
            QCOMPARE(int(grid->view().FocusDataIndex), 33);
        }
        QCOMPARE(title(0)->text(), QStringLiteral("two"));
        QCOMPARE(size(0)->text(), QStringLiteral("99"));
        QCOMPARE(address(0)->text(), QStringLiteral("00000200"));
        QCOMPARE(cell(2)->text(), QStringLiteral("CC"));
        QCOMPARE(cell(16)->text(), QStringLiteral("xyz"));
        QCOMPARE(type(3)->currentIndex(), 1);
        QCOMPARE(focusName(), QStringLiteral("Text_data_33"));
        QCOMPARE(cell(33)->cursorPosition(), 1);
    }
};

QTEST_MAIN(GridRedrawTest)
#include "grid_redraw_test.moc"
