#include "document_dialogs.h"

namespace quorvane {

FileDialogRequest documentDialog(FileDialogKind kind, const Settings& settings)
{
    FileDialogRequest request;
    request.kind = kind;
    request.filter = kind == FileDialogKind::Save ? kDocumentSaveFilter : kDocumentFileFilter;
    request.filterIndex = settings.FilterIndexSetting;
    if (kind == FileDialogKind::Open) {
        request.fileMustExist = true;
    } else {
        request.initialFileName = settings.LastPath;
        request.confirmOverwrite = true;
    }
    return request;
}

FileDialogRequest objectFileDialog(FileDialogKind kind, const QString& initialName)
{
    FileDialogRequest request;
    request.kind = kind;
    request.filter = kObjectFileFilter;
    request.filterIndex = 0;
    request.initialFileName = initialName;
    request.fileMustExist = kind == FileDialogKind::Open;
    request.confirmOverwrite = kind == FileDialogKind::Save;
    return request;
}

} // namespace quorvane
