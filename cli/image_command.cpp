#include "image_command.h"

#include "image_options.h"
#include "input_document.h"
#include "record_hashes.h"

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");

} // namespace

ImageCommand::ImageCommand(Console& console, QString name, QString description, Shape shape)
    : Command(console, std::move(name), std::move(description)), shape_(std::move(shape))
{
    addPositional(shape_.imageFirst ? shape_.image : shape_.document);
    addPositional(shape_.imageFirst ? shape_.document : shape_.image);
    if (!shape_.outputDescription.isEmpty())
        addOption({{QStringLiteral("o"), kOutputOption}, shape_.outputDescription, QStringLiteral("OUT")});
    if (shape_.keyFormat)
        addOption(keyFormatOption());
    addOption(startAddressOption());
    if (shape_.hashes)
        addOption(hashOption());
    if (shape_.allowOutside)
        addOption(allowOutsideOption());
    if (!shape_.outputDescription.isEmpty())
        addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int ImageCommand::run(const QCommandLineParser& parser)
{
    const QStringList positionals = parser.positionalArguments();
    ImageCall call{.imagePath = positionals.at(shape_.imageFirst ? 0 : 1),
                   .documentPath = positionals.at(shape_.imageFirst ? 1 : 0),
                   .outputPath = {},
                   .choices = {},
                   .startAddress = startAddressAnswer(parser),
                   // Asked only of a command that has the option: Qt warns of an unknown name.
                   .outside = shape_.allowOutside ? keyBytesOutside(parser) : KeyBytesOutside::Refuse};
    const bool writes = !shape_.outputDescription.isEmpty();
    if (writes) {
        call.outputPath = parser.value(kOutputOption);
        if (call.outputPath.isEmpty())
            return usageError(QStringLiteral("-o OUT is missing."));
    }
    const Parsed<SaveChoices> choices = saveChoices(parser);
    if (!choices)
        return usageError(choices.problem);
    call.choices = *choices;
    if (const QString problem = keyFormatProblem(call.choices, call.outputPath); !problem.isEmpty())
        return usageError(problem);
    if (const QString misplaced = startOptionProblem(parser, call.imagePath); !misplaced.isEmpty())
        return usageError(misplaced);
    if (writes && !outputAllowed(call.outputPath, call.choices, console))
        return kExitRefused;

    InputDocument input = readInputDocument(call.documentPath, console);
    if (!input.document)
        return inputFailure(input.exitCode);
    // Checksums go in before the save's steps, which may sort the records:
    // "#3" names line 3 of the file as it was read, as in batch.
    if (const QStringList hashes = shape_.hashes ? parser.values(hashOption().names().constFirst()) : QStringList();
        !hashes.isEmpty()) {
        if (!readableOrMissing(call.imagePath, console))
            return kExitUsage;
        if (const int exitCode = fillHashes(hashes, call, *input.document); exitCode != kExitSuccess)
            return inputFailure(exitCode);
    }
    if (shape_.prepareKeyData) {
        if (const int exitCode = prepareKeyDataForImage(*input.document, call.choices, console); exitCode != kExitSuccess)
            return inputFailure(exitCode);
    }
    if (!readableOrMissing(call.imagePath, console))
        return kExitUsage;
    return runWithKeyData(call, *input.document);
}

int ImageCommand::fillHashes(const QStringList& values, const ImageCall& call, Document& document)
{
    Parsed<RecordHashes> hashes = RecordHashes::parse(values, document, true);
    if (!hashes)
        return usageError(hashes.problem);
    QString problem = hashes->readImage(call.imagePath, call.startAddress);
    if (problem.isEmpty())
        problem = hashes->apply(document);
    if (problem.isEmpty())
        return kExitSuccess;
    console.message(problem);
    return kExitRefused;
}

} // namespace quorvane::cli
