#pragma once

#include "editor_context.h"

namespace quorvane {

// The filter of both document dialogs; its entries are numbered 1..4 in the
// filter index the settings keep.
inline const QString kDocumentFileFilter =
    QStringLiteral("KEY File(*.KEY)|*.KEY|ZTV File(*.ZTV)|*.ZTV|Template File(*.639)|*.639|All File(*.*)|*.*");

// "File Save(&S)..." (FileSave_Click): the save-time sequence, the save
// dialog, then the writer chosen by the name. New, End and Open call it
// when the user answers Yes to the unsaved-changes prompt.
class SaveCommand {
public:
    explicit SaveCommand(EditorContext& context) : context_(context) {}

    // True when the file was written; the document is then unmodified.
    // Refused, cancelled or failed saves leave Modified as it was.
    bool run();

private:
    EditorContext& context_;
};

// Asks whether a modified document should be saved before it is given up
// (the unsaved-changes prompt of New, End and Open). True when the caller
// may go on: nothing was modified, the user said No, or the save succeeded.
[[nodiscard]] bool mayGiveUpDocument(EditorContext& context, SaveCommand& save);

// "File Open(&O)..." (FileOpen_Click).
class OpenCommand {
public:
    OpenCommand(EditorContext& context, SaveCommand& save) : context_(context), save_(save) {}

    void run();
    // Opens `path` as the command does after its dialog: also the file named
    // on the command line at start-up.
    void openFile(const QString& path);

private:
    EditorContext& context_;
    SaveCommand& save_;
};

} // namespace quorvane
