#pragma once

#include "ui/modal_ui.h"

#include <deque>
#include <vector>

namespace quorvane {

// A ModalUi for tests: records every question and answers from queues the
// test fills beforehand. A question with no answer left is answered as if
// the user closed the dialog (Cancel / not accepted / cancelled) and counted,
// so a test can tell an unexpected question from an expected one.
class ScriptedModalUi final : public ModalUi {
public:
    void answerMessage(MessageResult answer) { messageAnswers_.push_back(answer); }
    void answerFileDialog(FileDialogResult answer) { fileAnswers_.push_back(std::move(answer)); }
    void answerStartAddress(const std::optional<QString>& answer) { startAddressAnswers_.push_back(answer); }
    void answerText(const std::optional<QString>& answer) { textAnswers_.push_back(answer); }

    [[nodiscard]] const std::vector<MessageRequest>& messages() const { return messages_; }
    [[nodiscard]] const std::vector<FileDialogRequest>& fileDialogs() const { return fileDialogs_; }
    [[nodiscard]] int startAddressRequests() const { return startAddressRequests_; }
    [[nodiscard]] const std::vector<TextRequest>& textRequests() const { return textRequests_; }
    [[nodiscard]] int unanswered() const { return unanswered_; }
    // Answers queued but not asked for.
    [[nodiscard]] int pendingAnswers() const
    {
        return int(messageAnswers_.size() + fileAnswers_.size() + startAddressAnswers_.size() + textAnswers_.size());
    }

    [[nodiscard]] MessageResult messageBox(const MessageRequest& request) override;
    [[nodiscard]] FileDialogResult fileDialog(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<QString> startAddress() override;
    [[nodiscard]] std::optional<QString> askText(const TextRequest& request) override;
    // Progress reports are counted; the one numbered `cancelAt` (from 1)
    // answers Cancel, as a user pressing the button then would.
    [[nodiscard]] bool progress(const QString& label, qint64 done, qint64 total) override;
    void progressFinished() override { ++progressFinished_; }
    void cancelProgressAt(int report) { cancelProgressAt_ = report; }
    [[nodiscard]] int progressReports() const { return progressReports_; }
    [[nodiscard]] int progressFinishedCount() const { return progressFinished_; }

private:
    // The next of `answers`, or nothing when none is left (counted as unanswered).
    std::optional<QString> nextText(std::deque<std::optional<QString>>& answers);

    std::deque<MessageResult> messageAnswers_;
    std::deque<FileDialogResult> fileAnswers_;
    std::deque<std::optional<QString>> startAddressAnswers_;
    std::deque<std::optional<QString>> textAnswers_;
    std::vector<MessageRequest> messages_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<TextRequest> textRequests_;
    int startAddressRequests_ = 0;
    int progressReports_ = 0;
    int progressFinished_ = 0;
    int cancelProgressAt_ = 0;
    int unanswered_ = 0;
};

} // namespace quorvane
