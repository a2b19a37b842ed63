#include "extract_command.h"

#include "console_questions.h"
#include "image_options.h"
#include "input_document.h"
#include "saving.h"

#include "document/extraction_operation.h"

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");

} // namespace

ExtractCommand::ExtractCommand(Console& console)
    : Command(console, QStringLiteral("extract"),
              QStringLiteral("Fill a template's records from an object file and save it as the editor saves."))
{
    addPositional({QStringLiteral("TEMPLATE"),
                   QStringLiteral("The template (.639) or KEY file whose records name the addresses and sizes.")});
    addPositional({QStringLiteral("OBJECT"), QStringLiteral("The S-record, Intel HEX or binary image to read.")});
    addOption({{QStringLiteral("o"), kOutputOption},
               QStringLiteral("The file to write (required): a template when its name ends in .639, a KEY file otherwise."),
               QStringLiteral("OUT")});
    addOption(startAddressOption());
    addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int ExtractCommand::run(const QCommandLineParser& parser)
{
    const QString templatePath = parser.positionalArguments().at(0);
    const QString objectPath = parser.positionalArguments().at(1);
    const QString output = parser.value(kOutputOption);
    if (output.isEmpty())
        return usageError(QStringLiteral("-o OUT is missing."));
    QString problem;
    const std::optional<SaveChoices> choices = saveChoices(parser, problem);
    if (!choices)
        return usageError(problem);
    if (const QString misplaced = startOptionProblem(parser, objectPath); !misplaced.isEmpty())
        return usageError(misplaced);
    if (!outputAllowed(output, *choices, console))
        return kExitRefused;

    InputDocument input = readInputDocument(templatePath, console);
    if (!input.document)
        return input.exitCode;
    if (!readableOrMissing(objectPath, console))
        return kExitUsage;
    Document& document = *input.document;
    const std::optional<QString> start = startAddressText(parser);
    const KeyDataResult extracted = SetKeyData(document.table, objectPath, [&start] { return start; });
    switch (extracted.status) {
    case KeyDataStatus::Extracted:
        break;
    case KeyDataStatus::NothingExtracted:
        console.message(templatePath + QStringLiteral(": no record has both an address and a size; nothing to extract."));
        return kExitRefused;
    case KeyDataStatus::Cancelled:
        // Only the start address can be missing: nothing else is asked.
        console.message(startAddressNeeded(objectPath));
        return kExitRefused;
    case KeyDataStatus::Failed:
        console.message(extracted.message);
        return kExitRefused;
    }
    document.table = extracted.table;

    ConsoleQuestions questions(console, choices->answerYes);
    const int exitCode = reportSave(saveDocument(document, output, choices->sortOn, questions), QString(), console, output);
    if (exitCode == kExitSuccess)
        console.print(QStringLiteral("Wrote ") + output);
    return exitCode;
}

} // namespace quorvane::cli
