#include "verify_command.h"

#include "image_options.h"

namespace quorvane::cli {

VerifyCommand::VerifyCommand(Console& console)
    : Command(console, QStringLiteral("verify"),
              QStringLiteral("Tell whether a firmware image holds the key data of a KEY file or template."))
{
    addPositional({QStringLiteral("IMAGE"), QStringLiteral("The S-record, Intel HEX or binary image.")});
    addPositional({QStringLiteral("KEYS"),
                   QStringLiteral("The KEY file or template (.639) whose records are looked for, checked as merge "
                                  "checks them.")});
    addOption(startAddressOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int VerifyCommand::run(const QCommandLineParser& parser)
{
    const QString imagePath = parser.positionalArguments().at(0);
    const QString keysPath = parser.positionalArguments().at(1);
    QString problem;
    const std::optional<SaveChoices> choices = saveChoices(parser, problem);
    if (!choices)
        return usageError(problem);
    if (const QString misplaced = startOptionProblem(parser, imagePath); !misplaced.isEmpty())
        return usageError(misplaced);

    // A script reads 1 as "the image lacks the key data": whatever keeps
    // verify from telling (a file missing, unreadable, damaged or refused by
    // the checks, no start address) is 2.
    int exitCode = kExitSuccess;
    const std::optional<Document> document = preparedKeyData(keysPath, *choices, console, exitCode);
    if (!document || !readableOrMissing(imagePath, console))
        return kExitUsage;
    const ImageOperationResult result = verifyKeyDataInImage(*document, imagePath, startAddressAnswer(parser));
    if (reportImageOperation(result, imagePath, keysPath, QString(), console) != kExitSuccess)
        return kExitUsage;
    if (result.status == ImageOperationStatus::Done) {
        console.print(QStringLiteral("%1 holds the key data of %2.").arg(imagePath, keysPath));
        return kExitSuccess;
    }
    for (const QString& line : result.lines)
        console.print(line);
    return kExitRefused;
}

} // namespace quorvane::cli
