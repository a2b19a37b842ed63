// template: a template from a CSV table of records; show --csv: that table.

#include "cli_test_support.h"

#include <QFile>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

using TemplateCommand = CliTest;

// Quoting, UTF-8, an empty title, an empty size and addresses of every
// width: show --csv gives back a table that makes the same bytes again.
TEST_F(TemplateCommand, ShowCsvAndTemplateRoundTrip)
{
    writeFileBytes(path(u"in.csv"_s), u"title,address,size,type,data\r\n"
                                      u"serial,1234,,HEX,A1B2\r\n"
                                      u",00002000,,ascii,Grüße €\r\n"
                                      u"\" lead\",123456,,ASCII,\"a, \"\"b\"\"\"\r\n"_s.toUtf8());
    const CliRun made = run({u"template"_s, u"in.csv"_s, u"-o"_s, u"t.639"_s});
    ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
    const Document expected =
        documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1234, u"A1B2"_s), u"serial"_s)},
                                         {1, asciiRecordAt(0x2000, u"Grüße €"_s)},
                                         {2, titled(asciiRecordAt(0x123456, u"a, \"b\""_s), u" lead"_s)}});
    EXPECT_EQ(readFileBytes(path(u"t.639"_s)), templateFileBytes(expected));

    const CliRun shown = run({u"show"_s, u"--csv"_s, u"t.639"_s});
    ASSERT_EQ(shown.exitCode, 0) << shown.errors.toStdString();
    EXPECT_EQ(shown.output, u"title,address,size,type,data\n"
                            u"serial,00001234,2,HEX,A1B2\n"
                            u",00002000,11,ASCII,Grüße €\n"
                            u"\" lead\",00123456,6,ASCII,\"a, \"\"b\"\"\"\n"_s);
    writeFileBytes(path(u"again.csv"_s), shown.output.toUtf8());
    ASSERT_EQ(run({u"template"_s, u"again.csv"_s, u"-o"_s, u"again.639"_s}).exitCode, 0);
    EXPECT_EQ(readFileBytes(path(u"again.639"_s)), readFileBytes(path(u"t.639"_s)));
}

TEST_F(TemplateCommand, TheWidestAddressWrittenChoosesTheAddressSize)
{
    const struct { QString rows; AddressSize size; } cases[] = {
        {.rows = u"a,FFFF,,HEX,01\n"_s, .size = AddressSize::Bits16},
        {.rows = u"a,1234,,HEX,01\nb,12345,,HEX,01\n"_s, .size = AddressSize::Bits24},
        {.rows = u"a,0000,,HEX,01\nb,00000010,,HEX,01\n"_s, .size = AddressSize::Bits32},
    };
    for (const auto& c : cases) {
        writeFileBytes(path(u"in.csv"_s), (u"title,address,size,type,data\n"_s + c.rows).toUtf8());
        ASSERT_EQ(run({u"template"_s, u"in.csv"_s, u"-o"_s, u"t.639"_s, u"--overwrite"_s}).exitCode, 0);
        Document document;
        ASSERT_EQ(FormatLoad(path(u"t.639"_s), document), QString());
        EXPECT_EQ(document.mode.current(), c.size) << c.rows.toStdString();
    }
}

// Nothing is written, and the message names the CSV line, column and value.
TEST_F(TemplateCommand, RefusesARowItCannotTakeAsItStands)
{
    const QString header = u"title,address,size,type,data\nok,1000,,HEX,01\n"_s;
    const struct { QString csv; QString message; int exitCode; } cases[] = {
        {.csv = header + u"a,12G4,,HEX,01"_s,
         .message = u"in.csv: CSV line 3, column \"address\": \"12G4\" is not an address of 4 to 8 hex digits.\n"_s,
         .exitCode = 1},
        {.csv = header + u"a,2000,,BIN,01"_s,
         .message = u"in.csv: CSV line 3, column \"type\": \"BIN\" is neither HEX nor ASCII.\n"_s,
         .exitCode = 1},
        {.csv = header + u"a,2000,,HEX,0x01"_s,
         .message = u"in.csv: CSV line 3, column \"data\": \"0x01\" is not HEX data (hex digits only).\n"_s,
         .exitCode = 1},
        {.csv = header + u"\"a\nb\",2000,,HEX,01"_s,
         .message = u"in.csv: CSV line 3, column \"title\": \"a\\nb\" holds a line break, which a template line cannot.\n"_s,
         .exitCode = 1},
        {.csv = header + u"a,2000,,HEX"_s, .message = u"in.csv: CSV line 3: the row has 4 fields; the header has 5.\n"_s,
         .exitCode = 1},
        {.csv = u"title,address,type,size,data\n"_s,
         .message = u"in.csv: CSV line 1: the header is not \"title,address,size,type,data\".\n"_s,
         .exitCode = 2},
    };
    for (const auto& c : cases) {
        writeFileBytes(path(u"in.csv"_s), c.csv.toUtf8());
        const CliRun result = run({u"template"_s, u"in.csv"_s, u"-o"_s, u"t.639"_s});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.csv.toStdString();
        EXPECT_EQ(result.errors, c.message);
        EXPECT_FALSE(QFile::exists(path(u"t.639"_s)));
    }
}

} // namespace
} // namespace quorvane::test
