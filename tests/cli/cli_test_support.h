#pragma once

#include "core/document.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"
#include "tests/support/file_support.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

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

// Runs `program` (quorvane-cli when empty) with `arguments` in `workingDirectory`.
[[nodiscard]] CliRun runProgram(const QString& program, const QStringList& arguments, const QString& workingDirectory);
[[nodiscard]] inline CliRun runCli(const QStringList& arguments, const QString& workingDirectory)
{
    return runProgram({}, arguments, workingDirectory);
}

// What the KEY writer or the template writer makes of `document`.
[[nodiscard]] inline QByteArray keyFileBytes(const Document& document) { return written(&SRecodeSave, document); }
[[nodiscard]] inline QByteArray templateFileBytes(const Document& document) { return written(&FormatSave, document); }

// Each test starts in a fresh folder; paths are relative to it.
class CliTest : public ::testing::Test {
protected:
    [[nodiscard]] QString path(const QString& name) const { return dir.filePath(name); }
    [[nodiscard]] CliRun run(const QStringList& arguments) const { return runCli(arguments, dir.path()); }
    // Runs another program (objcopy, srec_cat) in the folder: success, or
    // a failure that says which call failed and why.
    [[nodiscard]] ::testing::AssertionResult tool(const QString& program, const QStringList& arguments) const;
    void writeTemplate(const QString& name, const Document& document) const
    {
        writeFileBytes(path(name), templateFileBytes(document));
    }
    void writeKeyFile(const QString& name, const Document& document) const
    {
        writeFileBytes(path(name), keyFileBytes(document));
    }

    QTemporaryDir dir;
};

} // namespace quorvane::test
