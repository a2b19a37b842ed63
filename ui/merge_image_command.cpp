#include "merge_image_command.h"

#include "document_dialogs.h"
#include "message_boxes.h"

#include "document/document_history.h"
#include "document/image_merge_operation.h"
#include "document/save_operation.h"
#include "document/status_texts.h"
#include "grid/grid_view.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane {

namespace {

// "fw.s19" -> "fw-keys.s19" beside it: a first suggestion that never
// overwrites the image itself.
QString suggestedOutput(const QString& image)
{
    const QFileInfo info(image);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-keys") + suffix);
}

// The warning on key bytes where the image has no data comes after the
// pass that found them: their progress box closes first.
class OutsideDataQuestions final : public Questions {
public:
    explicit OutsideDataQuestions(EditorContext& context) : context_(context), questions_(context) {}

    [[nodiscard]] bool confirmWarning(const QString& text) override
    {
        context_.modal.progressFinished();
        return questions_.confirmWarning(text);
    }

private:
    EditorContext& context_;
    ModalQuestions questions_;
};

} // namespace

MergeImageCommand::MergeImageCommand(EditorContext& context)
    : context_(context),
      action_(createAction(context, "KEY_merge", QStringLiteral("Write KEY Data into Image...")))
{
    runOnShownTable(context_, action_, [this] { run(); });
}

void MergeImageCommand::run()
{
    showStatus(context_, QString());
    ModalQuestions questions(context_);
    const SaveResult prepared = prepareKeyData(context_.document, context_.settings.SortOn != 0, questions);
    (void)context_.history.record(QStringLiteral("Save checks"));
    context_.grid.redraw();
    if (prepared.status == SaveStatus::Refused)
        return showError(context_.modal, prepared.message);
    if (!prepared.saved())
        return;

    const FileDialogResult image = context_.modal.fileDialog(objectFileDialog(FileDialogKind::Open));
    if (!image.accepted)
        return;
    const FileDialogResult output =
        context_.modal.fileDialog(objectFileDialog(FileDialogKind::Save, suggestedOutput(image.path)));
    if (!output.accepted)
        return;

    const QString label = QStringLiteral("Writing KEY data into %1").arg(QFileInfo(image.path).fileName());
    OutsideDataQuestions outsideQuestions(context_);
    ImageMergeChoices choices;
    choices.outside = KeyBytesOutside::Ask;
    choices.questions = &outsideQuestions;
    choices.progress = [this, &label](qint64 done, qint64 total) { return context_.modal.progress(label, done, total); };
    const ImageOperationResult result = writeKeyDataIntoImage(
        context_.document, image.path, output.path, [this] { return context_.modal.startAddress(); }, choices);
    context_.modal.progressFinished();

    if (result.status == ImageOperationStatus::Failed)
        return showError(context_.modal, result.message);
    if (result.status != ImageOperationStatus::Done)
        return;
    showStatus(context_, QStringLiteral("Wrote %1 into %2")
                             .arg(recordCountText(result.recordsWritten), QFileInfo(output.path).fileName()));
}

} // namespace quorvane
