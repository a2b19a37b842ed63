#pragma once

#include <QString>
#include <QtGlobal>

namespace quorvane {

// The state of the document beside its table: whether it differs from its
// file, and which file that is. One instance lives in the editor session.
struct EditorState {
    bool Modified = false;
    QString fileName; // the document's file, shown in the file-name field; empty for a new one
    // Save may write `fileName` without asking: the document was saved there,
    // or read from it in the format its name writes.
    bool savesInPlace = false;
};

} // namespace quorvane
