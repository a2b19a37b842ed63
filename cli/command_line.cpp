#include "command_line.h"

#include "batch_command.h"
#include "build_command.h"
#include "check_command.h"
#include "exit_codes.h"
#include "extract_command.h"
#include "merge_command.h"
#include "show_command.h"
#include "template_command.h"
#include "verify_command.h"

#include "core/version_info.h"

namespace quorvane::cli {

namespace {

const QString kHelp = QStringLiteral("help");

QString generalHelp(const std::vector<std::unique_ptr<Command>>& commands)
{
    QString text = QStringLiteral("Usage: quorvane-cli COMMAND [options] [arguments]\n"
                                  "Checks, shows and writes Quorvane KEY files and templates; takes key data out of firmware\n"
                                  "images, writes it into them and checks them for it.\n\nCommands:\n");
    qsizetype width = 0;
    for (const auto& command : commands)
        width = std::max(width, command->name().size());
    for (const auto& command : commands)
        text += QStringLiteral("  ") + command->name().leftJustified(width + 2) + command->description() + u'\n';
    return text
        + QStringLiteral("\n\"quorvane-cli help COMMAND\" or \"quorvane-cli COMMAND --help\" describes a command;\n"
                         "\"quorvane-cli --version\" prints the version.\n"
                         "Exit codes: 0 done; 1 a check, an extraction, a merge, a save step or a warning refused, or\n"
                         "an image without the key data; 2 bad usage or an "
                         "input that cannot be read.");
}

Command* commandNamed(const std::vector<std::unique_ptr<Command>>& commands, const QString& name)
{
    for (const auto& command : commands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

int unknownCommand(Console& console, const QString& name)
{
    console.message(QStringLiteral("Unknown command \"%1\".\nSee: quorvane-cli --help").arg(name));
    return kExitUsage;
}

} // namespace

std::vector<std::unique_ptr<Command>> makeCommands(Console& console)
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<CheckCommand>(console));
    commands.push_back(std::make_unique<ShowCommand>(console));
    commands.push_back(std::make_unique<BuildCommand>(console));
    commands.push_back(std::make_unique<TemplateCommand>(console));
    commands.push_back(std::make_unique<BatchCommand>(console));
    commands.push_back(std::make_unique<ExtractCommand>(console));
    commands.push_back(std::make_unique<MergeCommand>(console));
    commands.push_back(std::make_unique<VerifyCommand>(console));
    return commands;
}

int runCommandLine(const QStringList& arguments, Console& console)
{
    const std::vector<std::unique_ptr<Command>> commands = makeCommands(console);
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        console.message(generalHelp(commands));
        return kExitUsage;
    }
    if (first == QStringLiteral("--version") || first == QStringLiteral("-v")) {
        console.print(versionLine(programVersion()));
        return kExitSuccess;
    }
    if (first == kHelp || first == QStringLiteral("--help") || first == QStringLiteral("-h")) {
        if (arguments.size() < 3 || first != kHelp) {
            console.print(generalHelp(commands));
            return kExitSuccess;
        }
        const Command* command = commandNamed(commands, arguments.at(2));
        if (command == nullptr)
            return unknownCommand(console, arguments.at(2));
        console.print(command->helpText());
        return kExitSuccess;
    }
    Command* command = commandNamed(commands, first);
    if (command == nullptr)
        return unknownCommand(console, first);
    return command->execute(arguments.mid(1));
}

} // namespace quorvane::cli
