// The record fields: title, address, size and type, their key filters,
// write-through, focus rules and the Tab order along and across rows.
#include "grid_fixture.h"

#include <QAbstractItemView>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// A Tab or Shift+Tab from a field; row 5 holds an ASCII record, the others HEX.
struct Tab {
    int v = 0; // the grid's first record
    const char* from = "";
    bool shift = false;
    const char* to = "";
    int vAfter = 0;
};

// A field of a wide record left in 16-bit mode, from a grid at `v`.
struct Leave {
    const char* field = "";
    enum { Tab, ShiftTab, Wheel, ArrowClick } how = Wheel;
    const char* wheelOn = "";
    int v = 0;
    int vAfter = 0;
    bool cut = false; // the size field was left too: the data is cut to the size
};

} // namespace

Q_DECLARE_METATYPE(Tab)
Q_DECLARE_METATYPE(Leave)

class FieldEditingTest : public GridTest {
    Q_OBJECT
private slots:
    void addressFilterAndWriteThrough()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        startIn(address(3));
        typeKeys(QStringLiteral("1a g"));
        press(Qt::Key_V, Qt::ControlModifier);
        press(Qt::Key_Insert, Qt::ShiftModifier);
        press(Qt::Key_G, Qt::AltModifier);
        typeKeys(QStringLiteral("2345678"));
        QCOMPARE(address(3)->text(), QStringLiteral("1A234567")); // at most 8 digits
        press(Qt::Key_Backspace);
        QCOMPARE(address(3)->text(), QStringLiteral("1A23456"));
        QCOMPARE(document.table[3].address(), quint32(0x1A23456));
        QCOMPARE(document.table[3].KeyAddrSet, true);
        QCOMPARE(state.Modified, true);
        // Emptied, the record has no address and leaving pads nothing.
        address(3)->selectAll();
        press(Qt::Key_Backspace);
        QCOMPARE(document.table[3].KeyAddrSet, false);
        press(Qt::Key_Tab);
        QCOMPARE(address(3)->text(), QString());
        QCOMPARE(document.table[3].KeyAddrSet, false);
    }

    // The address is padded to the mode's digits and the size clamped to
    // the mode's data limit when the field is left.
    void fieldsPerMode_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("padded"); // "12" typed
        QTest::addColumn<qint16>("limit");   // one more and a digit typed
        QTest::newRow("32-bit") << 32 << "00000012" << qint16(250);
        QTest::newRow("24-bit") << 24 << "000012" << qint16(251);
        QTest::newRow("16-bit") << 16 << "0012" << qint16(252);
    }

    void fieldsPerMode()
    {
        QFETCH(int, bits);
        QFETCH(QString, padded);
        QFETCH(qint16, limit);
        setMode(bits);
        QCOMPARE(address(0)->maxLength(), bits / 4);
        startIn(address(0));
        typeKeys(QStringLiteral("12"));
        press(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Text_size_0"));
        QCOMPARE(address(0)->text(), padded);
        QCOMPARE(document.table[0].address(), 0x12u);
        QVERIFY(captionCalls > 0);
        startIn(size(0));
        size(0)->selectAll();
        typeKeys(QString::number(limit + 1) + QLatin1Char('9'));
        QCOMPARE(document.table[0].KeySize, qint16(limit + 1)); // at most 3 digits
        press(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Combo_type_0"));
        QCOMPARE(document.table[0].KeySize, limit);
        QCOMPARE(size(0)->text(), QString::number(limit));
    }

    void titleWriteThrough()
    {
        startIn(title(6));
        typeKeys(QStringLiteral("Key A"));
        press(Qt::Key_Tab);
        QCOMPARE(document.table[6].KeyTitle, QStringLiteral("Key A"));
        QCOMPARE(title(6)->cursorPosition(), 0);
        QCOMPARE(focusName(), QStringLiteral("Text_address_7"));
        QCOMPARE(state.Modified, true);
        QVERIFY(captionCalls > 0);
        grid->redraw();
        QCOMPARE(size(6)->text(), QStringLiteral("0")); // a title alone puts the record in use
    }

    void typeChoice_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("typeAfter");
        QTest::newRow("record with data is set back") << "AB" << 0;
        QTest::newRow("record without data changes") << "" << 1;
    }

    void typeChoice()
    {
        QFETCH(QString, digits);
        QFETCH(int, typeAfter);
        load({{3, hexRecord(digits)}});
        startIn(type(3));
        press(Qt::Key_Down);
        QCOMPARE(type(3)->currentIndex(), typeAfter);
        QCOMPARE(int(document.table[3].KeyType), typeAfter);
        QCOMPARE(data(3), digits);
        QCOMPARE(cell(49)->isHidden(), typeAfter == 1);
        QCOMPARE(state.Modified, false);
        QCOMPARE(captionCalls, 0);
        QCOMPARE(int(grid->view().FocusDataIndex), -1);
    }

    // A wheel turn over a type box is no choice; choosing the item shown is one.
    void typeBoxTakesOnlyChoices()
    {
        load({{3, titled(KeyRecord{}, QStringLiteral("t"))}});
        QComboBox* box = type(3);
        turnWheel(box, -120);
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(int(document.table[3].KeyType), 0);
        startIn(cell(48));
        box->view()->setCurrentIndex(box->model()->index(0, 0)); // the list, on the item shown
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(int(grid->view().FocusDataIndex), -1);
        QCOMPARE(int(document.table[3].KeyType), 0);
        QCOMPARE(state.Modified, false);
    }

    void tabOrder_data()
    {
        QTest::addColumn<Tab>("t");
        const auto row = [](const char* name, const Tab& t) { QTest::newRow(name) << t; };
        row("address to size", {.from = "Text_address_4", .to = "Text_size_4"});
        row("size to type", {.from = "Text_size_4", .to = "Combo_type_4"});
        row("type to first cell", {.from = "Combo_type_4", .to = "Text_data_64"});
        row("title to next address", {.from = "Text_title_4", .to = "Text_address_5"});
        row("back: address to previous title", {.from = "Text_address_4", .shift = true, .to = "Text_title_3"});
        row("back: size to address", {.from = "Text_size_4", .shift = true, .to = "Text_address_4"});
        row("back: type to size", {.from = "Combo_type_4", .shift = true, .to = "Text_size_4"});
        row("back: HEX title to last cell", {.from = "Text_title_4", .shift = true, .to = "Text_data_79"});
        row("back: ASCII title to wide cell", {.from = "Text_title_5", .shift = true, .to = "Text_data_80"});
        // At the grid's top and bottom Tab scrolls one record, if it can.
        row("title row 9 scrolls down", {.v = 10, .from = "Text_title_9", .to = "Text_address_9", .vAfter = 11});
        row("title row 9 at the end", {.v = 246, .from = "Text_title_9", .to = "Text_title_9", .vAfter = 246});
        row("address row 0 scrolls up", {.v = 10, .from = "Text_address_0", .shift = true, .to = "Text_title_0", .vAfter = 9});
        row("address row 0 at the start", {.from = "Text_address_0", .shift = true, .to = "Text_address_0"});
    }

    void tabOrder()
    {
        QFETCH(Tab, t);
        load({{5, asciiRecord(QStringLiteral("text"))}});
        scrollTo(t.v, 0);
        startIn(control<QWidget>(QString::fromLatin1(t.from)));
        press(t.shift ? Qt::Key_Backtab : Qt::Key_Tab, t.shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(focusName(), QString::fromLatin1(t.to));
        QCOMPARE(grid->recordScroll()->value(), t.vAfter);
        QCOMPARE(grid->layout().topSlot(), t.vAfter);
        QCOMPARE(lineNo(9), QString::number(t.vAfter + 10));
        QCOMPARE(document.table[t.v + 4].KeyTitle, QString()); // Tab types nothing
    }

    // In 16-bit mode the grid shows the low digits of a wide address, and
    // the record is left as it was until a field is left: the address is then
    // rewritten from the digits shown (an edit), the data cut to the size.
    // A Tab that scrolls or the user's scroll leaves the field first, so its
    // rules apply to its own record, not to the one that scrolls into its row.
    void leavingAFieldAppliesItsRulesToItsOwnRecord_data()
    {
        QTest::addColumn<Leave>("l");
        const auto row = [](const char* name, const Leave& l) { QTest::newRow(name) << l; };
        row("Tab from an address to the size", {.field = "Text_address_0", .how = Leave::Tab, .cut = true});
        row("Shift+Tab from the top address scrolls up",
            {.field = "Text_address_0", .how = Leave::ShiftTab, .v = 5, .vAfter = 4});
        row("size, wheel over a data cell",
            {.field = "Text_size_2", .wheelOn = "Text_data_70", .vAfter = 3, .cut = true});
        row("address, wheel over a title", {.field = "Text_address_2", .wheelOn = "Text_title_5", .vAfter = 3});
        row("address, click on the bar's arrow", {.field = "Text_address_2", .how = Leave::ArrowClick, .vAfter = 1});
    }

    void leavingAFieldAppliesItsRulesToItsOwnRecord()
    {
        QFETCH(Leave, l);
        const int row = QString::fromLatin1(l.field).right(1).toInt();
        // Data longer than its size, as a file may bring it.
        const KeyRecord wide = addressed(hexRecord(hexBytes(10), 2), 0x12345678);
        load({{l.v + row, wide}, {l.vAfter + row, wide}});
        setMode(16);
        scrollTo(l.v, 0);
        QCOMPARE(address(row)->text(), QStringLiteral("5678"));
        QCOMPARE(address(row)->maxLength(), 4);
        QVERIFY(document.table[l.v + row] == wide && !state.Modified);
        startIn(control<QWidget>(QString::fromLatin1(l.field)));
        if (l.how == Leave::Wheel)
            turnWheel(control<QWidget>(QString::fromLatin1(l.wheelOn)), -120);
        else if (l.how == Leave::ArrowClick)
            QTest::mouseClick(grid->recordScroll(), Qt::LeftButton, {},
                              QPoint(grid->recordScroll()->width() / 2, grid->recordScroll()->height() - 4));
        else
            press(l.how == Leave::Tab ? Qt::Key_Tab : Qt::Key_Backtab,
                  l.how == Leave::Tab ? Qt::NoModifier : Qt::ShiftModifier);
        QCOMPARE(grid->recordScroll()->value(), l.vAfter);
        startIn(cell(0));
        const KeyRecord& left = document.table[l.v + row];
        const bool sizeField = QString::fromLatin1(l.field).startsWith(QStringLiteral("Text_size"));
        QCOMPARE(left.KeyData, l.cut ? hexBytes(2) : hexBytes(10));
        QCOMPARE(left.address(), sizeField ? 0x12345678u : 0x5678u);
        if (!sizeField)
            QVERIFY(state.Modified); // the dropped digits are an unsaved change
        if (l.vAfter != l.v)
            QVERIFY(document.table[l.vAfter + row] == wide);
        else // the row shows its record as it was left
            QCOMPARE(rowTexts(row, 3), (QStringList{"00", "01", ""}));
    }

    // Shift with the wheel moves through the bytes instead; a wheel with
    // fine steps moves once a whole notch has been turned.
    void wheelWithShiftScrollsBytes()
    {
        load({{0, hexRecord(hexBytes(40))}});
        const auto turn = [this](int delta, Qt::KeyboardModifiers modifiers) { turnWheel(cell(3), delta, modifiers); };
        turn(-120, Qt::ShiftModifier);
        QCOMPARE(grid->layout().leftByte(), 3);
        QCOMPARE(grid->layout().topSlot(), 0);
        QCOMPARE(dataIndex(0), QStringLiteral("03"));
        turn(-60, Qt::NoModifier);
        QCOMPARE(grid->layout().topSlot(), 0);
        turn(-60, Qt::NoModifier);
        QCOMPARE(grid->layout().topSlot(), 3);
        turn(120, Qt::ShiftModifier);
        QCOMPARE(grid->layout().leftByte(), 0);
    }
};

QTEST_MAIN(FieldEditingTest)
#include "field_editing_test.moc"
