#include "console_questions.h"

namespace quorvane::cli {

bool ConsoleQuestions::confirmWarning(const QString& text)
{
    const QString answer = answerYes_ ? QStringLiteral("Answered OK (--yes).")
                                      : QStringLiteral("Not answered: --yes answers OK.");
    console_.message(context_ + QStringLiteral("WARNING: ") + text + QLatin1Char('\n') + answer);
    return answerYes_;
}

} // namespace quorvane::cli
