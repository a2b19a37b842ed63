#include "extract_command.h"

#include "console_questions.h"
#include "image_options.h"
#include "saving.h"

#include "document/extraction_operation.h"

namespace quorvane::cli {

ExtractCommand::ExtractCommand(Console& console)
    : ImageCommand(
          console, QStringLiteral("extract"),
          QStringLiteral("Fill a template's records from an object file and save it as the editor saves."),
          {.image = {QStringLiteral("OBJECT"), QStringLiteral("The S-record, Intel HEX or binary image to read.")},
           .document = {QStringLiteral("TEMPLATE"),
                        QStringLiteral("The template (.639) or KEY file whose records name the addresses and sizes.")},
           .imageFirst = false,
           .outputDescription = QStringLiteral(
               "The file to write (required): a template when its name ends in .639, a KEY file otherwise."),
           // The records give only addresses and sizes; the save checks them after the extraction.
           .prepareKeyData = false,
           .keyFormat = true})
{
}

int ExtractCommand::runWithKeyData(const ImageCall& call, Document& document)
{
    const KeyDataResult extracted = SetKeyData(document.table, call.imagePath, call.startAddress);
    switch (extracted.status) {
    case KeyDataStatus::Extracted:
        break;
    case KeyDataStatus::NothingExtracted:
        console.message(call.documentPath
                        + QStringLiteral(": no record has both an address and a size; nothing to extract."));
        return kExitRefused;
    case KeyDataStatus::Cancelled:
        // Only the start address can be missing: nothing else is asked.
        console.message(startAddressNeeded(call.imagePath));
        return kExitRefused;
    case KeyDataStatus::Failed:
        reportImageFailure(extracted.message, call.imagePath, QString(), console);
        return kExitRefused;
    }
    document.table = extracted.table;

    ConsoleQuestions questions(console, call.choices.answerYes);
    const int exitCode = saveOutput(document, call.outputPath, call.choices, questions, console);
    if (exitCode == kExitSuccess)
        console.print(QStringLiteral("Wrote ") + call.outputPath);
    return exitCode;
}

} // namespace quorvane::cli
