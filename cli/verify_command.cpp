#include "verify_command.h"

#include "image_options.h"

namespace quorvane::cli {

VerifyCommand::VerifyCommand(Console& console)
    : ImageCommand(
          console, QStringLiteral("verify"),
          QStringLiteral("Tell whether a firmware image holds the key data of a KEY file or template."),
          {.image = {QStringLiteral("IMAGE"), QStringLiteral("The S-record, Intel HEX or binary image.")},
           .document = {QStringLiteral("KEYS"), QStringLiteral("The KEY file or template (.639) whose records are "
                                                               "looked for, checked as merge checks them.")},
           // The same --hash as merge: the image must also hold the checksums
           // merge would have written into it.
           .inputFailureIsUsage = true,
           .hashes = true})
{
}

int VerifyCommand::runWithKeyData(const ImageCall& call, Document& document)
{
    const ImageOperationResult result = verifyKeyDataInImage(document, call.imagePath, call.startAddress);
    // Whatever keeps verify from telling (a damaged image, no start
    // address) is 2, as for the inputs: 1 says the key data is not there.
    if (reportImageOperation(result, call.imagePath, call.documentPath, QString(), console) != kExitSuccess)
        return kExitUsage;
    if (result.status == ImageOperationStatus::Done) {
        console.print(QStringLiteral("%1 holds the key data of %2.").arg(call.imagePath, call.documentPath));
        return kExitSuccess;
    }
    for (const QString& line : result.lines)
        console.print(line);
    return kExitRefused;
}

} // namespace quorvane::cli
