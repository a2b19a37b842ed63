// The main window's menus, labels and caption, and the write-back that
// opening any menu performs.

#include "window_fixture.h"

#include <QMenuBar>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The items of a menu as names, "-" for a separator.
QStringList itemNames(QMenu* menu)
{
    QStringList names;
    for (QAction* item : menu->actions())
        names << (item->isSeparator() ? QStringLiteral("-") : item->objectName());
    return names;
}

} // namespace

class MenusTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->start();
    }
    void cleanup() { fixture_.reset(); }

    void topLevelMenusInOrder()
    {
        QStringList titles;
        QStringList names;
        for (QAction* entry : fixture_->window().menuBar()->actions()) {
            titles << entry->text();
            names << entry->menu()->objectName();
        }
        QCOMPARE(titles, (QStringList{"File(&F)", "AddressSize(&A)", "Option(&O)", "Help(&H)"}));
        QCOMPARE(names, (QStringList{"FILE", "addresssize", "option", "help"}));
    }

    void menuItemsInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "FILE"
                              << QStringList{"new", "-", "FileOpen", "FileSave", "-", "KEY_extract", "-", "END"};
        QTest::newRow("AddressSize") << "addresssize" << QStringList{"addr16", "addr24", "addr32"};
        QTest::newRow("Option") << "option" << QStringList{"DoSort", "DoSort2"};
        QTest::newRow("Help") << "help" << QStringList{"version"};
    }

    void menuItemsInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        QCOMPARE(itemNames(fixture_->named<QMenu>(menu)), items);
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        // Commands that are not part of the editor yet are shown, but cannot be chosen.
        QTest::newRow("new") << "new" << "New(&N)" << false;
        QTest::newRow("FileOpen") << "FileOpen" << "File Open(&O)..." << false;
        QTest::newRow("FileSave") << "FileSave" << "File Save(&S)..." << false;
        QTest::newRow("KEY_extract") << "KEY_extract" << "Extract KEY Data(&E)..." << false;
        QTest::newRow("END") << "END" << "End(&X)" << false;
        QTest::newRow("addr16") << "addr16" << "16bit(&1)" << true;
        QTest::newRow("addr24") << "addr24" << "24bit(&2)" << true;
        QTest::newRow("addr32") << "addr32" << "32bit(&3)" << true;
        QTest::newRow("DoSort") << "DoSort" << "Address Sort On(&N)" << true;
        QTest::newRow("DoSort2") << "DoSort2" << "Address Sort Off(&F)" << true;
        QTest::newRow("version") << "version" << "Version(&V)..." << true;
    }

    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QAction* item = fixture_->named<QAction>(name);
        QVERIFY(item != nullptr);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->isEnabled(), enabled);
    }

    void labelsOfTheWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("visible");
        QTest::newRow("title") << "Label2" << "Quorvane" << true;
        QTest::newRow("line number heading") << "Text0" << "No." << true;
        QTest::newRow("file label") << "Label_file" << "File:" << true;
        QTest::newRow("sort indicator, hidden while sorting") << "Label8" << "Address Sort Off" << false;
    }

    void labelsOfTheWindow()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, visible);
        auto* label = fixture_->named<QLabel>(name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->isVisible(), visible);
    }

    void fileNameFieldAndDropLabel()
    {
        auto* fileName = fixture_->named<QLineEdit>(QStringLiteral("Text_filename"));
        QVERIFY(fileName != nullptr);
        QVERIFY(fileName->text().isEmpty());
        auto* fileLabel = fixture_->named<QLabel>(QStringLiteral("Label_file"));
        QCOMPARE(fileLabel->buddy(), fileName);
        auto* drop = fixture_->named<QLabel>(QStringLiteral("Label_Drop"));
        QVERIFY(drop != nullptr);
        QVERIFY(drop->isVisible());
        QVERIFY(!drop->text().isEmpty());
    }

    void captionAndGrid()
    {
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane"));
        QVERIFY(fixture_->named<GridView>(QStringLiteral("grid"))->isVisible());
    }

    // A change made to the table behind the grid's back shows which way the
    // write-back runs: data rows go from the grid into the table, and the
    // grid is then redrawn from the table.
    void openingAMenuWritesTheGridBack_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::newRow("File") << "FILE";
        QTest::newRow("AddressSize") << "addresssize";
        QTest::newRow("Option") << "option";
        QTest::newRow("Help") << "help";
    }

    void openingAMenuWritesTheGridBack()
    {
        QFETCH(QString, menu);
        RecordTable& table = fixture_->window().document().table;
        table[0].KeyData = QStringLiteral("AB");
        table[1].KeyTitle = QStringLiteral("behind the grid");
        QVERIFY(fixture_->indexed<QLineEdit>("Text_title", 1)->text().isEmpty());

        QVERIFY(fixture_->openMenu(menu.toLatin1().constData()));

        QCOMPARE(table[0].KeyData, QString());
        QCOMPARE(fixture_->indexed<QLineEdit>("Text_title", 1)->text(), QStringLiteral("behind the grid"));
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane"));
    }

private:
    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
