#pragma once

#include "editor_context.h"

#include <QObject>

class QLabel;
class QMainWindow;

namespace quorvane {

class GridView;

// A field at the right of the status bar that shows where the record of the
// grid row holding the focus lies ("Line 3: 08000000-0800000F"). It follows
// the focus into a row, the grid's scrolling and the steps of the undo
// history (undo, redo and row commands change records under the focus),
// nothing else, so that typing costs nothing; the outcomes of commands
// stand at its left.
class RecordRangeStatus final : public QObject {
public:
    RecordRangeStatus(EditorContext& context, QMainWindow& window);

private:
    void focusMoved(QWidget* now);
    void refresh();

    // Not the context: the window's members go before its child objects.
    const Document& document_;
    GridView& grid_;
    QLabel* label_; // recordRange
    int row_ = -1;  // the grid row last focused, -1 before any
};

} // namespace quorvane
