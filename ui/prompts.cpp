#include "prompts.h"

namespace quorvane {

MessageRequest unsavedPromptRequest(const QString& fileName)
{
    MessageRequest request;
    request.text = fileName + QStringLiteral("\r\nThis data is modified.\r\n\r\nDo you want to save the changes?");
    request.title = QStringLiteral("Destroy this data ");
    request.buttons = MessageButtons::YesNoCancel;
    request.icon = MessageIcon::Exclamation;
    request.defaultButton = MessageResult::Yes;
    return request;
}

qint16 UnsavedPrompt(ModalUi& modal, const QString& fileName)
{
    return qint16(modal.messageBox(unsavedPromptRequest(fileName)));
}

} // namespace quorvane
