// What the file system does to a file under the program: it vanishes or is
// replaced between two steps, fails midway, is a folder, cannot be written,
// or the disk fills up. Each operation either works or fails with the
// program's message; a failed open hands out nothing, a failed extraction
// leaves the table as it was, and a failed save leaves the previous file
// byte for byte and no partial file beside it.

#include "hostile_support.h"

#include "document/document_files.h"
#include "document/save_operation.h"
#include "files/set_key_data.h"
#include "files/settings_file.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"
#include "tests/files/extraction_test_support.h"
#include "tests/support/scripted_questions.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
Document largeDocument() { return documentOf(200); }

const Document kSmall = test::documentIn(AddressSize::Bits16, {{0, test::hexRecordAt(0x10, u"0102"_s)}});

TEST(FileSystem, AFileRemovedOrReplacedAfterOpeningIsReadAsItWasWhenOpened)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"k.KEY"_s);
    const QByteArray contents = srecordFileContents(kSmall.table, AddressSize::Bits16);
    const struct { const char* what; std::function<void()> meanwhile; } rows[] = {
        {"removed", [&] { QFile::remove(path); }},
        {"replaced by text", [&] {
             test::writeFileBytes(dir.filePath(u"other"_s), "not a KEY file\r\n");
             QFile::remove(path);
             QFile::rename(dir.filePath(u"other"_s), path);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::writeFileBytes(path, contents);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        row.meanwhile();
        const OpenResult opened = openDocument(file, false);
        ASSERT_TRUE(opened.opened()) << opened.message.toStdString();
        EXPECT_EQ(opened.document.table, kSmall.table);
    }
}

// A disk or share that goes away: in the check, between check and load, or
// in the middle of a template. The system's text is shown, never "Illegal
// file loading", and no record read before the failure is handed out.
TEST(FileSystem, ADeviceThatFailsMidwayHandsOutNothing)
{
    const Document large = largeDocument();
    QByteArray key = srecordFileContents(large.table, AddressSize::Bits32);
    QByteArray templ = test::written(FormatSave, large);
    struct Row {
        const char* what;
        QByteArray* file;
        bool templateFile;
        int failingPass;
    };
    const Row rows[] = {
        {"KEY file, in the check", &key, false, 1},
        {"KEY file, in the load after the check", &key, false, 2},
        {"template", &templ, true, 1},
    };
    for (const Row& row : rows) {
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
    const RecordTable table = test::tableWith(0, test::recordAt(0x1000, 4, u"key"_s));
    const KeyDataResult result = SetKeyData(table, image, [&] {
        QFile::remove(image);
        return std::optional(u"1000"_s);
    });
    EXPECT_EQ(result.status, KeyDataStatus::Failed);
    EXPECT_EQ(result.message, u"No such file or directory"_s);
    EXPECT_EQ(result.table, table);
}

// A folder of the file's name: each operation refuses with its message and
// the folder stays as it was, empty.
TEST(FileSystem, AFolderWhereAFileIsExpected)
{
    QTemporaryDir dir;
    const RecordTable table = test::tableWith(0, test::recordAt(0x1000, 4, u"key"_s));
    const auto folder = [&](const QString& name) {
        QDir(dir.path()).mkdir(name);
        return dir.filePath(name);
    };
    const auto save = [&](const QString& name) {
        Document document = kSmall;
        test::ScriptedQuestions questions;
        return saveDocument(document, folder(name), true, questions).message;
    };
    const auto neverAsked = []() -> std::optional<QString> {
        ADD_FAILURE() << "a start address was asked for a folder";
        return std::nullopt;
    };
    struct Row {
        const char* operation;
        std::function<QString()> run;
        QString outcome;
    };
    const Row rows[] = {
        {"open a template", [&] { return openDocument(folder(u"t.639"_s)).message; }, u"File not found."_s},
        {"save a KEY file", [&] { return save(u"k.KEY"_s); }, u"File Save Error."_s},
        {"save a template", [&] { return save(u"t.639"_s); }, u"File Save Error."_s},
        {"extract, recognising the kind", [&] { return SetKeyData(table, folder(u"o.hex"_s), neverAsked).message; },
         u"File Not Found."_s},
        {"extract from S-records", [&] {
             return SetKeyData(table, folder(u"o.srec"_s), ObjectFileKind::Srecord, neverAsked).message;
         }, u"file to open is a directory"_s},
        {"read the settings", [&] { return readSettingsFile(folder(u"s.ini"_s), Settings{3, u"/kept"_s, 1}).LastPath; },
         u"/kept"_s},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.run(), row.outcome) << row.operation;
    for (const QString& name : test::folderEntries(dir.path())) {
        EXPECT_TRUE(QFileInfo(dir.filePath(name)).isDir()) << name.toStdString();
        EXPECT_EQ(test::folderEntries(dir.filePath(name)), QStringList()) << name.toStdString();
    }
}

// The saves that replace a file: the editor's (checks, then the writer the
// name asks for) and the settings written at End. Each runs in a child
// process, whose exit code says how it ended.
struct Save {
    const char* name;
    QString fileName;
    std::function<QString(const QString& path)> save; // the message, empty when saved
    // The program's message for a write that fails: this prefix, then the
    // system's text. For a place that cannot be written: this text, or
    // when it is empty, the system's.
    QString writeFailurePrefix = {};
    QString unwritableMessage = {};
};
QString saved(Document document, const QString& path)
{
    test::ScriptedQuestions questions;
    return saveDocument(document, path, true, questions).message;
}

const Save kSaves[] = {
    {"KEY file of 130 KB", u"keys.KEY"_s, [](const QString& path) { return saved(documentOf(200), path); },
     u"ERROR:"_s, u"File Save Error."_s},
    {"KEY file of 10 KB", u"keys.KEY"_s, [](const QString& path) { return saved(documentOf(12), path); },
     u"ERROR:"_s, u"File Save Error."_s},
    {"template of 12 KB", u"keys.639"_s, [](const QString& path) { return saved(documentOf(12), path); },
     u"ERROR:"_s, u"File Save Error."_s},
    {"settings of 8 KB", u"Quorvane.ini"_s, [](const QString& path) {
         return writeSettingsFile(path, Settings{2, u"/"_s + QString(8000, u'p'), 1});
     }},
};

enum ChildOutcome { Refused = 0, Saved = 1, RefusedWithAnotherMessage = 2 };

int outcomeOf(const QString& message, bool expected)
{
    return message.isEmpty() ? Saved : expected ? Refused : RefusedWithAnotherMessage;
}

// Each save in a folder of its own, holding the previous file alone.
class FailingSave : public ::testing::Test {
protected:
    QString previousFile(const Save& save)
    {
        const QString folder = dir.filePath(QString::fromLatin1(save.name));
        QDir().mkpath(folder);
        const QString path = QDir(folder).filePath(save.fileName);
        QFile::remove(path);
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

TEST_F(FailingSave, AFullDiskRefusesTheSaveAndKeepsThePreviousFile)
{
    for (const Save& save : kSaves) {
        SCOPED_TRACE(save.name);
        const QString path = previousFile(save);
        const int outcome = test::runInChild({.fileSizeLimit = 4096}, [&] {
            const QString message = save.save(path);
            const QString& prefix = save.writeFailurePrefix;
            return outcomeOf(message, message.startsWith(prefix) && message.size() > prefix.size());
        });
        EXPECT_EQ(outcome, Refused);
        expectPreviousFileOnly(path);
    }
}

// Root may write any file; the child gives that up, as an ordinary user runs
// the program. The folder itself may be written: only the file may not.
TEST_F(FailingSave, AReadOnlyFileIsRefusedAndKeptWhole)
{
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), everyone));
    for (const Save& save : kSaves) {
        SCOPED_TRACE(save.name);
        const QString path = previousFile(save);
        ASSERT_TRUE(QFile::setPermissions(QFileInfo(path).path(), everyone));
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        const int outcome = test::runInChild({.withoutRoot = true}, [&] {
            const QString message = save.save(path);
            return outcomeOf(message, save.unwritableMessage.isEmpty() || message == save.unwritableMessage);
        });
        EXPECT_EQ(outcome, Refused);
        expectPreviousFileOnly(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

} // namespace
} // namespace quorvane
