// Extraction in the real window: the menu command, drops onto the drop
// label and the data cells, the start-address question, progress with
// Cancel, and the table after success and after each kind of failure; and
// its inverse, writing the table into a copy of an image.

#include "window_fixture.h"

#include "ui/message_boxes.h"
#include "tests/support/record_builders.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// One S1 line of 00 to FF at 1000, checksum worked out by hand.
const QByteArray kLine = "S113100000112233445566778899AABBCCDDEEFFE4\r\n";

} // namespace

class ExtractionTest : public WindowTest {
    Q_OBJECT

    QString path(const QString& name) const { return QFileInfo(settingsPath()).dir().filePath(name); }

    QString writeFile(const QString& name, const QByteArray& contents) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }

    // Slot 0 and 2 are targets; slot 1 has data but no address; the spare
    // slot is not a document record.
    void putTargets()
    {
        table()[0] = titled(hexRecordAt(0x1002, QStringLiteral("0000")), QStringLiteral("key"));
        table()[1] = titled(asciiRecordAt(0, QStringLiteral("note")), QStringLiteral("no address"));
        table()[1].KeyAddrSet = false;
        table()[2] = titled(asciiRecordAt(0x100E, QStringLiteral("ab")), QStringLiteral("text"));
        window().grid().redraw();
    }

    void drop(QWidget* target, QMimeData* data)
    {
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
    }

    [[nodiscard]] QStringList errors() const
    {
        QStringList shown;
        for (const MessageRequest& m : const_cast<ExtractionTest*>(this)->modal().messages())
            shown << m.title + QLatin1Char(':') + m.text;
        return shown;
    }

private slots:
    void theMenuCommandFillsEveryTargetAndEmptiesTheRest()
    {
        const QString object = writeFile(QStringLiteral("image.s19"), kLine + "S9030000FC\r\n");
        start();
        putTargets();
        modal().answerFileDialog({true, object, 1});
        QVERIFY(trigger("KEY_extract"));

        QVERIFY(modal().fileDialogs().front()
                == (FileDialogRequest{FileDialogKind::Open, QStringLiteral("Object File(*.*)|*.*"), 0, QString(),
                                      true, false}));
        QCOMPARE(errors(), QStringList{});
        QVERIFY(window().state().Modified);
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane [Modified]"));
        QCOMPARE(indexed("Text_data", 32)->text(), QStringLiteral("EE"));
        QCOMPARE(window().settings().FilterIndexSetting, qint16(1)); // the documents' filter is left alone
        QCOMPARE(window().statusBar()->currentMessage(), QStringLiteral("Read key data from image.s19: 2 records"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window().statusBar()->currentMessage(), QStringLiteral("Undone: Extract KEY data"));
    }

    // Each failure leaves every record as it was; a damaged file is told in
    // an error box, a Cancel at the first progress report is not.
    void failuresLeaveTheTableAsItWas_data()
    {
        QTest::addColumn<QByteArray>("contents"); // written as "object.bin"
        QTest::addColumn<int>("cancelProgressAt");
        QTest::newRow("damaged") << "S1131000" + QByteArray("78").repeated(16) + "5C\r\nS9030000FF\r\n" << 0;
        // Eight MiB of lines that hold none of the keys.
        const QByteArray line = "S1238000" + QByteArray("7A").repeated(32) + "1C\r\n";
        QTest::newRow("cancelled while reading") << line.repeated((8 << 20) / line.size() + 1) << 1;
    }
    void failuresLeaveTheTableAsItWas()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, cancelProgressAt);
        const QString object = writeFile(QStringLiteral("object.bin"), contents);
        start();
        putTargets();
        const RecordTable before = table();
        if (cancelProgressAt == 0)
            modal().answerMessage(MessageResult::Ok);
        modal().cancelProgressAt(cancelProgressAt);

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(object)});
        window().dropData(&data);

        const QStringList shown = errors();
        QCOMPARE(shown.size(), cancelProgressAt == 0 ? 1 : 0);
        QVERIFY(shown.isEmpty() || shown.front().startsWith(QStringLiteral("ERROR:File format error.")));
        QCOMPARE(table(), before);
        QVERIFY(!window().state().Modified);
        QCOMPARE(window().windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(modal().progressFinishedCount(), 1);
        QVERIFY(modal().progressReports() >= cancelProgressAt);
    }

    // The table, checked as a save checks it, goes into a copy of the image
    // at its addresses; bytes where the image has none are named in a
    // warning first, and the status bar says what was written.
    void writingKeyDataIntoAnImage_data()
    {
        QTest::addColumn<MessageResult>("answer");
        QTest::addColumn<QString>("status"); // empty: nothing written
        QTest::addRow("OK") << MessageResult::Ok << "Wrote 2 records into out.s19";
        QTest::addRow("Cancel") << MessageResult::Cancel << "";
    }
    void writingKeyDataIntoAnImage()
    {
        QFETCH(MessageResult, answer);
        QFETCH(QString, status);
        const QString image = writeFile(QStringLiteral("fw.s19"), kLine + "S9030000FC\r\n");
        start();
        table()[0] = titled(hexRecordAt(0x1004, QStringLiteral("A1A2")), QStringLiteral("key"));
        table()[1] = titled(hexRecordAt(0x2000, QStringLiteral("B1")), QStringLiteral("far"));
        window().grid().redraw();
        const QString output = path(QStringLiteral("out.s19"));
        modal().answerFileDialog({true, image, 1});
        modal().answerFileDialog({true, output, 1});
        modal().answerMessage(answer);

        QVERIFY(trigger("KEY_merge"));

        QCOMPARE(modal().fileDialogs().size(), std::size_t(2));
        QCOMPARE(modal().fileDialogs().back().initialFileName, path(QStringLiteral("fw-keys.s19")));
        // The question's words are the document operation's; the window asks it in a warning box.
        QCOMPARE(modal().messages().size(), std::size_t(1));
        MessageRequest asked = modal().messages().front();
        asked.text.clear();
        QVERIFY(asked == warningBoxRequest(QString()));
        QCOMPARE(window().statusBar()->currentMessage(), status);
        QCOMPARE(QFileInfo::exists(output), !status.isEmpty());
        QVERIFY(!window().state().Modified); // the document itself was not written
    }

    void writingIntoAnImageStopsAtTheSaveChecks()
    {
        start();
        table()[0] = titled(hexRecordAt(0x10, QStringLiteral("0G")), QStringLiteral("bad"));
        window().grid().redraw();
        modal().answerMessage(MessageResult::Ok);
        QVERIFY(trigger("KEY_merge"));
        QCOMPARE(errors(), QStringList{QStringLiteral("ERROR:Illegal HEX Data.\r\nLineNo: 1")});
        QVERIFY(modal().fileDialogs().empty());
    }

    // Real drop events on the two targets: one file, two files, a folder
    // and plain text.
    void drops_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("error"); // empty: the extraction ran
        for (const char* target : {"Label_Drop", "Text_data_5"}) {
            QTest::addRow("%s, one file", target) << target << "file" << "";
            QTest::addRow("%s, two files", target) << target << "two files" << "File Count Error.";
            QTest::addRow("%s, a folder", target) << target << "folder" << "Object Error.";
            QTest::addRow("%s, plain text", target) << target << "text" << "Object Error.";
        }
    }
    void drops()
    {
        QFETCH(QString, target);
        QFETCH(QString, what);
        QFETCH(QString, error);
        const QString object = writeFile(QStringLiteral("image.s19"), kLine);
        start();
        putTargets();
        const RecordTable before = table();
        QMimeData data;
        if (what == QLatin1String("file"))
            data.setUrls({QUrl::fromLocalFile(object)});
        else if (what == QLatin1String("two files"))
            data.setUrls({QUrl::fromLocalFile(object), QUrl::fromLocalFile(object)});
        else if (what == QLatin1String("folder"))
            data.setUrls({QUrl::fromLocalFile(QFileInfo(object).path())});
        else
            data.setText(object);
        if (!error.isEmpty())
            modal().answerMessage(MessageResult::Ok);

        drop(named<QWidget>(target), &data);

        QCOMPARE(errors(), error.isEmpty() ? QStringList{} : QStringList{QStringLiteral("ERROR:") + error});
        QCOMPARE(table()[0].KeyData, error.isEmpty() ? QStringLiteral("2233") : before[0].KeyData);
        QCOMPARE(window().state().Modified, error.isEmpty());
        QCOMPARE(modal().unanswered(), 0);
    }
};

QTEST_MAIN(ExtractionTest)
#include "extraction_test.moc"
