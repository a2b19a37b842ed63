#pragma once

#include "modal_ui.h"

#include "core/settings.h"

namespace quorvane {

// The filter of File Open's dialog; its entries are numbered 1..4 in the
// filter index the settings keep.
inline const QString kDocumentFileFilter =
    QStringLiteral("KEY File(*.KEY)|*.KEY|ZTV File(*.ZTV)|*.ZTV|Template File(*.639)|*.639|All File(*.*)|*.*");
// File Save's filter: the same entries, then Intel HEX as 5, which only a
// save can write. Appended so that the stored indexes keep their meaning.
inline const QString kDocumentSaveFilter = kDocumentFileFilter + QStringLiteral("|Intel HEX (*.hex)|*.hex");
// The filter of the firmware image dialogs of extraction and merge.
inline const QString kObjectFileFilter = QStringLiteral("Object File(*.*)|*.*");

// File Open's and File Save's dialog: the documents' filter at the index the
// settings keep; a save starts from the last path.
[[nodiscard]] FileDialogRequest documentDialog(FileDialogKind kind, const Settings& settings);
// A firmware image to read (kind Open) or to write: the documents' filter
// index is left alone.
[[nodiscard]] FileDialogRequest objectFileDialog(FileDialogKind kind, const QString& initialName = {});

} // namespace quorvane
