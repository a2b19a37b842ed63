#pragma once

#include "console.h"

#include "document/save_operation.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <optional>

// What the commands that save share: their options, the address sort (on
// unless --no-sort, as the editor's default setting) and --yes, the answer
// given beforehand to the save's warnings; and how a save's outcome ends.
namespace quorvane::cli {

[[nodiscard]] QList<QCommandLineOption> saveOptions();

struct SaveChoices {
    bool sortOn = true;
    bool answerYes = false;
};

// The choices, or nullopt with `problem` set when they contradict each other.
[[nodiscard]] std::optional<SaveChoices> saveChoices(const QCommandLineParser& parser, QString& problem);

// Reports a refused save as `context` and the editor's text (a declined
// warning was reported when it was asked). Returns the exit code.
[[nodiscard]] int reportSave(const SaveResult& result, const QString& context, Console& console);

} // namespace quorvane::cli
