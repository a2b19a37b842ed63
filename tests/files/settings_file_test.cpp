#include "files/settings_file.h"
#include "tests/support/file_support.h"

#include <QDir>

using namespace quorvane;

namespace {

Settings readFrom(QByteArray contents, const Settings& start)
{
    QBuffer buffer(&contents);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(buffer, start);
}

// The 13 lines of a settings file: `first`, eleven empty quoted fields, `last`.
QByteArray lines(const QByteArray& first, const QByteArray& last)
{
    return first + "\r\n" + QByteArray("\"\"\r\n").repeated(11) + last + "\r\n";
}

TEST(SettingsFile, WrittenFileHasThirteenQuotedLines)
{
    EXPECT_EQ(settingsFileContents(Settings{}), lines("\"\"", "1,1"));
    EXPECT_EQ(settingsFileContents(Settings{3, "C:/a b/x.KEY", 0}), lines("\"C:/a b/x.KEY\"", "3,0"));
}

TEST(SettingsFile, ReadsWhatItCanAndKeepsStartValuesForTheRest)
{
    const Settings start{3, "/start", 0};
    const struct { const char* what; QByteArray contents; Settings expected; } cases[] = {
        {"empty file", "", start},
        {"filter above 5 clamps", lines("\"/home/u/k.KEY\"", "9,1"), Settings{5, "/home/u/k.KEY", 1}},
        {"filter below 1 clamps, any sort value kept", lines("\"\"", "0,5"), Settings{1, "", 5}},
        {"only the first line", "\"/p/only.KEY\"\r\n", Settings{3, "/p/only.KEY", 0}},
        {"path with commas, LF line ends", lines("\"/a,\"", "2,1").replace("\r\n", "\n"), Settings{2, "/a,", 1}},
        {"filter does not fit 16 bits", lines("\"/x\"", "70000,1"), Settings{3, "/x", 0}},
        {"sort not a number", lines("\"/x\"", "2,on"), Settings{2, "/x", 0}},
        {"unquoted path trimmed", lines(" /plain/path ", " 2 ,1"), Settings{2, "/plain/path", 1}},
        // Once its first megabyte became the last path, written back at End.
        {"larger than any settings file", QByteArray((1 << 20) + 1, '\0'), start},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readFrom(c.contents, start), c.expected) << c.what;
}

// A path with a double quote once ended its field early and shifted the
// filter index and the sort option into the wrong fields on the next start.
TEST(SettingsFile, APathTheFileCannotHoldIsForgottenAndNothingElse)
{
    for (const char* path : {"/a\"b.KEY", "\"", "x\",7\r\n\"\"", "\"\"\"\""}) {
        const Settings written{3, QString::fromUtf8(path), 0};
        EXPECT_EQ(readFrom(settingsFileContents(written), Settings{}), (Settings{3, "", 0})) << path;
    }
}

// On the disk: a missing file gives the start values clamped, a write
// replaces a longer file whole (making the user's folder first), and a
// folder in the file's place is reported and kept.
TEST(SettingsFile, OnDiskLivesBesideTheProgramUnlessThatFolderCannotBeWritten)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("program"), config = dir.filePath("config/Quorvane");
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_EQ(settingsFilePath(program, config), program + "/Quorvane.ini");
    // An installed program's folder: here one that does not exist at all.
    EXPECT_EQ(settingsFilePath(dir.filePath("missing"), config), config + "/Quorvane.ini");
    EXPECT_EQ(readSettingsFile(config + "/Quorvane.ini", {9, "/keep", 0}), (Settings{5, "/keep", 0}));

    const Settings s{3, QString::fromUtf8("/home/\xC3\xA9t\xC3\xA9/k,1.KEY"), 0};
    for (const QString& path : {config + "/Quorvane.ini", program + "/Quorvane.ini"}) {
        test::writeFileBytes(program + "/Quorvane.ini", QByteArray(5000, 'x'));
        ASSERT_EQ(writeSettingsFile(path, s), QString());
        EXPECT_EQ(test::readFileBytes(path), settingsFileContents(s));
        EXPECT_EQ(readSettingsFile(path, Settings{}), s);
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(kSettingsFileName));
    EXPECT_FALSE(writeSettingsFile(dir.filePath(kSettingsFileName), Settings{}).isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath(kSettingsFileName)).isDir());
}

} // namespace
