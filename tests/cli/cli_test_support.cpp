#include "cli_test_support.h"

#include "files/srecord_writer.h"
#include "files/template_file.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>

namespace quorvane::test {

CliRun runCli(const QStringList& arguments, const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(QUORVANE_CLI_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("quorvane-cli did not finish: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

::testing::AssertionResult runTool(const QString& program, const QStringList& arguments,
                                   const QString& workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    const QString call = program + u' ' + arguments.join(u' ');
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return ::testing::AssertionFailure() << call.toStdString() << " did not finish: "
                                             << process.errorString().toStdString();
    if (process.exitCode() != 0)
        return ::testing::AssertionFailure() << call.toStdString() << " failed: "
                                             << process.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

namespace {

QByteArray written(QString (*write)(QIODevice&, const Document&), const Document& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString error = write(buffer, document);
    EXPECT_EQ(error, QString());
    return buffer.data();
}

} // namespace

QByteArray keyFileBytes(const Document& document)
{
    return written(&SRecodeSave, document);
}

QByteArray templateFileBytes(const Document& document)
{
    return written(&FormatSave, document);
}

void CliTest::writeTemplate(const QString& name, const Document& document) const
{
    writeFileBytes(path(name), templateFileBytes(document));
}

void CliTest::writeKeyFile(const QString& name, const Document& document) const
{
    writeFileBytes(path(name), keyFileBytes(document));
}

} // namespace quorvane::test
