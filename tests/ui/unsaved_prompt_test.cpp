// The unsaved-changes question as the window asks it.

#include "ui/prompts.h"
#include "ui/scripted_modal_ui.h"

#include <QTest>

using namespace quorvane;

Q_DECLARE_METATYPE(quorvane::MessageResult)

class UnsavedPromptTest : public QObject {
    Q_OBJECT
private slots:
    void askedWithTheFileNameFirst_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<MessageResult>("answer");
        QTest::addColumn<int>("returned");
        QTest::newRow("no file yet, Yes") << QString() << MessageResult::Yes << 6;
        QTest::newRow("a KEY file, No") << QStringLiteral("/home/me/keys/board.KEY") << MessageResult::No << 7;
        QTest::newRow("a template, Cancel") << QStringLiteral("/t/a b,c.639") << MessageResult::Cancel << 2;
    }

    void askedWithTheFileNameFirst()
    {
        QFETCH(QString, fileName);
        QFETCH(MessageResult, answer);
        QFETCH(int, returned);
        ScriptedModalUi modal;
        modal.answerMessage(answer);

        QCOMPARE(int(UnsavedPrompt(modal, fileName)), returned);

        QCOMPARE(modal.messages().size(), std::size_t(1));
        const MessageRequest& asked = modal.messages().front();
        QCOMPARE(asked.text.split(QStringLiteral("\r\n")),
                 (QStringList{fileName, "This data is modified.", "", "Do you want to save the changes?"}));
        QCOMPARE(asked.title, QStringLiteral("Destroy this data "));
        QCOMPARE(asked.buttons, MessageButtons::YesNoCancel);
        QCOMPARE(asked.defaultButton, MessageResult::Yes);
        QCOMPARE(asked.icon, MessageIcon::Exclamation);
    }
};

QTEST_MAIN(UnsavedPromptTest)
#include "unsaved_prompt_test.moc"
