#pragma once

#include <QString>
#include <QTextStream>

#include <cstdio>

// Where the commands speak: results on the output stream, messages on the
// error stream. The document operations return the editor's own message
// texts, whose line breaks are CR LF for the message boxes; on a terminal
// they become plain line breaks.
namespace quorvane::cli {

class Console {
public:
    Console(FILE* output, FILE* errors);

    // One line of results, flushed at once.
    void print(const QString& line);
    // One message, possibly of several lines, ended by one line break.
    void message(const QString& text);

private:
    QTextStream output_;
    QTextStream errors_;
};

// A message box's text as terminal lines: CR LF, and a lone CR, become LF.
[[nodiscard]] QString terminalText(QString text);

} // namespace quorvane::cli
