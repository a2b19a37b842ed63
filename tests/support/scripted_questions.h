#pragma once

#include "document/questions.h"

#include <QString>
#include <QStringList>

#include <deque>

namespace quorvane::test {

// Answers warnings from a queue and records what was asked. A question
// beyond the queue is answered Cancel, so an unexpected one stops the
// operation instead of letting it run on.
class ScriptedQuestions : public Questions {
public:
    explicit ScriptedQuestions(std::deque<bool> answers = {}) : answers_(std::move(answers)) {}

    [[nodiscard]] bool confirmWarning(const QString& text) override
    {
        asked << text;
        if (answers_.empty())
            return false;
        const bool answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    QStringList asked;

private:
    std::deque<bool> answers_;
};

} // namespace quorvane::test
