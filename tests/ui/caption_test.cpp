// The caption follows real edits typed into the grid, and only those.

#include "window_fixture.h"

#include <QComboBox>

using namespace quorvane;
using namespace quorvane::test;

class CaptionTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->start();
        fixture_->window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture_->window()));
    }
    void cleanup() { fixture_.reset(); }

    void typingMarksTheCaption_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("keys");
        QTest::newRow("address") << "Text_address" << 0 << "1F00";
        QTest::newRow("title") << "Text_title" << 4 << "boot key";
        QTest::newRow("size") << "Text_size" << 9 << "16";
        QTest::newRow("data cell") << "Text_data" << 32 << "A5";
    }

    void typingMarksTheCaption()
    {
        QFETCH(QString, field);
        QFETCH(int, index);
        QFETCH(QString, keys);
        auto* edit = fixture_->indexed<QLineEdit>(field.toLatin1().constData(), index);
        QVERIFY(edit != nullptr);
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane"));
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, keys);
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        QVERIFY(fixture_->window().state().Modified);
    }

    void typedAddressReachesTheTable()
    {
        auto* address = fixture_->indexed<QLineEdit>("Text_address", 0);
        QTest::mouseClick(address, Qt::LeftButton);
        QTest::keyClicks(address, QStringLiteral("1F00"));
        const KeyRecord& record = fixture_->window().document().table[0];
        QVERIFY(record.KeyAddrSet);
        QCOMPARE(record.address(), quint32(0x1F00));
    }

    void redrawAndMenusKeepTheMark()
    {
        auto* title = fixture_->indexed<QLineEdit>("Text_title", 0);
        QTest::mouseClick(title, Qt::LeftButton);
        QTest::keyClicks(title, QStringLiteral("x"));
        fixture_->window().grid().redraw();
        QVERIFY(fixture_->openMenu("option"));
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        fixture_->window().Initialize();
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane"));
    }

    void changingTheTypeDoesNotMark()
    {
        auto* type = fixture_->indexed<QComboBox>("Combo_type", 3);
        type->setFocus();
        QTest::keyClick(type, Qt::Key_Down);
        QCOMPARE(fixture_->window().document().table[3].KeyType, kTypeAscii);
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane"));
    }

private:
    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(CaptionTest)
#include "caption_test.moc"
