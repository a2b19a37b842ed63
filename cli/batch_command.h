#pragma once

#include "batch_output.h"
#include "command.h"
#include "csv_reader.h"
#include "file_name_pattern.h"
#include "record_columns.h"
#include "row_writer.h"

#include <QHash>
#include <QList>

#include <optional>

// batch TEMPLATE DEVICES.csv -o PATTERN: one file per CSV row, each the
// template with the row's data in the records the header names, saved with
// every check and warning of the editor; with --image IMAGE, the image with
// that key data written into it.
namespace quorvane::cli {

// What --image comes to: no image (the rows write KEY files or templates),
// the image to write each row's key data into, or, without either, the exit
// code of an image that cannot serve any row (reported).
struct ImageSetup {
    std::optional<ImageChoice> image = std::nullopt;
    int exitCode = 0;
};

class BatchCommand : public Command {
public:
    explicit BatchCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;

private:
    // --image, --start and --allow-outside, checked once before the rows.
    [[nodiscard]] ImageSetup imageSetup(const QCommandLineParser& parser);

    // Writes the rows, side by side on `jobs` threads, into the output in
    // row order; stops where the output says.
    void writeRows(const QList<CsvRow>& rows, RowWriter& writer, BatchOutput& output, int jobs);

    // All rows of the file, so that a damaged line anywhere writes nothing;
    // nullopt after reporting why.
    [[nodiscard]] std::optional<QList<CsvRow>> readRows(const QString& path);

    // What in the header makes no sense, one line each: a column that is
    // neither a record's nor the pattern's and not ignored (a misspelt title
    // would otherwise leave a key at the template's data), a name in
    // --ignore-column or --unique that the header does not have.
    [[nodiscard]] static QString columnsProblem(const QStringList& header, const RecordColumns& columns,
                                                const FileNamePattern& pattern, const QStringList& ignored,
                                                const QStringList& unique);

    // False after reporting each row that repeats a value of a --unique
    // column, with the line it repeats.
    [[nodiscard]] bool allUnique(const QList<CsvRow>& rows, const QStringList& header, const QStringList& unique,
                                 const RecordColumns& columns, const Document& templateDocument);
};

} // namespace quorvane::cli
