#include "file_test_support.h"

#include "files/atomic_save.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"

// Both writers share one promise: a save that fails, wherever it fails,
// leaves the previous file exactly as it was and nothing else behind. A full
// disk and a read-only file are met in the hostile tests.
namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

struct Writer { const char* name; QString (*toPath)(const QString&, const Document&); test::DeviceWriter toDevice; };
const Writer kWriters[] = {{"KEY", SRecodeSave, SRecodeSave}, {"template", FormatSave, FormatSave}};

const QByteArray kOldContents = "the previous file\r\nkept byte for byte\r\n";

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        // About 130 KB in either format, well past the 4 KB where saves fail below.
        for (Slot slot = 0; slot < kRecordCount; ++slot)
            full.table[slot] = test::hexRecordAt(quint32(slot) * 256, QString(500, u'C'));
        test::writeFileBytes(target, kOldContents);
    }

    void expectOldFileOnly()
    {
        EXPECT_EQ(test::readFileBytes(target), kOldContents);
        EXPECT_EQ(test::folderEntries(dir.path()), QStringList{u"keys.out"_s});
    }

    QTemporaryDir dir;
    const QString target = dir.filePath(u"keys.out"_s);
    Document full;
};

TEST_F(AtomicSave, FailuresAreReportedAndLeaveTheOldFile)
{
    Document refused = full;
    refused.table[7].KeySize = -1;
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        for (qint64 capacity : {0, 4096}) { // the first write fails, or one halfway
            test::FailDevice device(capacity);
            EXPECT_EQ(writer.toDevice(device, full), u"ERROR:No space left on device"_s) << capacity;
        }
        const QString inAFile = writer.toPath(dir.filePath(u"keys.out/new.out"_s), full);
        EXPECT_TRUE(inAFile.startsWith(u"ERROR:"_s) && inAFile.size() > 6) << inAFile.toStdString();
        // A record that would not read back stops the save before it starts.
        EXPECT_TRUE(writer.toPath(target, refused).startsWith(u"ERROR:Line 8:"_s));
        expectOldFileOnly();
    }
}

TEST_F(AtomicSave, ASuccessfulSaveReplacesALongerFileWhole)
{
    for (const Writer& writer : kWriters) {
        test::writeFileBytes(target, QByteArray(1 << 20, 'x'));
        ASSERT_EQ(writer.toPath(target, full), QString());
        EXPECT_EQ(test::readFileBytes(target), test::written(writer.toDevice, full)) << writer.name;
        EXPECT_EQ(test::folderEntries(dir.path()), QStringList{u"keys.out"_s});
    }
}

TEST_F(AtomicSave, FileWriteTestProbesWithoutTouchingTheFile)
{
    EXPECT_EQ(FileWriteTest(target), QString());
    EXPECT_EQ(FileWriteTest(dir.filePath(u"new.out"_s)), QString());
    EXPECT_FALSE(FileWriteTest(dir.filePath(u"keys.out/inside.out"_s)).isEmpty());
    EXPECT_FALSE(FileWriteTest(dir.path()).isEmpty());
    expectOldFileOnly();
}

} // namespace
} // namespace quorvane
