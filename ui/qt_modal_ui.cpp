#include "qt_modal_ui.h"

#include "start_address_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace quorvane {

namespace {

QMessageBox::StandardButton standardButton(MessageResult result)
{
    switch (result) {
    case MessageResult::Ok: return QMessageBox::Ok;
    case MessageResult::Cancel: return QMessageBox::Cancel;
    case MessageResult::Yes: return QMessageBox::Yes;
    case MessageResult::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MessageResult resultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default: return MessageResult::Cancel;
    }
}

// Text patterns "*.KEY;*.BIN" plus their lower-case forms, space separated.
QString patternsOf(const QString& pattern)
{
    QStringList patterns;
    for (const QString& p : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = p.trimmed();
        if (!patterns.contains(trimmed))
            patterns << trimmed;
        const QString lower = trimmed.toLower();
        if (!patterns.contains(lower))
            patterns << lower;
    }
    return patterns.join(QLatin1Char(' '));
}

} // namespace

QStringList qtNameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        // "KEY File(*.KEY)" already names its pattern; Qt reads the patterns
        // from the last parentheses, so the description loses them here.
        const QString ownSuffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (description.endsWith(ownSuffix))
            description.chop(ownSuffix.size());
        filters << description + QLatin1Char('(') + patternsOf(pattern) + QLatin1Char(')');
    }
    return filters;
}

MessageResult QtModalUi::messageBox(const MessageRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(request.icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning);
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);
    auto lines = [](QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); };
    box.setText(lines(request.text));
    if (!request.details.isEmpty())
        box.setDetailedText(lines(request.details));
    box.setStandardButtons(standardButtons(request.buttons));
    box.setDefaultButton(standardButton(request.defaultButton));
    box.exec();
    // No button clicked means the box was closed: that answers Cancel.
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return MessageResult::Cancel;
    return resultOf(box.standardButton(clicked));
}

FileDialogResult QtModalUi::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));

    const QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.initialFileName.isEmpty()) {
        const QFileInfo initial(request.initialFileName);
        if (initial.isAbsolute())
            dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }

    FileDialogResult result;
    result.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.path = dialog.selectedFiles().constFirst();
    const qsizetype chosenFilter = filters.indexOf(dialog.selectedNameFilter());
    if (chosenFilter >= 0)
        result.filterIndex = int(chosenFilter) + 1;
    return result;
}

std::optional<QString> QtModalUi::startAddress()
{
    StartAddressDialog dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.startAddress();
}

std::optional<QString> QtModalUi::askText(const TextRequest& request)
{
    QWidget* window = QApplication::activeWindow();
    QInputDialog dialog(window);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(request.label);
    dialog.setTextValue(request.text);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // The answer leads straight back into the window (a jump, a find):
    // without a window manager nothing else would make it active again,
    // and its shortcuts would stay dead.
    if (window != nullptr)
        window->activateWindow();
    if (!accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool QtModalUi::progress(const QString& label, qint64 done, qint64 total)
{
    constexpr int kSteps = 1000;
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, kSteps,
                                                      QApplication::activeWindow());
        progress_->setWindowModality(Qt::ApplicationModal);
        progress_->setMinimumDuration(500);
        progress_->setAutoClose(false);
        progress_->setAutoReset(false);
        progress_->setValue(0);
    }
    progress_->setLabelText(label);
    if (total > 0)
        progress_->setValue(int(qBound(qint64(0), done * kSteps / total, qint64(kSteps - 1))));
    // Lets the dialog appear and its Cancel button be pressed.
    QCoreApplication::processEvents();
    return !progress_->wasCanceled();
}

void QtModalUi::progressFinished()
{
    progress_.reset();
}

} // namespace quorvane
