#pragma once

#include "console.h"
#include "parsed.h"

#include "document/save_operation.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileDevice>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What the commands that save share: their options, the address sort (on
// unless --no-sort, as the editor's default setting) and --yes, the answer
// given beforehand to the save's warnings; --overwrite, without which a file
// that is there already is never replaced; and how a save's outcome ends.
namespace quorvane::cli {

[[nodiscard]] QList<QCommandLineOption> saveOptions();
// For the commands that write a file.
[[nodiscard]] QCommandLineOption overwriteOption();
// --format ihex|srec, for the commands that write KEY files: their format
// when the name should not choose it.
[[nodiscard]] QCommandLineOption keyFormatOption();

struct SaveChoices {
    bool sortOn = true;
    bool answerYes = false;
    bool overwrite = false;
    KeyFileFormat format = KeyFileFormat::ByName;
};

// The choices, or why not when they contradict each other.
[[nodiscard]] Parsed<SaveChoices> saveChoices(const QCommandLineParser& parser);

// Why --format does not fit the output: a template name, or images
// (`image`) rather than KEY files; an empty text when it fits or is not given.
[[nodiscard]] QString keyFormatProblem(const SaveChoices& choices, const QString& output, bool image = false);

// Why the file at `path` cannot be written: it is there and `overwrite` is
// not given, or the system's "File Save Error." with the path and its reason
// on the next line; an empty text when it can. One check for every command,
// asked before any work, so a run never does its work only to lose it or
// to replace a file nobody meant to replace.
[[nodiscard]] QString outputProblem(const QString& path, bool overwrite);

// outputProblem for a command's output: false after reporting it.
[[nodiscard]] bool outputAllowed(const QString& path, const SaveChoices& choices, Console& console);

// "File Save Error." and, on the next line, the path and the system's reason.
[[nodiscard]] QString fileSaveError(const QString& path, const QString& reason);

// Reports a refused save as `context` and the editor's text (a declined
// warning was reported when it was asked); a "File Save Error." names
// `path` and the reason. Returns the exit code.
[[nodiscard]] int reportSave(const SaveResult& result, const QString& context, Console& console,
                             const QString& path = {});

// Writes a command's output as a batch writes each of its files: under a
// temporary name beside `path`, on the disk before it takes the name, then
// moved to the name in one step. `write` fills the file and returns an exit
// code, having reported what kept it from success; the temporary file then
// goes. Without `overwrite`, a file that took the name while the command
// ran is left as it is and reported. Returns the exit code.
[[nodiscard]] int writeOutput(const QString& path, bool overwrite, Console& console,
                              const std::function<int(QFileDevice&)>& write);

// A save of `document` to a command's output: the save's checks, then the
// file written through writeOutput. Returns the exit code, after reporting.
[[nodiscard]] int saveOutput(Document& document, const QString& path, const SaveChoices& choices, Questions& questions,
                             Console& console);

} // namespace quorvane::cli
