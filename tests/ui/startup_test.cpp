// Start-up of the main window against the settings file it finds, and the
// settings file it writes back. Reading and clamping the values is the
// settings file's own test; here, that they reach the window.

#include "window_fixture.h"

#include <QSignalSpy>

using namespace quorvane;
using namespace quorvane::test;

class StartupTest : public WindowTest {
    Q_OBJECT
private slots:
    void settingsFileDecidesTheStartValues_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty: no file at all
        QTest::addColumn<QString>("lastPath");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("sortOn");
        QTest::newRow("first run") << QByteArray() << "" << 1 << true;
        QTest::newRow("9,0: filter 4, sort off") << settingsFile("/a.KEY", "9,0") << "/a.KEY" << 4 << false;
    }
    void settingsFileDecidesTheStartValues()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, lastPath);
        QFETCH(int, filterIndex);
        QFETCH(bool, sortOn);
        if (!contents.isEmpty())
            writeSettings(contents);
        start();
        QCOMPARE(window().settings().LastPath, lastPath);
        QCOMPARE(int(window().settings().FilterIndexSetting), filterIndex);
        QCOMPARE(int(window().settings().SortOn), int(sortOn));
        QCOMPARE(checked("DoSort"), sortOn);
        QCOMPARE(checked("DoSort2"), !sortOn);
        QCOMPARE(sortIndicatorShown(), !sortOn);
        QVERIFY(modal().messages().empty());
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
        QCOMPARE(file.readAll(), settingsFile("/k/a,b.KEY", "4,0"));
    }

private:
    void writeSettings(const QByteArray& contents)
    {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
