// The "AddressSize" menu in the real window: the warnings it shows, what
// Cancel keeps and what OK changes in the menu and the grid.

#include "window_fixture.h"

#include "tests/support/record_builders.h"

using namespace quorvane;
using namespace quorvane::test;

class AddressSizeTest : public WindowTest {
    Q_OBJECT
    static QString command(int bits) { return QStringLiteral("addr%1").arg(bits); }

private slots:
    // `answer` is the reply to the warning, 0 when none may be asked. Sizes
    // are in bytes; HEX data holds two digits per byte. The record lies at
    // 123456, beyond the 16-bit addresses.
    void commands_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("sizeAfter");
        const int ok = int(MessageResult::Ok);
        const int cancel = int(MessageResult::Cancel);
        QTest::newRow("16->24 OK cuts to 251") << 16 << 24 << ok << false << 252 << 24 << 251;
        QTest::newRow("24->32 Cancel keeps all") << 24 << 32 << cancel << true << 251 << 24 << 251;
        QTest::newRow("32->24 silent") << 32 << 24 << 0 << false << 250 << 24 << 250;
        QTest::newRow("32->16 names the key that moves, Cancel keeps all") << 32 << 16 << cancel << false << 250 << 32 << 250;
        QTest::newRow("32->16 OK") << 32 << 16 << ok << false << 250 << 16 << 250;
        QTest::newRow("16->16 never cuts") << 16 << 16 << 0 << false << 300 << 16 << 300;
    }
    void commands()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, answer);
        QFETCH(bool, ascii);
        QFETCH(int, size);
        QFETCH(int, result);
        QFETCH(int, sizeAfter);
        start();
        // Every mode is reached from the start (32-bit) without a question.
        QVERIFY(trigger(command(from)));
        QVERIFY(modal().messages().empty());
        const KeyRecord record = addressed(ascii ? asciiRecord(QString(size, QLatin1Char('k')), size)
                                                 : hexRecord(QStringLiteral("A5").repeated(size), size),
                                           0x123456);
        table()[5] = record;
        window().grid().redraw();
        if (answer != 0)
            modal().answerMessage(MessageResult(answer));

        QVERIFY(trigger(command(to)));

        QCOMPARE(int(modal().messages().size()), answer != 0 ? 1 : 0);
        const QString warning = to < from
            ? QStringLiteral("The key data exceeds the upper bound of the address size.\r\nLineNo: 6 (00123456)\r\n"
                             "(The key data of these lines is saved at another address.)\r\nContinue ?")
            : QStringLiteral("There is a possibility for the data size to exceed the upper bound of Srecord.\r\n"
                             "(Data that exceeds the upper bound is deleted.)\r\nContinue ?");
        if (answer != 0)
            QVERIFY(modal().messages().front()
                    == (MessageRequest{warning, "WARNING", MessageButtons::OkCancel, MessageIcon::Exclamation,
                                       MessageResult::Ok, {}}));
        QCOMPARE(modal().unanswered(), 0);
        QCOMPARE(int(window().document().mode.current()), result);
        for (int bits : {16, 24, 32})
            QVERIFY2(checked(command(bits)) == (bits == result), qPrintable(command(bits)));
        const KeyRecord& after = table()[5];
        QCOMPARE(int(after.KeySize), sizeAfter);
        QCOMPARE(after.KeyData, record.KeyData.left(ascii ? sizeAfter : 2 * sizeAfter));
        QCOMPARE(after.address(), record.address());
        // The grid shows the table in the width of the mode.
        auto* address = indexed("Text_address", 5);
        QCOMPARE(address->maxLength(), result / 4);
        QCOMPARE(address->text(), QStringLiteral("00123456").right(result / 4));
        QCOMPARE(indexed("Text_size", 5)->text(), QString::number(sizeAfter));
        // Cutting data is not an edit of the user's.
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
    }
};

QTEST_MAIN(AddressSizeTest)
#include "address_size_test.moc"
