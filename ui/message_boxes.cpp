#include "message_boxes.h"

namespace quorvane {

MessageRequest errorBoxRequest(const QString& text, const QString& details)
{
    return {text, QStringLiteral("ERROR"), MessageButtons::Ok, MessageIcon::Critical, MessageResult::Ok, details};
}

MessageRequest warningBoxRequest(const QString& text)
{
    return {text, QStringLiteral("WARNING"), MessageButtons::OkCancel, MessageIcon::Exclamation, MessageResult::Ok, {}};
}

void showError(ModalUi& modal, const QString& text, const QString& details)
{
    (void)modal.messageBox(errorBoxRequest(text, details));
}

bool askWarning(ModalUi& modal, const QString& text)
{
    return modal.messageBox(warningBoxRequest(text)) == MessageResult::Ok;
}

MessageRequest unsavedPromptRequest(const QString& fileName)
{
    return {fileName + QStringLiteral("\r\nThis data is modified.\r\n\r\nDo you want to save the changes?"),
            QStringLiteral("Destroy this data "), MessageButtons::YesNoCancel, MessageIcon::Exclamation,
            MessageResult::Yes, {}};
}

MessageResult UnsavedPrompt(ModalUi& modal, const QString& fileName)
{
    return modal.messageBox(unsavedPromptRequest(fileName));
}

} // namespace quorvane
