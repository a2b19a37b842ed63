#include "cli/command_line.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-cli"));
    quorvane::cli::Console console(stdout, stderr);
    return quorvane::cli::runCommandLine(QCoreApplication::arguments(), console);
}
