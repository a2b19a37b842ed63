#pragma once

#include "console.h"
#include "parsed.h"

#include "document/save_operation.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

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

} // namespace quorvane::cli
