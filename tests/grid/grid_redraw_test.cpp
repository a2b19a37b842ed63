// The grid as a view of the table: its controls, the redraw, the column
// headers, which cells accept typing, the two row layouts, the write-back
// of every row and the scroll bars.
#include "grid_fixture.h"

#include <QFontDatabase>

using namespace quorvane;
using namespace quorvane::test;

class GridRedrawTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { fx.reset(); }

    void controlsLeftToRight();
    void headingsAndRanges();
    void hexWindow_data();
    void hexWindow();
    void lineNumbersAtTheBottom();
    void addressPerMode_data();
    void addressPerMode();
    void recordsNotInUse_data();
    void recordsNotInUse();
    void asciiLayout();
    void longAsciiTextIsShownWhole();
    void commitWritesEveryRowBack();
    void verticalScrollKeepsDataFocus_data();
    void verticalScrollKeepsDataFocus();

private:
    std::unique_ptr<GridFixture> fx;
};

void GridRedrawTest::init()
{
    fx = std::make_unique<GridFixture>();
    QVERIFY(fx->start());
}

void GridRedrawTest::controlsLeftToRight()
{
    for (int r = 0; r < 10; ++r) {
        QList<QWidget*> row{fx->label(QStringLiteral("Text_lineNo_%1").arg(r)), fx->address(r), fx->size(r),
                            fx->type(r)};
        for (int c = 0; c < 16; ++c)
            row << fx->cell(r * 16 + c);
        row << fx->title(r);
        for (qsizetype k = 1; k < row.size(); ++k) {
            QVERIFY2(row[k - 1]->geometry().right() < row[k]->geometry().left(), qPrintable(row[k]->objectName()));
            QCOMPARE(row[k]->geometry().top(), row[0]->geometry().top());
        }
        if (r > 0)
            QVERIFY(fx->cell(r * 16)->y() > fx->cell(r * 16 - 16)->geometry().bottom());
    }
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QCOMPARE(fx->cell(0)->font().family(), fixed);
    QCOMPARE(fx->address(0)->font().family(), fixed);
    QCOMPARE(fx->type(0)->font().family(), fixed);
}

void GridRedrawTest::headingsAndRanges()
{
    const QStringList headings{"Title", "Address", "Size", "Type", "Data"};
    for (int k = 0; k < headings.size(); ++k)
        QCOMPARE(fx->label(QStringLiteral("Label3_%1").arg(k))->text(), headings[k]);
    QCOMPARE(fx->grid->vScroll()->objectName(), QStringLiteral("VScroll1"));
    QCOMPARE(fx->grid->hScroll()->objectName(), QStringLiteral("HScroll1"));
    QCOMPARE(fx->grid->vScroll()->maximum(), 246);
    QCOMPARE(fx->grid->hScroll()->maximum(), 236);
    QCOMPARE(fx->type(0)->count(), 2);
    QCOMPARE(fx->type(0)->itemText(0), QStringLiteral("HEX"));
    QCOMPARE(fx->type(0)->itemText(1), QStringLiteral("ASCII"));
    for (int h : {0, 1, 236}) {
        fx->grid->hScroll()->setValue(h);
        QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_0"))->text(), twoDigitHex(h));
        QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_15"))->text(), twoDigitHex(h + 15));
    }
    QCOMPARE(fx->label(QStringLiteral("Label_DataIndex_15"))->text(), QStringLiteral("FB"));
}

void GridRedrawTest::hexWindow_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("h");
    QTest::addColumn<QStringList>("firstCells");
    QTest::addColumn<int>("openCells"); // cells 0..openCells-1 accept typing
    QTest::newRow("odd data at offset 0") << "0A1B2" << 0 << QStringList{"0A", "1B", "2", ""} << 3;
    QTest::newRow("odd data at offset 1") << "0A1B2" << 1 << QStringList{"1B", "2", "", ""} << 2;
    QTest::newRow("empty at offset 0") << "" << 0 << QStringList{"", "", "", ""} << 1;
    QTest::newRow("empty at offset 1") << "" << 1 << QStringList{"", "", "", ""} << 0;
    QTest::newRow("full window") << hexBytes(40) << 20 << QStringList{"14", "15", "16", "17"} << 16;
}

void GridRedrawTest::hexWindow()
{
    QFETCH(QString, data);
    QFETCH(int, h);
    QFETCH(QStringList, firstCells);
    QFETCH(int, openCells);
    KeyRecord rec = hexRecord(data);
    rec.KeyTitle = QStringLiteral("in use");
    fx->load({{1, rec}});
    fx->scrollTo(0, h);
    QCOMPARE(fx->rowTexts(1).mid(0, 4), firstCells);
    for (int c = 0; c < 16; ++c)
        QCOMPARE(fx->cell(16 + c)->isReadOnly(), c >= openCells);
}

void GridRedrawTest::lineNumbersAtTheBottom()
{
    fx->scrollTo(246, 0);
    for (int r = 0; r < 10; ++r)
        QCOMPARE(fx->label(QStringLiteral("Text_lineNo_%1").arg(r))->text(), QString::number(247 + r));
    QCOMPARE(int(fx->state.CurVoffset), 246);
}

void GridRedrawTest::addressPerMode_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("high");
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("shown");
    QTest::newRow("32-bit") << 32 << 0x0012 << true << "00120034";
    QTest::newRow("24-bit") << 24 << 0x0012 << true << "120034";
    QTest::newRow("16-bit") << 16 << 0x0012 << true << "0034";
    QTest::newRow("24-bit drops the high byte") << 24 << 0x1234 << true << "340034";
    QTest::newRow("32-bit negative halves") << 32 << 0xFFFF << true << "FFFF0034";
    QTest::newRow("address not set") << 32 << 0x0012 << false << "";
}

void GridRedrawTest::addressPerMode()
{
    QFETCH(int, bits);
    QFETCH(int, high);
    QFETCH(bool, set);
    QFETCH(QString, shown);
    KeyRecord rec;
    rec.KeyTitle = QStringLiteral("t");
    rec.KeyAddrHigh = qint16(high);
    rec.KeyAddrLow = 0x0034;
    rec.KeyAddrSet = set;
    fx->load({{7, rec}});
    fx->setMode(bits);
    QCOMPARE(fx->address(7)->text(), shown);
    QCOMPARE(fx->address(7)->maxLength(), bits / 4);
}

void GridRedrawTest::recordsNotInUse_data()
{
    QTest::addColumn<qint16>("type");
    QTest::newRow("HEX") << qint16(kTypeHex);
    QTest::newRow("ASCII") << qint16(kTypeAscii);
}

void GridRedrawTest::recordsNotInUse()
{
    QFETCH(qint16, type);
    KeyRecord full = hexRecord(hexBytes(16), 16);
    full.KeyTitle = QStringLiteral("x");
    fx->load({{0, full}});
    KeyRecord blank;
    blank.KeyType = type;
    blank.KeyAddrLow = 0x55; // halves without the address flag mean nothing
    fx->load({{0, blank}});
    QCOMPARE(fx->title(0)->text(), QString());
    QCOMPARE(fx->address(0)->text(), QString());
    QCOMPARE(fx->size(0)->text(), QString());
    QCOMPARE(fx->rowTexts(0), QStringList(QList<QString>(16)));
    QCOMPARE(fx->type(0)->currentIndex(), int(type));
}

void GridRedrawTest::asciiLayout()
{
    const QRect hexFirst = fx->cell(0)->geometry();
    const QRect hexLast = fx->cell(15)->geometry();
    fx->load({{0, asciiRecord(QStringLiteral("text"))}});
    QCOMPARE(fx->cell(0)->geometry().left(), hexFirst.left());
    QCOMPARE(fx->cell(0)->geometry().right(), hexLast.right());
    QCOMPARE(fx->cell(0)->maxLength(), 252);
    QCOMPARE(fx->cell(0)->text(), QStringLiteral("text"));
    for (int c = 1; c < 16; ++c)
        QVERIFY(fx->cell(c)->isHidden());
    QCOMPARE(fx->cell(0)->isReadOnly(), false);

    fx->load({{0, hexRecord(QStringLiteral("AB"))}});
    QCOMPARE(fx->cell(0)->geometry(), hexFirst);
    QCOMPARE(fx->cell(0)->maxLength(), 32767);
    for (int c = 1; c < 16; ++c)
        QVERIFY(!fx->cell(c)->isHidden());
    QCOMPARE(fx->cell(0)->text(), QStringLiteral("AB"));
}

// The wide cell's limit of 252 characters bounds typing; a longer text that
// came from a file is shown and written back whole, not cut by the widget.
void GridRedrawTest::longAsciiTextIsShownWhole()
{
    const QString text(300, QLatin1Char('k'));
    fx->load({{0, asciiRecord(text, 999)}});
    QCOMPARE(fx->cell(0)->text(), text);
    fx->grid->CommitGrid();
    QCOMPARE(fx->document.table[0].KeyData, text);
}

void GridRedrawTest::commitWritesEveryRowBack()
{
    fx->load({{0, hexRecord(hexBytes(40))}, {9, asciiRecord(QStringLiteral("abc"))}, {12, hexRecord(QStringLiteral("77"))}});
    fx->scrollTo(3, 0);
    // The table changed behind the grid; the rows shown win.
    fx->document.table[3].KeyData = QStringLiteral("FFFF");
    fx->document.table[9].KeyData = QStringLiteral("zzz");
    fx->document.table[12].KeyData = QStringLiteral("EE");
    fx->document.table[0].KeyData = QStringLiteral("12");
    fx->grid->CommitGrid();
    QCOMPARE(fx->document.table[3].KeyData, QString());
    QCOMPARE(fx->document.table[9].KeyData, QStringLiteral("abc"));
    QCOMPARE(fx->document.table[12].KeyData, QStringLiteral("77"));
    QCOMPARE(fx->document.table[0].KeyData, QStringLiteral("12")); // not shown: untouched
    QCOMPARE(fx->cell(9 * 16)->text(), QStringLiteral("77"));
    QCOMPARE(fx->state.Modified, false);
}

void GridRedrawTest::verticalScrollKeepsDataFocus_data()
{
    QTest::addColumn<bool>("asciiArrives");
    QTest::addColumn<QString>("focus");
    QTest::newRow("HEX record arrives") << false << "Text_data_37";
    QTest::newRow("ASCII record arrives") << true << "Text_data_32";
}

void GridRedrawTest::verticalScrollKeepsDataFocus()
{
    QFETCH(bool, asciiArrives);
    QFETCH(QString, focus);
    if (asciiArrives)
        fx->load({{3, asciiRecord(QStringLiteral("abc"))}});
    fx->focusCell(37, 0);
    fx->grid->vScroll()->setValue(1);
    QCOMPARE(fx->focusName(), focus);
    QCOMPARE(int(fx->state.FocusDataIndex), focus.section(u'_', 2).toInt());
    QCOMPARE(fx->label(QStringLiteral("Text_lineNo_2"))->text(), QStringLiteral("4"));
    QCOMPARE(int(fx->state.CurVoffset), 1);
}

QTEST_MAIN(GridRedrawTest)
#include "grid_redraw_test.moc"
