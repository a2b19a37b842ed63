#include "file_test_support.h"

#include "files/atomic_save.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Both writers share one promise: a save that fails, wherever it fails,
// leaves the previous file exactly as it was and nothing else behind.
namespace quorvane {
namespace {

using test::PrintTo;

struct Writer {
    const char* name;
    std::function<QString(const QString&, const Document&)> toPath;
    std::function<QString(QIODevice&, const Document&)> toDevice;
};

const Writer kKeyWriter{"KeyFile", [](const QString& path, const Document& d) { return SRecodeSave(path, d); },
                        [](QIODevice& device, const Document& d) { return SRecodeSave(device, d); }};
const Writer kTemplateWriter{"TemplateFile", [](const QString& path, const Document& d) { return FormatSave(path, d); },
                             [](QIODevice& device, const Document& d) { return FormatSave(device, d); }};

// About 130 KB in either format.
Document fullDocument()
{
    Document document;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        document.table[slot] = test::hexRecord(quint32(slot) * 256, QString(500, QLatin1Char('C')));
    return document;
}

const QByteArray kOldContents = "the previous file\r\nkept byte for byte\r\n";

class AtomicSave : public ::testing::TestWithParam<Writer> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        target = dir.filePath(QStringLiteral("keys.out"));
        test::writeFileBytes(target, kOldContents);
    }

    void expectOldFileUntouched()
    {
        EXPECT_EQ(test::readFileBytes(target), kOldContents);
        EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("keys.out")});
    }

    QTemporaryDir dir;
    QString target;
};

TEST_P(AtomicSave, ADeviceThatFillsUpGivesTheSystemsDescription)
{
    for (qint64 capacity : {0, 1, 17, 4096}) {
        test::FailDevice device(capacity);
        device.open(QIODevice::WriteOnly);
        EXPECT_EQ(GetParam().toDevice(device, fullDocument()), QStringLiteral("ERROR:No space left on device"))
            << "capacity " << capacity;
    }
}

TEST_P(AtomicSave, ADiskThatFillsUpHalfwayLeavesTheOldFile)
{
    const Document document = fullDocument();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writes beyond 4 KB now fail with EFBIG, as on a full disk, even
        // for root.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const QString error = GetParam().toPath(target, document);
        _exit(error.startsWith(QStringLiteral("ERROR:")) && error.size() > 6 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported";
    expectOldFileUntouched();
}

TEST_P(AtomicSave, AFolderThatIsAFileCannotBeWritten)
{
    const QString error = GetParam().toPath(dir.filePath(QStringLiteral("keys.out/new.out")), fullDocument());
    EXPECT_TRUE(error.startsWith(QStringLiteral("ERROR:"))) << error.toStdString();
    EXPECT_GT(error.size(), 6);
    expectOldFileUntouched();
}

TEST_P(AtomicSave, AFolderWithoutWritePermission)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const QString error = GetParam().toPath(target, fullDocument());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(error.startsWith(QStringLiteral("ERROR:"))) << error.toStdString();
    expectOldFileUntouched();
}

TEST_P(AtomicSave, ASuccessfulSaveReplacesALongerFileWhole)
{
    test::writeFileBytes(target, QByteArray(1 << 20, 'x'));
    Document document;
    document.table[0] = test::hexRecord(0x10, QStringLiteral("AB"));
    QByteArray expected;
    {
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_EQ(GetParam().toDevice(buffer, document), QString());
    }
    ASSERT_EQ(GetParam().toPath(target, document), QString());
    EXPECT_EQ(test::readFileBytes(target), expected);
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("keys.out")});
}

INSTANTIATE_TEST_SUITE_P(Files, AtomicSave, ::testing::Values(kKeyWriter, kTemplateWriter),
                         [](const ::testing::TestParamInfo<Writer>& info) { return std::string(info.param.name); });

TEST(FileWriteTest, ProbesWithoutTouchingTheFile)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.KEY"));
    test::writeFileBytes(existing, kOldContents);

    EXPECT_EQ(FileWriteTest(existing), QString());
    EXPECT_EQ(FileWriteTest(dir.filePath(QStringLiteral("new.KEY"))), QString());
    EXPECT_EQ(test::readFileBytes(existing), kOldContents);
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("old.KEY")});

    EXPECT_FALSE(FileWriteTest(dir.filePath(QStringLiteral("old.KEY/inside.KEY"))).isEmpty());
    EXPECT_FALSE(FileWriteTest(dir.filePath(QStringLiteral("missing/new.KEY"))).isEmpty());
    EXPECT_FALSE(FileWriteTest(dir.path()).isEmpty());
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{QStringLiteral("old.KEY")});
}

} // namespace
} // namespace quorvane
