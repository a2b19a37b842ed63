#pragma once

#include "command.h"
#include "csv_reader.h"

#include <QHash>
#include <QList>

#include <optional>

// batch TEMPLATE DEVICES.csv -o PATTERN: one file per CSV row, each the
// template with the row's data in the records the header names, saved with
// every check and warning of the editor.
namespace quorvane::cli {

class BatchCommand : public Command {
public:
    explicit BatchCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;

private:
    // All rows of the file, so that a damaged line anywhere writes nothing;
    // nullopt after reporting why.
    [[nodiscard]] std::optional<QList<CsvRow>> readRows(const QString& path);
};

} // namespace quorvane::cli
