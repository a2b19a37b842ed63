// The address-sort option commands and their indicator.

#include "window_fixture.h"

using namespace quorvane;
using namespace quorvane::test;

class SortOptionTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->start();
    }
    void cleanup() { fixture_.reset(); }

    // Each row is a sequence of commands from a fresh window (sort on).
    void commandsMoveTheMarkAndTheIndicator_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<bool>("sortOn");
        QTest::newRow("off") << QStringList{"DoSort2"} << false;
        QTest::newRow("off, on") << QStringList{"DoSort2", "DoSort"} << true;
        QTest::newRow("on again keeps its mark") << QStringList{"DoSort"} << true;
        QTest::newRow("off twice keeps its mark") << QStringList{"DoSort2", "DoSort2"} << false;
        QTest::newRow("on, off, off, on, off") << QStringList{"DoSort", "DoSort2", "DoSort2", "DoSort", "DoSort2"}
                                              << false;
    }

    void commandsMoveTheMarkAndTheIndicator()
    {
        QFETCH(QStringList, commands);
        QFETCH(bool, sortOn);
        for (const QString& command : commands)
            QVERIFY(fixture_->triggerAction(command.toLatin1().constData()));
        QCOMPARE(fixture_->action("DoSort")->isChecked(), sortOn);
        QCOMPARE(fixture_->action("DoSort2")->isChecked(), !sortOn);
        QCOMPARE(fixture_->named<QLabel>(QStringLiteral("Label8"))->isVisible(), !sortOn);
        QCOMPARE(int(fixture_->window().settings().SortOn), sortOn ? 1 : 0);
    }

    void neitherCommandReordersTheTable()
    {
        RecordTable& table = fixture_->window().document().table;
        for (int slot = 0; slot < 4; ++slot) {
            table[slot].KeyAddrSet = true;
            table[slot].KeyAddrLow = qint16(0x4000 - slot * 0x100);
            table[slot].KeySize = 1;
            table[slot].KeyData = QStringLiteral("0%1").arg(slot);
        }
        fixture_->window().grid().redraw();
        const RecordTable before = table;
        QVERIFY(fixture_->triggerAction("DoSort2"));
        QVERIFY(fixture_->triggerAction("DoSort"));
        QVERIFY(table == before);
        QVERIFY(!fixture_->window().state().Modified);
    }

private:
    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(SortOptionTest)
#include "sort_option_test.moc"
