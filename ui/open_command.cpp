#include "open_command.h"

#include "document_dialogs.h"
#include "message_boxes.h"
#include "unsaved_changes_prompt.h"

#include "document/document_files.h"
#include "document/status_texts.h"
#include "document/document_history.h"
#include "grid/grid_view.h"

namespace quorvane {

OpenCommand::OpenCommand(EditorContext& context, SaveCommand& save)
    : context_(context), save_(save),
      action_(createAction(context, "FileOpen", QStringLiteral("File Open(&O)..."), Qt::CTRL | Qt::Key_O))
{
    runOnShownTable(context_, action_, [this] { run(); });
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

OpenStatus OpenCommand::openFile(const QString& path)
{
    const OpenResult result = openDocument(path);
    if (!result.opened()) {
        // The file was read into a document of its own: the one being
        // edited, its name and its modified flag stay as they were.
        showError(context_.modal, result.message, result.details);
        return result.status;
    }
    // A file opened is a fresh start, as the program's own: the caret goes
    // to line 1's address, not into a row that now shows another record.
    // It moves before the document does, so whatever rules the field being
    // left runs, it runs on the document being given up.
    context_.grid.showRecord(0, RecordField::Address);
    adoptDocument(context_.document, result.document);
    context_.history.clear();
    context_.grid.resetView();
    context_.setCurrentFile(path, true);
    context_.state.savesInPlace = writesBackAsRead(path);
    showStatus(context_, openedFileText(path, context_.document.table));
    return result.status;
}

} // namespace quorvane
