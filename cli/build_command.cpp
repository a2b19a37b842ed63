#include "build_command.h"

#include "console_questions.h"
#include "input_document.h"
#include "saving.h"

#include "document/address_size_change.h"

#include <optional>

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");
const QString kAddressOption = QStringLiteral("addr");

std::optional<AddressSize> addressSizeNamed(const QString& bits)
{
    for (const AddressSize size : {AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32})
        if (bits == QString::number(int(size)))
            return size;
    return std::nullopt;
}

} // namespace

BuildCommand::BuildCommand(Console& console)
    : Command(console, QStringLiteral("build"),
              QStringLiteral("Open a template or KEY file and save it as the editor saves."))
{
    addPositional({QStringLiteral("IN"), QStringLiteral("The template or KEY file to open.")});
    addOption({{QStringLiteral("o"), kOutputOption}, QStringLiteral("The file to write (required): a template when its name ends in .639, a KEY file otherwise."),
               QStringLiteral("OUT")});
    addOption(keyFormatOption());
    addOption({kAddressOption,
               QStringLiteral("Change the address size first, as the AddressSize menu does (a smaller data limit warns "
                              "and cuts records that no longer fit; fewer address digits warn of keys that would be "
                              "saved at another address)."),
               QStringLiteral("16|24|32")});
    addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int BuildCommand::run(const QCommandLineParser& parser)
{
    const QString output = parser.value(kOutputOption);
    if (output.isEmpty())
        return usageError(QStringLiteral("-o OUT is missing."));
    std::optional<AddressSize> addressSize;
    if (parser.isSet(kAddressOption)) {
        addressSize = addressSizeNamed(parser.value(kAddressOption));
        if (!addressSize)
            return usageError(QStringLiteral("--addr takes 16, 24 or 32, not \"%1\".").arg(parser.value(kAddressOption)));
    }
    const Parsed<SaveChoices> choices = saveChoices(parser);
    if (!choices)
        return usageError(choices.problem);
    if (const QString problem = keyFormatProblem(*choices, output); !problem.isEmpty())
        return usageError(problem);
    if (!outputAllowed(output, *choices, console))
        return kExitRefused;

    InputDocument input = readInputDocument(parser.positionalArguments().constFirst(), console);
    if (!input.document)
        return input.exitCode;
    Document& document = *input.document;
    ConsoleQuestions questions(console, choices->answerYes);
    if (addressSize && !changeAddressSize(document, *addressSize, questions))
        return kExitRefused;
    const int exitCode = saveOutput(document, output, *choices, questions, console);
    if (exitCode == kExitSuccess)
        console.print(QStringLiteral("Wrote ") + output);
    return exitCode;
}

} // namespace quorvane::cli
