#include "record_range_status.h"

#include "document/document_history.h"
#include "document/status_texts.h"
#include "grid/grid_view.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QStatusBar>

namespace quorvane {

RecordRangeStatus::RecordRangeStatus(EditorContext& context, QMainWindow& window)
    : QObject(&window), document_(context.document), grid_(context.grid), label_(new QLabel(&window))
{
    label_->setObjectName(QStringLiteral("recordRange"));
    window.statusBar()->addPermanentWidget(label_);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    connect(grid_.recordScroll(), &QScrollBar::valueChanged, this, [this] { refresh(); });
    // An undo, a redo or a row command changes records under the focus.
    connect(&context.history.stack(), &QUndoStack::indexChanged, this, [this] { refresh(); });
}

void RecordRangeStatus::focusMoved(QWidget* now)
{
    if (now == nullptr || !grid_.isAncestorOf(now))
        return;
    if (const std::optional<int> row = grid_.focusedRow()) {
        row_ = *row;
        refresh();
    }
}

void RecordRangeStatus::refresh()
{
    if (row_ < 0)
        return;
    if (const Slot slot = grid_.layout().slotOfRow(row_); slot < kRecordCount)
        label_->setText(recordRangeText(document_, slot));
}

} // namespace quorvane
