#pragma once

#include "command.h"

// merge IMAGE KEYS -o OUT: the key data of a KEY file or template, through
// the checks and steps of a save, written into a firmware image.
namespace quorvane::cli {

class MergeCommand : public Command {
public:
    explicit MergeCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;
};

} // namespace quorvane::cli
