// The long jumps of the Edit menu, pressed as chords, and the grid's width.
// Where a jump lands is the navigation rules' own test; here, that the keys
// reach it from the fields, that the field left keeps its rules, and that
// the window's room goes to the titles.

#include "window_fixture.h"

#include <QScrollBar>

using namespace quorvane;
using namespace quorvane::test;

class NavigationTest : public WindowTest {
    Q_OBJECT
    void load(Slot slot, const KeyRecord& record)
    {
        table()[slot] = record;
        window().grid().redraw();
    }
    static void chord(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods);
    }
    [[nodiscard]] static QString focusName() { return QApplication::focusWidget()->objectName(); }
    [[nodiscard]] static int caret() { return static_cast<QLineEdit*>(QApplication::focusWidget())->cursorPosition(); }
    [[nodiscard]] int scroll(const char* bar) const { return named<QScrollBar>(QLatin1String(bar))->value(); }

private slots:
    void recordEdgesScrollToTheBytes()
    {
        start();
        load(2, KeyRecord{{}, 0, 0, 40, kTypeHex, QStringLiteral("A5").repeated(40), true});
        load(3, KeyRecord{{}, 0, 0, 0, kTypeAscii, QStringLiteral("serial"), true});
        type(indexed("Text_data", 37), {});
        chord(Qt::Key_End);
        QCOMPARE(focusName(), QStringLiteral("Text_data_47"));
        QCOMPARE(scroll("HScroll1"), 24);
        QCOMPARE(named<QLabel>(QStringLiteral("Label_DataIndex_15"))->text(), QStringLiteral("27"));
        QCOMPARE(caret(), 2);
        chord(Qt::Key_Home);
        QCOMPARE(focusName(), QStringLiteral("Text_data_32"));
        QCOMPARE(scroll("HScroll1"), 0);
        QCOMPARE(caret(), 0);
        chord(Qt::Key_Down);
        chord(Qt::Key_End);
        QCOMPARE(focusName(), QStringLiteral("Text_data_48"));
        QCOMPARE(caret(), 6);
        // In the other fields the chords stay the line edit's own.
        type(indexed("Text_title", 3), QStringLiteral("ab"));
        chord(Qt::Key_Home);
        QCOMPARE(focusName(), QStringLiteral("Text_title_3"));
        QVERIFY(table() == window().document().table && table()[2].KeyData.size() == 80);
    }

    // Leaving the size field for the title applies its clamp, as Tab does.
    void ctrlTGoesToTheRowsTitle()
    {
        start();
        for (const char* from : {"Text_data_53", "Text_size_3"}) {
            type(named(QLatin1String(from)), from[5] == 's' ? QStringLiteral("300") : QString());
            chord(Qt::Key_T);
            QCOMPARE(focusName(), QStringLiteral("Text_title_3"));
        }
        QCOMPARE(table()[3].KeySize, qint16(250));
        QCOMPARE(indexed("Text_size", 3)->text(), QStringLiteral("250"));
    }

    void goToLineScrollsAfterTheFieldIsLeft()
    {
        start();
        type(indexed("Text_size", 0), QStringLiteral("300"));
        modal().answerText(QStringLiteral(" 120 "));
        chord(Qt::Key_G);
        QCOMPARE(modal().textRequests().back(), (TextRequest{"Go to Line", "Line number (1 to 256):", "1"}));
        QCOMPARE(scroll("VScroll1"), 110);
        QCOMPARE(focusName(), QStringLiteral("Text_address_9"));
        QCOMPARE(table()[0].KeySize, qint16(250));
        modal().answerText(QStringLiteral("257"));
        modal().answerMessage(MessageResult::Ok);
        chord(Qt::Key_G);
        QCOMPARE(modal().textRequests().back().text, QStringLiteral("120"));
        QCOMPARE(modal().messages().back().text, QStringLiteral("Enter a line number from 1 to 256."));
        QCOMPARE(scroll("VScroll1"), 110);
        QCOMPARE(modal().unanswered(), 0);
    }

    // F3 goes on from the record found, round the end of the table, without
    // asking again.
    void findAndFindNextWalkTheMatches()
    {
        start();
        load(5, KeyRecord{QStringLiteral("Boot key"), 0, 0, 0, kTypeHex, {}, false});
        load(40, KeyRecord{QStringLiteral("MAIN KEY"), 0, 0, 0, kTypeHex, {}, false});
        type(indexed("Text_data", 0), {});
        modal().answerText(QStringLiteral("Key"));
        const struct { int key; Qt::KeyboardModifiers mods; int top; const char* focus; } steps[] = {
            {Qt::Key_F, Qt::ControlModifier, 0, "Text_title_5"},
            {Qt::Key_F3, Qt::NoModifier, 31, "Text_title_9"},
            {Qt::Key_F3, Qt::NoModifier, 5, "Text_title_0"},
        };
        for (const auto& step : steps) {
            chord(step.key, step.mods);
            QCOMPARE(scroll("VScroll1"), step.top);
            QCOMPARE(focusName(), QLatin1String(step.focus));
        }
        QCOMPARE(modal().textRequests().size(), std::size_t(1));
        modal().answerText(QStringLiteral("boat"));
        chord(Qt::Key_F);
        QCOMPARE(modal().textRequests().back().text, QStringLiteral("Key"));
        QCOMPARE(modal().messages().back().text, QStringLiteral("No record matches \"boat\"."));
        QCOMPARE(focusName(), QStringLiteral("Text_title_0"));
    }

    void titleColumnTakesTheWindowsRoom()
    {
        start();
        const QRect title = indexed("Text_title", 0)->geometry();
        const QRect cell = indexed("Text_data", 15)->geometry();
        window().resize(window().width() + 300, window().height());
        QTRY_COMPARE(indexed("Text_title", 0)->width(), title.width() + 300);
        QCOMPARE(indexed("Text_title", 9)->x(), title.x());
        QCOMPARE(indexed("Text_data", 15)->geometry(), cell);
    }
};

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
