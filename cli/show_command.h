#pragma once

#include "command.h"

#include "core/document.h"

// show FILE [--json|--csv]: the records of a template or KEY file as the
// grid shows them, as JSON, or as the CSV the template command reads.
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
