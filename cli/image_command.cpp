#include "image_command.h"

#include "image_options.h"
#include "input_document.h"

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

    InputDocument input = shape_.prepareKeyData ? preparedKeyData(call.documentPath, call.choices, console)
                                                : readInputDocument(call.documentPath, console);
    if (!input.document)
        return inputFailure(input.exitCode);
    if (!readableOrMissing(call.imagePath, console))
        return kExitUsage;
    return runWithKeyData(call, *input.document);
}

} // namespace quorvane::cli
