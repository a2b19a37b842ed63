#pragma once

#include "console.h"

#include "document/questions.h"

#include <QString>

// The warnings of a document operation, asked on a terminal that nobody
// watches: each warning is printed, and the answer was given beforehand
// with --yes. Without it the first warning stops the operation.
namespace quorvane::cli {

class ConsoleQuestions : public Questions {
public:
    ConsoleQuestions(Console& console, bool answerYes) : console_(console), answerYes_(answerYes) {}

    [[nodiscard]] bool confirmWarning(const QString& text) override;

    // Put in front of each warning, so a batch names the row it concerns.
    void setContext(const QString& context) { context_ = context; }

private:
    Console& console_;
    const bool answerYes_;
    QString context_;
};

} // namespace quorvane::cli
