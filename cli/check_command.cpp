#include "check_command.h"

#include "files/intel_hex.h"
#include "files/srecord_reader.h"

#include <QFile>

#include <algorithm>

namespace quorvane::cli {

namespace {

constexpr FormatProbe kProbes[] = {
    {"S-record", &CheckSrecordFile},
    {"Intel HEX", &CheckIntelHexFile},
};

QString probeNames()
{
    QStringList names;
    for (const FormatProbe& probe : formatProbes())
        names << QString::fromLatin1(probe.name);
    return names.join(QStringLiteral(" or "));
}

} // namespace

std::span<const FormatProbe> formatProbes()
{
    return kProbes;
}

CheckCommand::CheckCommand(Console& console)
    : Command(console, QStringLiteral("check"),
              QStringLiteral("Tell for each file whether it is a valid %1 file.").arg(probeNames()))
{
    addPositional({QStringLiteral("FILE"), QStringLiteral("A file to check."), true});
}

int CheckCommand::checkFile(const QString& path)
{
    if (QFile file(path); !file.open(QIODevice::ReadOnly)) {
        console.message(path + QStringLiteral(": cannot be read: ") + file.errorString());
        return kExitUsage;
    }
    // When no format accepts the file, the one that read furthest before
    // its first bad line is the one the file was most likely meant to be.
    const FormatProbe* closest = nullptr;
    FormatCheck closestCheck;
    for (const FormatProbe& probe : formatProbes()) {
        const FormatCheck check = probe.check(path);
        if (check.unreadable) {
            console.message(path + QStringLiteral(": cannot be read: ") + check.reason);
            return kExitUsage;
        }
        if (check) {
            console.print(QStringLiteral("%1: %2, %3 lines").arg(path, QString::fromLatin1(probe.name)).arg(check.lineCount));
            return kExitSuccess;
        }
        if (closest == nullptr || check.badLine > closestCheck.badLine) {
            closest = &probe;
            closestCheck = check;
        }
    }
    console.print(QStringLiteral("%1: not %2: line %3 (as %4): %5")
                      .arg(path, probeNames())
                      .arg(closestCheck.badLine)
                      .arg(QString::fromLatin1(closest->name), closestCheck.reason));
    return kExitRefused;
}

int CheckCommand::run(const QCommandLineParser& parser)
{
    int exitCode = kExitSuccess;
    for (const QString& path : parser.positionalArguments())
        exitCode = std::max(exitCode, checkFile(path));
    return exitCode;
}

} // namespace quorvane::cli
