#include "scripted_modal_ui.h"

namespace quorvane {

MessageResult ScriptedModalUi::messageBox(const MessageRequest& request)
{
    messages_.push_back(request);
    if (messageAnswers_.empty()) {
        ++unanswered_;
        return MessageResult::Cancel;
    }
    const MessageResult answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
}

FileDialogResult ScriptedModalUi::fileDialog(const FileDialogRequest& request)
{
    fileDialogs_.push_back(request);
    if (fileAnswers_.empty()) {
        ++unanswered_;
        return FileDialogResult{false, {}, request.filterIndex};
    }
    FileDialogResult answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedModalUi::startAddress()
{
    ++startAddressRequests_;
    return nextText(startAddressAnswers_);
}

std::optional<QString> ScriptedModalUi::askText(const TextRequest& request)
{
    textRequests_.push_back(request);
    return nextText(textAnswers_);
}

std::optional<QString> ScriptedModalUi::nextText(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty()) {
        ++unanswered_;
        return std::nullopt;
    }
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedModalUi::progress(const QString&, qint64, qint64)
{
    return ++progressReports_ != cancelProgressAt_;
}

} // namespace quorvane
