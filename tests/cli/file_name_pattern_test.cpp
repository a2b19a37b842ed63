// Output file names from a pattern: what a pattern may say, and that no
// value can make a name leave the pattern's folder.

#include "cli/file_name_pattern.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace quorvane::cli {
namespace {

using namespace Qt::StringLiterals;

TEST(FileNamePattern, RefusesPatternsThatNameNoColumnOrMisuseBraces)
{
    struct Row {
        QString pattern;
        QString problem; // empty: accepted
        QStringList columns = {};
    };
    const Row rows[] = {
        {.pattern = u"out/{serial}.KEY"_s, .problem = {}, .columns = {u"serial"_s}},
        {.pattern = u"{lot}/{ serial }-{lot}.639"_s, .problem = {}, .columns = {u"lot"_s, u"serial"_s}},
        {.pattern = u"{{x}}{serial}"_s, .problem = {}, .columns = {u"serial"_s}},
        {.pattern = u"out/k.KEY"_s, .problem = u"The pattern names no {column}: every row would write the same file."_s},
        {.pattern = u"out/{{serial}}.KEY"_s,
         .problem = u"The pattern names no {column}: every row would write the same file."_s},
        {.pattern = u"out/{serial.KEY"_s,
         .problem = u"The pattern has a \"{\" without a column name and \"}\" (\"{{\" stands for \"{\")."_s},
        {.pattern = u"out/serial}.KEY"_s, .problem = u"The pattern has a \"}\" without \"{\" (\"}}\" stands for \"}\")."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pattern.toStdString());
        const Parsed<FileNamePattern> pattern = FileNamePattern::parse(row.pattern);
        EXPECT_EQ(pattern.problem, row.problem);
        EXPECT_EQ(bool(pattern), row.problem.isEmpty());
        if (pattern) {
            EXPECT_EQ(pattern->columnNames(), row.columns);
        }
    }
}

TEST(FileNamePattern, AValueNeverLeavesThePatternsFolder)
{
    struct Row {
        QString pattern;
        QStringList fields; // for the header "a", "b"
        QString path;       // empty: refused
        QString problem = {};
    };
    const Row rows[] = {
        {.pattern = u"out/{a}.KEY"_s, .fields = {u"S-1 x"_s, {}}, .path = u"out/S-1 x.KEY"_s},
        {.pattern = u"/abs/out/{a}_{b}.KEY"_s, .fields = {u"1"_s, u"2"_s}, .path = u"/abs/out/1_2.KEY"_s},
        {.pattern = u"out/{a}/{b}.KEY"_s, .fields = {u"lot"_s, u"7"_s}, .path = u"out/lot/7.KEY"_s},
        {.pattern = u"{{{a}}}.KEY"_s, .fields = {u"x"_s, {}}, .path = u"{x}.KEY"_s},
        {.pattern = u"{a}"_s, .fields = {u"..."_s, {}}, .path = u"..."_s},
        {.pattern = u"out/{a}.KEY"_s, .fields = {u"../x"_s, {}}, .path = {},
         .problem = u"the column \"a\" holds a path separator: \"../x\"."_s},
        {.pattern = u"out/{a}.KEY"_s, .fields = {u"/etc/x"_s, {}}, .path = {},
         .problem = u"the column \"a\" holds a path separator: \"/etc/x\"."_s},
        {.pattern = u"out/{a}.KEY"_s, .fields = {u"..\\x"_s, {}}, .path = {},
         .problem = u"the column \"a\" holds a path separator: \"..\\x\"."_s},
        {.pattern = u"out/{a}.KEY"_s, .fields = {u"x\ny"_s, {}}, .path = {},
         .problem = u"the column \"a\" holds a control character."_s},
        {.pattern = u"out/{a}.KEY"_s, .fields = {{}, {}}, .path = {}, .problem = u"the column \"a\" is empty."_s},
        {.pattern = u"out/{a}/k.KEY"_s, .fields = {u".."_s, {}}, .path = {},
         .problem = u"the file name \"out/../k.KEY\" has a part \"..\"."_s},
        {.pattern = u"{a}"_s, .fields = {u"."_s, {}}, .path = {}, .problem = u"the file name \".\" has a part \".\"."_s},
        {.pattern = u"out/{a}{b}/k.KEY"_s, .fields = {u"."_s, u"."_s}, .path = {},
         .problem = u"the file name \"out/../k.KEY\" has a part \"..\"."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.pattern + u' ' + row.fields.join(u'|')).toStdString());
        Parsed<FileNamePattern> pattern = FileNamePattern::parse(row.pattern);
        ASSERT_TRUE(pattern) << pattern.problem.toStdString();
        ASSERT_EQ(pattern->bind({u"a"_s, u"b"_s}), QString());
        const FileNamePattern::FileName name = pattern->fileNameFor(row.fields);
        EXPECT_EQ(name.path, row.path);
        EXPECT_EQ(name.problem, row.problem);
    }
}

} // namespace
} // namespace quorvane::cli
