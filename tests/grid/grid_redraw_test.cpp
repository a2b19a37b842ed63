// The grid as a view of the table: its layout, the redraw and its guard,
// which cells accept typing, the two row layouts, the write-back of every
// row and the vertical scroll bar.
#include "grid_fixture.h"

#include <QFontDatabase>

using namespace quorvane;
using namespace quorvane::test;

class GridRedrawTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GridFixture> fx;

private slots:
    void init() { fx = std::make_unique<GridFixture>(); QVERIFY(fx->start()); }
    void cleanup() { fx.reset(); }

    // Where each control goes is the layout's; the widgets stand there.
    void controlsStandWhereTheLayoutPutsThem()
    {
        const GridLayout& layout = fx->grid->layout();
        for (int r = 0; r < 10; ++r) {
            QCOMPARE(fx->control<QLabel>(QStringLiteral("Text_lineNo_%1").arg(r))->geometry(), layout.lineNumberRect(r));
            QCOMPARE(fx->address(r)->geometry(), layout.addressRect(r));
            QCOMPARE(fx->size(r)->geometry(), layout.sizeRect(r));
            QCOMPARE(fx->type(r)->geometry(), layout.typeRect(r));
            QCOMPARE(fx->title(r)->geometry(), layout.titleRect(r));
            for (int c = 0; c < 16; ++c)
                QCOMPARE(fx->cell(r * 16 + c)->geometry(), layout.cellRect(CellIndex::at(r, c)));
        }
        QCOMPARE(fx->cell(0)->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
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
        fx->load({{1, hexRecord(data, qint16(size))}});
        fx->scrollTo(0, h);
        QCOMPARE(fx->rowTexts(1, 4), firstCells);
        for (int c = 0; c < 16; ++c) {
            QLineEdit* cell = fx->cell(16 + c);
            QCOMPARE(cell->isReadOnly(), c >= openCells);
            // A cell that takes no input looks it: it takes the window's colour.
            QCOMPARE(cell->palette().color(QPalette::Base) == cell->palette().color(QPalette::Window),
                     c >= shadedFrom);
        }
        QCOMPARE(fx->dataIndex(15), twoDigitHex(h + 15));
    }

    void addressPerMode()
    {
        KeyRecord unset = wideAddressRecord();
        unset.KeyAddrSet = false;
        unset.KeySize = 1; // in use all the same
        fx->load({{7, wideAddressRecord()}, {8, unset}});
        QCOMPARE(fx->address(7)->text(), QStringLiteral("12345678"));
        QCOMPARE(fx->address(8)->text(), QString());
        fx->setMode(24);
        QCOMPARE(fx->address(7)->text(), QStringLiteral("345678"));
    }

    void recordNotInUseIsBlank()
    {
        KeyRecord full = hexRecord(hexBytes(16), 16);
        full.KeyTitle = QStringLiteral("x");
        fx->load({{0, full}});
        KeyRecord blank;
        blank.KeyAddrLow = 0x55; // halves without the address flag mean nothing
        fx->load({{0, blank}});
        QCOMPARE(fx->title(0)->text(), QString());
        QCOMPARE(fx->address(0)->text(), QString());
        QCOMPARE(fx->size(0)->text(), QString());
        QCOMPARE(fx->rowTexts(0), QStringList(QList<QString>(16)));
    }

    void asciiLayout()
    {
        const QRect hexFirst = fx->cell(0)->geometry();
        const QRect hexLast = fx->cell(15)->geometry();
        fx->load({{0, asciiRecord(QStringLiteral("text"))}});
        QCOMPARE(fx->cell(0)->geometry().left(), hexFirst.left());
        QCOMPARE(fx->cell(0)->geometry().right(), hexLast.right());
        QCOMPARE(fx->cell(0)->maxLength(), 252);
        QCOMPARE(fx->cell(0)->text(), QStringLiteral("text"));
        QCOMPARE(fx->type(0)->currentIndex(), 1);
        for (int c = 1; c < 16; ++c)
            QVERIFY(fx->cell(c)->isHidden());

        fx->load({{0, hexRecord(QStringLiteral("AB"))}});
        QCOMPARE(fx->cell(0)->geometry(), hexFirst);
        QCOMPARE(fx->cell(0)->maxLength(), 32767);
        for (int c = 1; c < 16; ++c)
            QVERIFY(!fx->cell(c)->isHidden());
        QCOMPARE(fx->cell(0)->text(), QStringLiteral("AB"));
    }

    // The wide cell's limit of 252 characters bounds typing; a longer text that
    // came from a file is shown and written back whole, not cut by the widget.
    void longAsciiTextIsShownWhole()
    {
        const QString text(300, QLatin1Char('k'));
        fx->load({{0, asciiRecord(text, 999)}});
        QCOMPARE(fx->cell(0)->text(), text);
        fx->grid->CommitGrid();
        QCOMPARE(fx->data(0), text);
    }

    // The rows shown are written back into the records they show; the rest
    // of the table is left alone.
    void commitWritesEveryRowBack()
    {
        fx->load({{0, hexRecord(hexBytes(40))}, {9, asciiRecord(QStringLiteral("abc"))},
                  {12, hexRecord(QStringLiteral("77"))}});
        fx->scrollTo(3, 0);
        fx->data(3) = QStringLiteral("FFFF");
        fx->data(9) = QStringLiteral("zzz");
        fx->data(12) = QStringLiteral("EE");
        fx->data(0) = QStringLiteral("12");
        fx->grid->CommitGrid();
        QCOMPARE(fx->data(3), QString());
        QCOMPARE(fx->data(9), QStringLiteral("abc"));
        QCOMPARE(fx->data(12), QStringLiteral("77"));
        QCOMPARE(fx->data(0), QStringLiteral("12"));
        QCOMPARE(fx->state.Modified, false);
    }

    // While the grid is redrawn, the fields' change events store nothing and
    // the modified flag keeps its value; a field whose text does not change
    // keeps its caret.
    void redrawStoresNothing()
    {
        KeyRecord rec = hexRecord(QStringLiteral("0011"), 12);
        rec.KeyTitle = QStringLiteral("one");
        rec.KeyAddrLow = 0x100;
        rec.KeyAddrSet = true;
        fx->load({{0, rec}, {1, asciiRecord(QStringLiteral("abc"))}, {2, hexRecord(QStringLiteral("2233"))}});
        fx->startIn(fx->cell(33), 1);
        KeyRecord& stored = fx->document.table[0];
        stored.KeyTitle = QStringLiteral("two");
        stored.KeySize = 99;
        stored.KeyAddrLow = 0x200;
        stored.KeyData = QStringLiteral("AABBCC");
        fx->data(1) = QStringLiteral("xyz");
        fx->document.table[3].KeyType = kTypeAscii;
        const RecordTable changed = fx->document.table;
        for (bool modified : {false, true}) {
            fx->state.Modified = modified;
            fx->grid->redraw();
            QVERIFY(fx->document.table == changed);
            QCOMPARE(fx->state.Modified, modified);
            QCOMPARE(fx->grid->view().TableReady, true);
            QCOMPARE(fx->captionCalls, 0);
            QCOMPARE(int(fx->grid->view().FocusDataIndex), 33);
        }
        QCOMPARE(fx->title(0)->text(), QStringLiteral("two"));
        QCOMPARE(fx->size(0)->text(), QStringLiteral("99"));
        QCOMPARE(fx->address(0)->text(), QStringLiteral("00000200"));
        QCOMPARE(fx->cell(2)->text(), QStringLiteral("CC"));
        QCOMPARE(fx->cell(16)->text(), QStringLiteral("xyz"));
        QCOMPARE(fx->type(3)->currentIndex(), 1);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_data_33"));
        QCOMPARE(fx->cell(33)->cursorPosition(), 1);
    }

    // Scrolling keeps the focus in its row's data; a record arriving as ASCII
    // takes it into the wide cell.
    void verticalScrollKeepsDataFocus()
    {
        fx->load({{3, asciiRecord(QStringLiteral("abc"))}});
        fx->startIn(fx->cell(37), 0);
        fx->grid->recordScroll()->setValue(1);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_data_32"));
        QCOMPARE(int(fx->grid->view().FocusDataIndex), 32);
        QCOMPARE(fx->lineNo(2), QStringLiteral("4"));
        QCOMPARE(fx->grid->layout().topSlot(), 1);
    }
};

QTEST_MAIN(GridRedrawTest)
#include "grid_redraw_test.moc"
