#include "extract_command.h"

#include "message_boxes.h"

#include "document/extraction_operation.h"
#include "grid/grid_view.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace quorvane {

namespace {

const QString kObjectFileFilter = QStringLiteral("Object File(*.*)|*.*");
const QString kObjectError = QStringLiteral("Object Error.");
const QString kFileCountError = QStringLiteral("File Count Error.");

} // namespace

void ExtractCommand::run()
{
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.filter = kObjectFileFilter;
    request.filterIndex = 0; // the extraction leaves the documents' filter alone
    request.fileMustExist = true;
    const FileDialogResult chosen = context_.modal.fileDialog(request);
    if (chosen.accepted)
        extractFrom(chosen.path);
}

void ExtractCommand::drop(const QMimeData* data)
{
    // The user looks at the window the file went to.
    context_.window.raise();
    context_.window.activateWindow();
    if (data == nullptr || !data->hasUrls())
        return showError(context_.modal, kObjectError);
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return showError(context_.modal, kFileCountError);
    // Something that is not a file of this machine is not an object file.
    if (!urls.front().isLocalFile() || QFileInfo(urls.front().toLocalFile()).isDir())
        return showError(context_.modal, kObjectError);
    extractFrom(urls.front().toLocalFile());
}

void ExtractCommand::extractFrom(const QString& path)
{
    const QString label = QStringLiteral("Extracting KEY data from %1").arg(QFileInfo(path).fileName());
    const KeyDataResult result = SetKeyData(
        context_.document.table, path, [this] { return context_.modal.startAddress(); },
        [this, &label](qint64 done, qint64 total) { return context_.modal.progress(label, done, total); });
    context_.modal.progressFinished();

    switch (result.status) {
    case KeyDataStatus::Extracted:
        context_.document.table = result.table;
        context_.state.Modified = true;
        context_.updateCaption();
        break;
    case KeyDataStatus::NothingExtracted:
        context_.updateCaption();
        break;
    case KeyDataStatus::Failed:
        showError(context_.modal, result.message);
        break;
    case KeyDataStatus::Cancelled:
        break;
    }
    context_.grid.redraw();
}

} // namespace quorvane
