// batch writes its files under temporary names and gives them their names
// only once they are on the disk: a kill leaves no file cut short at its
// name and none the manifest does not list; a file that appears meanwhile is
// not replaced; rows written side by side report exactly as one by one.

#include "cli_test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <random>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

QByteArray sha256(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

class BatchDurability : public CliTest {
protected:
    void SetUp() override
    {
        writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x1000, u"00000000"_s), u"serial"_s)},
                                                                   {1, titled(hexRecordAt(0x1100, u"0000"_s), u"lot"_s)}}));
    }

    // Rows of serials from 10000000 on, numbered in the file name.
    void writeRows(int count) const
    {
        QByteArray csv = "serial,lot,n\n";
        for (int i = 0; i < count; ++i)
            csv += QByteArray::number(0x10000000 + i, 16) + ",0001," + QByteArray::number(i) + '\n';
        writeFileBytes(path(u"d.csv"_s), csv);
    }

    // The files go to `out`: a fresh folder for each run, as a folder just
    // emptied of thousands of files makes new ones slowly.
    [[nodiscard]] static QStringList batchArguments(const QString& out, const QStringList& more)
    {
        return QStringList{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, out + u"/{n}.KEY"_s} + more;
    }
};

// Killed at any moment, the run leaves every file at its name complete and
// in the journal; what is not yet in place is under a temporary name only.
TEST_F(BatchDurability, AKilledRunLeavesOnlyCompleteListedFilesAtTheirNames)
{
    writeRows(20000);
    for (const QString& sync : {u"end"_s, u"each"_s}) {
        SCOPED_TRACE(sync.toStdString());
        const QString out = sync, manifest = sync + u".csv"_s;
        QProcess child;
        child.setWorkingDirectory(dir.path());
        child.start(QStringLiteral(QUORVANE_CLI_PATH),
                    batchArguments(out, {u"--manifest"_s, manifest, u"--sync"_s, sync, u"--jobs"_s, u"2"_s}));
        while (QFileInfo(path(manifest + u".partial"_s)).size() < 2000 && !child.waitForFinished(1)) {
        }
        child.kill();
        child.waitForFinished();
        ASSERT_FALSE(QFile::exists(path(manifest))) << "the run ended before the kill";

        QList<QByteArray> lines = readFileBytes(path(manifest + u".partial"_s)).split('\n');
        lines = lines.mid(1, lines.size() - 2); // the header, and what follows the last line end
        QHash<QString, QByteArray> listed;
        for (const QByteArray& line : lines)
            listed.insert(QString::fromUtf8(line.split(',').at(2)), line.split(',').at(3));
        const QString last = lines.isEmpty() ? QString() : QString::fromUtf8(lines.constLast().split(',').at(2));
        static const QRegularExpression temporary(u"^\\.\\d+\\.KEY\\.quorvane-[A-Za-z0-9]{6}$"_s);
        qsizetype atTheirNames = 0;
        for (const QString& name : folderEntries(path(out))) {
            if (name.contains(temporary))
                continue;
            ++atTheirNames;
            const QString file = out + u"/"_s + name;
            EXPECT_TRUE(listed.contains(file)) << "not in the journal: " << name.toStdString();
            EXPECT_EQ(listed.value(file), sha256(readFileBytes(path(file)))) << name.toStdString();
        }
        EXPECT_GE(atTheirNames, listed.size() - 1) << "a listed file is neither at its name nor the last one moved";
        EXPECT_TRUE(listed.isEmpty() || atTheirNames == listed.size() || !QFile::exists(path(last)));
    }
}

// A file or a link that takes a row's name after the row was checked, while
// its file waits for the sync, is left alone unless --overwrite.
TEST_F(BatchDurability, AFileThatAppearsMeanwhileIsNotReplaced)
{
    struct Case {
        QString option;
        int exitCode;
        QString errors;         // after the rows' own
        bool intruderKept;
    };
    const QString appeared = u"CSV line 2: out/0.KEY: the file appeared while the run was writing it and is left as it "
                             u"is; --overwrite replaces it, --skip-existing keeps it.\n"_s;
    const QString link = u"CSV line 3: out/1.KEY is a symbolic link; no row writes through one.\n"_s;
    const Case cases[] = {
        {.option = {}, .exitCode = 1, .errors = appeared + link + u"2 of 600 rows were not written.\n"_s, .intruderKept = true},
        {.option = u"--skip-existing"_s, .exitCode = 1, .errors = link + u"1 of 600 rows were not written.\n"_s,
         .intruderKept = true},
        {.option = u"--overwrite"_s, .exitCode = 1, .errors = link + u"1 of 600 rows were not written.\n"_s, .intruderKept = false},
    };
    writeRows(600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option.toStdString());
        const QString out = u"out"_s + c.option;
        QProcess child;
        child.setWorkingDirectory(dir.path());
        child.start(QStringLiteral(QUORVANE_CLI_PATH), batchArguments(out, QStringList{u"--jobs"_s, u"1"_s, c.option}
                                                                          .filter(QRegularExpression(u"."_s))));
        // Once rows 2 and 3 have their temporary files, both were checked.
        const auto bothStaged = [&] {
            const QString names = folderEntries(path(out)).join(u' ');
            return names.contains(u".0.KEY.quorvane-"_s) && names.contains(u".1.KEY.quorvane-"_s);
        };
        while (!bothStaged() && child.state() != QProcess::NotRunning)
            child.waitForFinished(0);
        ASSERT_EQ(::kill(pid_t(child.processId()), SIGSTOP), 0);
        ASSERT_FALSE(QFile::exists(path(out + u"/0.KEY"_s))) << "the run placed its files before it could be stopped";
        writeFileBytes(path(out + u"/0.KEY"_s), "intruder");
        ASSERT_TRUE(QFile::link(u"elsewhere.KEY"_s, path(out + u"/1.KEY"_s)));
        ASSERT_EQ(::kill(pid_t(child.processId()), SIGCONT), 0);
        ASSERT_TRUE(child.waitForFinished(60000));

        EXPECT_EQ(child.exitCode(), c.exitCode);
        EXPECT_EQ(QString::fromUtf8(child.readAllStandardError()), QString(c.errors).replace(u"out/"_s, out + u"/"_s));
        const QByteArray first = readFileBytes(path(out + u"/0.KEY"_s));
        EXPECT_EQ(first == "intruder", c.intruderKept);
        EXPECT_EQ(first.startsWith("S3"), !c.intruderKept);
        EXPECT_TRUE(QFileInfo(path(out + u"/1.KEY"_s)).isSymLink());
        EXPECT_FALSE(QFile::exists(path(out + u"/elsewhere.KEY"_s)));
        EXPECT_EQ(folderEntries(path(out)).filter(u".quorvane-"_s), QStringList()) << "a temporary file is left";
    }
}

// Images merged side by side: the files, the log and the manifest are those
// of a run that writes one row after another, byte for byte.
TEST_F(BatchDurability, RowsWrittenSideBySideReportInRowOrder)
{
    std::mt19937 random(5);
    QByteArray image(256 * 1024, '\0');
    for (char& byte : image)
        byte = char(random());
    writeFileBytes(path(u"fw.bin"_s), image);
    ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"binary"_s, u"-O"_s, u"srec"_s, u"--change-addresses"_s, u"0x1000"_s,
                                    path(u"fw.bin"_s), path(u"fw.srec"_s)}));
    // Every 5th row refused by its data (on a worker), every 7th by its name (before any work).
    QByteArray csv = "serial,lot,n\n";
    for (int i = 0; i < 40; ++i)
        csv += (i % 5 == 4 ? "123" : QByteArray::number(0x20000000 + i, 16)) + ",0002,"
               + QByteArray::number(i % 7 == 6 ? i - 1 : i) + '\n';
    writeFileBytes(path(u"d.csv"_s), csv);

    QList<CliRun> runs;
    for (const QString& jobs : {u"1"_s, u"4"_s}) {
        runs << run(batchArguments(u"out"_s + jobs, {u"--image"_s, u"fw.srec"_s, u"--jobs"_s, jobs, u"--manifest"_s,
                                                     u"m"_s + jobs + u".csv"_s}));
        EXPECT_EQ(runs.constLast().exitCode, 1);
    }
    EXPECT_EQ(runs.at(1).output, QString(runs.at(0).output).replace(u"out1/"_s, u"out4/"_s));
    EXPECT_EQ(runs.at(1).errors, QString(runs.at(0).errors).replace(u"out1/"_s, u"out4/"_s));
    EXPECT_EQ(readFileBytes(path(u"m4.csv"_s)), readFileBytes(path(u"m1.csv"_s)).replace("out1/", "out4/"));
    const QStringList files = folderEntries(path(u"out1"_s));
    EXPECT_EQ(files.size(), 28);
    EXPECT_EQ(folderEntries(path(u"out4"_s)), files);
    for (const QString& name : files)
        EXPECT_EQ(readFileBytes(path(u"out4/"_s + name)), readFileBytes(path(u"out1/"_s + name))) << name.toStdString();
}

} // namespace
} // namespace quorvane::test
