#include "merge_image_command.h"

#include "message_boxes.h"

#include "document/image_merge_operation.h"
#include "document/save_operation.h"
#include "grid/grid_view.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane {

namespace {

const QString kImageFilter = QStringLiteral("Object File(*.*)|*.*");

FileDialogRequest imageDialog(FileDialogKind kind, const QString& initialName)
{
    FileDialogRequest request;
    request.kind = kind;
    request.filter = kImageFilter;
    request.filterIndex = 0; // the documents' filter index is left alone
    request.initialFileName = initialName;
    request.fileMustExist = kind == FileDialogKind::Open;
    request.confirmOverwrite = kind == FileDialogKind::Save;
    return request;
}

// "fw.s19" -> "fw-keys.s19" beside it: a first suggestion that never
// overwrites the image itself.
QString suggestedOutput(const QString& image)
{
    const QFileInfo info(image);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-keys") + suffix);
}

} // namespace

void MergeImageCommand::run()
{
    ModalQuestions questions(context_);
    const SaveResult prepared = prepareKeyData(context_.document, context_.settings.SortOn != 0, questions);
    context_.grid.redraw();
    if (prepared.status == SaveStatus::Refused)
        return showError(context_.modal, prepared.message);
    if (!prepared.saved())
        return;

    const FileDialogResult image = context_.modal.fileDialog(imageDialog(FileDialogKind::Open, QString()));
    if (!image.accepted)
        return;
    const FileDialogResult output =
        context_.modal.fileDialog(imageDialog(FileDialogKind::Save, suggestedOutput(image.path)));
    if (!output.accepted)
        return;

    const QString label = QStringLiteral("Writing KEY data into %1").arg(QFileInfo(image.path).fileName());
    ImageMergeChoices choices;
    choices.progress = [this, &label](qint64 done, qint64 total) { return context_.modal.progress(label, done, total); };
    const ImageOperationResult result = writeKeyDataIntoImage(
        context_.document, image.path, output.path, [this] { return context_.modal.startAddress(); }, choices);
    context_.modal.progressFinished();

    if (result.status == ImageOperationStatus::Failed)
        return showError(context_.modal, result.message);
    // Key bytes where the image had no data usually mean a wrong address:
    // the image is written, and the user is told which records went there.
    if (result.status == ImageOperationStatus::Done && !result.lines.isEmpty()) {
        MessageRequest notes = warningBoxRequest(result.lines.join(QStringLiteral("\r\n")));
        notes.buttons = MessageButtons::Ok;
        (void)context_.modal.messageBox(notes);
    }
}

} // namespace quorvane
