// Start-up of the main window against the settings file it finds, and the
// settings it writes back.

#include "window_fixture.h"

#include <QDir>

using namespace quorvane;
using namespace quorvane::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { fixture_ = std::make_unique<WindowFixture>(); }
    void cleanup() { fixture_.reset(); }

    void settingsFileDecidesTheStartValues_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("lastPath");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<bool>("sortOn");

        QTest::newRow("first run, no file") << false << QByteArray() << QString() << 1 << true;
        QTest::newRow("9,0: clamped to 4, sort off")
            << true << settingsFile("/data/keys/a.KEY", "9,0") << QStringLiteral("/data/keys/a.KEY") << 4 << false;
        QTest::newRow("0,5: clamped to 1, sort on")
            << true << settingsFile("/k.KEY", "0,5") << QStringLiteral("/k.KEY") << 1 << true;
        QTest::newRow("only the first line")
            << true << QByteArray("\"/only/first.KEY\"\r\n") << QStringLiteral("/only/first.KEY") << 1 << true;
        QTest::newRow("path with commas")
            << true << settingsFile("/keys/a,b,,c.KEY", "2,1") << QStringLiteral("/keys/a,b,,c.KEY") << 2 << true;
        QTest::newRow("filter index does not fit 16 bits: nothing more read")
            << true << settingsFile("/p.KEY", "70000,0") << QStringLiteral("/p.KEY") << 1 << true;
    }

    void settingsFileDecidesTheStartValues()
    {
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, contents);
        QFETCH(QString, lastPath);
        QFETCH(int, filterIndex);
        QFETCH(bool, sortOn);
        if (fileExists)
            fixture_->writeSettingsFile(contents);

        Form1& window = fixture_->start();

        QCOMPARE(window.settings().LastPath, lastPath);
        QCOMPARE(int(window.settings().FilterIndexSetting), filterIndex);
        QCOMPARE(int(window.settings().SortOn), sortOn ? 1 : 0);
        QCOMPARE(fixture_->action("DoSort")->isChecked(), sortOn);
        QCOMPARE(fixture_->action("DoSort2")->isChecked(), !sortOn);
        QCOMPARE(fixture_->named<QLabel>(QStringLiteral("Label8"))->isVisible(), !sortOn);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(fixture_->modal().messages().size(), std::size_t(0));
    }

    void startUpFillsTheEditorState()
    {
        Form1& window = fixture_->start();
        QCOMPARE(QDir::cleanPath(window.state().IniPath), QDir::cleanPath(fixture_->settingsPath()));
        QCOMPARE(window.state().FPad, QString(2048, QLatin1Char('F')));
        QCOMPARE(int(window.state().FocusDataIndex), -1);
        QVERIFY(window.state().TableReady);
        QVERIFY(!window.state().Modified);
    }

    void firstRunWritesTheDefaultSettings()
    {
        Form1& window = fixture_->start();
        QVERIFY(!QFile::exists(fixture_->settingsPath()));
        QCOMPARE(window.writeSettings(), QString());
        QFile file(fixture_->settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settingsFile("", "1,1"));
    }

    void writtenSettingsCarryWhatWasReadAndChosen()
    {
        fixture_->writeSettingsFile(settingsFile("/keys/a,b.KEY", "9,1"));
        Form1& window = fixture_->start();
        QVERIFY(fixture_->triggerAction("DoSort2"));
        QCOMPARE(window.writeSettings(), QString());
        QFile file(fixture_->settingsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settingsFile("/keys/a,b.KEY", "4,0"));
    }

    void writingReportsAFailure()
    {
        Form1& window = fixture_->start();
        QDir(fixture_->folder()).removeRecursively();
        QVERIFY(!window.writeSettings().isEmpty());
    }

    void nextStartReadsWhatWasWritten()
    {
        fixture_->start();
        QVERIFY(fixture_->triggerAction("DoSort2"));
        QCOMPARE(fixture_->window().writeSettings(), QString());
        fixture_->stop();
        Form1& again = fixture_->start();
        QCOMPARE(int(again.settings().SortOn), 0);
        QVERIFY(fixture_->named<QLabel>(QStringLiteral("Label8"))->isVisible());
    }

private:
    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
