#pragma once

#include "command.h"
#include "console.h"

#include <QStringList>

#include <memory>
#include <vector>

// The program: its commands, and the choice among them by the first argument.
namespace quorvane::cli {

// Every command, in the order the general help lists them.
[[nodiscard]] std::vector<std::unique_ptr<Command>> makeCommands(Console& console);

// Runs the program on its arguments (the program's path first): a command,
// "help [COMMAND]", --help or --version. Returns the exit code.
[[nodiscard]] int runCommandLine(const QStringList& arguments, Console& console);

} // namespace quorvane::cli
