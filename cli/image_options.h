#pragma once

#include "console.h"
#include "input_document.h"
#include "saving.h"

#include "core/document.h"
#include "document/image_merge_operation.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

// What the commands that read a firmware image share: --start, the address
// of a binary image's first byte (asked by the editor in a dialog, given
// beforehand here), how an image that is there but cannot be read ends, and
// the key data to put into an image or look for in it.
namespace quorvane::cli {

[[nodiscard]] QCommandLineOption startAddressOption();
// --allow-outside: key data where the image has no data is added as new
// data lines, with a note, instead of refusing the merge.
[[nodiscard]] QCommandLineOption allowOutsideOption();
// What a merge does with key data where the image has no data, by that option.
[[nodiscard]] KeyBytesOutside keyBytesOutside(const QCommandLineParser& parser);

// The text given with --start, as the editor's dialog would have taken it;
// nullopt without the option.
[[nodiscard]] std::optional<QString> startAddressText(const QCommandLineParser& parser);

// The message for a binary image read without --start.
[[nodiscard]] QString startAddressNeeded(const QString& imagePath);

// Why --start cannot be taken for the image at `imagePath`: it is S-records
// or Intel HEX, which carry their own addresses. Empty without --start, or
// for an image that is binary, damaged or not there (the operations say so).
[[nodiscard]] QString startOptionProblem(const QCommandLineParser& parser, const QString& imagePath);

// False, after reporting it, when `path` is a file that cannot be opened:
// an unreadable input, unlike a missing one, which the operations report in
// the editor's words.
[[nodiscard]] bool readableOrMissing(const QString& path, Console& console);

// --start as the editor's start-address question would be answered.
[[nodiscard]] StartAddressQuestion startAddressAnswer(const QCommandLineParser& parser);

// Runs a document read as File Open reads it through the steps a save takes
// a KEY file's records through (prepareKeyData), warnings answered by --yes;
// the exit code after reporting why it was refused, or kExitSuccess.
[[nodiscard]] int prepareKeyDataForImage(Document& document, const SaveChoices& choices, Console& console);

// Prints a merge's notes on the records added as new data lines.
void printMergeNotes(const QStringList& notes, const QString& context, Console& console);

// Reports why an image operation failed, with the image's path where the
// message alone would not name it.
void reportImageFailure(const QString& message, const QString& imagePath, const QString& context, Console& console);

// Reports an image operation that did not succeed (`context` in front of
// its message) and returns the exit code; kExitSuccess for Done and Differs,
// which the command reports itself.
[[nodiscard]] int reportImageOperation(const ImageOperationResult& result, const QString& imagePath,
                                       const QString& keysPath, const QString& context, Console& console);

} // namespace quorvane::cli
