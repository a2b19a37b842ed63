// The "AddressSize" menu in the real window: when it warns, what Cancel
// keeps and what OK cuts.

#include "window_fixture.h"

using namespace quorvane;
using namespace quorvane::test;

Q_DECLARE_METATYPE(quorvane::MessageResult)

namespace {

const char* commandFor(int bits)
{
    return bits == 16 ? "addr16" : bits == 24 ? "addr24" : "addr32";
}

QString hexDigits(int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits += QLatin1Char("0123456789ABCDEF"[i % 16]);
    return digits;
}

QString asciiText(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QLatin1Char(char('a' + i % 26));
    return text;
}

} // namespace

class AddressSizeTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        fixture_ = std::make_unique<WindowFixture>();
        fixture_->start();
    }
    void cleanup() { fixture_.reset(); }

    void commands_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<MessageResult>("answer");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sizeBefore");
        QTest::addColumn<int>("lengthBefore");
        QTest::addColumn<int>("result");      // address size afterwards
        QTest::addColumn<int>("sizeAfter");
        QTest::addColumn<int>("lengthAfter");

        const int hex = kTypeHex;
        const int ascii = kTypeAscii;
        const auto ok = MessageResult::Ok;
        const auto cancel = MessageResult::Cancel;
        QTest::newRow("16->24 OK cuts HEX to 251") << 16 << 24 << true << ok << hex << 252 << 504 << 24 << 251 << 502;
        QTest::newRow("16->24 Cancel keeps all") << 16 << 24 << true << cancel << hex << 252 << 504 << 16 << 252 << 504;
        QTest::newRow("16->32 OK cuts HEX to 250") << 16 << 32 << true << ok << hex << 252 << 504 << 32 << 250 << 500;
        QTest::newRow("24->32 OK cuts ASCII to 250") << 24 << 32 << true << ok << ascii << 251 << 251 << 32 << 250 << 250;
        QTest::newRow("24->32 Cancel") << 24 << 32 << true << cancel << ascii << 251 << 251 << 24 << 251 << 251;
        QTest::newRow("32->24 silent") << 32 << 24 << false << ok << hex << 250 << 500 << 24 << 250 << 500;
        QTest::newRow("32->16 silent") << 32 << 16 << false << ok << hex << 250 << 500 << 16 << 250 << 500;
        QTest::newRow("32->32 silent") << 32 << 32 << false << ok << hex << 250 << 500 << 32 << 250 << 500;
        QTest::newRow("24->24 silent but trims") << 24 << 24 << false << ok << hex << 300 << 600 << 24 << 251 << 502;
        QTest::newRow("16->16 never trims") << 16 << 16 << false << ok << hex << 300 << 600 << 16 << 300 << 600;
    }

    void commands()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, warned);
        QFETCH(MessageResult, answer);
        QFETCH(int, type);
        QFETCH(int, sizeBefore);
        QFETCH(int, lengthBefore);
        QFETCH(int, result);
        QFETCH(int, sizeAfter);
        QFETCH(int, lengthAfter);

        Form1& window = fixture_->window();
        // Every mode is reached from the start (32-bit) without a warning.
        QVERIFY(fixture_->triggerAction(commandFor(from)));
        QCOMPARE(int(window.document().mode.current()), from);
        QCOMPARE(fixture_->modal().messages().size(), std::size_t(0));

        KeyRecord record;
        record.KeyType = qint16(type);
        record.KeySize = qint16(sizeBefore);
        record.KeyData = type == kTypeHex ? hexDigits(lengthBefore) : asciiText(lengthBefore);
        record.KeyAddrSet = true;
        record.KeyAddrHigh = 0x12;
        record.KeyAddrLow = 0x3456;
        window.document().table[5] = record;
        window.grid().redraw();
        if (warned)
            fixture_->modal().answerMessage(answer);

        QVERIFY(fixture_->triggerAction(commandFor(to)));

        QCOMPARE(fixture_->modal().messages().size(), std::size_t(warned ? 1 : 0));
        QCOMPARE(fixture_->modal().unanswered(), 0);
        QCOMPARE(int(window.document().mode.current()), result);
        for (int bits : {16, 24, 32})
            QCOMPARE(fixture_->action(commandFor(bits))->isChecked(), bits == result);
        const KeyRecord& after = window.document().table[5];
        QCOMPARE(int(after.KeySize), sizeAfter);
        QCOMPARE(after.KeyData, record.KeyData.left(lengthAfter));
        QCOMPARE(after.address(), record.address());
        // The grid shows what the table holds, in the width of the mode.
        const int digits = result / 4;
        auto* address = fixture_->indexed<QLineEdit>("Text_address", 5);
        QCOMPARE(address->maxLength(), digits);
        QCOMPARE(address->text(), QStringLiteral("00123456").right(digits));
        QCOMPARE(fixture_->indexed<QLineEdit>("Text_size", 5)->text(), QString::number(sizeAfter));
        // Cutting data is not an edit of the user's.
        QCOMPARE(window.windowTitle(), QStringLiteral("Quorvane"));
    }

    void theWarningAsked()
    {
        QVERIFY(fixture_->triggerAction("addr16"));
        fixture_->modal().answerMessage(MessageResult::Ok);
        QVERIFY(fixture_->triggerAction("addr32"));
        QCOMPARE(fixture_->modal().messages().size(), std::size_t(1));
        const MessageRequest& warning = fixture_->modal().messages().front();
        QCOMPARE(warning.text.split(QStringLiteral("\r\n")),
                 (QStringList{"There is a possibility for the data size to exceed the upper bound of Srecord.",
                              "(Data that exceeds the upper bound is deleted.)", "Continue ?"}));
        QCOMPARE(warning.title, QStringLiteral("WARNING"));
        QCOMPARE(warning.buttons, MessageButtons::OkCancel);
        QCOMPARE(warning.defaultButton, MessageResult::Ok);
        QCOMPARE(warning.icon, MessageIcon::Exclamation);
    }

    void hiddenDigitsComeBackInAWiderMode()
    {
        auto* address = fixture_->indexed<QLineEdit>("Text_address", 0);
        KeyRecord& record = fixture_->window().document().table[0];
        record.KeyAddrSet = true;
        record.KeyAddrHigh = 0x1234;
        record.KeyAddrLow = 0x5678;
        fixture_->window().grid().redraw();
        QVERIFY(fixture_->triggerAction("addr16"));
        QCOMPARE(address->text(), QStringLiteral("5678"));
        fixture_->modal().answerMessage(MessageResult::Ok);
        QVERIFY(fixture_->triggerAction("addr32"));
        QCOMPARE(address->text(), QStringLiteral("12345678"));
    }

    void trimKeepsAnExistingMark()
    {
        auto* title = fixture_->indexed<QLineEdit>("Text_title", 0);
        title->setFocus();
        QTest::keyClicks(title, QStringLiteral("k"));
        QVERIFY(fixture_->triggerAction("addr24"));
        QCOMPARE(fixture_->window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
    }

private:
    std::unique_ptr<WindowFixture> fixture_;
};

QTEST_MAIN(AddressSizeTest)
#include "address_size_test.moc"
