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
    static void chord(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods);
    }
    [[nodiscard]] static QString focusName() { return QApplication::focusWidget()->objectName(); }
    [[nodiscard]] int scroll(const char* bar) const { return named<QScrollBar>(QLatin1String(bar))->value(); }

private slots:
    void recordEdgesScrollToTheBytes()
    {
        start();
        table()[2] = KeyRecord{{}, 0, 0, 40, kTypeHex, QStringLiteral("A5").repeated(40), true};
        window().grid().redraw();
        type(indexed("Text_data", 37), {});
        chord(Qt::Key_End);
        QCOMPARE(focusName(), QStringLiteral("Text_data_47"));
        QCOMPARE(scroll("HScroll1"), 24);
        QCOMPARE(indexed("Text_data", 47)->cursorPosition(), 2);
        chord(Qt::Key_Home);
        QCOMPARE(focusName(), QStringLiteral("Text_data_32"));
        QCOMPARE(scroll("HScroll1"), 0);
        type(indexed("Text_title", 2), QStringLiteral("ab"));
        chord(Qt::Key_End); // the line edit's own key in every other field
        QCOMPARE(focusName(), QStringLiteral("Text_title_2"));
    }

    // A size field left by a jump clamps its size, as with Tab, before the
    // grid scrolls another record under it.
    void jumpsLeaveTheFieldFirst()
    {
        start();
        type(indexed("Text_size", 3), QStringLiteral("300"));
        chord(Qt::Key_T);
        QCOMPARE(focusName(), QStringLiteral("Text_title_3"));
        type(indexed("Text_size", 0), QStringLiteral("300"));
        modal().answerText(QStringLiteral(" 120 "));
        chord(Qt::Key_G);
        QCOMPARE(modal().textRequests().back(), (TextRequest{"Go to Line", "Line number (1 to 256):", "1"}));
        QCOMPARE(scroll("VScroll1"), 110);
        QCOMPARE(focusName(), QStringLiteral("Text_address_9"));
        QVERIFY(table()[3].KeySize == 250 && table()[0].KeySize == 250);
        modal().answerText(QStringLiteral("257"));
        chord(Qt::Key_G);
        QCOMPARE(modal().messages().back().text, QStringLiteral("Enter a line number from 1 to 256."));
    }

    // F3 goes on from the record found, round the table, without asking again.
    void findAndFindNextWalkTheMatches()
    {
        start();
        table()[5].KeyTitle = QStringLiteral("Boot key");
        table()[40].KeyTitle = QStringLiteral("MAIN KEY");
        type(indexed("Text_data", 0), {});
        modal().answerText(QStringLiteral("Key"));
        chord(Qt::Key_F);
        QCOMPARE(focusName(), QStringLiteral("Text_title_5"));
        chord(Qt::Key_F3, Qt::NoModifier);
        QCOMPARE(scroll("VScroll1"), 31);
        chord(Qt::Key_F3, Qt::NoModifier);
        QCOMPARE(scroll("VScroll1"), 5);
        QCOMPARE(focusName(), QStringLiteral("Text_title_0"));
        modal().answerText(QStringLiteral("boat"));
        chord(Qt::Key_F);
        QCOMPARE(modal().textRequests().size(), std::size_t(2));
        QCOMPARE(modal().messages().back().text, QStringLiteral("No record matches \"boat\"."));
    }

    // The cells stay where they are; the record bar moves out with the titles.
    void titleColumnTakesTheWindowsRoom()
    {
        start();
        const QRect title = indexed("Text_title", 0)->geometry();
        const QRect cell = indexed("Text_data", 15)->geometry();
        window().resize(window().width() + 300, window().height());
        QTRY_COMPARE(indexed("Text_title", 9)->width(), title.width() + 300);
        QCOMPARE(indexed("Text_data", 15)->geometry(), cell);
        const QRect bar = named<QScrollBar>(QStringLiteral("VScroll1"))->geometry();
        QVERIFY(bar.left() > indexed("Text_title", 0)->geometry().right() && bar.right() < window().grid().width());
    }
};

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
