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

} // namespace

Q_DECLARE_METATYPE(Tab)

class FieldEditingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<GridFixture> fx;

private slots:
    void init() { fx = std::make_unique<GridFixture>(); QVERIFY(fx->start()); }
    void cleanup() { fx.reset(); }

    void addressFilterAndWriteThrough()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        fx->startIn(fx->address(3));
        fx->typeKeys(QStringLiteral("1a g"));
        fx->press(Qt::Key_V, Qt::ControlModifier);
        fx->press(Qt::Key_Insert, Qt::ShiftModifier);
        fx->press(Qt::Key_G, Qt::AltModifier);
        fx->typeKeys(QStringLiteral("2345678"));
        QCOMPARE(fx->address(3)->text(), QStringLiteral("1A234567")); // at most 8 digits
        fx->press(Qt::Key_Backspace);
        QCOMPARE(fx->address(3)->text(), QStringLiteral("1A23456"));
        QCOMPARE(fx->document.table[3].address(), quint32(0x1A23456));
        QCOMPARE(fx->document.table[3].KeyAddrSet, true);
        QCOMPARE(fx->state.Modified, true);
        // Emptied, the record has no address and leaving pads nothing.
        fx->address(3)->selectAll();
        fx->press(Qt::Key_Backspace);
        QCOMPARE(fx->document.table[3].KeyAddrSet, false);
        fx->press(Qt::Key_Tab);
        QCOMPARE(fx->address(3)->text(), QString());
        QCOMPARE(fx->document.table[3].KeyAddrSet, false);
    }

    // The address is padded to the mode's digits and the size clamped to
    // the mode's data limit when the field is left.
    void fieldsPerMode_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("address"); // "12" typed
        QTest::addColumn<qint16>("size");     // the limit; one more and a digit typed
        QTest::newRow("32-bit") << 32 << "00000012" << qint16(250);
        QTest::newRow("24-bit") << 24 << "000012" << qint16(251);
        QTest::newRow("16-bit") << 16 << "0012" << qint16(252);
    }

    void fieldsPerMode()
    {
        QFETCH(int, bits);
        QFETCH(QString, address);
        QFETCH(qint16, size);
        fx->setMode(bits);
        QCOMPARE(fx->address(0)->maxLength(), bits / 4);
        fx->startIn(fx->address(0));
        fx->typeKeys(QStringLiteral("12"));
        fx->press(Qt::Key_Tab);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_size_0"));
        QCOMPARE(fx->address(0)->text(), address);
        QCOMPARE(fx->document.table[0].address(), 0x12u);
        QVERIFY(fx->captionCalls > 0);
        fx->startIn(fx->size(0));
        fx->size(0)->selectAll();
        fx->typeKeys(QString::number(size + 1) + QLatin1Char('9'));
        QCOMPARE(fx->document.table[0].KeySize, qint16(size + 1)); // at most 3 digits
        fx->press(Qt::Key_Tab);
        QCOMPARE(fx->focusName(), QStringLiteral("Combo_type_0"));
        QCOMPARE(fx->document.table[0].KeySize, size);
        QCOMPARE(fx->size(0)->text(), QString::number(size));
    }

    // A narrower mode bounds typing only: the address shown is neither cut
    // nor written back until the redraw, which shows the low digits; leaving
    // the field then rewrites the address from the digits shown.
    void narrowModeDropsHiddenDigitsOnLeaving()
    {
        const KeyRecord wide = wideAddressRecord();
        fx->load({{0, wide}});
        fx->document.mode.SetAddr16();
        QCOMPARE(fx->address(0)->text(), QStringLiteral("12345678"));
        QVERIFY(fx->document.table[0] == wide);
        QCOMPARE(fx->state.Modified, false);
        fx->grid->redraw();
        QCOMPARE(fx->address(0)->text(), QStringLiteral("5678"));
        QCOMPARE(fx->address(0)->maxLength(), 4);
        QVERIFY(fx->document.table[0] == wide);
        fx->startIn(fx->address(0));
        fx->press(Qt::Key_Tab);
        QCOMPARE(fx->document.table[0].address(), 0x5678u);
        QCOMPARE(fx->state.Modified, true); // the dropped digits are an unsaved change
        QVERIFY(fx->captionCalls > 0);
    }

    // The size is stored at every keystroke; the data is cut to it only when
    // the field is left.
    void sizeCutsRowDataOnLeaving()
    {
        fx->load({{2, hexRecord(hexBytes(10), 10)}});
        fx->startIn(fx->size(2));
        fx->press(Qt::Key_Backspace);
        fx->press(Qt::Key_Backspace);
        QCOMPARE(fx->document.table[2].KeySize, qint16(0));
        fx->typeKeys(QStringLiteral("a-2"));
        QCOMPARE(fx->size(2)->text(), QStringLiteral("2"));
        QCOMPARE(fx->document.table[2].KeySize, qint16(2));
        QCOMPARE(fx->data(2), hexBytes(10));
        fx->press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_address_2"));
        QCOMPARE(fx->data(2), hexBytes(2));
        QCOMPARE(fx->rowTexts(2, 3), (QStringList{"00", "01", ""}));
        QCOMPARE(fx->cell(35)->isReadOnly(), true);
    }

    void titleWriteThrough()
    {
        fx->startIn(fx->title(6));
        fx->typeKeys(QStringLiteral("Key A"));
        fx->press(Qt::Key_Tab);
        QCOMPARE(fx->document.table[6].KeyTitle, QStringLiteral("Key A"));
        QCOMPARE(fx->title(6)->cursorPosition(), 0);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_address_7"));
        QCOMPARE(fx->state.Modified, true);
        QVERIFY(fx->captionCalls > 0);
        fx->grid->redraw();
        QCOMPARE(fx->size(6)->text(), QStringLiteral("0")); // a title alone puts the record in use
    }

    void typeChoice_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("typeAfter");
        QTest::newRow("record with data is set back") << "AB" << 0;
        QTest::newRow("record without data changes") << "" << 1;
    }

    void typeChoice()
    {
        QFETCH(QString, data);
        QFETCH(int, typeAfter);
        fx->load({{3, hexRecord(data)}});
        fx->startIn(fx->type(3));
        fx->press(Qt::Key_Down);
        QCOMPARE(fx->type(3)->currentIndex(), typeAfter);
        QCOMPARE(int(fx->document.table[3].KeyType), typeAfter);
        QCOMPARE(fx->data(3), data);
        QCOMPARE(fx->cell(49)->isHidden(), typeAfter == 1);
        QCOMPARE(fx->state.Modified, false);
        QCOMPARE(fx->captionCalls, 0);
        QCOMPARE(int(fx->grid->view().FocusDataIndex), -1);
    }

    // A wheel turn over a type box is no choice; choosing the item shown is one.
    void typeBoxTakesOnlyChoices()
    {
        KeyRecord titled;
        titled.KeyTitle = QStringLiteral("t");
        fx->load({{3, titled}});
        QComboBox* box = fx->type(3);
        QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(int(fx->document.table[3].KeyType), 0);
        fx->startIn(fx->cell(48));
        box->view()->setCurrentIndex(box->model()->index(0, 0)); // the list, on the item shown
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(int(fx->grid->view().FocusDataIndex), -1);
        QCOMPARE(int(fx->document.table[3].KeyType), 0);
        QCOMPARE(fx->state.Modified, false);
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
        fx->load({{5, asciiRecord(QStringLiteral("text"))}});
        fx->scrollTo(t.v, 0);
        fx->startIn(fx->control<QWidget>(QString::fromLatin1(t.from)));
        fx->press(t.shift ? Qt::Key_Backtab : Qt::Key_Tab, t.shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(fx->focusName(), QString::fromLatin1(t.to));
        QCOMPARE(fx->grid->recordScroll()->value(), t.vAfter);
        QCOMPARE(fx->grid->layout().topSlot(), t.vAfter);
        QCOMPARE(fx->lineNo(9), QString::number(t.vAfter + 10));
        QCOMPARE(fx->document.table[t.v + 4].KeyTitle, QString()); // Tab types nothing
    }

    // The user's scroll leaves a focused record field first, so its leave
    // rules apply to its own record, not to the one that scrolls into its row.
    void userScrollLeavesTheFieldFirst_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("wheelOn"); // empty: a click on the bar's arrow
        QTest::addColumn<int>("vAfter");
        QTest::newRow("size, wheel over a data cell") << "Text_size_2" << "Text_data_70" << 3;
        QTest::newRow("address, wheel over a title") << "Text_address_2" << "Text_title_5" << 3;
        QTest::newRow("address, click on the bar's arrow") << "Text_address_2" << "" << 1;
    }

    void userScrollLeavesTheFieldFirst()
    {
        QFETCH(QString, field);
        QFETCH(QString, wheelOn);
        QFETCH(int, vAfter);
        KeyRecord rec = wideAddressRecord();
        rec.KeyData = hexBytes(10); // longer than its size, as a file may bring it
        rec.KeySize = 2;
        fx->load({{2, rec}, {2 + vAfter, rec}});
        fx->setMode(16);
        fx->startIn(fx->control(field));
        QScrollBar* bar = fx->grid->recordScroll();
        if (!wheelOn.isEmpty()) {
            QWidget* target = fx->control<QWidget>(wheelOn);
            QWheelEvent turn(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                             Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &turn);
        } else {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
        }
        QCOMPARE(bar->value(), vAfter);
        fx->startIn(fx->cell(0));
        const bool sizeField = field.startsWith(QStringLiteral("Text_size"));
        QCOMPARE(fx->data(2), sizeField ? hexBytes(2) : hexBytes(10));
        QCOMPARE(fx->document.table[2].KeyAddrHigh, qint16(sizeField ? 0x1234 : 0));
        QVERIFY(fx->document.table[2 + vAfter] == rec);
    }

    // Shift with the wheel moves through the bytes instead; a wheel with
    // fine steps moves once a whole notch has been turned.
    void wheelWithShiftScrollsBytes()
    {
        fx->load({{0, hexRecord(hexBytes(40))}});
        auto turn = [this](int delta, Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(QPointF(5, 5), fx->cell(3)->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(fx->cell(3), &event);
        };
        turn(-120, Qt::ShiftModifier);
        QCOMPARE(fx->grid->layout().leftByte(), 3);
        QCOMPARE(fx->grid->layout().topSlot(), 0);
        QCOMPARE(fx->dataIndex(0), QStringLiteral("03"));
        turn(-60, Qt::NoModifier);
        QCOMPARE(fx->grid->layout().topSlot(), 0);
        turn(-60, Qt::NoModifier);
        QCOMPARE(fx->grid->layout().topSlot(), 3);
        turn(120, Qt::ShiftModifier);
        QCOMPARE(fx->grid->layout().leftByte(), 0);
    }

    // Shift+Tab from the top address scrolls the grid; the focus-loss rules
    // (which narrow an address in a narrow mode) must apply to the record the
    // user left, not to the record that scrolls into row 0.
    void shiftTabFromTopAddressNormalisesTheRecordLeft()
    {
        fx->load({{4, wideAddressRecord()}, {5, wideAddressRecord()}});
        fx->setMode(16);
        fx->scrollTo(5, 0);
        fx->startIn(fx->address(0));
        fx->press(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(fx->grid->recordScroll()->value(), 4);
        QCOMPARE(fx->focusName(), QStringLiteral("Text_title_0"));
        QCOMPARE(fx->document.table[5].KeyAddrHigh, qint16(0));      // left: narrowed
        QCOMPARE(fx->document.table[4].KeyAddrHigh, qint16(0x1234)); // untouched
    }
};

QTEST_MAIN(FieldEditingTest)
#include "field_editing_test.moc"
