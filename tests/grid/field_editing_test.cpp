// The record fields: title, address, size and type, their key filters,
// write-through, focus rules and the Tab order along and across rows.
#include "grid_fixture.h"

#include <QClipboard>

using namespace quorvane;
using namespace quorvane::test;

class FieldEditingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { fx.reset(); }

    void addressFilter_data();
    void addressFilter();
    void addressPaddingPerMode_data();
    void addressPaddingPerMode();
    void clearedAddressStaysEmpty();
    void narrowModeDropsHiddenDigits();
    void narrowingTheFieldKeepsItsAddress();
    void sizeClampPerMode_data();
    void sizeClampPerMode();
    void sizeCutsRowData();
    void sizeFilterAndWriteThrough();
    void titleWriteThrough();
    void typeChoice_data();
    void typeChoice();
    void tabOrder_data();
    void tabOrder();
    void tabAtTopAndBottom_data();
    void tabAtTopAndBottom();
    void shiftTabFromTopAddressNormalisesTheRecordLeft();
    void redrawStoresNothing();

private:
    void startIn(QLineEdit* field);
    std::unique_ptr<GridFixture> fx;
};

void FieldEditingTest::init()
{
    fx = std::make_unique<GridFixture>();
    QVERIFY(fx->start());
}

void FieldEditingTest::startIn(QLineEdit* field)
{
    fx->click(field);
    field->setCursorPosition(int(field->text().size()));
    fx->titileSetCalls = 0;
}

void FieldEditingTest::addressFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lower case becomes upper") << "a" << "A";
    QTest::newRow("g and blank dropped") << "1g 2" << "12";
    QTest::newRow("backspace deletes") << "12\b" << "1";
    QTest::newRow("paste dropped") << "1\x16" << "1";
    QTest::newRow("at most 8 digits") << "123456789" << "12345678";
}

void FieldEditingTest::addressFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QGuiApplication::clipboard()->setText(QStringLiteral("99"));
    startIn(fx->address(3));
    for (QChar ch : typed) {
        if (ch == u'\b')
            QTest::keyClick(fx->address(3), Qt::Key_Backspace);
        else if (ch == u'\x16')
            QTest::keyClick(fx->address(3), Qt::Key_V, Qt::ControlModifier);
        else
            QTest::keyClick(fx->address(3), ch.toLatin1());
    }
    QCOMPARE(fx->address(3)->text(), shown);
    QCOMPARE(fx->document.table[3].address(), quint32(shown.toUInt(nullptr, 16)));
    QCOMPARE(fx->document.table[3].KeyAddrSet, true);
}

void FieldEditingTest::addressPaddingPerMode_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("shown");
    QTest::newRow("32-bit") << 32 << "00000012";
    QTest::newRow("24-bit") << 24 << "000012";
    QTest::newRow("16-bit") << 16 << "0012";
}

void FieldEditingTest::addressPaddingPerMode()
{
    QFETCH(int, bits);
    QFETCH(QString, shown);
    fx->setMode(bits);
    QCOMPARE(fx->address(0)->maxLength(), bits / 4);
    startIn(fx->address(0));
    QTest::keyClicks(fx->address(0), QStringLiteral("12"));
    QTest::keyClick(fx->address(0), Qt::Key_Tab);

    QCOMPARE(fx->focusName(), QStringLiteral("Text_size_0"));
    QCOMPARE(fx->address(0)->text(), shown);
    const KeyRecord& rec = fx->document.table[0];
    QCOMPARE(rec.KeyAddrHigh, qint16(0));
    QCOMPARE(rec.KeyAddrLow, qint16(0x12));
    QCOMPARE(rec.KeyAddrSet, true);
    QCOMPARE(fx->state.Modified, true);
    QVERIFY(fx->titileSetCalls > 0);
}

void FieldEditingTest::clearedAddressStaysEmpty()
{
    startIn(fx->address(1));
    QTest::keyClicks(fx->address(1), QStringLiteral("7F"));
    QTest::keyClick(fx->address(1), Qt::Key_Backspace);
    QTest::keyClick(fx->address(1), Qt::Key_Backspace);
    QCOMPARE(fx->document.table[1].KeyAddrSet, false);
    QTest::keyClick(fx->address(1), Qt::Key_Tab);
    QCOMPARE(fx->address(1)->text(), QString());
    QCOMPARE(fx->document.table[1].KeyAddrSet, false);
}

void FieldEditingTest::narrowModeDropsHiddenDigits()
{
    KeyRecord rec;
    rec.KeyAddrHigh = 0x1234;
    rec.KeyAddrLow = 0x5678;
    rec.KeyAddrSet = true;
    fx->load({{0, rec}});
    fx->setMode(16);
    QCOMPARE(fx->address(0)->text(), QStringLiteral("5678"));
    QCOMPARE(fx->document.table[0].KeyAddrHigh, qint16(0x1234)); // showing drops nothing
    startIn(fx->address(0));
    QTest::keyClick(fx->address(0), Qt::Key_Tab);
    QCOMPARE(fx->document.table[0].KeyAddrHigh, qint16(0));
    QCOMPARE(fx->document.table[0].KeyAddrLow, qint16(0x5678));
}

// A shorter maximum length bounds typing only: the address already shown is
// neither cut in the field nor written back until the redraw.
void FieldEditingTest::narrowingTheFieldKeepsItsAddress()
{
    KeyRecord rec;
    rec.KeyAddrHigh = 0x1234;
    rec.KeyAddrLow = 0x5678;
    rec.KeyAddrSet = true;
    fx->load({{0, rec}});
    fx->document.mode.SetAddr16();
    QCOMPARE(fx->address(0)->text(), QStringLiteral("12345678"));
    QVERIFY(fx->document.table[0] == rec);
    QCOMPARE(fx->state.Modified, false);
    fx->grid->redraw();
    QCOMPARE(fx->address(0)->text(), QStringLiteral("5678"));
    QCOMPARE(fx->address(0)->maxLength(), 4);
}

void FieldEditingTest::sizeClampPerMode_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint16>("size");
    QTest::addColumn<QString>("shown");
    QTest::newRow("32-bit 300") << 32 << "300" << qint16(250) << "250";
    QTest::newRow("24-bit 300") << 24 << "300" << qint16(251) << "251";
    QTest::newRow("16-bit 300") << 16 << "300" << qint16(252) << "252";
    QTest::newRow("32-bit 250 kept") << 32 << "250" << qint16(250) << "250";
    QTest::newRow("16-bit 253") << 16 << "253" << qint16(252) << "252";
    // Size 0 alone does not put a record in use: the redraw blanks the row.
    QTest::newRow("zero stays") << 32 << "0" << qint16(0) << "";
}

void FieldEditingTest::sizeClampPerMode()
{
    QFETCH(int, bits);
    QFETCH(QString, typed);
    QFETCH(qint16, size);
    QFETCH(QString, shown);
    fx->setMode(bits);
    startIn(fx->size(4));
    QTest::keyClicks(fx->size(4), typed);
    QCOMPARE(fx->document.table[4].KeySize, qint16(typed.toInt()));
    QTest::keyClick(fx->size(4), Qt::Key_Tab);

    QCOMPARE(fx->focusName(), QStringLiteral("Combo_type_4"));
    QCOMPARE(fx->document.table[4].KeySize, size);
    QCOMPARE(fx->size(4)->text(), shown);
    QCOMPARE(fx->state.Modified, true);
}

void FieldEditingTest::sizeCutsRowData()
{
    fx->load({{2, hexRecord(hexBytes(10), 10)}});
    startIn(fx->size(2));
    QTest::keyClick(fx->size(2), Qt::Key_Backspace);
    QTest::keyClick(fx->size(2), Qt::Key_Backspace);
    QTest::keyClick(fx->size(2), Qt::Key_2);
    QCOMPARE(fx->document.table[2].KeyData, hexBytes(10)); // cut only when the field is left
    QTest::keyClick(fx->size(2), Qt::Key_Tab, Qt::ShiftModifier);

    QCOMPARE(fx->focusName(), QStringLiteral("Text_address_2"));
    QCOMPARE(fx->document.table[2].KeySize, qint16(2));
    QCOMPARE(fx->document.table[2].KeyData, hexBytes(2));
    QCOMPARE(fx->rowTexts(2).mid(0, 3), (QStringList{"00", "01", ""}));
    QCOMPARE(fx->cell(35)->isReadOnly(), true);
}

void FieldEditingTest::sizeFilterAndWriteThrough()
{
    fx->load({{0, hexRecord(QString(), 7)}});
    startIn(fx->size(0));
    QTest::keyClick(fx->size(0), Qt::Key_Backspace);
    QCOMPARE(fx->document.table[0].KeySize, qint16(0)); // stored at once
    QTest::keyClicks(fx->size(0), QStringLiteral("1a-2 34"));
    QCOMPARE(fx->size(0)->text(), QStringLiteral("123"));
    QCOMPARE(fx->document.table[0].KeySize, qint16(123));
}

void FieldEditingTest::titleWriteThrough()
{
    startIn(fx->title(6));
    QTest::keyClicks(fx->title(6), QStringLiteral("Key A"));
    QTest::keyClick(fx->title(6), Qt::Key_Tab);
    QCOMPARE(fx->document.table[6].KeyTitle, QStringLiteral("Key A"));
    QCOMPARE(fx->title(6)->text(), QStringLiteral("Key A"));
    QCOMPARE(fx->title(6)->cursorPosition(), 0);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_address_7"));
    QCOMPARE(fx->state.Modified, true);
    QVERIFY(fx->titileSetCalls > 0);
    // A title alone puts the record in use.
    fx->grid->redraw();
    QCOMPARE(fx->size(6)->text(), QStringLiteral("0"));
}

void FieldEditingTest::typeChoice_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("typeAfter");
    QTest::newRow("record with data is set back") << "AB" << 0;
    QTest::newRow("record without data changes") << "" << 1;
}

void FieldEditingTest::typeChoice()
{
    QFETCH(QString, data);
    QFETCH(int, typeAfter);
    fx->load({{3, hexRecord(data)}});
    fx->click(fx->type(3));
    fx->titileSetCalls = 0;
    QTest::keyClick(fx->type(3), Qt::Key_Down);

    QCOMPARE(fx->type(3)->currentIndex(), typeAfter);
    QCOMPARE(int(fx->document.table[3].KeyType), typeAfter);
    QCOMPARE(fx->document.table[3].KeyData, data);
    QCOMPARE(fx->cell(49)->isHidden(), typeAfter == 1);
    QCOMPARE(fx->state.Modified, false);
    QCOMPARE(fx->titileSetCalls, 0);
    QCOMPARE(int(fx->state.FocusDataIndex), -1);
}

void FieldEditingTest::tabOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("to");
    QTest::newRow("address to size") << "Text_address_4" << false << "Text_size_4";
    QTest::newRow("size to type") << "Text_size_4" << false << "Combo_type_4";
    QTest::newRow("type to first cell") << "Combo_type_4" << false << "Text_data_64";
    QTest::newRow("title to next address") << "Text_title_4" << false << "Text_address_5";
    QTest::newRow("back: address to previous title") << "Text_address_4" << true << "Text_title_3";
    QTest::newRow("back: size to address") << "Text_size_4" << true << "Text_address_4";
    QTest::newRow("back: type to size") << "Combo_type_4" << true << "Text_size_4";
    QTest::newRow("back: HEX title to last cell") << "Text_title_4" << true << "Text_data_79";
    QTest::newRow("back: ASCII title to wide cell") << "Text_title_5" << true << "Text_data_80";
}

void FieldEditingTest::tabOrder()
{
    QFETCH(QString, from);
    QFETCH(bool, shift);
    QFETCH(QString, to);
    fx->load({{5, asciiRecord(QStringLiteral("text"))}});
    auto* start = fx->control<QWidget>(from);
    fx->click(start);
    QTest::keyClick(start, Qt::Key_Tab, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(fx->focusName(), to);
    QCOMPARE(fx->grid->vScroll()->value(), 0);
    QCOMPARE(fx->document.table[4].KeyTitle, QString()); // Tab types nothing
}

void FieldEditingTest::tabAtTopAndBottom_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("vAfter");
    QTest::newRow("title row 9 scrolls down") << 10 << "Text_title_9" << false << "Text_address_9" << 11;
    QTest::newRow("title row 9 at the end") << 246 << "Text_title_9" << false << "Text_title_9" << 246;
    QTest::newRow("address row 0 scrolls up") << 10 << "Text_address_0" << true << "Text_title_0" << 9;
    QTest::newRow("address row 0 at the start") << 0 << "Text_address_0" << true << "Text_address_0" << 0;
}

void FieldEditingTest::tabAtTopAndBottom()
{
    QFETCH(int, v);
    QFETCH(QString, from);
    QFETCH(bool, shift);
    QFETCH(QString, to);
    QFETCH(int, vAfter);
    fx->scrollTo(v, 0);
    auto* start = fx->control<QWidget>(from);
    fx->click(start);
    QTest::keyClick(start, Qt::Key_Tab, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(fx->focusName(), to);
    QCOMPARE(fx->grid->vScroll()->value(), vAfter);
    QCOMPARE(int(fx->state.CurVoffset), vAfter);
    QCOMPARE(fx->label(QStringLiteral("Text_lineNo_0"))->text(), QString::number(vAfter + 1));
    QCOMPARE(fx->label(QStringLiteral("Text_lineNo_9"))->text(), QString::number(vAfter + 10));
}

// Shift+Tab from the top address scrolls the grid; the focus-loss rules
// (which narrow an address in a narrow mode) must apply to the record the
// user left, not to the record that scrolls into row 0.
void FieldEditingTest::shiftTabFromTopAddressNormalisesTheRecordLeft()
{
    KeyRecord wide;
    wide.KeyAddrHigh = 0x1234;
    wide.KeyAddrLow = 0x5678;
    wide.KeyAddrSet = true;
    fx->load({{4, wide}, {5, wide}});
    fx->setMode(16);
    fx->scrollTo(5, 0);
    startIn(fx->address(0));
    QTest::keyClick(fx->address(0), Qt::Key_Tab, Qt::ShiftModifier);

    QCOMPARE(fx->grid->vScroll()->value(), 4);
    QCOMPARE(fx->focusName(), QStringLiteral("Text_title_0"));
    QCOMPARE(fx->document.table[5].KeyAddrHigh, qint16(0));      // left: narrowed
    QCOMPARE(fx->document.table[4].KeyAddrHigh, qint16(0x1234)); // untouched
}

void FieldEditingTest::redrawStoresNothing()
{
    KeyRecord rec;
    rec.KeyTitle = QStringLiteral("one");
    rec.KeySize = 12;
    rec.KeyAddrSet = true;
    rec.KeyAddrLow = 0x100;
    fx->load({{0, rec}});
    KeyRecord& stored = fx->document.table[0];
    stored.KeyTitle = QStringLiteral("two");
    stored.KeySize = 99;
    stored.KeyAddrLow = 0x200;
    stored.KeyType = kTypeAscii;
    const RecordTable changed = fx->document.table;
    fx->grid->redraw();

    QVERIFY(fx->document.table == changed);
    QCOMPARE(fx->title(0)->text(), QStringLiteral("two"));
    QCOMPARE(fx->size(0)->text(), QStringLiteral("99"));
    QCOMPARE(fx->address(0)->text(), QStringLiteral("00000200"));
    QCOMPARE(fx->type(0)->currentIndex(), 1);
    QCOMPARE(fx->state.Modified, false);
    QCOMPARE(fx->titileSetCalls, 0);
}

QTEST_MAIN(FieldEditingTest)
#include "field_editing_test.moc"
