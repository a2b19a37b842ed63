// What every command that writes shares: a file that is there is replaced
// only with --overwrite, a batch resumes with --skip-existing and stops on a
// failure that every row meets, and the output reaches the log line by line.

#include "cli_test_support.h"

#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/saving.h"

#include <QDir>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class OutputFiles : public CliTest {
protected:
    void SetUp() override
    {
        const Document document =
            documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1000, u"01020304"_s), u"serial"_s)}});
        writeTemplate(u"t.639"_s, document);
        writeKeyFile(u"image.srec"_s, document);
        writeFileBytes(path(u"d.csv"_s), "serial\n0A0B0C0D\n");
    }
};

TEST_F(OutputFiles, AFileThatIsThereIsReplacedOnlyWithOverwrite)
{
    struct Row {
        QStringList arguments; // -o and --overwrite follow
        QString out;
        QString refusal = {}; // the file's name when empty
    };
    const QString there = u": the file is there already; --overwrite replaces it"_s;
    const Row rows[] = {
        {.arguments = {u"build"_s, u"t.639"_s}, .out = u"o.KEY"_s},
        {.arguments = {u"merge"_s, u"image.srec"_s, u"t.639"_s}, .out = u"o.srec"_s},
        {.arguments = {u"batch"_s, u"t.639"_s, u"d.csv"_s}, .out = u"{serial}.KEY"_s,
         .refusal = u"CSV line 2: 0A0B0C0D.KEY"_s + there + u", --skip-existing keeps it.\n1 of 1 rows were not written.\n"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.constFirst().toStdString());
        const QString file = QString(row.out).replace(u"{serial}"_s, u"0A0B0C0D"_s);
        writeFileBytes(path(file), "previous\r\n");
        const QStringList arguments = row.arguments + QStringList{u"-o"_s, row.out};
        const CliRun refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.errors, row.refusal.isEmpty() ? file + there + u".\n"_s : row.refusal);
        EXPECT_EQ(readFileBytes(path(file)), "previous\r\n");
        const CliRun replaced = run(arguments + QStringList{u"--overwrite"_s});
        EXPECT_EQ(replaced.exitCode, 0) << replaced.errors.toStdString();
        EXPECT_NE(readFileBytes(path(file)), "previous\r\n");
    }
}

// A file that takes the output's name while a command writes is never
// replaced without --overwrite, and nothing of the command's file is left.
TEST_F(OutputFiles, AFileThatAppearsWhileACommandWritesIsLeftAlone)
{
    for (const bool overwrite : {false, true}) {
        const QString out = path(u"late.KEY"_s);
        QFile::remove(out);
        cli::RecordedConsole console;
        const int exitCode = cli::writeOutput(out, overwrite, console, [&](QFileDevice& file) {
            file.write("mine\r\n");
            writeFileBytes(out, "theirs\r\n");
            return cli::kExitSuccess;
        });
        EXPECT_EQ(exitCode, overwrite ? cli::kExitSuccess : cli::kExitRefused);
        EXPECT_EQ(readFileBytes(out), overwrite ? "mine\r\n" : "theirs\r\n");
        const QList<cli::ConsoleLine> lines = console.takeLines();
        EXPECT_EQ(lines.isEmpty() ? QString() : lines.constFirst().text,
                  overwrite ? QString() : out + u": the file appeared while the command was writing it and is left as it is; --overwrite replaces it."_s);
        EXPECT_EQ(QDir(path({})).entryList(QDir::Hidden | QDir::Files).filter(u"quorvane-"_s), QStringList());
    }
}

TEST_F(OutputFiles, ABatchResumesWithSkipExistingAndStopsOnAFailureEveryRowMeets)
{
    QByteArray csv = "serial,lot\n0A0B0C0D,L\n";
    for (int row = 0; row < 11; ++row)
        csv += QByteArray::number(0x10000000 + row, 16) + ",F\n";
    writeFileBytes(path(u"d.csv"_s), csv);
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"out/L"_s));
    writeFileBytes(path(u"out/L/0A0B0C0D.KEY"_s), "previous\r\n");
    writeFileBytes(path(u"out/F"_s), "a file, not a folder\r\n");

    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{lot}/{serial}.KEY"_s, u"--skip-existing"_s});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.output, u"CSV line 2: kept out/L/0A0B0C0D.KEY (--skip-existing)\n"_s);
    QString errors;
    for (int line = 3; line <= 12; ++line)
        errors += u"CSV line %1: File Save Error.\nout/F/%2.KEY: Not a directory\n"_s.arg(line).arg(0x10000000 + line - 3, 0, 16);
    errors += u"Stopped after CSV line 12: 10 rows in a row could not be written (out/F/10000009.KEY: Not a directory); "
              u"the rows after it were not tried.\n"_s;
    EXPECT_EQ(result.errors, errors);
    EXPECT_EQ(readFileBytes(path(u"out/L/0A0B0C0D.KEY"_s)), "previous\r\n");
}

// A log read while the run goes on (or after it was killed) holds every
// line printed so far.
TEST(Console, EachLineReachesTheOutputAtOnce)
{
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
    FILE* output = fdopen(ends[1], "w");
    {
        cli::Console console(output, stderr);
        console.print(u"CSV line 2: wrote out/1.KEY"_s);
        char read[64] = {};
        EXPECT_EQ(::read(ends[0], read, sizeof read), 28);
        EXPECT_STREQ(read, "CSV line 2: wrote out/1.KEY\n");
    }
    fclose(output);
    close(ends[0]);
}

} // namespace
} // namespace quorvane::test
