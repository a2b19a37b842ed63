// The unsaved-changes question as the window asks it.

#include "ui/message_boxes.h"
#include "ui/scripted_modal_ui.h"

#include <QTest>

using namespace quorvane;

class UnsavedPromptTest : public QObject {
    Q_OBJECT
private slots:
    void askedWithTheFileNameFirst()
    {
        ScriptedModalUi modal;
        modal.answerMessage(MessageResult::No);
        QCOMPARE(UnsavedPrompt(modal, QStringLiteral("/keys/board.KEY")), MessageResult::No);
        QCOMPARE(modal.messages().size(), std::size_t(1));
        QVERIFY(modal.messages().front() ==
                 (MessageRequest{"/keys/board.KEY\r\nThis data is modified.\r\n\r\nDo you want to save the changes?",
                                 "Destroy this data ", MessageButtons::YesNoCancel, MessageIcon::Exclamation,
                                 MessageResult::Yes}));
    }
};

QTEST_MAIN(UnsavedPromptTest)
#include "unsaved_prompt_test.moc"
