#include "console.h"

#include <unistd.h>

namespace quorvane::cli {

Console::Console(FILE* output, FILE* errors)
    : output_(output), errors_(errors), outputOnTerminal_(output != nullptr && ::isatty(fileno(output)) == 1),
      errorsOnTerminal_(errors != nullptr && ::isatty(fileno(errors)) == 1)
{
}

void Console::print(const QString& line)
{
    // Results sent elsewhere leave the progress line where it is.
    if (outputOnTerminal_)
        clearProgress();
    // Line by line, so the log of a run that is killed lists exactly what
    // was done before, not what happened to fill a buffer.
    output_ << line << '\n';
    output_.flush();
}

void Console::message(const QString& text)
{
    clearProgress();
    // Results printed so far come first when both streams go to one terminal.
    output_.flush();
    // Some of the editor's texts end in a line break of their own.
    const QString lines = terminalText(text);
    errors_ << lines;
    if (!lines.endsWith(QLatin1Char('\n')))
        errors_ << '\n';
    errors_.flush();
}

void Console::showProgress(const QString& text)
{
    if (!errorsOnTerminal_)
        return;
    // Back to the line's start, and the rest of a longer last text erased.
    errors_ << '\r' << text << "\x1b[K";
    errors_.flush();
    progressShown_ = true;
}

void Console::clearProgress()
{
    if (!progressShown_)
        return;
    errors_ << "\r\x1b[K";
    errors_.flush();
    progressShown_ = false;
}

void replay(const QList<ConsoleLine>& lines, Console& console)
{
    for (const ConsoleLine& line : lines) {
        if (line.message)
            console.message(line.text);
        else
            console.print(line.text);
    }
}

QString terminalText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace quorvane::cli
