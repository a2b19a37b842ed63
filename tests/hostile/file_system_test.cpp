// What the file system does to a file under the program: it vanishes or is
// replaced between two steps, fails midway, is a folder, has a name holding
// NUL, cannot be written, or the disk fills up. Each operation either works
// or fails with the program's message; a failed open hands out nothing, a
// failed extraction leaves the table as it was, and a failed save leaves the
// previous file byte for byte and no partial file beside it.

#include "tests/support/file_support.h"

#include "document/document_files.h"
#include "document/save_operation.h"
#include "files/atomic_save.h"
#include "document/extraction_operation.h"
#include "files/settings_file.h"
#include "files/srecord_reader.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"
#include "tests/support/scripted_questions.h"

#include <QDir>
#include <QFile>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;

// Records of `recordBytes` each in every slot: 256 x 12 bytes make a KEY
// file of about 10 KB, 256 x 200 one of about 130 KB, both past the 4 KB a
// full disk allows below. Qt's buffer of 16 KB would hold the first until the
// file is closed.
Document documentOf(int recordBytes)
{
    Document document;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        document.table[slot] = test::hexRecordAt(quint32(slot) * 256, QString(2 * recordBytes, u'C'));
    return document;
}

const Document kSmall = test::documentIn(AddressSize::Bits16, {{0, test::hexRecordAt(0x10, u"0102"_s)}});
const RecordTable kToExtract = test::tableWith(0, test::recordAt(0x1000, 4, u"key"_s));

// The editor's save: the checks, then the writer the name asks for.
QString saveAs(Document document, const QString& path)
{
    test::ScriptedQuestions questions;
    return saveDocument(document, path, true, questions).message;
}

// A disk or share that goes away: in the check, between check and load, or
// in the middle of a template. The system's text is shown, never "Illegal
// file loading", and no record read before the failure is handed out.
TEST(FileSystem, ADeviceThatFailsMidwayHandsOutNothing)
{
    const Document large = documentOf(200);
    QByteArray key = srecordFileContents(large.table, AddressSize::Bits32);
    QByteArray templateFile = test::written(FormatSave, large);
    const struct { const char* what; QByteArray* file; bool templateFile; int failingPass; } rows[] = {
        {"KEY file, in the check", &key, false, 1},
        {"KEY file, in the load after the check", &key, false, 2},
        {"template", &templateFile, true, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QBuffer buffer(row.file);
        buffer.open(QIODevice::ReadOnly);
        test::CountingDevice device(buffer);
        device.failFrom(row.failingPass, row.file->size() / 2);
        const OpenResult opened = openDocument(device, row.templateFile);
        EXPECT_EQ(opened.status, OpenStatus::ReadFailed);
        EXPECT_EQ(opened.message, u"ERROR:Input/output error"_s);
        EXPECT_EQ(opened.document.table, RecordTable{});
    }
}

TEST(FileSystem, AnImageThatVanishesWhileItsStartAddressIsAskedChangesNothing)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(u"image.bin"_s);
    test::writeFileBytes(image, QByteArray(64, '\x5A'));
    const KeyDataResult result = SetKeyData(kToExtract, image, [&] {
        QFile::remove(image);
        return std::optional(u"1000"_s);
    });
    EXPECT_EQ(result.status, KeyDataStatus::Failed);
    EXPECT_EQ(result.message, u"No such file or directory"_s);
    EXPECT_EQ(result.table, kToExtract);
}

// A folder of the file's name, or a name holding NUL (Qt passes a name to
// the system as a C string: before it was refused, "a\0.KEY" read, and a
// save replaced, the file "a"): each operation refuses with its message and
// nothing on the disk changes.
TEST(FileSystem, AFolderOrANameHoldingNulNamesNoFileToUse)
{
    QTemporaryDir dir;
    const QByteArray contents = srecordFileContents(kSmall.table, AddressSize::Bits16);
    test::writeFileBytes(dir.filePath(u"a"_s), contents);
    const QString nul = dir.filePath(u"a"_s) + QChar(u'\0');
    const QString refused = u"The file name holds a NUL character."_s;
    const auto folder = [&](const QString& name) {
        QDir(dir.path()).mkdir(name);
        return dir.filePath(name);
    };
    const auto neverAsked = []() -> std::optional<QString> {
        ADD_FAILURE() << "a start address was asked for a folder";
        return std::nullopt;
    };
    const Settings kept{3, u"/kept"_s, 1};
    const struct { const char* operation; std::function<QString()> run; QString outcome; } rows[] = {
        {"open a template folder", [&] { return openDocument(folder(u"t.639"_s)).message; }, u"File not found."_s},
        {"save over a KEY folder", [&] { return saveAs(kSmall, folder(u"k.KEY"_s)); }, u"File Save Error."_s},
        {"extract from a folder, recognising the kind",
         [&] { return SetKeyData(kToExtract, folder(u"o.hex"_s), neverAsked).message; }, u"File Not Found."_s},
        {"read the settings from a folder", [&] { return readSettingsFile(folder(u"s.ini"_s), kept).LastPath; }, u"/kept"_s},
        {"open NUL", [&] { return openDocument(nul + u".KEY"_s).message; }, u"File not found."_s},
        {"save NUL", [&] { return saveAs(kSmall, nul + u".KEY"_s); }, u"File Save Error."_s},
        {"KEY writer NUL", [&] { return SRecodeSave(nul, kSmall); }, u"ERROR:"_s + refused},
        {"settings reader NUL", [&] { return readSettingsFile(nul, kept).LastPath; }, u"/kept"_s},
        {"S-record check NUL", [&] { return CheckSrecordFile(nul).reason; }, refused},
        {"KEY loader NUL", [&] { Document loaded; return SRecodeLoad(nul, loaded); }, u"ERROR:"_s + refused},
        {"template loader NUL", [&] { Document loaded; return FormatLoad(nul, loaded); }, u"ERROR:"_s + refused},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.run(), row.outcome) << row.operation;
    EXPECT_EQ(test::readFileBytes(dir.filePath(u"a"_s)), contents);
    for (const QString& name : test::folderEntries(dir.path())) {
        EXPECT_TRUE(name == u"a"_s || QFileInfo(dir.filePath(name)).isDir()) << name.toStdString();
        EXPECT_EQ(test::folderEntries(dir.filePath(name)), QStringList()) << name.toStdString();
    }
}

// The saves that replace a file: the editor's and the settings written at
// End. Each runs in a child process whose exit code says how it ended, in a
// folder of its own that holds the previous file alone.
class FailingSave : public ::testing::Test {
protected:
    struct Save {
        const char* name;
        QString fileName;
        std::function<QString(const QString& path)> save; // the message, empty when saved
        QString unwritableMessage = {};                   // empty: the system's text
    };
    const Save saves[3] = {
        {"KEY file of 130 KB", u"keys.KEY"_s, [](const QString& path) { return saveAs(documentOf(200), path); }, u"File Save Error."_s},
        {"KEY file of 10 KB", u"keys.KEY"_s, [](const QString& path) { return saveAs(documentOf(12), path); }, u"File Save Error."_s},
        {"settings of 8 KB", u"Quorvane.ini"_s,
         [](const QString& path) { return writeSettingsFile(path, Settings{2, u"/"_s + QString(8000, u'p'), 1}); }},
    };
    static constexpr int kRefused = 0, kSaved = 1, kOtherMessage = 2;

    QString previousFile(const Save& save)
    {
        const QString folder = dir.filePath(QString::fromLatin1(save.name));
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(save.fileName);
        test::writeFileBytes(path, kPrevious);
        return path;
    }

    void expectPreviousFileOnly(const QString& path)
    {
        EXPECT_EQ(test::readFileBytes(path), kPrevious);
        const QFileInfo file(path);
        EXPECT_EQ(test::folderEntries(file.path()), QStringList{file.fileName()}) << "a partial file was left";
    }

    QTemporaryDir dir;
    const QByteArray kPrevious = "the previous file\r\nkept byte for byte\r\n";
};

// The writers share one way to a device and to a file, taken here by the
// KEY writer: a device that fills up, a place inside a file, and a record
// that would not read back fail alike; the probe before a save touches
// nothing.
TEST_F(FailingSave, AWriterThatFailsLeavesThePreviousFile)
{
    const QString path = previousFile(saves[0]);
    Document refused = documentOf(200);
    refused.table[7].KeySize = -1;
    for (qint64 capacity : {0, 4096}) { // the first write fails, or one halfway
        test::FailDevice device(capacity);
        EXPECT_EQ(SRecodeSave(device, documentOf(200)), u"ERROR:No space left on device"_s) << capacity;
    }
    const QString inAFile = SRecodeSave(path + u"/new.out"_s, kSmall);
    EXPECT_TRUE(inAFile.startsWith(u"ERROR:"_s) && inAFile.size() > 6) << inAFile.toStdString();
    EXPECT_TRUE(SRecodeSave(path, refused).startsWith(u"ERROR:Line 8:"_s));
    expectPreviousFileOnly(path);
    EXPECT_EQ(FileWriteTest(path), QString());
    EXPECT_EQ(FileWriteTest(path + u".new"_s), QString());
    EXPECT_FALSE(FileWriteTest(path + u"/inside.out"_s).isEmpty());
    EXPECT_FALSE(FileWriteTest(QFileInfo(path).path()).isEmpty());
    expectPreviousFileOnly(path);
}

// A full disk, and a read-only file: root may write any file, so the child
// gives that up, as an ordinary user runs the program. The folder itself may
// be written: only the file may not.
TEST_F(FailingSave, AFullDiskOrAReadOnlyFileRefusesTheSaveAndKeepsThePreviousFile)
{
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), everyone));
    for (const test::ChildLimits limits : {test::ChildLimits{.fileSizeLimit = 4096}, test::ChildLimits{.withoutRoot = true}}) {
        for (const Save& save : saves) {
            SCOPED_TRACE(testing::Message() << save.name << (limits.withoutRoot ? ", read-only" : ", full disk"));
            const QString path = previousFile(save);
            ASSERT_TRUE(QFile::setPermissions(QFileInfo(path).path(), everyone));
            ASSERT_TRUE(QFile::setPermissions(path, limits.withoutRoot ? QFileDevice::ReadOwner | QFileDevice::ReadOther
                                                                       : QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            const int outcome = test::runInChild(limits, [&] {
                const QString message = save.save(path);
                // A full disk: "ERROR:" and the system's text. A read-only file: the program's text.
                const bool expected = save.unwritableMessage.isEmpty()
                                   || (limits.withoutRoot ? message == save.unwritableMessage
                                                          : message.startsWith(u"ERROR:"_s) && message.size() > 6);
                return message.isEmpty() ? kSaved : expected ? kRefused : kOtherMessage;
            });
            EXPECT_EQ(outcome, kRefused);
            expectPreviousFileOnly(path);
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }
}

} // namespace
} // namespace quorvane
