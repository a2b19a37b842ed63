#pragma once

#include "command.h"

// build IN -o OUT: File Open of IN, optionally the address-size menu
// command, then File Save as OUT, with every check and warning of the editor.
namespace quorvane::cli {

class BuildCommand : public Command {
public:
    explicit BuildCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;
};

} // namespace quorvane::cli
