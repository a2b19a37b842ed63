#pragma once

#include "command.h"

#include "core/document.h"

// show FILE [--json]: the records of a template or KEY file as the grid
// shows them.
namespace quorvane::cli {

class ShowCommand : public Command {
public:
    explicit ShowCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;

private:
    void printTable(const Document& document);
};

} // namespace quorvane::cli
