// Open, save, New, End and the close box in the real window, with every
// dialog answered by the scripted seam: what the window adds to the document
// operations (the dialogs, the caption, the file name, the settings, the
// unsaved-changes question) and what it keeps when the user or the file
// system says no.

#include "window_fixture.h"

#include "files/srecord_writer.h"
#include "ui/document_dialogs.h"
#include "ui/message_boxes.h"
#include "tests/support/record_builders.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>

using namespace quorvane;
using namespace quorvane::test;

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

FileDialogResult chosen(const QString& path, int filterIndex = 1) { return {true, path, filterIndex}; }
FileDialogResult cancelled() { return {}; }

MessageRequest unsavedPrompt(const QString& name)
{
    return {name + QStringLiteral("\r\nThis data is modified.\r\n\r\nDo you want to save the changes?"),
            QStringLiteral("Destroy this data "), MessageButtons::YesNoCancel, MessageIcon::Exclamation,
            MessageResult::Yes, {}};
}

using Records = QList<std::pair<Slot, KeyRecord>>;

} // namespace

class FileCommandsTest : public WindowTest {
    Q_OBJECT

    // Each test function has a fresh folder: the one of its settings file.
    QString path(const QString& name) const { return QFileInfo(settingsPath()).dir().filePath(name); }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }

    [[nodiscard]] QStringList recentItems() const
    {
        QStringList texts;
        for (const QAction* item : named<QMenu>(QStringLiteral("OpenRecentMenu"))->actions())
            texts << item->text();
        return texts;
    }

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

    void putRecords(const Records& records)
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
    // One row per outcome of a save from the window; which step says what
    // is the document operation's. A stopped save keeps the document
    // modified, the file unwritten and what the steps before it changed.
    void saveOutcomes_data()
    {
        QTest::addColumn<Records>("records");
        QTest::addColumn<bool>("dialogShown");
        QTest::addColumn<QString>("name");    // empty: the dialog is cancelled
        QTest::addColumn<QString>("message"); // empty: none; warnings are answered OK
        QTest::addColumn<bool>("saved");
        QTest::addColumn<Records>("after");

        const KeyRecord noAddress{{}, 0, 0, 1, kTypeHex, QStringLiteral("01"), false};
        const KeyRecord noSize = addressed(hexRecord(QStringLiteral("ABC")), 0x20);
        const KeyRecord wrongSize = addressed(hexRecord(QStringLiteral("AB"), 2), 0x300);
        const KeyRecord fitted = addressed(hexRecord(QStringLiteral("FFAB"), 2), 0x300);

        QTest::newRow("refused before the dialog") << Records{{0, noAddress}} << false << QString()
                                                   << "ERROR:No Address.\r\nLineNo: 1" << false
                                                   << Records{{0, noAddress}};
        QTest::newRow("dialog cancelled: padding and trimming stay")
            << Records{{0, noSize}, {1, hexRecordAt(0x100, QString(502, QLatin1Char('1')))}} << true << QString()
            << "WARNING:The size of Srecord is exceeded.\r\nLineNo: 2\r\nContinue ?" << false
            << Records{{0, hexRecordAt(0x20, QStringLiteral("AB0C"))},
                       {1, hexRecordAt(0x100, QString(500, QLatin1Char('1')))}};
        QTest::newRow("data size OK after the dialog: fitted and saved")
            << Records{{0, wrongSize}} << true << QStringLiteral("out.KEY")
            << "WARNING:The size of data is different.\r\nLineNo: 1\r\nContinue ?" << true << Records{{0, fitted}};
    }
    void saveOutcomes()
    {
        QFETCH(Records, records);
        QFETCH(bool, dialogShown);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, saved);
        QFETCH(Records, after);
        start();
        modify();
        table()[0] = KeyRecord{}; // the edit was only to mark the document
        putRecords(records);
        if (!message.isEmpty())
            modal().answerMessage(MessageResult::Ok);
        const QString target = name.isEmpty() ? QString() : path(name);
        if (dialogShown)
            modal().answerFileDialog(name.isEmpty() ? cancelled() : chosen(target, 2));

        QVERIFY(trigger("FileSave"));

        QCOMPARE(texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(int(modal().fileDialogs().size()), dialogShown ? 1 : 0);
        QCOMPARE(modal().unanswered(), 0);
        for (const auto& [slot, record] : after)
            QCOMPARE(table()[slot], record);
        QCOMPARE(window().state().Modified, !saved);
        QCOMPARE(window().windowTitle(), saved ? QStringLiteral("Quorvane") : QStringLiteral("Quorvane [Modified]"));
        QCOMPARE(named("Text_filename")->text(), saved ? target : QString());
        QCOMPARE(window().settings().LastPath, saved ? target : QString());
        QCOMPARE(contentsOf(target), saved ? srecordFileContents(table(), AddressSize::Bits32) : "<missing>");
        if (dialogShown) {
            QVERIFY(modal().fileDialogs().front()
                    == (FileDialogRequest{FileDialogKind::Save, kDocumentSaveFilter, 1, QString(), false, true}));
            // The filter chosen in the dialog is kept, even when the save stops later.
            QCOMPARE(int(window().settings().FilterIndexSetting), name.isEmpty() ? 1 : 2);
        }
    }

    // Ctrl+S writes the document's own file, with the writer its name
    // chooses, and asks only when there is none it may write back to.
    void saveWritesTheOwnFileWithoutADialog_data()
    {
        QTest::addColumn<QString>("how");  // the file came by "open", "save" (File Save), or none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("first"); // the file's first byte after Ctrl+S: "<" for none
        QTest::addColumn<QString>("status"); // empty: the dialog is asked, and cancelled
        QTest::addColumn<bool>("recent");    // Open Recent offers the file: File Open reads it
        QTest::newRow("opened KEY file") << "open" << "keys.KEY" << QByteArray("S") << "Saved KEY file keys.KEY: 1 record" << true;
        QTest::newRow("template saved before") << "save" << "t.639" << QByteArray("#") << "Saved template file t.639: 1 record" << true;
        QTest::newRow("Intel HEX saved before") << "save" << "k.hex" << QByteArray(":") << "Saved Intel HEX file k.hex: 1 record" << false;
        QTest::newRow("S-records opened under an Intel HEX name") << "open" << "s.hex" << QByteArray("<") << QString() << true;
        QTest::newRow("no file yet") << QString() << QString() << QByteArray("<") << QString() << false;
    }
    void saveWritesTheOwnFileWithoutADialog()
    {
        QFETCH(QString, how);
        QFETCH(QString, name);
        QFETCH(QByteArray, first);
        QFETCH(QString, status);
        QFETCH(bool, recent);
        start();
        putRecords({{0, hexRecordAt(0x40, QStringLiteral("0102"))}});
        const QString file = name.isEmpty() ? QString() : path(name);
        if (how == QLatin1String("open")) {
            window().openFile(writeFile(name, srecordFileContents(table(), AddressSize::Bits32)));
        } else if (how == QLatin1String("save")) {
            modal().answerFileDialog(chosen(file));
            QVERIFY(trigger("FileSave"));
        }
        QCOMPARE(window().windowFilePath(), file);
        modify();
        QFile::remove(file); // the save must write it anew
        if (status.isEmpty())
            modal().answerFileDialog(cancelled());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);

        // A dialog asked unexpectedly goes unanswered; one expected and not asked stays pending.
        QCOMPARE(modal().unanswered() + modal().pendingAnswers(), 0);
        QCOMPARE(window().statusBar()->currentMessage(), status);
        QCOMPARE(contentsOf(file).left(1), first); // the writer the name chooses
        QCOMPARE(recentItems().contains("&1 " + file), recent);
    }

    // Open Recent lists what was opened, asks before giving up a modified
    // document, and forgets a file that is gone, saying so. An opened file
    // starts at line 1's address, not in a cell of the document given up.
    void openRecentAsksFirstAndForgetsWhatIsGone()
    {
        const QString a = writeFile(QStringLiteral("a.KEY"), "S30900001000DEADBEEFAE\r\n");
        const QString b = writeFile(QStringLiteral("b.KEY"), "S30900001000DEADBEEFAE\r\n");
        start();
        QTest::mouseClick(indexed("Text_data", 79), Qt::LeftButton);
        window().openFile(a);
        QCOMPARE(QApplication::focusWidget(), indexed("Text_address", 0));
        window().openFile(b);
        QCOMPARE(recentItems(), (QStringList{"&1 " + b, "&2 " + a}));
        QCOMPARE(window().statusBar()->currentMessage(), QStringLiteral("Opened KEY file b.KEY: 1 record"));
        modify();
        QFile::remove(a);
        modal().answerMessage(MessageResult::No);
        modal().answerMessage(MessageResult::Ok);

        named<QMenu>(QStringLiteral("OpenRecentMenu"))->actions().at(1)->trigger();

        QCOMPARE(modal().messages().front(), unsavedPrompt(b));
        QCOMPARE(modal().messages().back(), errorBoxRequest(QStringLiteral("File not found."), a));
        QCOMPARE(recentItems(), QStringList{"&1 " + b});
        QCOMPARE(modal().unanswered(), 0);
    }

    // The field at the right of the status bar follows the focused row,
    // also as the grid scrolls under it or a command changes its record.
    void statusBarShowsTheFocusedRecordsRange()
    {
        start();
        putRecords({{12, hexRecordAt(0x08000000, QString(32, QLatin1Char('A')))}});
        window().grid().recordScroll()->setValue(10);
        QTest::mouseClick(indexed("Text_data", 37), Qt::LeftButton);
        QCOMPARE(named<QLabel>(QStringLiteral("recordRange"))->text(), QStringLiteral("Line 13: 08000000-0800000F"));
        window().grid().recordScroll()->setValue(11);
        QCOMPARE(named<QLabel>(QStringLiteral("recordRange"))->text(), QStringLiteral("Line 14: empty"));
        // A deleted record and its undo change the line under the focus.
        window().grid().recordScroll()->setValue(10);
        QTest::keyClick(indexed("Text_data", 37), Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(named<QLabel>(QStringLiteral("recordRange"))->text(), QStringLiteral("Line 13: empty"));
        QTest::keyClick(indexed("Text_data", 37), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(named<QLabel>(QStringLiteral("recordRange"))->text(), QStringLiteral("Line 13: 08000000-0800000F"));
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

        QCOMPARE(modal().messages().front(), unsavedPrompt(QString()));
        QCOMPARE(modal().unanswered(), 0);
        QCOMPARE(modal().pendingAnswers(), 0);
        QCOMPARE(QFile::exists(path(QStringLiteral("saved.KEY"))), saveGoesThrough);
        const bool ends = command == QLatin1String("END") || command == QLatin1String("close");
        QCOMPARE(ended.count(), ends && goesOn ? 1 : 0);
        QCOMPARE(QFile::exists(settingsPath()), ends && goesOn);
        const bool cleared = command == QLatin1String("new") && goesOn;
        QCOMPARE(table()[0].KeyData, cleared ? QString() : QStringLiteral("0102"));
        QCOMPARE(window().state().Modified, !cleared && !saveGoesThrough);
        if (ends && goesOn) // shutting down closes the window once more: that must not ask again
            QVERIFY(window().close() && modal().messages().size() == 1);
    }

    // A file that cannot be read leaves the document being edited, its
    // name and its modified mark as they were; the question before names
    // the file being given up.
    void aFailedOpenKeepsTheDocument()
    {
        const QString bad = writeFile(QStringLiteral("bad.KEY"), "S10510000102E7\r\nS10510000102E8\r\n");
        start();
        const QString first = path(QStringLiteral("first.KEY"));
        modal().answerFileDialog(chosen(first));
        putRecords({{0, hexRecordAt(0x40, QStringLiteral("0102"))}});
        QVERIFY(trigger("FileSave"));
        modify();
        const RecordTable before = table();
        modal().answerMessage(MessageResult::No);
        modal().answerFileDialog(chosen(bad, 4));

        QVERIFY(trigger("FileOpen"));

        QCOMPARE(modal().messages().front(), unsavedPrompt(first));
        QCOMPARE(texts().last(), QStringLiteral("ERROR:Illegal file loading.\r\nSelect the appropriate file"));
        QCOMPARE(modal().messages().back().details, bad + QStringLiteral("\r\nLine 2: wrong checksum"));
        QCOMPARE(table(), before);
        QCOMPARE(named("Text_filename")->text(), first);
        QVERIFY(window().state().Modified);
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        QCOMPARE(int(window().settings().FilterIndexSetting), 4);
    }

    // Typed into the grid, saved by the shortcut, opened again as a file
    // named at start-up is: the same table, named and unmodified.
    void roundTripThroughTheWindow()
    {
        start();
        type(indexed("Text_address", 0), QStringLiteral("1000"));
        typeOn(indexed("Text_data", 0), QStringLiteral("DEADBEEF"));
        type(indexed("Text_address", 1), QStringLiteral("1010"));
        typeOn(indexed("Text_data", 16), QStringLiteral("0A0B"));
        table()[1].KeyData = QStringLiteral("FF"); // behind the grid's back: the grid is written back first
        const QString key = path(QStringLiteral("keys.KEY"));
        modal().answerFileDialog(chosen(key));
        QTest::keyClick(indexed("Text_data", 17), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contentsOf(key), QByteArray("S30900001000DEADBEEFAE\r\nS30700001010" "0A0B" "C3\r\nS70500000000FA\r\n"));
        const RecordTable typed = table();
        QVERIFY(trigger("new"));
        window().openFile(key);
        QCOMPARE(table(), typed);
        QCOMPARE(named("Text_filename")->text(), key);
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
    }

    // New brings back the empty document, and everything but the settings.
    void newUndoesEverythingButTheSettings()
    {
        start();
        table()[200].KeyData = QStringLiteral("0102");
        table()[200].KeyAddrSet = true;
        const KeyRecord spare{QStringLiteral("the 257th"), 0, 0, 0, kTypeHex, QStringLiteral("ABCD"), false};
        table()[kSpareSlot] = spare;
        window().document().mode.SetAddr16();
        window().grid().recordScroll()->setValue(100);
        window().grid().byteScroll()->setValue(30);
        type(indexed("Text_title", 2), QStringLiteral("typed"));
        QVERIFY(trigger("DoSort2"));
        const Settings settings = window().settings();

        modal().answerMessage(MessageResult::No);
        QVERIFY(trigger("new"));

        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(window().document().mode.current(), AddressSize::Bits32);
        QVERIFY(!checked("addr16") && !checked("addr24") && checked("addr32"));
        QCOMPARE(window().grid().recordScroll()->value(), 0);
        QCOMPARE(window().grid().byteScroll()->value(), 0);
        QVERIFY(named(QStringLiteral("Text_filename"))->text().isEmpty());
        // The grid shows the empty table from its top in 32-bit width.
        QCOMPARE(indexed<QLabel>("Text_lineNo", 9)->text(), QStringLiteral("10"));
        QCOMPARE(indexed("Text_title", 2)->text(), QString());
        QCOMPARE(indexed("Text_address", 0)->maxLength(), 8);
        for (Slot slot = 0; slot < kRecordCount; ++slot)
            QVERIFY2(table()[slot].isEmptyRecord(), qPrintable(QStringLiteral("slot %1").arg(slot)));
        QCOMPARE(table()[kSpareSlot], spare);
        QCOMPARE(window().settings(), settings);
        QVERIFY(sortIndicatorShown());
        QCOMPARE(QApplication::focusWidget(), indexed("Text_address", 0));
    }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
