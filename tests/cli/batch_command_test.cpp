// batch: one file per CSV row, each byte for byte what the writers write for
// the template with the row's data; a refused row writes nothing and names
// its CSV line, the other rows are still written.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class Batch : public CliTest {
protected:
    void SetUp() override { writeTemplate(u"t.639"_s, templ); }

    // The template with the data of a row: serial, name, line 4.
    [[nodiscard]] Document filled(const QString& serial, const QString& name, const QString& line4) const
    {
        Document document = templ;
        document.table[0].KeyData = serial;
        // The template gives the name no size: it takes its data's.
        document.table[1] = titled(asciiRecordAt(0x2000, name), u"name"_s);
        document.table[3].KeyData = line4;
        return document;
    }

    [[nodiscard]] QStringList filesIn(const QString& folder) const
    {
        return QDir(path(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    Document templ = [] {
        KeyRecord name = titled(asciiRecordAt(0x2000, u"default"_s), u"name"_s);
        name.KeySize = 0;
        return documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1000, u"00000000"_s), u"serial"_s)},
                                                {1, name},
                                                {2, titled(hexRecordAt(0x3000, u"ABCD"_s), u"fixed"_s)},
                                                {3, hexRecordAt(0x4000, u"0000"_s)}});
    }();
};

TEST_F(Batch, WritesEachRowAndRefusesOnlyTheBadOnes)
{
    writeFileBytes(path(u"d.csv"_s), "serial,name,lot,#4,comment\r\n"
                                     "01020304,\"Al, \"\"B\"\"\",L1,1111,first\r\n"
                                     "0A0B0C0D,\"multi\r\nline\",L2,2222,\r\n"
                                     "XYZ00000,bad,L3,3333,\r\n"
                                     "11223344,ok,../x,4444,\r\n"
                                     "55667788,dup,L1,5555,\r\n"
                                     "66778899,short,L7\r\n"
                                     "\r\n"
                                     "99AABBCC,\"fine\",L6,6666,");
    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{lot}.KEY"_s});

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/L1.KEY\nCSV line 3: wrote out/L2.KEY\nCSV line 10: wrote out/L6.KEY\n"_s);
    EXPECT_EQ(result.errors,
              u"Note: the column \"comment\" names no record of the template and is not in the pattern; it is not used.\n"
              u"CSV line 5: Illegal HEX Data.\nLineNo: 1\n"
              u"CSV line 6: the column \"lot\" holds a path separator: \"../x\".\n"
              u"CSV line 7: the file name \"out/L1.KEY\" is that of CSV line 2.\n"
              u"CSV line 8: 3 fields where the header has 5.\n"
              u"4 of 7 rows were not written.\n"_s);
    EXPECT_EQ(filesIn(u"out"_s), QStringList({u"L1.KEY"_s, u"L2.KEY"_s, u"L6.KEY"_s}));
    EXPECT_EQ(filesIn(u"."_s), QStringList({u"d.csv"_s, u"out"_s, u"t.639"_s})) << "a row wrote outside out/";
    EXPECT_EQ(readFileBytes(path(u"out/L1.KEY"_s)), keyFileBytes(filled(u"01020304"_s, u"Al, \"B\""_s, u"1111"_s)));
    EXPECT_EQ(readFileBytes(path(u"out/L2.KEY"_s)), keyFileBytes(filled(u"0A0B0C0D"_s, u"multi\r\nline"_s, u"2222"_s)));
    EXPECT_EQ(readFileBytes(path(u"out/L6.KEY"_s)), keyFileBytes(filled(u"99AABBCC"_s, u"fine"_s, u"6666"_s)));
}

TEST_F(Batch, TemplatesOutKeepTitlesAndTypes)
{
    writeFileBytes(path(u"d.csv"_s), "name,serial\n\xC3\xA4-1,DEADBEEF\n");
    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"{serial}-{name}.639"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(readFileBytes(path(u"DEADBEEF-\u00e4-1.639"_s)), templateFileBytes(filled(u"DEADBEEF"_s, u"\u00e4-1"_s, u"0000"_s)));
}

TEST_F(Batch, TheTemplatesSizeStandsAndAWarningStopsOnlyItsRow)
{
    writeFileBytes(path(u"d.csv"_s), "serial,name\nAB,short\n01020304,ok\n");
    const QString warning = u"CSV line 2: WARNING: The size of data is different.\nLineNo: 1\nContinue ?\n"_s;
    struct Row {
        QStringList options;
        int exitCode;
        QString errors;
        std::optional<Document> shortRow = {}; // the file of CSV line 2, nullopt for none
    };
    const Row rows[] = {
        {.options = {}, .exitCode = 1,
         .errors = warning + u"Not answered: --yes answers OK.\n1 of 2 rows were not written.\n"_s},
        {.options = {u"--yes"_s}, .exitCode = 0, .errors = warning + u"Answered OK (--yes).\n"_s,
         .shortRow = filled(u"FFFFFFAB"_s, u"short"_s, u"0000"_s)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options.join(u' ').toStdString());
        QDir(path(u"out"_s)).removeRecursively();
        const CliRun result = run(QStringList{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{name}.KEY"_s} + row.options);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.errors, row.errors);
        EXPECT_EQ(readFileBytes(path(u"out/ok.KEY"_s)), keyFileBytes(filled(u"01020304"_s, u"ok"_s, u"0000"_s)));
        EXPECT_EQ(readFileBytes(path(u"out/short.KEY"_s)),
                  row.shortRow ? keyFileBytes(*row.shortRow) : QByteArray("<missing>"));
    }
}

TEST_F(Batch, ACsvOrHeaderItCannotUseWritesNothing)
{
    struct Row {
        QByteArray csv;
        QString errors; // the error stream starts with this
    };
    const Row rows[] = {
        {.csv = "serial,name\n01020304,\"ok\"\n01020305,\"open,\nL\n01020306,x\n",
         .errors = u"d.csv: CSV line 3: the quoted field that starts here has no closing quote."_s},
        {.csv = "serial,name\n01020304,a\"b\n", .errors = u"d.csv: CSV line 2: a quote inside a field that does not start with one."_s},
        {.csv = "serial,name\n01020304,\"a\"b\n", .errors = u"d.csv: CSV line 2: text follows the closing quote of a field."_s},
        {.csv = "serial,name\n01020304,\xFF\n", .errors = u"d.csv: CSV line 2: the text is not UTF-8."_s},
        {.csv = "serial,name\n01020304,ok\n01020305," + QByteArray(3 << 20, 'x') + "\n",
         .errors = u"d.csv: CSV line 3: a field is longer than 1048576 bytes."_s},
        {.csv = "", .errors = u"d.csv has no header line."_s},
        {.csv = "serial,#9,name\n1,2,3\n", .errors = u"The column \"#9\" names no record of the template."_s},
        {.csv = "serial,#0,name\n1,2,3\n", .errors = u"The column \"#0\" names no record of the template."_s},
        {.csv = "serial,name, serial \n1,2,3\n", .errors = u"The CSV header names the column \"serial\" twice."_s},
        {.csv = "#1,name,serial\n1,2,3\n", .errors = u"Two columns name line 1 of the template."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.csv.left(80).toStdString());
        writeFileBytes(path(u"d.csv"_s), row.csv);
        const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{name}.KEY"_s});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.errors.startsWith(row.errors)) << result.errors.toStdString();
        EXPECT_FALSE(QFile::exists(path(u"out"_s)));
    }
}

// Whatever a row holds, nothing is written outside the pattern's folder:
// the run happens in work/, beside which the test's folder holds only the
// fixture's template.
TEST_F(Batch, NoRowWritesOutsideThePatternsFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"work"_s));
    writeTemplate(u"work/t.639"_s, templ);
    QByteArray csv = "serial,name,lot\n"
                     "01020304,ok,L1\n"
                     "01020305,x,..\n"
                     "01020306,y,.\n"
                     "01020307,z,../..\n"
                     "01020308,w,/tmp\n"
                     "01020309,v,..\\x\n";
    csv += "0102030A,u,L";
    csv += '\0';
    csv += "\n";
    writeFileBytes(path(u"work/d.csv"_s), csv);
    const CliRun result =
        runCli({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{lot}/{name}.KEY"_s}, path(u"work"_s));

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/L1/ok.KEY\n"_s);
    EXPECT_EQ(result.errors, u"CSV line 3: the file name \"out/../x.KEY\" has a part \"..\".\n"
                             u"CSV line 4: the file name \"out/./y.KEY\" has a part \".\".\n"
                             u"CSV line 5: the column \"lot\" holds a path separator: \"../..\".\n"
                             u"CSV line 6: the column \"lot\" holds a path separator: \"/tmp\".\n"
                             u"CSV line 7: the column \"lot\" holds a path separator: \"..\\x\".\n"
                             u"CSV line 8: the column \"lot\" holds a control character.\n"
                             u"6 of 7 rows were not written.\n"_s);
    EXPECT_EQ(filesIn(u"."_s), QStringList({u"t.639"_s, u"work"_s}));
    EXPECT_EQ(filesIn(u"work"_s), QStringList({u"d.csv"_s, u"out"_s, u"t.639"_s}));
    EXPECT_EQ(filesIn(u"work/out"_s), QStringList{u"L1"_s});
    EXPECT_EQ(filesIn(u"work/out/L1"_s), QStringList{u"ok.KEY"_s});
    EXPECT_FALSE(QFile::exists(u"/tmp/w.KEY"_s));
}

TEST_F(Batch, ATitleOfSeveralRecordsMustBeNamedByLine)
{
    templ.table[2].KeyTitle = u"serial"_s;
    writeTemplate(u"t.639"_s, templ);
    writeFileBytes(path(u"d.csv"_s), "serial,name\n01020304,a\n");
    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"{name}.KEY"_s});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.errors.startsWith(u"The column \"serial\" is the title of lines 1, 3 of the template; name one as \"#1\"."_s))
        << result.errors.toStdString();
}

} // namespace
} // namespace quorvane::test
