#pragma once

#include "command.h"

#include "files/format_check.h"

#include <span>

// check FILE...: which object-file format each file is in.
namespace quorvane::cli {

// One format the check recognises: its name for the user and the reader's
// own check over a whole file.
struct FormatProbe {
    const char* name;
    FormatCheck (*check)(const QString& path);
};

// The formats, in the order they are tried; the first that accepts a file
// names it.
[[nodiscard]] std::span<const FormatProbe> formatProbes();

class CheckCommand : public Command {
public:
    explicit CheckCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;

private:
    // Prints the file's line; returns its exit code.
    [[nodiscard]] int checkFile(const QString& path);
};

} // namespace quorvane::cli
