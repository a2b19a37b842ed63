#include "console.h"

namespace quorvane::cli {

Console::Console(FILE* output, FILE* errors) : output_(output), errors_(errors) {}

void Console::print(const QString& line)
{
    // Line by line, so the log of a run that is killed lists exactly what
    // was done before, not what happened to fill a buffer.
    output_ << line << '\n';
    output_.flush();
}

void Console::message(const QString& text)
{
    // Results printed so far come first when both streams go to one terminal.
    output_.flush();
    // Some of the editor's texts end in a line break of their own.
    const QString lines = terminalText(text);
    errors_ << lines;
    if (!lines.endsWith(QLatin1Char('\n')))
        errors_ << '\n';
    errors_.flush();
}

QString terminalText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace quorvane::cli
