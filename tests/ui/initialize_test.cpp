// The document's state: the caption follows real edits typed into the
// grid, and New brings back the empty document.

#include "window_fixture.h"

#include <QComboBox>
#include <QScrollBar>

using namespace quorvane;
using namespace quorvane::test;

class InitializeTest : public WindowTest {
    Q_OBJECT
private slots:
    void initializeUndoesEverythingButTheSettings()
    {
        start();
        table()[200].KeyData = QStringLiteral("0102");
        table()[200].KeyAddrSet = true;
        KeyRecord spare;
        spare.KeyTitle = QStringLiteral("the 257th");
        spare.KeyData = QStringLiteral("ABCD");
        table()[kSpareSlot] = spare;
        window().document().mode.SetAddr16();
        window().grid().recordScroll()->setValue(100);
        window().grid().byteScroll()->setValue(30);
        type(indexed("Text_title", 2), QStringLiteral("typed"));
        QVERIFY(trigger("DoSort2"));
        const Settings settings = window().settings();

        modal().answerMessage(MessageResult::No);
        QVERIFY(trigger("new"));

        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
        QVERIFY(!window().state().Modified);
        QCOMPARE(window().document().mode.current(), AddressSize::Bits32);
        QVERIFY(!checked("addr16") && !checked("addr24") && checked("addr32"));
        QCOMPARE(window().grid().recordScroll()->value(), 0);
        QCOMPARE(window().grid().byteScroll()->value(), 0);
        QCOMPARE(window().grid().layout().topSlot(), 0);
        QCOMPARE(window().grid().layout().leftByte(), 0);
        QVERIFY(named(QStringLiteral("Text_filename"))->text().isEmpty());
        QCOMPARE(indexed<QLabel>("Label_DataIndex", 0)->text(), QStringLiteral("00"));
        for (int row = 0; row < GridView::kRows; ++row) {
            QCOMPARE(indexed<QLabel>("Text_lineNo", row)->text(), QString::number(row + 1));
            QCOMPARE(indexed("Text_address", row)->maxLength(), 8);
            QString texts;
            for (const char* field : {"Text_title", "Text_address", "Text_size"})
                texts += indexed(field, row)->text();
            for (int column = 0; column < GridView::kColumns; ++column)
                texts += indexed("Text_data", row * GridView::kColumns + column)->text();
            QVERIFY2(texts.isEmpty(), qPrintable(QStringLiteral("row %1: %2").arg(row).arg(texts)));
            QCOMPARE(indexed<QComboBox>("Combo_type", row)->currentIndex(), 0);
        }
        for (Slot slot = 0; slot < kRecordCount; ++slot)
            QVERIFY2(table()[slot].isEmptyRecord(), qPrintable(QStringLiteral("slot %1").arg(slot)));
        QCOMPARE(table()[kSpareSlot], spare);
        QCOMPARE(window().settings(), settings);
        QVERIFY(sortIndicatorShown());
    }
};

QTEST_MAIN(InitializeTest)
#include "initialize_test.moc"
