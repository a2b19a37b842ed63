// One set of expectations for both implementations of the modal seam: the
// real Qt dialogs, pressed by a timer, and the scripted answers tests use.

#include "modal_driver.h"

#include "ui/qt_modal_ui.h"
#include "ui/scripted_modal_ui.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quorvane;
using quorvane::test::whenModalShown;

Q_DECLARE_METATYPE(quorvane::MessageButtons)
Q_DECLARE_METATYPE(quorvane::MessageResult)
Q_DECLARE_METATYPE(quorvane::MessageIcon)

namespace {

const QString kFilter = QStringLiteral("KEY File(*.KEY)|*.KEY|ZTV File(*.ZTV)|*.ZTV|Template File(*.639)|*.639|All File(*.*)|*.*");

} // namespace

class ModalUiContract : public QObject {
    Q_OBJECT
protected:
    virtual ModalUi& modal() = 0;
    // The next box is answered with `answer`; nullopt closes it without a button.
    virtual void scheduleMessageAnswer(std::optional<MessageResult> answer) = 0;
    // The next box is answered with its default button (Return).
    virtual void scheduleDefaultAnswer(MessageResult expectedDefault) = 0;
    // What the last box showed, as a request.
    virtual MessageRequest lastMessageShown() = 0;
    // The next file dialog chooses `path` under filter `filterIndex`, or is cancelled.
    virtual void scheduleFileChoice(const QString& path, int filterIndex) = 0;
    virtual void scheduleFileCancel() = 0;
    // The dialog showed the request's kind, filters, first filter and options.
    virtual void checkLastFileDialog(const FileDialogRequest& request) = 0;
    virtual void scheduleStartAddress(std::optional<QString> typed) = 0;

    QTemporaryDir dir_;

private slots:
    void messageReturnsTheButtonPressed_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageResult>("pressed");
        QTest::newRow("OK box, OK") << MessageButtons::Ok << MessageResult::Ok;
        QTest::newRow("OK/Cancel, OK") << MessageButtons::OkCancel << MessageResult::Ok;
        QTest::newRow("OK/Cancel, Cancel") << MessageButtons::OkCancel << MessageResult::Cancel;
        QTest::newRow("Yes/No/Cancel, Yes") << MessageButtons::YesNoCancel << MessageResult::Yes;
        QTest::newRow("Yes/No/Cancel, No") << MessageButtons::YesNoCancel << MessageResult::No;
        QTest::newRow("Yes/No/Cancel, Cancel") << MessageButtons::YesNoCancel << MessageResult::Cancel;
    }

    void messageReturnsTheButtonPressed()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageResult, pressed);
        MessageRequest request{QStringLiteral("question"), QStringLiteral("WARNING"), buttons,
                               MessageIcon::Exclamation, MessageResult::Ok};
        if (buttons == MessageButtons::YesNoCancel)
            request.defaultButton = MessageResult::Yes;
        scheduleMessageAnswer(pressed);
        QCOMPARE(modal().messageBox(request), pressed);
    }

    void closingABoxAnswersCancel_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::newRow("OK/Cancel") << MessageButtons::OkCancel;
        QTest::newRow("Yes/No/Cancel") << MessageButtons::YesNoCancel;
    }

    void closingABoxAnswersCancel()
    {
        QFETCH(MessageButtons, buttons);
        const MessageRequest request{QStringLiteral("closing"), QStringLiteral("WARNING"), buttons,
                                     MessageIcon::Exclamation,
                                     buttons == MessageButtons::OkCancel ? MessageResult::Ok : MessageResult::Yes};
        scheduleMessageAnswer(std::nullopt);
        QCOMPARE(modal().messageBox(request), MessageResult::Cancel);
    }

    void theBoxShowsWhatWasAsked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<MessageResult>("defaultButton");
        QTest::newRow("error") << QStringLiteral("ERROR:\r\nNo such file <a.key>") << QStringLiteral("ERROR")
                               << MessageButtons::Ok << MessageIcon::Critical << MessageResult::Ok;
        QTest::newRow("warning") << QStringLiteral("line one\r\nline two\r\nContinue ?") << QStringLiteral("WARNING")
                                 << MessageButtons::OkCancel << MessageIcon::Exclamation << MessageResult::Ok;
        QTest::newRow("prompt, No default") << QStringLiteral("\r\nThis data is modified.")
                                            << QStringLiteral("Destroy this data ") << MessageButtons::YesNoCancel
                                            << MessageIcon::Exclamation << MessageResult::No;
    }

    void theBoxShowsWhatWasAsked()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageIcon, icon);
        QFETCH(MessageResult, defaultButton);
        const MessageRequest request{text, title, buttons, icon, defaultButton};
        scheduleDefaultAnswer(defaultButton);
        QCOMPARE(modal().messageBox(request), defaultButton);
        QCOMPARE(lastMessageShown(), request);
    }

    void fileDialogReturnsTheChoice_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("filterIndexIn");
        QTest::addColumn<int>("filterIndexOut");
        QTest::newRow("open, KEY kept") << int(FileDialogKind::Open) << 1 << 1;
        QTest::newRow("open, template chosen") << int(FileDialogKind::Open) << 1 << 3;
        QTest::newRow("save, all files to ZTV") << int(FileDialogKind::Save) << 4 << 2;
    }

    void fileDialogReturnsTheChoice()
    {
        QFETCH(int, kind);
        QFETCH(int, filterIndexIn);
        QFETCH(int, filterIndexOut);
        const QString suffixes[] = {QStringLiteral("KEY"), QStringLiteral("ZTV"), QStringLiteral("639"),
                                    QStringLiteral("bin")};
        const QString path = dir_.filePath(QStringLiteral("chosen.") + suffixes[filterIndexOut - 1]);
        if (kind == int(FileDialogKind::Open)) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        FileDialogRequest request;
        request.kind = FileDialogKind(kind);
        request.filter = kFilter;
        request.filterIndex = filterIndexIn;
        // The dialog opens in the folder of the chosen file, so it needs no
        // folder listing before it can accept the name.
        request.initialFileName = dir_.filePath(QStringLiteral("previous.KEY"));
        request.fileMustExist = request.kind == FileDialogKind::Open;
        request.confirmOverwrite = request.kind == FileDialogKind::Save;
        scheduleFileChoice(path, filterIndexOut);
        const FileDialogResult result = modal().fileDialog(request);
        checkLastFileDialog(request);
        QCOMPARE(result, (FileDialogResult{true, path, filterIndexOut}));
    }

    void cancellingAFileDialogIsReported()
    {
        FileDialogRequest request;
        request.kind = FileDialogKind::Save;
        request.filter = kFilter;
        request.filterIndex = 2;
        scheduleFileCancel();
        const FileDialogResult result = modal().fileDialog(request);
        QVERIFY(!result.accepted);
        QVERIFY(result.path.isEmpty());
    }

    void startAddressReturnsTheTextOrNothing_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("typed");
        QTest::newRow("OK with an address") << true << QStringLiteral("8000F000");
        QTest::newRow("OK with nothing typed") << true << QString();
        QTest::newRow("cancelled") << false << QStringLiteral("1234");
    }

    void startAddressReturnsTheTextOrNothing()
    {
        QFETCH(bool, ok);
        QFETCH(QString, typed);
        scheduleStartAddress(ok ? std::optional<QString>(typed) : std::nullopt);
        const std::optional<QString> result = modal().startAddress();
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, typed);
    }
};

// The real dialogs, answered by pressing their buttons.
class QtModalUiTest : public ModalUiContract {
    Q_OBJECT
protected:
    ModalUi& modal() override { return modal_; }

    void scheduleMessageAnswer(std::optional<MessageResult> answer) override
    {
        whenModalShown<QMessageBox>([this, answer](QMessageBox* box) {
            record(box);
            if (!answer) {
                box->close();
                return;
            }
            const auto button = answer == MessageResult::Ok        ? QMessageBox::Ok
                                : answer == MessageResult::Cancel ? QMessageBox::Cancel
                                : answer == MessageResult::Yes    ? QMessageBox::Yes
                                                                  : QMessageBox::No;
            QVERIFY(box->button(button) != nullptr);
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        });
    }

    void scheduleDefaultAnswer(MessageResult) override
    {
        whenModalShown<QMessageBox>([this](QMessageBox* box) {
            record(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
    }

    MessageRequest lastMessageShown() override { return shown_; }

    void scheduleFileChoice(const QString& path, int filterIndex) override
    {
        whenModalShown<QFileDialog>([this, path, filterIndex](QFileDialog* dialog) {
            recordFileDialog(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(filterIndex - 1));
            // As a user would: the full name typed into the name field.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(path);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own checks run
        });
    }

    void scheduleFileCancel() override
    {
        whenModalShown<QFileDialog>([this](QFileDialog* dialog) {
            recordFileDialog(dialog);
            dialog->reject();
        });
    }

    void checkLastFileDialog(const FileDialogRequest& request) override
    {
        QCOMPARE(shownFilters_, qtNameFilters(request.filter));
        QCOMPARE(shownFilters_.size(), 4);
        QCOMPARE(shownFilterIndex_, request.filterIndex);
        QCOMPARE(shownSave_, request.kind == FileDialogKind::Save);
        QCOMPARE(shownMustExist_, request.fileMustExist);
        QCOMPARE(shownConfirms_, request.confirmOverwrite);
        QVERIFY(shownModal_);
    }

    void scheduleStartAddress(std::optional<QString> typed) override
    {
        whenModalShown<QDialog>([typed](QDialog* dialog) {
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Text_StartAddress"));
            QVERIFY(field != nullptr);
            QTest::keyClicks(field, typed.value_or(QStringLiteral("ABC")));
            auto* button = dialog->findChild<QPushButton*>(typed ? QStringLiteral("btn_InputOK")
                                                                 : QStringLiteral("btn_InputCancel"));
            QVERIFY(button != nullptr);
            QTest::mouseClick(button, Qt::LeftButton);
        });
    }

private:
    void record(QMessageBox* box)
    {
        shown_.text = box->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        shown_.title = box->windowTitle();
        const auto buttons = box->standardButtons();
        shown_.buttons = buttons == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                             ? MessageButtons::YesNoCancel
                             : buttons == (QMessageBox::Ok | QMessageBox::Cancel) ? MessageButtons::OkCancel
                                                                                  : MessageButtons::Ok;
        shown_.icon = box->icon() == QMessageBox::Critical ? MessageIcon::Critical : MessageIcon::Exclamation;
        QVERIFY(box->icon() == QMessageBox::Critical || box->icon() == QMessageBox::Warning);
        const auto def = box->standardButton(box->defaultButton());
        shown_.defaultButton = def == QMessageBox::Cancel ? MessageResult::Cancel
                               : def == QMessageBox::Yes  ? MessageResult::Yes
                               : def == QMessageBox::No   ? MessageResult::No
                                                          : MessageResult::Ok;
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    }

    void recordFileDialog(QFileDialog* dialog)
    {
        shownFilters_ = dialog->nameFilters();
        shownFilterIndex_ = int(shownFilters_.indexOf(dialog->selectedNameFilter())) + 1;
        shownSave_ = dialog->acceptMode() == QFileDialog::AcceptSave;
        shownMustExist_ = dialog->fileMode() == QFileDialog::ExistingFile;
        shownConfirms_ = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        shownModal_ = dialog->windowModality() == Qt::ApplicationModal;
    }

    QtModalUi modal_;
    MessageRequest shown_;
    QStringList shownFilters_;
    int shownFilterIndex_ = 0;
    bool shownSave_ = false;
    bool shownMustExist_ = false;
    bool shownConfirms_ = false;
    bool shownModal_ = false;
};

// The scripted answers: what a test queues is what the window gets.
class ScriptedModalUiTest : public ModalUiContract {
    Q_OBJECT
protected:
    ModalUi& modal() override { return modal_; }

    void scheduleMessageAnswer(std::optional<MessageResult> answer) override
    {
        // A box closed without a button is a question nobody answered.
        if (answer)
            modal_.answerMessage(*answer);
    }
    void scheduleDefaultAnswer(MessageResult expectedDefault) override { modal_.answerMessage(expectedDefault); }
    MessageRequest lastMessageShown() override { return modal_.messages().back(); }
    void scheduleFileChoice(const QString& path, int filterIndex) override
    {
        modal_.answerFileDialog(FileDialogResult{true, path, filterIndex});
    }
    void scheduleFileCancel() override {}
    void checkLastFileDialog(const FileDialogRequest& request) override
    {
        QCOMPARE(modal_.fileDialogs().back(), request);
    }
    void scheduleStartAddress(std::optional<QString> typed) override { modal_.answerStartAddress(typed); }

private:
    ScriptedModalUi modal_;
};

// Behaviour of one implementation only.
class ModalUiDetailsTest : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtNameFilters()
    {
        QCOMPARE(qtNameFilters(kFilter),
                 (QStringList{QStringLiteral("KEY File(*.KEY *.key)"), QStringLiteral("ZTV File(*.ZTV *.ztv)"),
                              QStringLiteral("Template File(*.639)"), QStringLiteral("All File(*.*)")}));
        QCOMPARE(qtNameFilters(QStringLiteral("Object File(*.*)|*.*")), QStringList{QStringLiteral("Object File(*.*)")});
        QCOMPARE(qtNameFilters(QStringLiteral("Images|*.bin;*.img")),
                 QStringList{QStringLiteral("Images(*.bin *.img)")});
    }

    void startAddressFieldTakesOnlyHexDigits()
    {
        QtModalUi modal;
        QString seen;
        whenModalShown<QDialog>([&seen](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Extract KEY Data"));
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Text_StartAddress"));
            QTest::keyClicks(field, QStringLiteral("0x1a-g2 Bc9dEf7"));
            seen = field->text();
            QTest::keyClick(field, Qt::Key_Return);
        });
        const std::optional<QString> result = modal.startAddress();
        QCOMPARE(seen, QStringLiteral("01A2BC9D"));
        QCOMPARE(result, std::optional<QString>(QStringLiteral("01A2BC9D")));
    }

    void unscriptedQuestionsAreCountedAndCancelled()
    {
        ScriptedModalUi modal;
        modal.answerMessage(MessageResult::Yes);
        QCOMPARE(modal.messageBox({}), MessageResult::Yes);
        QCOMPARE(modal.unanswered(), 0);
        QCOMPARE(modal.messageBox({}), MessageResult::Cancel);
        QVERIFY(!modal.fileDialog({}).accepted);
        QVERIFY(!modal.startAddress());
        QCOMPARE(modal.unanswered(), 3);
        QCOMPARE(modal.pendingAnswers(), 0);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    QtModalUiTest qtTest;
    failures += QTest::qExec(&qtTest, argc, argv);
    ScriptedModalUiTest scriptedTest;
    failures += QTest::qExec(&scriptedTest, argc, argv);
    ModalUiDetailsTest details;
    failures += QTest::qExec(&details, argc, argv);
    return failures == 0 ? 0 : 1;
}

#include "modal_ui_contract_test.moc"
