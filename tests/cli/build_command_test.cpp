// build: File Open, the address-size command, then the whole save, each
// warning answered with --yes or left unanswered; the file written is what
// the libraries' writers write for the table the save leaves.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QFile>

#include <optional>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;
constexpr auto Bits16 = AddressSize::Bits16;
constexpr auto Bits24 = AddressSize::Bits24;
constexpr auto Bits32 = AddressSize::Bits32;

QString unanswered(const QString& warning)
{
    return u"WARNING: "_s + warning + u"\nNot answered: --yes answers OK.\n"_s;
}

QString answered(const QString& warning)
{
    return u"WARNING: "_s + warning + u"\nAnswered OK (--yes).\n"_s;
}

KeyRecord withSize(KeyRecord record, int size)
{
    record.KeySize = qint16(size);
    return record;
}

class Build : public CliTest {};

TEST_F(Build, RunsTheEditorsStepsAndWritesWhatTheWritersWrite)
{
    const QString addressWarning = u"There is a possibility for the data size to exceed the upper bound of Srecord.\n"
                                   u"(Data that exceeds the upper bound is deleted.)\nContinue ?"_s;
    const QString srecordWarning = u"The size of Srecord is exceeded.\nLineNo: 1\nContinue ?"_s;
    const QString dataWarning = u"The size of data is different.\nLineNo: 1\nContinue ?"_s;
    const KeyRecord high = titled(hexRecordAt(0x2000, u"0102"_s), u"high"_s);
    const KeyRecord low = titled(hexRecordAt(0x1000, u"AABB"_s), u"low"_s);
    const KeyRecord bytes252 = hexRecordAt(0x1000, QString(2 * 252, u'A'));
    const KeyRecord bytes251 = hexRecordAt(0x1000, QString(2 * 251, u'B'));
    const KeyRecord overlapping = hexRecordAt(0x1002, u"0506"_s);

    struct Row {
        const char* name;
        Document input;
        QString in = u"in.639"_s;
        QStringList options = {};
        QString out = u"out.KEY"_s;
        int exitCode = 0;
        QString errors = {};
        std::optional<Document> written = {}; // nullopt: no file
    };
    const Row rows[] = {
        {.name = "sorted by address",
         .input = documentIn(Bits32, {{0, high}, {1, low}}),
         .written = documentIn(Bits32, {{0, low}, {1, high}})},
        {.name = "a template out, sorted",
         .input = documentIn(Bits32, {{0, high}, {1, low}}),
         .out = u"out.639"_s,
         .written = documentIn(Bits32, {{0, low}, {1, high}})},
        {.name = "a KEY file in, a template out",
         .input = documentIn(Bits24, {{0, low}}),
         .in = u"in.KEY"_s,
         .out = u"out.639"_s,
         .written = documentIn(Bits24, {{0, hexRecordAt(0x1000, u"AABB"_s)}})},
        {.name = "--no-sort keeps the lines' order",
         .input = documentIn(Bits32, {{0, high}, {1, low}}),
         .options = {u"--no-sort"_s},
         .written = documentIn(Bits32, {{0, high}, {1, low}})},
        {.name = "overlap refused", .input = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"01020304"_s)}, {1, overlapping}}),
         .exitCode = 1,
         .errors = u"Duplicated Address\nNo.1 No.2 \nSave the file after correcting the duplicated Address\n"_s},
        {.name = "overlap saved without the sort",
         .input = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"01020304"_s)}, {1, overlapping}}),
         .options = {u"--no-sort"_s},
         .written = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"01020304"_s)}, {1, overlapping}})},
        {.name = "illegal hex data", .input = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"XY"_s)}}),
         .exitCode = 1, .errors = u"Illegal HEX Data.\nLineNo: 1\n"_s},
        {.name = "a folder that does not exist", .input = documentIn(Bits32, {{0, low}}),
         .out = u"missing/out.KEY"_s, .exitCode = 1,
         .errors = u"File Save Error.\nmissing/out.KEY: No such file or directory\n"_s},
        {.name = "to a larger data limit without a question",
         .input = documentIn(Bits32, {{0, low}}),
         .options = {u"--addr"_s, u"24"_s},
         .written = documentIn(Bits24, {{0, low}})},
        {.name = "to a smaller data limit, unanswered",
         .input = documentIn(Bits16, {{0, bytes252}}),
         .options = {u"--addr"_s, u"32"_s},
         .exitCode = 1,
         .errors = unanswered(addressWarning)},
        {.name = "to a smaller data limit, answered",
         .input = documentIn(Bits16, {{0, bytes252}}),
         .options = {u"--addr"_s, u"32"_s, u"--yes"_s},
         .errors = answered(addressWarning),
         .written = documentIn(Bits32, {{0, hexRecordAt(0x1000, QString(2 * 250, u'A'))}})},
        {.name = "too large for one S-record, unanswered",
         .input = documentIn(Bits32, {{0, bytes251}}),
         .exitCode = 1,
         .errors = unanswered(srecordWarning)},
        {.name = "too large for one S-record, answered",
         .input = documentIn(Bits32, {{0, bytes251}}),
         .options = {u"-y"_s},
         .errors = answered(srecordWarning),
         .written = documentIn(Bits32, {{0, hexRecordAt(0x1000, QString(2 * 250, u'B'))}})},
        {.name = "size and data differ, unanswered",
         .input = documentIn(Bits32, {{0, withSize(hexRecordAt(0x1000, u"AB"_s), 4)}}),
         .exitCode = 1,
         .errors = unanswered(dataWarning)},
        {.name = "size and data differ, answered",
         .input = documentIn(Bits32, {{0, withSize(hexRecordAt(0x1000, u"AB"_s), 4)}}),
         .options = {u"--yes"_s},
         .errors = answered(dataWarning),
         .written = documentIn(Bits32, {{0, hexRecordAt(0x1000, u"FFFFFFAB"_s)}})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path(row.out));
        if (row.in.endsWith(u".639"_s))
            writeTemplate(row.in, row.input);
        else
            writeKeyFile(row.in, row.input);

        const CliRun result = run(QStringList{u"build"_s, row.in, u"-o"_s, row.out} + row.options);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.errors, row.errors);
        if (!row.written) {
            EXPECT_FALSE(QFile::exists(path(row.out)));
            EXPECT_EQ(result.output, QString());
            continue;
        }
        EXPECT_EQ(result.output, u"Wrote "_s + row.out + u'\n');
        const QByteArray expected =
            row.out.endsWith(u".639"_s) ? templateFileBytes(*row.written) : keyFileBytes(*row.written);
        EXPECT_EQ(readFileBytes(path(row.out)), expected);
    }
}

TEST_F(Build, ARefusedSaveLeavesThePreviousFileAsItWas)
{
    writeTemplate(u"in.639"_s, documentIn(Bits32, {{0, hexRecordAt(0x1000, u"XY"_s)}}));
    writeFileBytes(path(u"out.KEY"_s), "previous\r\n");
    EXPECT_EQ(run({u"build"_s, u"in.639"_s, u"-o"_s, u"out.KEY"_s}).exitCode, 1);
    EXPECT_EQ(readFileBytes(path(u"out.KEY"_s)), "previous\r\n");
}

} // namespace
} // namespace quorvane::test
