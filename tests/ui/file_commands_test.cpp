// Open, save, New, End and the close box in the real window, with every
// dialog answered by the scripted seam: what is asked, in which order, and
// what is kept when the user or the file system says no.

#include "window_fixture.h"

#include "files/srecord_writer.h"
#include "files/template_file.h"
#include "tests/support/record_builders.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QString kFilter =
    QStringLiteral("KEY File(*.KEY)|*.KEY|ZTV File(*.ZTV)|*.ZTV|Template File(*.639)|*.639|All File(*.*)|*.*");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

FileDialogResult chosen(const QString& path, int filterIndex = 1) { return {true, path, filterIndex}; }
FileDialogResult cancelled() { return {}; }

using Records = QList<std::pair<Slot, KeyRecord>>;

} // namespace

class FileCommandsTest : public WindowTest {
    Q_OBJECT

    // Each test function has a fresh folder: the one of its settings file.
    QString path(const QString& name) const { return QFileInfo(settingsPath()).dir().filePath(name); }

    // A real edit, so that the document counts as modified.
    void modify() { type(indexed("Text_title", 0), QStringLiteral("edited")); }

    // Keys as a user types them: each to whatever has the focus then, as
    // the grid moves the caret on from a full cell.
    void typeOn(QWidget* first, const QString& keys)
    {
        QTest::mouseClick(first, Qt::LeftButton);
        for (QChar key : keys)
            QTest::keyClicks(QApplication::focusWidget(), QString(key));
    }

    void putRecords(std::initializer_list<std::pair<Slot, KeyRecord>> records)
    {
        for (const auto& [slot, record] : records)
            table()[slot] = record;
        window().grid().redraw();
    }

    [[nodiscard]] QStringList texts()
    {
        QStringList shown;
        for (const MessageRequest& m : modal().messages())
            shown << m.title + QLatin1Char(':') + m.text;
        return shown;
    }

private slots:
    // Each row puts records in, answers the questions, then saves as
    // `name`. Messages are checked in order; a stopped save keeps the
    // document modified and the file as it was.
    void saveSequence_data()
    {
        QTest::addColumn<Records>("records");
        QTest::addColumn<QList<int>>("answers");        // message answers, in order
        QTest::addColumn<bool>("dialogShown");
        QTest::addColumn<QString>("name");              // empty: the dialog is cancelled
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<Records>("after");

        KeyRecord noAddress = hexRecordAt(0, QStringLiteral("01"));
        noAddress.KeyAddrSet = false;
        KeyRecord noSize = hexRecordAt(0x20, QStringLiteral("ABC"));
        noSize.KeySize = 0;
        const KeyRecord filled = hexRecordAt(0x20, QStringLiteral("ABC"));
        const KeyRecord big = hexRecordAt(0x100, QString(502, QLatin1Char('1')));
        KeyRecord wrongSize = hexRecordAt(0x300, QStringLiteral("AB"));
        wrongSize.KeySize = 2;
        KeyRecord fitted = wrongSize;
        fitted.KeyData = QStringLiteral("FFAB");
        const int ok = int(MessageResult::Ok);
        const int cancel = int(MessageResult::Cancel);
        const QString srecord = QStringLiteral("WARNING:The size of Srecord is exceeded.\r\nLineNo: 2\r\nContinue ?");
        const QString data = QStringLiteral("WARNING:The size of data is different.\r\nLineNo: 1\r\nContinue ?");

        QTest::newRow("no address: refused before the dialog")
            << Records{{0, noAddress}} << QList<int>{ok} << false << QString()
            << QStringList{QStringLiteral("ERROR:No Address.\r\nLineNo: 1")} << false
            << Records{{0, noAddress}};
        QTest::newRow("S-record size, Cancel: sizes stay filled")
            << Records{{0, noSize}, {1, big}} << QList<int>{cancel} << false << QString()
            << QStringList{srecord} << false << Records{{0, filled}, {1, big}};
        QTest::newRow("duplicated addresses: sorted, then refused")
            << Records{{4, hexRecordAt(0x11, QStringLiteral("01"))},
                                                 {9, hexRecordAt(0x10, QStringLiteral("0102"))}}
            << QList<int>{ok} << false << QString()
            << QStringList{QStringLiteral("ERROR:Duplicated Address\r\nNo.1 No.2 \r\nSave the file after correcting "
                                          "the duplicated Address")}
            << false
            << Records{{0, hexRecordAt(0x10, QStringLiteral("0102"))},
                                                 {1, hexRecordAt(0x11, QStringLiteral("01"))}};
        QTest::newRow("dialog cancelled: padding and trimming stay")
            << Records{{0, noSize}, {1, big}} << QList<int>{ok} << true << QString()
            << QStringList{srecord} << false
            << Records{{0, hexRecordAt(0x20, QStringLiteral("AB0C"))},
                                                 {1, hexRecordAt(0x100, QString(500, QLatin1Char('1')))}};
        QTest::newRow("data size, Cancel after the dialog")
            << Records{{0, wrongSize}} << QList<int>{cancel} << true
            << QStringLiteral("out.KEY") << QStringList{data} << false
            << Records{{0, wrongSize}};
        QTest::newRow("data size, OK: fitted and saved")
            << Records{{0, wrongSize}} << QList<int>{ok} << true
            << QStringLiteral("out.KEY") << QStringList{data} << true
            << Records{{0, fitted}};
        QTest::newRow("a place that cannot be written")
            << Records{{0, hexRecordAt(1, QStringLiteral("01"))}} << QList<int>{ok} << true
            << QStringLiteral("no/such/folder/out.KEY") << QStringList{QStringLiteral("ERROR:File Save Error.")}
            << false << Records{{0, hexRecordAt(1, QStringLiteral("01"))}};
    }
    void saveSequence()
    {
        QFETCH(Records, records);
        QFETCH(QList<int>, answers);
        QFETCH(bool, dialogShown);
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        QFETCH(bool, saved);
        QFETCH(Records, after);
        start();
        modify();
        table()[0] = KeyRecord{}; // the edit was only to mark the document
        for (const auto& [slot, record] : records)
            table()[slot] = record;
        window().grid().redraw();
        for (int answer : answers)
            modal().answerMessage(MessageResult(answer));
        const QString target = name.isEmpty() ? QString() : path(name);
        if (dialogShown)
            modal().answerFileDialog(name.isEmpty() ? cancelled() : chosen(target, 2));

        QVERIFY(trigger("FileSave"));

        QCOMPARE(texts(), messages);
        QCOMPARE(int(modal().fileDialogs().size()), dialogShown ? 1 : 0);
        QCOMPARE(modal().unanswered(), 0);
        for (const auto& [slot, record] : after)
            QCOMPARE(table()[slot], record);
        QCOMPARE(window().state().Modified, !saved);
        QCOMPARE(window().windowTitle(), saved ? QStringLiteral("Quorvane") : QStringLiteral("Quorvane [Modified]"));
        QCOMPARE(named("Text_filename")->text(), saved ? target : QString());
        QCOMPARE(window().settings().LastPath, saved ? target : QString());
        if (!target.isEmpty())
            QCOMPARE(QFile::exists(target), saved);
        if (dialogShown) {
            QVERIFY(modal().fileDialogs().front()
                    == (FileDialogRequest{FileDialogKind::Save, kFilter, 1, QString(), false, true}));
            // The filter chosen in the dialog is kept, even when the save stops later.
            QCOMPARE(int(window().settings().FilterIndexSetting), name.isEmpty() ? 1 : 2);
        }
    }

    void theNameChoosesTheFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isTemplate");
        QTest::newRow("x.639") << "x.639" << true;
        QTest::newRow("x.639.bak") << "x.639.bak" << false;
        QTest::newRow("X.KEY") << "X.KEY" << false;
        QTest::newRow("X.ZTV") << "X.ZTV" << false;
        QTest::newRow("no extension, template filter") << "x" << false;
    }
    void theNameChoosesTheFormat()
    {
        QFETCH(QString, name);
        QFETCH(bool, isTemplate);
        start();
        putRecords({{0, titled(asciiRecordAt(0x10, QStringLiteral("ab")), QStringLiteral("name"))}});
        modal().answerFileDialog(chosen(path(name), 3));
        QVERIFY(trigger("FileSave"));
        QCOMPARE(texts(), QStringList{});
        const QByteArray written = contentsOf(path(name));
        QCOMPARE(written, isTemplate ? QByteArray("# Template File\r\nname , 00000010 ,  2 ,  1\r\nab\r\n")
                                     : srecordFileContents(table(), AddressSize::Bits32));
    }

    // Yes with a save that goes through, Yes with the save dialog
    // cancelled, No and Cancel, from each command that gives up a document.
    void unsavedChangesPrompt_data()
    {
        QTest::addColumn<QString>("command"); // a menu item, or "close" for the close box
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveGoesThrough");
        QTest::addColumn<bool>("goesOn");
        for (const char* command : {"new", "END", "FileOpen", "close"}) {
            const QString c = QString::fromLatin1(command);
            QTest::addRow("%s Yes, saved", command) << c << int(MessageResult::Yes) << true << true;
            QTest::addRow("%s Yes, dialog cancelled", command) << c << int(MessageResult::Yes) << false << false;
            QTest::addRow("%s No", command) << c << int(MessageResult::No) << false << true;
            QTest::addRow("%s Cancel", command) << c << int(MessageResult::Cancel) << false << false;
        }
    }
    void unsavedChangesPrompt()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveGoesThrough);
        QFETCH(bool, goesOn);
        start();
        putRecords({{0, hexRecordAt(0x40, QStringLiteral("0102"))}});
        modify();
        QSignalSpy ended(&window(), &MainWindow::programEnded);
        modal().answerMessage(MessageResult(answer));
        if (answer == int(MessageResult::Yes))
            modal().answerFileDialog(saveGoesThrough ? chosen(path(QStringLiteral("saved.KEY"))) : cancelled());
        if (command == QLatin1String("FileOpen") && goesOn)
            modal().answerFileDialog(cancelled());

        if (command == QLatin1String("close"))
            QVERIFY(!window().close()); // the window never closes by itself
        else
            QVERIFY(trigger(command));

        QCOMPARE(modal().messages().front(), unsavedPromptRequestFor(QString()));
        QCOMPARE(modal().unanswered(), 0);
        QCOMPARE(modal().pendingAnswers(), 0);
        QCOMPARE(QFile::exists(path(QStringLiteral("saved.KEY"))), saveGoesThrough);
        const bool ends = command == QLatin1String("END") || command == QLatin1String("close");
        QCOMPARE(ended.count(), ends && goesOn ? 1 : 0);
        QCOMPARE(QFile::exists(settingsPath()), ends && goesOn);
        const bool cleared = command == QLatin1String("new") && goesOn;
        QCOMPARE(table()[0].KeyData, cleared ? QString() : QStringLiteral("0102"));
        QCOMPARE(window().state().Modified, !cleared && !saveGoesThrough);
    }

    // Shutting down closes the window once more: that must not ask again.
    void afterEndTheWindowClosesWithoutAskingTwice()
    {
        start();
        modify();
        modal().answerMessage(MessageResult::No);
        QVERIFY(trigger("END"));
        QVERIFY(window().close());
        QCOMPARE(int(modal().messages().size()), 1);
    }

    void anUnmodifiedDocumentIsGivenUpWithoutAQuestion()
    {
        start();
        QSignalSpy ended(&window(), &MainWindow::programEnded);
        QVERIFY(trigger("END"));
        QCOMPARE(ended.count(), 1);
        QCOMPARE(contentsOf(settingsPath()), settingsFile("", "1,1"));
        QVERIFY(modal().messages().empty());
    }

    // A file that cannot be read leaves the document being edited, its
    // name and its modified mark as they were.
    void aFailedOpenKeepsTheDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad checksum") << "bad.KEY" << QByteArray("S10510000102E7\r\nS10510000102E8\r\n")
                                      << "ERROR:Illegal file loading.\r\nSelect the appropriate file";
        QTest::newRow("damaged template") << "bad.639" << QByteArray("# Template File\r\nA , 0001 ,  1 ,  0\r\n")
                                          << "ERROR:ERROR:Line 3 of the file: the file ends where the data line was expected.";
        QTest::newRow("gone after the dialog") << "gone.KEY" << QByteArray() << "ERROR:File not found.";
    }
    void aFailedOpenKeepsTheDocument()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        if (!contents.isEmpty()) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
        }
        start();
        const QString first = path(QStringLiteral("first.KEY"));
        modal().answerFileDialog(chosen(first));
        putRecords({{0, hexRecordAt(0x40, QStringLiteral("0102"))}});
        QVERIFY(trigger("FileSave"));
        modify();
        const RecordTable before = table();
        modal().answerMessage(MessageResult::No);
        modal().answerFileDialog(chosen(path(name), 4));

        QVERIFY(trigger("FileOpen"));

        QCOMPARE(texts().last(), message);
        QCOMPARE(table(), before);
        QCOMPARE(named("Text_filename")->text(), first);
        QVERIFY(window().state().Modified);
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        QCOMPARE(int(window().settings().FilterIndexSetting), 4);
    }

    // Typed into the grid, saved as KEY, opened, saved as a template,
    // opened again: the same table, and the KEY file reads back with objcopy.
    void roundTripThroughTheWindow()
    {
        start();
        type(indexed("Text_address", 0), QStringLiteral("1000"));
        typeOn(indexed("Text_data", 0), QStringLiteral("DEADBEEF"));
        type(indexed("Text_title", 0), QStringLiteral("serial"));
        type(indexed("Text_address", 1), QStringLiteral("1010"));
        typeOn(indexed("Text_data", 16), QStringLiteral("0A0B"));
        const QString key = path(QStringLiteral("keys.KEY"));
        const QString templ = path(QStringLiteral("keys.639"));
        modal().answerFileDialog(chosen(key));
        QVERIFY(trigger("FileSave"));
        QCOMPARE(texts(), QStringList{});
        QCOMPARE(contentsOf(key), QByteArray("S30900001000DEADBEEFAE\r\nS30700001010" "0A0B" "C3\r\nS70500000000FA\r\n"));
        const QString binary = path(QStringLiteral("keys.bin"));
        QCOMPARE(QProcess::execute(QStringLiteral("objcopy"), {"-I", "srec", "-O", "binary", key, binary}), 0);
        QCOMPARE(contentsOf(binary), QByteArray::fromHex("DEADBEEF000000000000000000000000" "0A0B"));
        const RecordTable typed = table();

        modal().answerFileDialog(chosen(key));
        QVERIFY(trigger("FileOpen"));
        QCOMPARE(named("Text_filename")->text(), key);
        QCOMPARE(table()[1], typed[1]);
        QCOMPARE(table()[0].KeyData, typed[0].KeyData); // a KEY file keeps no titles
        modal().answerFileDialog(chosen(templ, 3));
        QVERIFY(trigger("FileSave"));
        modal().answerFileDialog(chosen(templ, 3));
        QVERIFY(trigger("FileOpen"));
        QCOMPARE(texts(), QStringList{});
        QCOMPARE(srecordFileContents(table(), AddressSize::Bits32), contentsOf(key));
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
    }

    // The shortcuts write the grid back first, as opening a menu does.
    void shortcutsRunTheCommandsOnWhatTheGridShows()
    {
        start();
        type(indexed("Text_address", 0), QStringLiteral("20"));
        type(indexed("Text_data", 0), QStringLiteral("AB"));
        modal().answerFileDialog(chosen(path(QStringLiteral("s.KEY"))));
        QTest::keyClick(indexed("Text_data", 0), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contentsOf(path(QStringLiteral("s.KEY"))), QByteArray("S30600000020AB2E\r\nS70500000000FA\r\n"));

        modal().answerFileDialog(cancelled());
        QTest::keyClick(indexed("Text_title", 3), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(modal().fileDialogs().back().kind, FileDialogKind::Open);

        type(indexed("Text_title", 2), QStringLiteral("x"));
        modal().answerMessage(MessageResult::No);
        QTest::keyClick(indexed("Text_title", 2), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(table()[0], KeyRecord{});

        QSignalSpy ended(&window(), &MainWindow::programEnded);
        QTest::keyClick(indexed("Text_title", 2), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(modal().unanswered(), 0);
    }

    void aFileNamedAtStartIsOpenedAsFileOpenWould()
    {
        start();
        window().openFile(path(QStringLiteral("missing.KEY")));
        QCOMPARE(texts(), QStringList{QStringLiteral("ERROR:File not found.")});
        QFile file(path(QStringLiteral("one.KEY")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("S1050010616227\r\n");
        file.close();
        window().openFile(file.fileName());
        QCOMPARE(table()[0], hexRecordAt(0x10, QStringLiteral("6162")));
        QCOMPARE(window().document().mode.current(), AddressSize::Bits16);
        QCOMPARE(named("Text_filename")->text(), file.fileName());
    }

private:
    static MessageRequest unsavedPromptRequestFor(const QString& name)
    {
        return {name + QStringLiteral("\r\nThis data is modified.\r\n\r\nDo you want to save the changes?"),
                QStringLiteral("Destroy this data "), MessageButtons::YesNoCancel, MessageIcon::Exclamation,
                MessageResult::Yes};
    }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
