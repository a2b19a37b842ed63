// The main window's menus, the write-back of the grid that opening any of
// them performs, the commands of the Option and Help menus, and the settings
// file the window starts from and writes back. Reading and clamping the
// values is the settings file's own test; here, that they reach the window.

#include "modal_driver.h"
#include "window_fixture.h"

#include <QDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

using namespace quorvane;
using namespace quorvane::test;

class MenusTest : public WindowTest {
    Q_OBJECT
    void writeSettings(const QByteArray& contents)
    {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }

private slots:
    // What the user reads in the menu bar: each item's name, caption and
    // shortcut, in order, "-" for a separator.
    void menusHoldTheirItemsInOrder()
    {
        start();
        QStringList shown;
        for (QAction* menu : window().menuBar()->actions()) {
            shown << menu->menu()->objectName() + QLatin1Char(' ') + menu->text();
            for (const QAction* item : menu->menu()->actions()) {
                const QStringList parts{item->objectName(), item->text(), item->shortcut().toString()};
                shown << (item->isSeparator() ? QStringLiteral("-") : parts.join(QLatin1Char(' ')).trimmed());
            }
        }
        QCOMPARE(shown, (QStringList{
            "FILE File(&F)", "new New(&N) Ctrl+N", "-", "FileOpen File Open(&O)... Ctrl+O",
            "OpenRecent Open Recent(&R)", "Save Save(&V) Ctrl+S", "FileSave File Save(&S)... Ctrl+Shift+S", "-", "KEY_extract Extract KEY Data(&E)...",
            "KEY_merge Write KEY Data into Image...", "-", "END End(&X) Ctrl+Q",
            "edit Edit(&E)", "EditUndo Undo(&U) Ctrl+Z", "EditRedo Redo(&R) Ctrl+Shift+Z", "-",
            "RowInsert Insert Row(&I) Ctrl+Shift+I", "RowDelete Delete Row(&D) Ctrl+Shift+Del",
            "RowUp Move Row Up(&P) Ctrl+Shift+PgUp", "RowDown Move Row Down(&W) Ctrl+Shift+PgDown",
            "RowDuplicate Duplicate Row(&L) Ctrl+Shift+D", "RowCopy Copy Row(&C) Ctrl+Shift+C",
            "RowCut Cut Row(&X) Ctrl+Shift+X", "RowPaste Paste Rows(&V) Ctrl+Shift+V", "-", "GoToFirstByte Go to First Byte(&B) Ctrl+Home", "GoToLastByte Go to Last Byte(&Y) Ctrl+End",
            "GoToTitle Go to Title(&T) Ctrl+T", "-", "GoToLine Go to Line(&G)... Ctrl+G", "-",
            "FindRecord Find Record(&F)... Ctrl+F", "FindNext Find Next(&N) F3",
            "addresssize AddressSize(&A)", "addr16 16bit(&1)", "addr24 24bit(&2)", "addr32 32bit(&3)",
            "option Option(&O)", "DoSort Address Sort On(&N)", "DoSort2 Address Sort Off(&F)",
            "help Help(&H)", "version Version(&V)..."}));
    }

    // A change made behind the grid's back shows the direction: data rows
    // go from the grid into the table, then the grid is redrawn from it.
    // Not so for the Edit menu: its undo must not meet a write-back's cut.
    void openingAnyMenuWritesTheGridBack()
    {
        start();
        for (const char* menu : {"FILE", "edit", "addresssize", "option", "help"}) {
            table()[0].KeyData = QStringLiteral("AB");
            window().grid().redraw();
            table()[0].KeyData = QStringLiteral("CD");
            openMenu(QLatin1String(menu));
            QCOMPARE(table()[0].KeyData, QString::fromLatin1(qstrcmp(menu, "edit") == 0 ? "CD" : "AB"));
        }
    }

    // The settings file decides the start values (none: a first run, which
    // sorts); the commands then move the marks. Choosing the item already
    // marked keeps its mark, though Qt unchecks it on the way.
    void sortMarksFollowTheSettingsFileAndTheCommands_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<bool>("sortOn");
        QTest::newRow("first run") << QByteArray() << QStringList{} << true;
        QTest::newRow("9,0: filter 5, sort off") << settingsFile("/a.KEY", "9,0") << QStringList{} << false;
        QTest::newRow("off") << QByteArray() << QStringList{"DoSort2"} << false;
        QTest::newRow("off, on") << QByteArray() << QStringList{"DoSort2", "DoSort"} << true;
        QTest::newRow("on again") << QByteArray() << QStringList{"DoSort"} << true;
        QTest::newRow("off twice") << QByteArray() << QStringList{"DoSort2", "DoSort2"} << false;
    }
    void sortMarksFollowTheSettingsFileAndTheCommands()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, commands);
        QFETCH(bool, sortOn);
        if (!contents.isEmpty())
            writeSettings(contents);
        start();
        for (const QString& command : commands)
            QVERIFY(trigger(command));
        QCOMPARE(window().settings().LastPath, contents.isEmpty() ? QString() : QStringLiteral("/a.KEY"));
        QCOMPARE(int(window().settings().FilterIndexSetting), contents.isEmpty() ? 1 : 5);
        QCOMPARE(int(window().settings().SortOn), int(sortOn));
        QCOMPARE(checked("DoSort"), sortOn);
        QCOMPARE(checked("DoSort2"), !sortOn);
        QCOMPARE(sortIndicatorShown(), !sortOn);
        QVERIFY(modal().messages().empty());
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

    // What was read, clamped, and then chosen goes back out, in 13 lines.
    void writtenSettingsCarryWhatWasReadAndChosen()
    {
        writeSettings(settingsFile("/k/a,b.KEY", "9,1"));
        start();
        QVERIFY(trigger("DoSort2"));
        QSignalSpy ended(&window(), &MainWindow::programEnded);
        QVERIFY(!window().close()); // the close box runs End, which keeps the settings
        QCOMPARE(ended.count(), 1);
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settingsFile("/k/a,b.KEY", "5,0"));
    }
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
