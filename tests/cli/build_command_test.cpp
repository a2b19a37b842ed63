// build: File Open, the address-size command, then the whole save, each
// warning answered with --yes or left unanswered; the file written is what
// the libraries' writers write for the table the save leaves.

#include "cli_test_support.h"

#include "files/intel_hex_writer.h"

#include <QFile>

#include <optional>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;
constexpr auto Bits16 = AddressSize::Bits16;
constexpr auto Bits32 = AddressSize::Bits32;

class Build : public CliTest {};

TEST_F(Build, RunsTheEditorsStepsAndWritesWhatTheWritersWrite)
{
    const QString addressWarning = u"There is a possibility for the data size to exceed the upper bound of Srecord.\n"
                                   u"(Data that exceeds the upper bound is deleted.)\nContinue ?"_s;
    const KeyRecord high = titled(hexRecordAt(0x2000, u"0102"_s), u"high"_s);
    const KeyRecord low = titled(hexRecordAt(0x1000, u"AABB"_s), u"low"_s);
    const KeyRecord bytes252 = hexRecordAt(0x1000, QString(2 * 252, u'A'));
    const Document lowOnly = documentIn(Bits32, {{0, low}});

    struct Row {
        const char* name;
        Document input;
        QStringList options = {};
        QString out = u"out.KEY"_s;
        int exitCode = 0;
        QString errors = {};
        std::optional<Document> written = {}; // nullopt: no file
        bool intelHex = false;
    };
    const Row rows[] = {
        {.name = "sorted by address",
         .input = documentIn(Bits32, {{0, high}, {1, low}}),
         .written = documentIn(Bits32, {{0, low}, {1, high}})},
        {.name = "--no-sort keeps the lines' order",
         .input = documentIn(Bits32, {{0, high}, {1, low}}),
         .options = {u"--no-sort"_s},
         .written = documentIn(Bits32, {{0, high}, {1, low}})},
        {.name = "a folder that does not exist", .input = lowOnly,
         .out = u"missing/out.KEY"_s, .exitCode = 1,
         .errors = u"File Save Error.\nmissing/out.KEY: No such file or directory\n"_s},
        {.name = "to a smaller data limit, unanswered",
         .input = documentIn(Bits16, {{0, bytes252}}),
         .options = {u"--addr"_s, u"32"_s},
         .exitCode = 1,
         .errors = u"WARNING: "_s + addressWarning + u"\nNot answered: --yes answers OK.\n"_s},
        {.name = "to a smaller data limit, answered",
         .input = documentIn(Bits16, {{0, bytes252}}),
         .options = {u"--addr"_s, u"32"_s, u"-y"_s},
         .errors = u"WARNING: "_s + addressWarning + u"\nAnswered OK (--yes).\n"_s,
         .written = documentIn(Bits32, {{0, hexRecordAt(0x1000, QString(2 * 250, u'A'))}})},
        {.name = "a .hex name", .input = lowOnly, .out = u"out.Hex"_s, .written = lowOnly, .intelHex = true},
        {.name = "--format ihex", .input = lowOnly, .options = {u"--format"_s, u"ihex"_s}, .written = lowOnly, .intelHex = true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path(row.out));
        writeTemplate(u"in.639"_s, row.input);

        const CliRun result = run(QStringList{u"build"_s, u"in.639"_s, u"-o"_s, row.out} + row.options);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.errors, row.errors);
        if (!row.written) {
            EXPECT_FALSE(QFile::exists(path(row.out)));
            EXPECT_EQ(result.output, QString());
            continue;
        }
        EXPECT_EQ(result.output, u"Wrote "_s + row.out + u'\n');
        EXPECT_EQ(readFileBytes(path(row.out)), row.intelHex ? intelHexFileContents(row.written->table, Bits32)
                                                             : keyFileBytes(*row.written));
    }
}

} // namespace
} // namespace quorvane::test
