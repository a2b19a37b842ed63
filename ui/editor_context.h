#pragma once

#include "modal_ui.h"

#include "core/document.h"
#include "core/editor_state.h"
#include "core/settings.h"
#include "document/questions.h"

#include <functional>

class QWidget;

namespace quorvane {

class DocumentHistory;
class GridView;

// What the editor edits and keeps: the one document, its state and the
// settings. Whoever starts the window owns it, and it outlives the window.
struct EditorSession {
    Document document;
    EditorState state;
    Settings settings;
};

// What the window's commands share: the one document and its state, the
// settings, the grid that shows the document, the modal seam, and the few
// reactions of the window itself. Each command is a small unit over this,
// so the window class does not become the place where every command lives.
struct EditorContext {
    QWidget& window;
    ModalUi& modal;
    Document& document;
    EditorState& state;
    Settings& settings;
    GridView& grid;
    // Follows the modified flag in the caption (TitileSet).
    std::function<void()> updateCaption;
    // The document now is the file `name` (empty for a new one) as it stands
    // on disk: the file-name field shows it, nothing is modified, and the
    // caption says so. Open Recent offers it when File Open reads it back.
    std::function<void(const QString& name, bool opensAgain)> setCurrentFile;
    // Every change to the document becomes a step of it once made.
    DocumentHistory& history;
};

// Answers a document operation's warnings with WARNING boxes, after the
// grid has been redrawn so that the user sees what the question is about.
class ModalQuestions : public Questions {
public:
    explicit ModalQuestions(EditorContext& context) : context_(context) {}
    [[nodiscard]] bool confirmWarning(const QString& text) override;

private:
    EditorContext& context_;
};

} // namespace quorvane
