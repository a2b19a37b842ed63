#include "merge_command.h"

#include "image_options.h"

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");

} // namespace

MergeCommand::MergeCommand(Console& console)
    : Command(console, QStringLiteral("merge"),
              QStringLiteral("Write the key data of a KEY file or template into a firmware image."))
{
    addPositional({QStringLiteral("IMAGE"),
                   QStringLiteral("The S-record, Intel HEX or binary image; OUT is written in its format.")});
    addPositional({QStringLiteral("KEYS"),
                   QStringLiteral("The KEY file or template (.639) whose records are written, checked as a save checks them.")});
    addOption({{QStringLiteral("o"), kOutputOption}, QStringLiteral("The image to write (required)."),
               QStringLiteral("OUT")});
    addOption(startAddressOption());
    addOption(allowOutsideOption());
    addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int MergeCommand::run(const QCommandLineParser& parser)
{
    const QString imagePath = parser.positionalArguments().at(0);
    const QString keysPath = parser.positionalArguments().at(1);
    const QString output = parser.value(kOutputOption);
    if (output.isEmpty())
        return usageError(QStringLiteral("-o OUT is missing."));
    QString problem;
    const std::optional<SaveChoices> choices = saveChoices(parser, problem);
    if (!choices)
        return usageError(problem);
    if (const QString misplaced = startOptionProblem(parser, imagePath); !misplaced.isEmpty())
        return usageError(misplaced);
    if (!outputAllowed(output, *choices, console))
        return kExitRefused;

    int exitCode = kExitSuccess;
    const std::optional<Document> document = preparedKeyData(keysPath, *choices, console, exitCode);
    if (!document)
        return exitCode;
    if (!readableOrMissing(imagePath, console))
        return kExitUsage;
    const ImageOperationResult result =
        writeKeyDataIntoImage(*document, imagePath, output, startAddressAnswer(parser),
                              {.outside = keyBytesOutside(parser), .questions = nullptr, .progress = {}});
    if (const int code = reportImageOperation(result, imagePath, keysPath, QString(), console); code != kExitSuccess)
        return code;
    printMergeNotes(result.lines, QString(), console);
    console.print(QStringLiteral("Wrote ") + output);
    return kExitSuccess;
}

} // namespace quorvane::cli
