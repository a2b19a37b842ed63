#include "extraction_command.h"

#include "document_dialogs.h"
#include "message_boxes.h"

#include "document/document_history.h"
#include "document/extraction_operation.h"
#include "document/status_texts.h"
#include "grid/grid_view.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace quorvane {

namespace {

const QString kObjectError = QStringLiteral("Object Error.");
const QString kFileCountError = QStringLiteral("File Count Error.");

} // namespace

ExtractionCommand::ExtractionCommand(EditorContext& context)
    : context_(context), action_(createAction(context, "KEY_extract", QStringLiteral("Extract KEY Data(&E)...")))
{
    runOnShownTable(context_, action_, [this] { run(); });
}

void ExtractionCommand::run()
{
    const FileDialogResult chosen = context_.modal.fileDialog(objectFileDialog(FileDialogKind::Open));
    if (chosen.accepted)
        extractFrom(chosen.path);
}

void ExtractionCommand::drop(const QMimeData* data)
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

void ExtractionCommand::extractFrom(const QString& path)
{
    showStatus(context_, QString());
    const QString label = QStringLiteral("Extracting KEY data from %1").arg(QFileInfo(path).fileName());
    const KeyDataResult result = SetKeyData(
        context_.document.table, path, [this] { return context_.modal.startAddress(); },
        [this, &label](qint64 done, qint64 total) { return context_.modal.progress(label, done, total); });
    context_.modal.progressFinished();

    switch (result.status) {
    case KeyDataStatus::Extracted:
        context_.document.table = result.table;
        (void)context_.history.record(QStringLiteral("Extract KEY data"));
        context_.state.Modified = true;
        context_.updateCaption();
        showStatus(context_, QStringLiteral("Read key data from %1: %2")
                                 .arg(QFileInfo(path).fileName(), recordCountText(result.recordsRead)));
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
