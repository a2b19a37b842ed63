#include "file_commands.h"

#include "message_boxes.h"

#include "document/document_files.h"
#include "document/save_operation.h"
#include "grid/grid_view.h"

namespace quorvane {

namespace {

FileDialogRequest documentDialog(FileDialogKind kind, const Settings& settings)
{
    FileDialogRequest request;
    request.kind = kind;
    request.filter = kDocumentFileFilter;
    request.filterIndex = settings.FilterIndexSetting;
    if (kind == FileDialogKind::Open) {
        request.fileMustExist = true;
    } else {
        request.initialFileName = settings.LastPath;
        request.confirmOverwrite = true;
    }
    return request;
}

// The result of a step that stopped the save: the grid shows what the steps
// before it changed, then the error, if any, is shown.
bool stopped(EditorContext& context, const SaveResult& result)
{
    context.grid.redraw();
    if (result.status == SaveStatus::Refused)
        showError(context.modal, result.message);
    return false;
}

} // namespace

bool SaveCommand::run()
{
    ModalQuestions questions(context_);
    const bool sortOn = context_.settings.SortOn != 0;
    if (const SaveResult result = prepareSave(context_.document, sortOn, questions); !result.saved())
        return stopped(context_, result);
    context_.grid.redraw();

    const FileDialogResult chosen = context_.modal.fileDialog(documentDialog(FileDialogKind::Save, context_.settings));
    if (!chosen.accepted)
        return false;
    context_.settings.FilterIndexSetting = qint16(chosen.filterIndex);

    if (const SaveResult result = writeDocumentFile(context_.document, chosen.path, questions); !result.saved())
        return stopped(context_, result);

    context_.settings.LastPath = chosen.path;
    context_.showFileName(chosen.path);
    context_.state.Modified = false;
    context_.updateCaption();
    context_.grid.redraw();
    return true;
}

bool mayGiveUpDocument(EditorContext& context, SaveCommand& save)
{
    if (!context.state.Modified)
        return true;
    switch (UnsavedPrompt(context.modal, context.state.fileName)) {
    case MessageResult::No:
        return true;
    case MessageResult::Yes:
        return save.run();
    default:
        return false;
    }
}

void OpenCommand::run()
{
    if (!mayGiveUpDocument(context_, save_))
        return;
    const FileDialogResult chosen = context_.modal.fileDialog(documentDialog(FileDialogKind::Open, context_.settings));
    if (!chosen.accepted)
        return;
    context_.settings.FilterIndexSetting = qint16(chosen.filterIndex);
    openFile(chosen.path);
}

void OpenCommand::openFile(const QString& path)
{
    const OpenResult result = openDocument(path);
    if (!result.opened()) {
        // The file was read into a document of its own: the one being
        // edited, its name and its modified flag stay as they were.
        showError(context_.modal, result.message);
        return;
    }
    adoptDocument(context_.document, result.document);
    context_.grid.resetView();
    context_.state.Modified = false;
    context_.updateCaption();
    context_.showFileName(path);
}

} // namespace quorvane
