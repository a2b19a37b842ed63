// The empty document: what start-up shows and what Initialize restores.

#include "window_fixture.h"

#include <QComboBox>
#include <QScrollBar>

using namespace quorvane;
using namespace quorvane::test;

class InitializeTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->start();
    }
    void cleanup() { fixture_.reset(); }

    void startsWithAnEmptyDocument() { checkEmptyDocument(); }

    void initializeUndoesEverything()
    {
        Form1& window = fixture_->window();
        RecordTable& table = window.document().table;
        for (int slot : {0, 7, 120, 255}) {
            table[slot].KeyTitle = QStringLiteral("t%1").arg(slot);
            table[slot].KeyData = QStringLiteral("0102");
            table[slot].KeyType = kTypeAscii;
            table[slot].KeyAddrSet = true;
            table[slot].KeyAddrLow = qint16(slot);
        }
        window.document().mode.SetAddr16();
        window.grid().vScroll()->setValue(100);
        window.grid().hScroll()->setValue(30);
        // A real edit marks the document.
        auto* title = fixture_->indexed<QLineEdit>("Text_title", 2);
        title->setFocus();
        QTest::keyClicks(title, QStringLiteral("typed"));
        QVERIFY(window.state().Modified);

        window.Initialize();

        checkEmptyDocument();
        for (Slot slot = 0; slot < kRecordCount; ++slot)
            QVERIFY2(table[slot].isEmptyRecord(), qPrintable(QStringLiteral("slot %1").arg(slot)));
    }

    void spareSlotSurvives()
    {
        Form1& window = fixture_->window();
        KeyRecord spare;
        spare.KeyTitle = QStringLiteral("the 257th");
        spare.KeyData = QStringLiteral("ABCD");
        spare.KeySize = 2;
        window.document().table[kSpareSlot] = spare;
        window.Initialize();
        QCOMPARE(window.document().table[kSpareSlot], spare);
    }

    void initializeKeepsTheSettings()
    {
        Form1& window = fixture_->window();
        QVERIFY(fixture_->triggerAction("DoSort2"));
        const Settings before = window.settings();
        window.Initialize();
        QCOMPARE(window.settings(), before);
        QVERIFY(fixture_->named<QLabel>(QStringLiteral("Label8"))->isVisible());
    }

private:
    void checkEmptyDocument()
    {
        Form1& window = fixture_->window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Quorvane"));
        QVERIFY(!window.state().Modified);
        QVERIFY(window.state().TableReady);
        QCOMPARE(window.document().mode.current(), AddressSize::Bits32);
        QVERIFY(!fixture_->action("addr16")->isChecked());
        QVERIFY(!fixture_->action("addr24")->isChecked());
        QVERIFY(fixture_->action("addr32")->isChecked());

        QScrollBar* v = window.grid().vScroll();
        QScrollBar* h = window.grid().hScroll();
        QCOMPARE(v->value(), 0);
        QCOMPARE(h->value(), 0);
        QCOMPARE(v->minimum(), 0);
        QCOMPARE(v->maximum(), 246);
        QCOMPARE(h->minimum(), 0);
        QCOMPARE(h->maximum(), 236);
        QCOMPARE(int(window.state().CurVoffset), 0);
        QCOMPARE(int(window.state().CurHOffset), 0);
        QVERIFY(fixture_->named<QLineEdit>(QStringLiteral("Text_filename"))->text().isEmpty());

        for (int row = 0; row < GridView::kRows; ++row) {
            const QString at = QStringLiteral("row %1").arg(row);
            QCOMPARE(fixture_->indexed<QLabel>("Text_lineNo", row)->text(), QString::number(row + 1));
            QVERIFY2(fixture_->indexed<QLineEdit>("Text_title", row)->text().isEmpty(), qPrintable(at));
            auto* address = fixture_->indexed<QLineEdit>("Text_address", row);
            QVERIFY2(address->text().isEmpty(), qPrintable(at));
            QCOMPARE(address->maxLength(), 8);
            QVERIFY2(fixture_->indexed<QLineEdit>("Text_size", row)->text().isEmpty(), qPrintable(at));
            QCOMPARE(fixture_->indexed<QComboBox>("Combo_type", row)->currentIndex(), 0);
            for (int column = 0; column < GridView::kColumns; ++column) {
                auto* cell = fixture_->indexed<QLineEdit>("Text_data", row * 16 + column);
                QVERIFY2(cell->text().isEmpty(), qPrintable(at));
                QVERIFY2(cell->isVisible(), qPrintable(at));
            }
        }
        for (int column = 0; column < GridView::kColumns; ++column)
            QCOMPARE(fixture_->indexed<QLabel>("Label_DataIndex", column)->text(),
                     QStringLiteral("%1").arg(column, 2, 16, QLatin1Char('0')).toUpper());
    }

    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(InitializeTest)
#include "initialize_test.moc"
