// The program as a whole: how it is called, what it answers to a wrong call,
// and that every wrong call ends with exit code 2 before touching a file.

#include "cli_test_support.h"

#include "core/version_info.h"

#include <QDir>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class CommandLine : public CliTest {
protected:
    void SetUp() override
    {
        writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1000, u"0102"_s), u"serial"_s)}}));
        writeFileBytes(path(u"d.csv"_s), "serial\n0A0B\n");
    }
};

TEST_F(CommandLine, HelpAndVersionAnswerOnTheOutputAndSucceed)
{
    struct Row {
        QStringList arguments;
        QString output; // the output holds this
    };
    const Row rows[] = {
        {.arguments = {u"--version"_s}, .output = versionLine(programVersion()) + u'\n'},
        {.arguments = {u"--help"_s}, .output = u"\n  batch  "_s},
        {.arguments = {u"help"_s, u"build"_s}, .output = u"Usage: quorvane-cli build [options] IN\n"_s},
        {.arguments = {u"batch"_s, u"-h"_s}, .output = u"Usage: quorvane-cli batch [options] TEMPLATE [DEVICES.csv]\n"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(result.output.contains(row.output)) << result.output.toStdString();
        EXPECT_EQ(result.errors, QString());
    }
}

TEST_F(CommandLine, AWrongCallSaysWhatIsWrongAndEndsWithTwo)
{
    struct Row {
        QStringList arguments;
        QString errors; // the error stream holds this
    };
    const Row rows[] = {
        {.arguments = {}, .errors = u"Usage: quorvane-cli COMMAND"_s},
        {.arguments = {u"frobnicate"_s}, .errors = u"Unknown command \"frobnicate\"."_s},
        {.arguments = {u"show"_s, u"t.639"_s, u"t.639"_s}, .errors = u"show takes 1 argument(s), 2 given."_s},
        {.arguments = {u"show"_s, u"t.639"_s, u"--xml"_s}, .errors = u"Unknown option 'xml'."_s},
        {.arguments = {u"build"_s, u"t.639"_s}, .errors = u"-o OUT is missing."_s},
        {.arguments = {u"merge"_s, u"image.srec"_s, u"t.639"_s}, .errors = u"-o OUT is missing."_s},
        {.arguments = {u"build"_s, u"t.639"_s, u"-o"_s, u"k.KEY"_s, u"--addr"_s, u"20"_s},
         .errors = u"--addr takes 16, 24 or 32, not \"20\"."_s},
        {.arguments = {u"build"_s, u"t.639"_s, u"-o"_s, u"k.KEY"_s, u"--sort"_s, u"--no-sort"_s},
         .errors = u"--sort and --no-sort exclude each other."_s},
        {.arguments = {u"verify"_s, u"image.srec"_s}, .errors = u"KEYS is missing."_s},
        {.arguments = {u"batch"_s, u"t.639"_s, u"d.csv"_s}, .errors = u"-o PATTERN is missing."_s},
        {.arguments = {u"batch"_s, u"t.639"_s, u"missing.csv"_s, u"-o"_s, u"{serial}.KEY"_s},
         .errors = u"missing.csv: cannot be read: "_s},
        {.arguments = {u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"{lot}.KEY"_s},
         .errors = u"The pattern names the column {lot}, which the CSV header does not have."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.errors.contains(row.errors)) << result.errors.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "a wrong call wrote a file";
    }
}

} // namespace
} // namespace quorvane::test
