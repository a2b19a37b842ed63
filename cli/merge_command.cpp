#include "merge_command.h"

#include "image_options.h"
#include "saving.h"

namespace quorvane::cli {

MergeCommand::MergeCommand(Console& console)
    : ImageCommand(
          console, QStringLiteral("merge"),
          QStringLiteral("Write the key data of a KEY file or template into a firmware image."),
          {.image = {QStringLiteral("IMAGE"),
                     QStringLiteral("The S-record, Intel HEX or binary image; OUT is written in its format.")},
           .document = {QStringLiteral("KEYS"), QStringLiteral("The KEY file or template (.639) whose records are "
                                                               "written, checked as a save checks them.")},
           .outputDescription = QStringLiteral("The image to write (required)."),
           .allowOutside = true,
           .hashes = true})
{
}

int MergeCommand::runWithKeyData(const ImageCall& call, Document& document)
{
    const int exitCode = writeOutput(call.outputPath, call.choices.overwrite, console, [&](QFileDevice& file) {
        const ImageOperationResult result =
            writeKeyDataIntoImage(document, call.imagePath, file, call.startAddress,
                                  {.outside = call.outside, .questions = nullptr, .progress = {}});
        if (const int code = reportImageOperation(result, call.imagePath, call.documentPath, QString(), console);
            code != kExitSuccess)
            return code;
        printMergeNotes(result.lines, QString(), console);
        return kExitSuccess;
    });
    if (exitCode == kExitSuccess)
        console.print(QStringLiteral("Wrote ") + call.outputPath);
    return exitCode;
}

} // namespace quorvane::cli
