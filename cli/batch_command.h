#pragma once

#include "command.h"
#include "csv_reader.h"

#include "document/image_merge_operation.h"
#include "files/set_key_data.h"

#include <QHash>
#include <QList>

#include <optional>

// batch TEMPLATE DEVICES.csv -o PATTERN: one file per CSV row, each the
// template with the row's data in the records the header names, saved with
// every check and warning of the editor; with --image IMAGE, the image with
// that key data written into it.
namespace quorvane::cli {

// With --image, each row's key data goes into a copy of the image instead of
// a KEY file or template.
struct ImageChoice {
    QString path;
    StartAddressQuestion startAddress;
    KeyBytesOutside outside = KeyBytesOutside::Refuse;
};

class BatchCommand : public Command {
public:
    explicit BatchCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;

private:
    // --image, --start and --allow-outside; nullopt without --image or, with
    // `exitCode` set, when the image cannot serve any row (reported).
    [[nodiscard]] std::optional<ImageChoice> imageChoice(const QCommandLineParser& parser, int& exitCode);

    // All rows of the file, so that a damaged line anywhere writes nothing;
    // nullopt after reporting why.
    [[nodiscard]] std::optional<QList<CsvRow>> readRows(const QString& path);
};

} // namespace quorvane::cli
