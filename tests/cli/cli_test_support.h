#pragma once

#include "core/document.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Runs the built quorvane-cli as the shell would, on files made in a
// temporary folder, and compares what it writes with what the libraries
// write for the same table.
namespace quorvane::test {

struct CliRun {
    int exitCode = -1;
    QString output; // stdout
    QString errors; // stderr
};

// Runs quorvane-cli with `arguments` in `workingDirectory`.
[[nodiscard]] CliRun runCli(const QStringList& arguments, const QString& workingDirectory);

// Runs another program (objcopy, srec_cat) to its end in `workingDirectory`;
// success, or a failure that says which call failed and why.
[[nodiscard]] ::testing::AssertionResult runTool(const QString& program, const QStringList& arguments,
                                                 const QString& workingDirectory);

[[nodiscard]] QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);

// What the KEY writer or the template writer makes of `document`.
[[nodiscard]] QByteArray keyFileBytes(const Document& document);
[[nodiscard]] QByteArray templateFileBytes(const Document& document);

// Each test starts in a fresh folder; paths are relative to it.
class CliTest : public ::testing::Test {
protected:
    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }
    [[nodiscard]] CliRun run(const QStringList& arguments) const { return runCli(arguments, dir.path()); }
    [[nodiscard]] ::testing::AssertionResult tool(const QString& program, const QStringList& arguments) const
    {
        return runTool(program, arguments, dir.path());
    }
    void writeTemplate(const QString& name, const Document& document) const;
    void writeKeyFile(const QString& name, const Document& document) const;

    QTemporaryDir dir;
};

} // namespace quorvane::test
