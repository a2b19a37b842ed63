// One set of expectations for both implementations of the modal seam: the
// real Qt dialogs, pressed by a timer, and the scripted answers tests use.

#include "modal_driver.h"
#include "window_fixture.h"

#include "ui/document_dialogs.h"
#include "ui/qt_modal_ui.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

using namespace quorvane;
using quorvane::test::whenModalShown;

// How a test answers the next box: a MessageResult code presses that button.
enum Press { kClose = 0, kReturn = -1 };

class ModalUiContract : public QObject {
    Q_OBJECT
protected:
    virtual ModalUi& modal() = 0;
    // Answers the next box: a button's code presses it, kReturn presses the
    // default button by the keyboard, kClose closes the box without a button.
    virtual void answerBox(int press, MessageResult defaultButton) = 0;
    virtual MessageRequest lastBox() = 0;
    // The next file dialog chooses `path` under filter `filterIndex`; an empty path cancels it.
    virtual void answerFileDialog(const QString& path, int filterIndex) = 0;
    virtual FileDialogRequest lastFileDialog() = 0;
    virtual void answerStartAddress(std::optional<QString> typed) = 0;
    // The next text question is answered with `typed`, or cancelled.
    virtual void answerText(std::optional<QString> typed) = 0;
    virtual TextRequest lastTextRequest() = 0;

    QTemporaryDir dir_;

private slots:
    void theBoxShowsTheQuestionAndReturnsTheAnswer_data()
    {
        QTest::addColumn<MessageRequest>("request");
        QTest::addColumn<int>("press");
        QTest::addColumn<MessageResult>("answer");
        const MessageRequest error{"ERROR:\r\nNo such file <a.key>", "ERROR", MessageButtons::Ok, MessageIcon::Critical,
                                   MessageResult::Ok, "/k/a.key\r\nLine 2: wrong checksum"};
        const MessageRequest warning{"one\r\nContinue ?", "WARNING", MessageButtons::OkCancel,
                                     MessageIcon::Exclamation, MessageResult::Ok, {}};
        MessageRequest prompt{"\r\nThis data is modified.", "Destroy this data ", MessageButtons::YesNoCancel,
                              MessageIcon::Exclamation, MessageResult::Yes, {}};
        QTest::newRow("error, OK") << error << int(MessageResult::Ok) << MessageResult::Ok;
        QTest::newRow("warning, Cancel") << warning << int(MessageResult::Cancel) << MessageResult::Cancel;
        QTest::newRow("prompt, Yes") << prompt << int(MessageResult::Yes) << MessageResult::Yes;
        QTest::newRow("prompt, No") << prompt << int(MessageResult::No) << MessageResult::No;
        QTest::newRow("prompt closed: Cancel") << prompt << int(kClose) << MessageResult::Cancel;
        prompt.defaultButton = MessageResult::No;
        QTest::newRow("prompt, Return on No") << prompt << int(kReturn) << MessageResult::No;
    }
    void theBoxShowsTheQuestionAndReturnsTheAnswer()
    {
        QFETCH(MessageRequest, request);
        QFETCH(int, press);
        QFETCH(MessageResult, answer);
        answerBox(press, request.defaultButton);
        QCOMPARE(modal().messageBox(request), answer);
        QVERIFY(lastBox() == request);
    }

    void fileDialogShowsTheRequestAndReturnsTheChoice_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("filterIndexIn");
        QTest::addColumn<int>("filterIndexOut"); // 0: cancelled
        QTest::newRow("open, template chosen") << false << 1 << 3;
        QTest::newRow("save, all files to ZTV") << true << 4 << 2;
        QTest::newRow("save cancelled") << true << 2 << 0;
    }
    void fileDialogShowsTheRequestAndReturnsTheChoice()
    {
        QFETCH(bool, save);
        QFETCH(int, filterIndexIn);
        QFETCH(int, filterIndexOut);
        const QString path = filterIndexOut == 0 ? QString() : dir_.filePath(QStringList{"a.KEY", "a.ZTV", "a.639"}.at(filterIndexOut - 1));
        if (!save)
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        // Opening in the chosen file's folder, the dialog needs no folder
        // listing before it can accept the name.
        const FileDialogRequest request{save ? FileDialogKind::Save : FileDialogKind::Open, kDocumentFileFilter,
                                        filterIndexIn, dir_.filePath(QStringLiteral("previous.KEY")), !save, save};
        answerFileDialog(path, filterIndexOut);
        const FileDialogResult result = modal().fileDialog(request);
        QVERIFY(lastFileDialog() == request);
        QCOMPARE(result.accepted, filterIndexOut != 0);
        QCOMPARE(result.path, path);
        if (filterIndexOut != 0)
            QCOMPARE(result.filterIndex, filterIndexOut);
    }

    void startAddressReturnsTheTextOrNothing_data()
    {
        QTest::addColumn<std::optional<QString>>("typed");
        QTest::newRow("OK with an address") << std::optional<QString>("8000F000");
        QTest::newRow("OK with nothing typed") << std::optional<QString>("");
        QTest::newRow("cancelled") << std::optional<QString>();
    }
    void startAddressReturnsTheTextOrNothing()
    {
        QFETCH(std::optional<QString>, typed);
        answerStartAddress(typed);
        QCOMPARE(modal().startAddress(), typed);
    }

    void askTextShowsTheQuestionAndReturnsTheTextOrNothing()
    {
        const TextRequest request{"Go to Line", "Line number (1 to 256):", "7"};
        for (const std::optional<QString>& typed : {std::optional<QString>("120"), std::optional<QString>()}) {
            answerText(typed);
            QCOMPARE(modal().askText(request), typed);
            QCOMPARE(lastTextRequest(), request);
        }
    }
};

// The real dialogs, answered by pressing their buttons.
class QtModalUiTest : public ModalUiContract {
    Q_OBJECT
protected:
    ModalUi& modal() override { return modal_; }

    void answerBox(int press, MessageResult) override
    {
        whenModalShown<QMessageBox>([this, press](QMessageBox* box) {
            QCOMPARE(box->windowModality(), Qt::ApplicationModal);
            const auto icon = box->icon();
            shownBox_ = {box->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n")), box->windowTitle(),
                         kButtonSets.key(box->standardButtons(), MessageButtons(-1)),
                         icon == QMessageBox::Critical  ? MessageIcon::Critical
                         : icon == QMessageBox::Warning ? MessageIcon::Exclamation : MessageIcon(-1),
                         kButtons.key(box->standardButton(box->defaultButton()), MessageResult(-1)),
                         box->detailedText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"))};
            if (press == kReturn)
                return QTest::keyClick(box, Qt::Key_Return);
            if (press == kClose)
                return void(box->close());
            QAbstractButton* button = box->button(kButtons.value(MessageResult(press)));
            QVERIFY(button != nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        });
    }
    MessageRequest lastBox() override { return shownBox_; }

    void answerFileDialog(const QString& path, int filterIndex) override
    {
        whenModalShown<QFileDialog>([this, path, filterIndex](QFileDialog* dialog) {
            QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
            const QStringList filters = dialog->nameFilters();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            shownFile_ = {dialog->acceptMode() == QFileDialog::AcceptSave ? FileDialogKind::Save : FileDialogKind::Open,
                          filters == qtNameFilters(kDocumentFileFilter) ? kDocumentFileFilter
                                                                        : filters.join(QLatin1Char('|')),
                          int(filters.indexOf(dialog->selectedNameFilter())) + 1,
                          dialog->directory().filePath(name->text()), dialog->fileMode() == QFileDialog::ExistingFile,
                          !dialog->testOption(QFileDialog::DontConfirmOverwrite)};
            if (path.isEmpty())
                return dialog->reject();
            dialog->selectNameFilter(filters.at(filterIndex - 1));
            name->setText(path); // as a user would type it
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own checks run
        });
    }
    FileDialogRequest lastFileDialog() override { return shownFile_; }

    void answerText(std::optional<QString> typed) override
    {
        whenModalShown<QInputDialog>([this, typed](QInputDialog* dialog) {
            QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
            shownText_ = {dialog->windowTitle(), dialog->labelText(), dialog->textValue()};
            if (!typed)
                return dialog->reject();
            dialog->setTextValue(*typed);
            dialog->accept();
        });
    }
    TextRequest lastTextRequest() override { return shownText_; }

    void answerStartAddress(std::optional<QString> typed) override
    {
        whenModalShown<QDialog>([typed](QDialog* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("Text_StartAddress")),
                             typed.value_or(QStringLiteral("ABC")));
            auto* button = dialog->findChild<QPushButton*>(typed ? "btn_InputOK" : "btn_InputCancel");
            QVERIFY(button != nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        });
    }

private:
    const QMap<MessageResult, QMessageBox::StandardButton> kButtons{
        {MessageResult::Ok, QMessageBox::Ok}, {MessageResult::Cancel, QMessageBox::Cancel},
        {MessageResult::Yes, QMessageBox::Yes}, {MessageResult::No, QMessageBox::No}};
    const QMap<MessageButtons, QMessageBox::StandardButtons> kButtonSets{
        {MessageButtons::Ok, QMessageBox::Ok}, {MessageButtons::OkCancel, QMessageBox::Ok | QMessageBox::Cancel},
        {MessageButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel}};
    QtModalUi modal_;
    MessageRequest shownBox_;
    FileDialogRequest shownFile_;
    TextRequest shownText_;
};

// The scripted answers: what a test queues is what the window gets.
class ScriptedModalUiTest : public ModalUiContract {
    Q_OBJECT
protected:
    ModalUi& modal() override { return modal_; }
    // A box closed without a button is a question nobody answered.
    void answerBox(int press, MessageResult defaultButton) override
    {
        if (press != kClose)
            modal_.answerMessage(press == kReturn ? defaultButton : MessageResult(press));
    }
    MessageRequest lastBox() override { return modal_.messages().back(); }
    void answerFileDialog(const QString& path, int filterIndex) override
    {
        if (!path.isEmpty())
            modal_.answerFileDialog({true, path, filterIndex});
    }
    FileDialogRequest lastFileDialog() override { return modal_.fileDialogs().back(); }
    void answerStartAddress(std::optional<QString> typed) override { modal_.answerStartAddress(typed); }
    void answerText(std::optional<QString> typed) override { modal_.answerText(typed); }
    TextRequest lastTextRequest() override { return modal_.textRequests().back(); }

private:
    ScriptedModalUi modal_;
};

// Behaviour of one implementation only.
class ModalUiDetailsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtNameFilters()
    {
        QCOMPARE(qtNameFilters(kDocumentFileFilter), (QStringList{"KEY File(*.KEY *.key)", "ZTV File(*.ZTV *.ztv)",
                                                      "Template File(*.639)", "All File(*.*)"}));
        QCOMPARE(qtNameFilters(QStringLiteral("Images|*.bin;*.img")), QStringList{"Images(*.bin *.img)"});
    }

    void startAddressFieldTakesOnlyHexDigits()
    {
        QtModalUi modal;
        whenModalShown<QDialog>([](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Extract KEY Data"));
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Text_StartAddress"));
            QTest::keyClicks(field, QStringLiteral("0x1a-g2 Bc9dEf7"));
            QTest::keyClick(field, Qt::Key_Return);
        });
        QCOMPARE(modal.startAddress(), std::optional<QString>(QStringLiteral("01A2BC9D")));
    }

    void unscriptedQuestionsAreCountedAndCancelled()
    {
        ScriptedModalUi modal;
        modal.answerMessage(MessageResult::Yes);
        modal.answerStartAddress(QStringLiteral("1"));
        QCOMPARE(modal.messageBox({}), MessageResult::Yes);
        QVERIFY(modal.messageBox({}) == MessageResult::Cancel && !modal.fileDialog({}).accepted);
        QCOMPARE(modal.unanswered(), 2);
        QCOMPARE(modal.pendingAnswers(), 1);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtModalUiTest qtTest;
    ScriptedModalUiTest scriptedTest;
    ModalUiDetailsTest details;
    int failures = 0;
    for (QObject* test : std::initializer_list<QObject*>{&qtTest, &scriptedTest, &details})
        failures += QTest::qExec(test, argc, argv);
    return failures == 0 ? 0 : 1;
}

#include "modal_ui_contract_test.moc"
