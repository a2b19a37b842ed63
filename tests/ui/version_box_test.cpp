// The version box and the version line it shows.

#include "modal_driver.h"
#include "window_fixture.h"

#include "ui/version_box.h"
#include "ui/version_info.h"

#include <QPushButton>

using namespace quorvane;
using namespace quorvane::test;

class VersionBoxTest : public QObject {
    Q_OBJECT
private slots:
    void versionLine_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("this release") << 2 << 2 << 0 << "Quorvane  Version  2. 2. 0";
        QTest::newRow("two digits") << 10 << 0 << 12 << "Quorvane  Version  10. 0. 12";
        QTest::newRow("negative has its sign") << 1 << -1 << 3 << "Quorvane  Version  1.-1. 3";
    }

    void versionLine()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, line);
        VersionInfo info = programVersion();
        info.major = major;
        info.minor = minor;
        info.revision = revision;
        QCOMPARE(quorvane::versionLine(info), line);
    }

    void helpVersionShowsTheBoxModally()
    {
        WindowFixture fixture;
        Form1& window = fixture.start();
        QStringList texts;
        QString caption;
        bool modal = false;
        bool picture = false;
        whenModalShown<QDialog>([&](QDialog* box) {
            caption = box->windowTitle();
            modal = box->windowModality() == Qt::ApplicationModal && box->parentWidget() == &window;
            for (const char* name : {"Label1", "Label2", "Label3"})
                texts << box->findChild<QLabel*>(QLatin1String(name))->text();
            picture = !box->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull();
            auto* ok = box->findChild<QPushButton*>(QStringLiteral("Command1"));
            QCOMPARE(ok->text(), QStringLiteral("OK"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QVERIFY(fixture.triggerAction("version"));
        QCOMPARE(caption, QStringLiteral("Quorvane Version"));
        QVERIFY(modal);
        QVERIFY(picture);
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts.at(0), QStringLiteral("Quorvane  Version  2. 2. 0"));
        QVERIFY(texts.at(1).startsWith(QStringLiteral("Copyright")));
        QCOMPARE(texts.at(2), programVersion().companyName);
        QVERIFY(!texts.at(2).isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(VersionBoxTest)
#include "version_box_test.moc"
