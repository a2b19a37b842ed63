#include "cli_test_support.h"

#include <QProcess>

namespace quorvane::test {

CliRun runProgram(const QString& program, const QStringList& arguments, const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(program.isEmpty() ? QStringLiteral(QUORVANE_CLI_PATH) : program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, program + QStringLiteral(" did not finish: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

::testing::AssertionResult CliTest::tool(const QString& program, const QStringList& arguments) const
{
    const CliRun result = runProgram(program, arguments, dir.path());
    if (result.exitCode == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << program.toStdString() << ' ' << arguments.join(u' ').toStdString()
                                         << " failed: " << result.errors.toStdString();
}

} // namespace quorvane::test
