#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <utility>


// Where the commands speak: results on the output stream, messages on the
// error stream. The document operations return the editor's own message
// texts, whose line breaks are CR LF for the message boxes; on a terminal
// they become plain line breaks.
namespace quorvane::cli {

class Console {
public:
    Console(FILE* output, FILE* errors);
    virtual ~Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // One line of results, flushed at once.
    virtual void print(const QString& line);
    // One message, possibly of several lines, ended by one line break.
    virtual void message(const QString& text);

    // On a terminal, `text` in one line on the error stream in place of the
    // last one, until the next line printed clears it; elsewhere nothing, so
    // a log never fills with progress.
    void showProgress(const QString& text);
    void clearProgress();

protected:
    Console() = default;

private:
    QTextStream output_;
    QTextStream errors_;
    bool outputOnTerminal_ = false;
    bool errorsOnTerminal_ = false;
    bool progressShown_ = false;
};

// A line for one of the streams, kept to be printed later.
struct ConsoleLine {
    bool message = false; // the error stream's, rather than a result
    QString text;
};

// What a piece of work running beside others would print, kept so that it
// is printed in its turn: a batch's rows speak in row order.
class RecordedConsole : public Console {
public:
    RecordedConsole() = default;

    void print(const QString& line) override { lines_.append({.message = false, .text = line}); }
    void message(const QString& text) override { lines_.append({.message = true, .text = text}); }

    [[nodiscard]] QList<ConsoleLine> takeLines() { return std::exchange(lines_, {}); }

private:
    QList<ConsoleLine> lines_;
};

// Prints the lines kept, in their order.
void replay(const QList<ConsoleLine>& lines, Console& console);

// A message box's text as terminal lines: CR LF, and a lone CR, become LF.
[[nodiscard]] QString terminalText(QString text);

} // namespace quorvane::cli
