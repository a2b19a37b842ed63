#pragma once

#include "console.h"
#include "exit_codes.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// One command of quorvane-cli. A command names itself, says in one line what
// it does, declares its options and positional arguments, and runs on what
// the parser made of its arguments. The base parses, answers --help and
// refuses a wrong number of arguments, so a command only does its work.
namespace quorvane::cli {

struct PositionalArgument {
    QString name;        // as the usage line shows it: "FILE"
    QString description;
    bool repeats = false; // the last argument may be given several times: "FILE..."
    bool optional = false; // the last argument may be left out, when an option stands for it: "[FILE]"
};

class Command {
public:
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    [[nodiscard]] const QString& name() const { return name_; }
    [[nodiscard]] const QString& description() const { return description_; }
    [[nodiscard]] QString helpText() const;

    // `arguments` start with the command's name, as a program's start with
    // the program. Returns the exit code (exit_codes.h).
    [[nodiscard]] virtual int execute(const QStringList& arguments);

protected:
    Command(Console& console, QString name, QString description);

    void addOption(const QCommandLineOption& option) { options_.append(option); }
    void addPositional(PositionalArgument argument) { positionals_.append(std::move(argument)); }

    // The command's work, once the arguments parsed and their count is right.
    [[nodiscard]] virtual int run(const QCommandLineParser& parser) = 0;

    // Reports a wrong call and points at the help; returns kExitUsage.
    [[nodiscard]] int usageError(const QString& text);

    Console& console;

private:
    void configure(QCommandLineParser& parser) const;
    [[nodiscard]] QString usageLine() const;
    [[nodiscard]] QString countProblem(qsizetype given) const;

    QString name_;
    QString description_;
    QList<QCommandLineOption> options_;
    QList<PositionalArgument> positionals_;
};

} // namespace quorvane::cli
