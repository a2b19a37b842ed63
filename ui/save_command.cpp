#include "save_command.h"

#include "document_dialogs.h"
#include "message_boxes.h"

#include "document/document_files.h"
#include "document/document_history.h"
#include "document/save_operation.h"
#include "document/status_texts.h"
#include "grid/grid_view.h"

namespace quorvane {

namespace {

// What the steps of a save (sort, cut, fit) changed is one undo step.
const QString kSaveStepsText = QStringLiteral("Save checks");

// The result of a step that stopped the save: the grid shows what the steps
// before it changed, then the error, if any, is shown.
bool stopped(EditorContext& context, const SaveResult& result)
{
    (void)context.history.record(kSaveStepsText);
    context.grid.redraw();
    if (result.status == SaveStatus::Refused)
        showError(context.modal, result.message);
    return false;
}

} // namespace

SaveCommand::SaveCommand(EditorContext& context)
    : context_(context),
      saveAction_(createAction(context, "Save", QStringLiteral("Save(&V)"), Qt::CTRL | Qt::Key_S)),
      fileSaveAction_(createAction(context, "FileSave", QStringLiteral("File Save(&S)..."),
                                   Qt::CTRL | Qt::SHIFT | Qt::Key_S))
{
    runOnShownTable(context_, saveAction_, [this] { (void)saveInPlace(); });
    runOnShownTable(context_, fileSaveAction_, [this] { (void)run(); });
}

bool SaveCommand::run()
{
    return saveTo(QString());
}

bool SaveCommand::saveInPlace()
{
    return saveTo(context_.state.savesInPlace ? context_.state.fileName : QString());
}

bool SaveCommand::saveTo(QString path)
{
    // An earlier outcome must not stand for this save.
    showStatus(context_, QString());
    ModalQuestions questions(context_);
    const bool sortOn = context_.settings.SortOn != 0;
    if (const SaveResult result = prepareSave(context_.document, sortOn, questions); !result.saved())
        return stopped(context_, result);
    (void)context_.history.record(kSaveStepsText);
    context_.grid.redraw();

    if (path.isEmpty()) {
        const FileDialogResult chosen =
            context_.modal.fileDialog(documentDialog(FileDialogKind::Save, context_.settings));
        if (!chosen.accepted)
            return false;
        context_.settings.FilterIndexSetting = qint16(chosen.filterIndex);
        path = chosen.path;
    }

    if (const SaveResult result = writeDocumentFile(context_.document, path, questions); !result.saved())
        return stopped(context_, result);

    context_.settings.LastPath = path;
    // An Intel HEX file is written, not read: File Open would refuse it, so
    // Open Recent does not offer it.
    context_.setCurrentFile(path, writesBackAsRead(path));
    context_.state.savesInPlace = true;
    context_.grid.redraw();
    showStatus(context_, savedFileText(path, context_.document.table));
    return true;
}

} // namespace quorvane
