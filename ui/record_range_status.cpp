#include "record_range_status.h"

#include "document/status_texts.h"
#include "grid/grid_view.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>

namespace quorvane {

namespace {

// The grid row of one of its controls, known by the object names the grid
// gives them: "Text_address_3" is in row 3, "Text_data_37" in row 2.
int rowOfControl(const QWidget* control)
{
    static const QRegularExpression field(QStringLiteral("^(Text_address|Text_size|Combo_type|Text_title|Text_data)_(\\d+)$"));
    const QRegularExpressionMatch match = field.match(control->objectName());
    if (!match.hasMatch())
        return -1;
    const int index = match.captured(2).toInt();
    return match.captured(1) == QLatin1String("Text_data") ? index / GridView::kColumns : index;
}

} // namespace

RecordRangeStatus::RecordRangeStatus(EditorContext& context, QMainWindow& window)
    : QObject(&window), document_(context.document), grid_(context.grid), label_(new QLabel(&window))
{
    label_->setObjectName(QStringLiteral("recordRange"));
    window.statusBar()->addPermanentWidget(label_);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    connect(grid_.recordScroll(), &QScrollBar::valueChanged, this, [this] { refresh(); });
}

void RecordRangeStatus::focusMoved(QWidget* now)
{
    if (now == nullptr || !grid_.isAncestorOf(now))
        return;
    if (const int row = rowOfControl(now); row >= 0 && row < GridView::kRows) {
        row_ = row;
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
