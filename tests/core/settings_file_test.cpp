#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace quorvane;

namespace {

Settings readFrom(const QByteArray& contents, Settings start = {})
{
    QByteArray bytes = contents;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, start);
}

QByteArray lines(const QByteArray& first, const QByteArray& last)
{
    QByteArray out = first + "\r\n";
    for (int i = 0; i < 11; ++i)
        out += "\"\"\r\n";
    return out + last + "\r\n";
}

Settings make(qint16 filter, const QString& path, qint16 sort)
{
    Settings s;
    s.FilterIndexSetting = filter;
    s.LastPath = path;
    s.SortOn = sort;
    return s;
}

TEST(SettingsFile, WrittenFileHasThirteenQuotedLines)
{
    const QByteArray expected = lines("\"\"", "1,1");
    EXPECT_EQ(settingsFileContents(Settings{}), expected);
    EXPECT_EQ(settingsFileContents(make(3, "C:/a b/x.KEY", 0)), lines("\"C:/a b/x.KEY\"", "3,0"));
}

TEST(SettingsFile, ReadsWhatItCanAndKeepsStartValuesForTheRest)
{
    const Settings start = make(1, QString(), 1);
    const struct {
        const char* what;
        QByteArray contents;
        Settings expected;
    } cases[] = {
        {"empty file", "", start},
        {"round trip", lines("\"/home/u/k.KEY\"", "2,0"), make(2, "/home/u/k.KEY", 0)},
        {"filter above 4 clamps, sort off", lines("\"\"", "9,0"), make(4, "", 0)},
        {"filter below 1 clamps, any non-zero sort is on", lines("\"\"", "0,5"), make(1, "", 5)},
        {"negative filter", lines("\"\"", "-3,1"), make(1, "", 1)},
        {"only the first line", "\"/p/only.KEY\"\r\n", make(1, "/p/only.KEY", 1)},
        {"path with commas", lines("\"/a,b/c, d.KEY\"", "3,1"), make(3, "/a,b/c, d.KEY", 1)},
        {"LF line ends", lines("\"/x\"", "2,0").replace("\r\n", "\n"), make(2, "/x", 0)},
        {"filter does not fit 16 bits", lines("\"/x\"", "70000,0"), make(1, "/x", 1)},
        {"sort not a number", lines("\"/x\"", "3,on"), make(3, "/x", 1)},
        {"missing last line", lines("\"/x\"", "").chopped(2), make(1, "/x", 1)},
        {"spaces before a number", lines("\"/x\"", " 2, 0"), make(2, "/x", 0)},
        {"unquoted path", lines("/plain/path", "2,1"), make(2, "/plain/path", 1)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readFrom(c.contents, start), c.expected) << c.what;
}

TEST(SettingsFile, PathWithQuoteIsNotReadBackWhole)
{
    const Settings written = make(2, "/a\"b", 0);
    const Settings read = readFrom(settingsFileContents(written));
    EXPECT_NE(read.LastPath, written.LastPath);
}

TEST(SettingsFile, MissingFileGivesStartValues)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Settings start = make(9, "/keep", 0);
    EXPECT_EQ(readSettingsFile(dir.filePath("Quorvane.ini"), start), make(4, "/keep", 0));
}

TEST(SettingsFile, WriteThenReadRoundTripsAndReplacesOldContents)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(kSettingsFileName);
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    const Settings s = make(3, QString::fromUtf8("/home/\xC3\xA9t\xC3\xA9/k,1.KEY"), 0);
    EXPECT_EQ(writeSettingsFile(path, s), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), settingsFileContents(s));
    EXPECT_EQ(readSettingsFile(path, Settings{}), s);
}

TEST(SettingsFile, FailedWriteReportsAndKeepsOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder where the file should be cannot be replaced.
    const QString path = dir.filePath("Quorvane.ini");
    ASSERT_TRUE(QDir(dir.path()).mkdir("Quorvane.ini"));
    EXPECT_FALSE(writeSettingsFile(path, Settings{}).isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_FALSE(writeSettingsFile(dir.filePath("no/such/folder/Quorvane.ini"), Settings{}).isEmpty());
}

} // namespace
