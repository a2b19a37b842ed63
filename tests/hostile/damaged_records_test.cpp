// Records that lie about themselves: counts that disagree with their line,
// counts of 0 and 255, NUL and invalid UTF-8 in titles, data and file names,
// and addresses at the top of the 32-bit space with sizes that run past it.
// Each is read, refused with the program's message or saved as it should
// be, and a failure hands out no half-read table.

#include "hostile_support.h"

#include "document/document_files.h"
#include "document/save_operation.h"
#include "files/intel_hex.h"
#include "files/set_key_data.h"
#include "files/settings_file.h"
#include "files/srecord_reader.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"
#include "tests/files/extraction_test_support.h"
#include "tests/support/scripted_questions.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::at;
using test::bytes;
using test::ihex;
using test::srec;

QString checkOutcome(const FormatCheck& check)
{
    return check ? u"valid"_s : u"line %1: %2"_s.arg(check.badLine).arg(check.reason);
}

QByteArray run(int from, int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += char(from + i);
    return data;
}

const QString kFormatError = u":File format error.\r\nFILE: /data/key.obj\r\n"_s;

// Every S-record reader over the same lines. The check decides for Open; the
// loader and the extraction alone show what they would make of a line the
// check lets through or not.
TEST(DamagedRecords, SrecordCountsThatDisagreeWithTheirLine)
{
    const QByteArray kS9 = srec(9, 0);
    struct Row {
        const char* what;
        QByteArray file;
        QString check;
        QString load;       // SRecodeLoad without the check: its error, or the data of slot 0
        QString extraction; // the error, or the data, for 2 bytes at 1000
    };
    const Row rows[] = {
        {"count FF on a data line of two bytes", "S1FF10000102E7\r\n" + kS9,
         u"line 1: count disagrees with the line length"_s,
         u"ERROR:Line 1 of the file: the line is not a valid S-record (count disagrees with the line length)."_s,
         kFormatError},
        {"count FF on a short header line", "S0FF0000FC\r\n" + srec(1, 0x1000, bytes("0102")) + kS9,
         u"line 1: count disagrees with the line length"_s, u"0102"_s, u"0102"_s},
        {"count 0 on a data line", "S100\r\n" + kS9, u"line 1: count too small for the address"_s,
         u"ERROR:Line 1 of the file: the line is not a valid S-record (count too small for the address)."_s,
         kFormatError},
        {"count FF filling a whole S1 line", srec(1, 0x1000, run(0, 252)) + kS9, u"valid"_s,
         QString::fromLatin1(run(0, 252).toHex().toUpper()), u"0001"_s},
        {"count FF and one character more", srec(1, 0x1000, run(0, 252)).chopped(2) + "00\r\n" + kS9,
         u"line 1: too long for an S-record"_s, u"ERROR:Line 1 of the file: the line is too long for an S-record."_s,
         kFormatError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice device(row.file);
        EXPECT_EQ(checkOutcome(CheckSrecordFile(device)), row.check);
        Document document;
        device.seek(0);
        const QString error = SRecodeLoad(device, document);
        EXPECT_EQ(error.isEmpty() ? document.table[0].KeyData : error, row.load);
        device.seek(0);
        const ExtractionResult result = test::extractFrom(device, ObjectFileKind::Srecord, 0, {at(0, 0x1000, 2)});
        EXPECT_EQ(result ? result.data.front() : result.errorText, row.extraction);

        device.seek(0);
        const OpenResult opened = openDocument(device, false);
        EXPECT_EQ(opened.status, row.check == u"valid"_s ? OpenStatus::Opened : OpenStatus::NotSrecord);
        if (!opened.opened()) {
            EXPECT_EQ(opened.document.table, RecordTable{});
        }
    }
}

TEST(DamagedRecords, IntelHexCountsOfZeroAndOf255)
{
    const QByteArray kEof = ihex(1, 0);
    const QByteArray full = ihex(0, 0x1000, run(0, 255));
    struct Row {
        const char* what;
        QByteArray file;
        QString check;
        QString extraction; // the error, or the data, for 2 bytes at 10FD
    };
    const Row rows[] = {
        {"count 0 on a data line holds no byte", ":00100000F0\r\n" + full + kEof, u"valid"_s, u"FDFE"_s},
        {"count 0 on the end record", full + ":00000001FF\r\n", u"valid"_s, u"FDFE"_s},
        {"count 0 on an extended linear address leaves every address in doubt", ":00000004FC\r\n" + full + kEof,
         u"valid"_s, kFormatError},
        {"count 255 fills the longest line", full + kEof, u"valid"_s, u"FDFE"_s},
        {"count 255 and one character more", full.chopped(2) + "0\r\n" + kEof,
         u"line 1: too long for an Intel HEX line"_s, kFormatError},
        {"count FF on a short line", ":FF100000FDFEF0\r\n" + kEof, u"line 1: count disagrees with the line length"_s,
         kFormatError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestDevice device(row.file);
        EXPECT_EQ(checkOutcome(CheckIntelHexFile(device)), row.check);
        device.seek(0);
        const ExtractionResult result = test::extractFrom(device, ObjectFileKind::IntelHex, 0, {at(0, 0x10FD, 2)});
        EXPECT_EQ(result ? result.data.front() : result.errorText, row.extraction);
    }
}

// NUL, other control characters and text beyond ASCII are data like any
// other: a template keeps them, a KEY file keeps their UTF-8 bytes.
TEST(DamagedRecords, NulAndControlCharactersInTitlesAndDataAreKept)
{
    QTemporaryDir dir;
    const QString nul(QChar(u'\0'));
    const Document original = test::documentIn(
        AddressSize::Bits16,
        {{0, test::titled(test::hexRecordAt(0x10, u"0102"_s), u"a"_s + nul + u"b"_s)},
         {1, test::titled(test::asciiRecordAt(0x20, u"x"_s + nul + u"y\u00e9\x01"_s), u"\x01\ttab\x7F"_s)}});
    for (const QString& name : {u"t.639"_s, u"k.KEY"_s}) {
        SCOPED_TRACE(name.toStdString());
        Document document = original;
        test::ScriptedQuestions questions;
        ASSERT_TRUE(saveDocument(document, dir.filePath(name), true, questions).saved());
        const OpenResult opened = openDocument(dir.filePath(name));
        ASSERT_TRUE(opened.opened()) << opened.message.toStdString();
        if (name.endsWith(u".639"_s)) {
            EXPECT_EQ(opened.document.table, original.table);
        } else {
            EXPECT_EQ(opened.document.table[0], test::hexRecordAt(0x10, u"0102"_s));
            EXPECT_EQ(opened.document.table[1], test::hexRecordAt(0x20, u"780079C3A901"_s));
        }
    }
}

TEST(DamagedRecords, ATemplateThatIsNotUtf8IsRefusedAtItsLine)
{
    const QByteArray head = "# Template File\r\nfirst , 0010 ,  1 ,  0\r\nAA\r\n";
    struct Row {
        const char* what;
        QByteArray file;
        int line;
    };
    const Row rows[] = {
        {"a Latin-1 title", head + "Caf\xE9 , 0020 ,  1 ,  1\r\nx\r\n", 4},
        {"a Latin-1 data line", head + "second , 0020 ,  1 ,  1\r\n\xE9\r\n", 5},
        {"an overlong encoding of \"/\"", head + "\xC0\xAF , 0020 ,  1 ,  1\r\nx\r\n", 4},
        {"a UTF-16 surrogate", head + "second , 0020 ,  3 ,  1\r\n\xED\xA0\x80\r\n", 5},
        {"a character cut off by the end of the file", head + "second , 0020 ,  3 ,  1\r\n\xE2\x82", 5},
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::writeFileBytes(dir.filePath(u"t.639"_s), row.file);
        const OpenResult opened = openDocument(dir.filePath(u"t.639"_s));
        EXPECT_EQ(opened.status, OpenStatus::ReadFailed);
        EXPECT_EQ(opened.message, u"ERROR:Line %1 of the file: the text is not UTF-8."_s.arg(row.line));
        EXPECT_EQ(opened.document.table, RecordTable{}) << "the first record must not be handed out";
    }
}

// Qt passes a file name to the system as a C string: before it was refused,
// "a\0.KEY" read, and a save replaced, the file "a".
TEST(DamagedRecords, AFileNameHoldingNulNamesNoOtherFile)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(u"a"_s);
    const Document document = test::documentIn(AddressSize::Bits16, {{0, test::hexRecordAt(0x10, u"0102"_s)}});
    const QByteArray contents = srecordFileContents(document.table, AddressSize::Bits16);
    test::writeFileBytes(existing, contents);
    const QString name = existing + QChar(u'\0');
    const QString refused = u"The file name holds a NUL character."_s;

    struct Row {
        const char* operation;
        std::function<QString()> run;
        QString outcome;
    };
    const Row rows[] = {
        {"open", [&] { return openDocument(name + u".KEY"_s).message; }, u"File not found."_s},
        {"save", [&] {
             Document copy = document;
             test::ScriptedQuestions questions;
             return saveDocument(copy, name + u".KEY"_s, true, questions).message;
         }, u"File Save Error."_s},
        {"KEY writer", [&] { return SRecodeSave(name, document); }, u"ERROR:"_s + refused},
        {"template writer", [&] { return FormatSave(name, document); }, u"ERROR:"_s + refused},
        {"settings writer", [&] { return writeSettingsFile(name, Settings{}); }, refused},
        {"settings reader", [&] { return readSettingsFile(name, Settings{3, u"/kept"_s, 1}).LastPath; }, u"/kept"_s},
        {"S-record check", [&] { return CheckSrecordFile(name).reason; }, refused},
        {"KEY loader", [&] { Document loaded; return SRecodeLoad(name, loaded); }, u"ERROR:"_s + refused},
        {"template loader", [&] { Document loaded; return FormatLoad(name, loaded); }, u"ERROR:"_s + refused},
        {"Intel HEX check", [&] { return CheckIntelHexFile(name).reason; }, refused},
        {"extraction", [&] {
             return SetKeyData(document.table, name, ObjectFileKind::Srecord, {}).message;
         }, refused},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.run(), row.outcome) << row.operation;
    EXPECT_EQ(test::folderEntries(dir.path()), QStringList{u"a"_s});
    EXPECT_EQ(test::readFileBytes(existing), contents);
}

// A name that is not UTF-8 cannot be spelled in a QString: the program
// cannot open it and says so, and a save to the name it sees writes a file
// of that name, never the other one.
TEST(DamagedRecords, AFileNameThatIsNotUtf8IsNotFoundAndNotReplaced)
{
    QTemporaryDir dir;
    const QByteArray rawName = QFile::encodeName(dir.path()) + "/k\xFF.KEY";
    const QByteArray contents = "S10510000102E7\r\nS9030000FC\r\n";
    const int fd = ::open(rawName.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    // QTemporaryDir cannot name it either, so it would stay behind.
    const auto removeRawName = qScopeGuard([&] { ::unlink(rawName.constData()); });
    ASSERT_EQ(::write(fd, contents.constData(), std::size_t(contents.size())), contents.size());
    ::close(fd);

    const QString seen = QFile::decodeName(rawName);
    const OpenResult opened = openDocument(seen);
    EXPECT_EQ(opened.status, OpenStatus::FileNotFound);
    EXPECT_EQ(opened.message, u"File not found."_s);

    Document document = test::documentIn(AddressSize::Bits16, {{0, test::hexRecordAt(0x20, u"AA"_s)}});
    test::ScriptedQuestions questions;
    ASSERT_TRUE(saveDocument(document, seen, true, questions).saved());
    const int again = ::open(rawName.constData(), O_RDONLY);
    ASSERT_GE(again, 0);
    char read[64] = {};
    EXPECT_EQ(::read(again, read, sizeof read), contents.size());
    ::close(again);
    EXPECT_EQ(QByteArray(read), contents);
}

// A record may run past the top of the 32-bit space: every reader takes its
// bytes from a line or an image that runs past it too, none wraps to 0.
TEST(DamagedRecords, ARecordAcrossTheTopOfTheAddressSpaceIsReadAlikeByEveryReader)
{
    const QByteArray image = run(0, 32); // byte i at FFFFFFF0 + i
    struct Row {
        ObjectFileKind kind;
        QByteArray file;
    };
    const Row rows[] = {
        {ObjectFileKind::Srecord, srec(3, 0xFFFFFFF0, image) + srec(7, 0)},
        {ObjectFileKind::IntelHex, ihex(4, 0, bytes("FFFF")) + ihex(0, 0xFFF0, image) + ihex(1, 0)},
        {ObjectFileKind::Binary, image},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.kind));
        test::TestDevice device(row.file);
        const ExtractionResult across = test::extractFrom(device, row.kind, 0xFFFFFFF0, {at(0, 0xFFFFFFFF, 4)});
        EXPECT_EQ(across.data, std::vector{u"0F101112"_s});
        device.seek(0);
        const ExtractionResult wrapped = test::extractFrom(device, row.kind, 0xFFFFFFF0, {at(3, 0, 1)});
        EXPECT_EQ(wrapped.status, ExtractionStatus::NotFound);
        EXPECT_EQ(wrapped.failedSlot, std::optional<Slot>(3));
    }
}

// The saves take such a record as it is: its end lies beyond 32 bits, so it
// meets no record at the bottom of the space, and it reads back whole.
TEST(DamagedRecords, SavingARecordAcrossTheTopOfTheAddressSpace)
{
    struct Row {
        const char* what;
        AddressSize size;
        std::vector<std::pair<quint32, QString>> records; // address, data
        QString refusal;                                  // empty: saved
        std::vector<quint32> addressesAfter = {};          // by slot, once read back
    };
    const Row rows[] = {
        {"32-bit: FFFFFFFF and four bytes, and a record at 0", AddressSize::Bits32,
         {{0xFFFFFFFF, u"01020304"_s}, {0, u"AABB"_s}}, {}, {0, 0xFFFFFFFF}},
        {"16-bit: FFFF and four bytes, and a record at 0", AddressSize::Bits16,
         {{0xFFFF, u"01020304"_s}, {0, u"AABB"_s}}, {}, {0, 0xFFFF}},
        {"24-bit: the address is cut to FFFFFF first", AddressSize::Bits24, {{0xFFFFFFFF, u"01020304"_s}}, {},
         {0xFFFFFF}},
        {"two records that meet at the top", AddressSize::Bits32,
         {{0xFFFFFFFE, u"01020304"_s}, {0xFFFFFFFF, u"AA"_s}}, u"Duplicated Address"_s},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"top.KEY"_s);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(path);
        Document document = test::documentIn(row.size);
        for (std::size_t i = 0; i < row.records.size(); ++i)
            document.table[Slot(i)] = test::hexRecordAt(row.records[i].first, row.records[i].second);
        test::ScriptedQuestions questions;
        const SaveResult result = saveDocument(document, path, true, questions);
        if (!row.refusal.isEmpty()) {
            EXPECT_EQ(result.status, SaveStatus::Refused);
            EXPECT_TRUE(result.message.startsWith(row.refusal)) << result.message.toStdString();
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        ASSERT_TRUE(result.saved()) << result.message.toStdString();
        const OpenResult opened = openDocument(path);
        ASSERT_TRUE(opened.opened());
        for (std::size_t slot = 0; slot < row.addressesAfter.size(); ++slot) {
            EXPECT_EQ(opened.document.table[Slot(slot)].address(), row.addressesAfter[slot]) << slot;
            EXPECT_EQ(opened.document.table[Slot(slot)], document.table[Slot(slot)]) << slot;
        }
    }
}

} // namespace
} // namespace quorvane
