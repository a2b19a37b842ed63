// The main window's menus, the write-back of the grid that opening any of
// them performs, and the commands of the Option and Help menus.

#include "modal_driver.h"
#include "window_fixture.h"

#include <QDialog>
#include <QMenuBar>
#include <QPushButton>

using namespace quorvane;
using namespace quorvane::test;

class MenusTest : public WindowTest {
    Q_OBJECT
private slots:
    // A change made behind the grid's back shows the direction: data rows
    // go from the grid into the table, then the grid is redrawn from it.
    void openingAnyMenuWritesTheGridBack()
    {
        start();
        for (const char* menu : {"FILE", "addresssize", "option", "help"}) {
            table()[0].KeyData = QStringLiteral("AB");
            table()[1].KeyTitle = QLatin1String(menu);
            openMenu(QLatin1String(menu));
            QVERIFY2(table()[0].KeyData.isEmpty(), menu);
            QCOMPARE(indexed("Text_title", 1)->text(), QLatin1String(menu));
        }
    }

    // From a fresh window, which sorts. Choosing the item already marked
    // keeps its mark, though Qt unchecks it on the way.
    void sortCommandsMoveTheMarkAndTheIndicator_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<bool>("sortOn");
        QTest::newRow("off") << QStringList{"DoSort2"} << false;
        QTest::newRow("off, on") << QStringList{"DoSort2", "DoSort"} << true;
        QTest::newRow("on again") << QStringList{"DoSort"} << true;
        QTest::newRow("off twice") << QStringList{"DoSort2", "DoSort2"} << false;
    }
    void sortCommandsMoveTheMarkAndTheIndicator()
    {
        QFETCH(QStringList, commands);
        QFETCH(bool, sortOn);
        start();
        for (const QString& command : commands)
            QVERIFY(trigger(command));
        QCOMPARE(checked("DoSort"), sortOn);
        QCOMPARE(checked("DoSort2"), !sortOn);
        QCOMPARE(sortIndicatorShown(), !sortOn);
        QCOMPARE(int(window().settings().SortOn), int(sortOn));
    }

    void sortCommandsReorderNothing()
    {
        start();
        for (int slot = 0; slot < 4; ++slot) {
            table()[slot].KeyAddrSet = true;
            table()[slot].KeyAddrLow = qint16(0x4000 - slot * 0x100);
        }
        window().grid().redraw();
        const RecordTable before = table();
        QVERIFY(trigger("DoSort2"));
        QVERIFY(trigger("DoSort"));
        QVERIFY(table() == before);
        QVERIFY(!window().state().Modified);
    }

    void versionBoxShowsTheProgramModally()
    {
        MainWindow& window = start();
        QStringList shown;
        whenModalShown<QDialog>([&](QDialog* box) {
            shown << box->windowTitle() << QString::number(box->parentWidget() == &window);
            for (const char* name : {"Label1", "Label2", "Label3"})
                shown << box->findChild<QLabel*>(QLatin1String(name))->text();
            shown << QString::number(box->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
            QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        QVERIFY(trigger("version"));
        QCOMPARE(shown, (QStringList{"Quorvane Version", "1", "Quorvane  Version  2. 2. 0",
                                     "Copyright (C) 2026 Quorvane Project. All rights reserved.", "Quorvane Project",
                                     "0"}));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
