#include "command.h"

namespace quorvane::cli {

namespace {

const QCommandLineOption& helpOption()
{
    // Qt's own help option also offers --help-all for Qt's options, which
    // mean nothing to these commands.
    static const QCommandLineOption option({QStringLiteral("h"), QStringLiteral("help")},
                                           QStringLiteral("Show this help."));
    return option;
}

} // namespace

Command::Command(Console& console, QString name, QString description)
    : console(console), name_(std::move(name)), description_(std::move(description))
{
}

void Command::configure(QCommandLineParser& parser) const
{
    parser.setApplicationDescription(description_);
    parser.addOption(helpOption());
    parser.addOptions(options_);
    for (const PositionalArgument& argument : positionals_)
        parser.addPositionalArgument(argument.name, argument.description,
                                     argument.repeats ? argument.name + QStringLiteral("...") : argument.name);
}

QString Command::usageLine() const
{
    QString line = QStringLiteral("Usage: quorvane-cli ") + name_ + QStringLiteral(" [options]");
    for (const PositionalArgument& argument : positionals_)
        line += QLatin1Char(' ') + (argument.optional ? QLatin1Char('[') + argument.name + QLatin1Char(']') : argument.name)
                + (argument.repeats ? QStringLiteral("...") : QString());
    return line;
}

QString Command::helpText() const
{
    QCommandLineParser parser;
    configure(parser);
    // Qt's first line names the executable by the path it was started with.
    QString text = parser.helpText();
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, firstLineEnd, usageLine());
    return text.trimmed();
}

QString Command::countProblem(qsizetype given) const
{
    if (given < positionals_.size() && !positionals_.at(given).optional)
        return QStringLiteral("%1 is missing.").arg(positionals_.at(given).name);
    const bool repeats = !positionals_.isEmpty() && positionals_.constLast().repeats;
    if (given > positionals_.size() && !repeats)
        return QStringLiteral("%1 takes %2 argument(s), %3 given.").arg(name_).arg(positionals_.size()).arg(given);
    return {};
}

int Command::execute(const QStringList& arguments)
{
    QCommandLineParser parser;
    configure(parser);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption())) {
        console.print(helpText());
        return kExitSuccess;
    }
    if (const QString problem = countProblem(parser.positionalArguments().size()); !problem.isEmpty())
        return usageError(problem);
    return run(parser);
}

int Command::usageError(const QString& text)
{
    console.message(text + QStringLiteral("\nSee: quorvane-cli %1 --help").arg(name_));
    return kExitUsage;
}

} // namespace quorvane::cli
