#include "row_commands.h"

#include "message_boxes.h"

#include "document/document_history.h"
#include "grid/grid_view.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace quorvane {

namespace {

QKeySequence ctrlShift(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | key);
}

} // namespace

RowCommands::RowCommands(EditorContext& context) : context_(context)
{
    add("RowInsert", QStringLiteral("Insert Row(&I)"), ctrlShift(Qt::Key_I), [this] {
        // As many blank records as are selected, as spreadsheets insert rows.
        edit(QStringLiteral("Insert row"), [](RecordTable& table, RowRange rows) {
            return insertBlankRecords(table, rows.first, rows.count);
        });
    });
    add("RowDelete", QStringLiteral("Delete Row(&D)"), ctrlShift(Qt::Key_Delete),
        [this] { edit(QStringLiteral("Delete row"), deleteRecords); });
    add("RowUp", QStringLiteral("Move Row Up(&P)"), ctrlShift(Qt::Key_PageUp),
        [this] { edit(QStringLiteral("Move row up"), moveRecordsUp, true); });
    add("RowDown", QStringLiteral("Move Row Down(&W)"), ctrlShift(Qt::Key_PageDown),
        [this] { edit(QStringLiteral("Move row down"), moveRecordsDown, true); });
    add("RowDuplicate", QStringLiteral("Duplicate Row(&L)"), ctrlShift(Qt::Key_D),
        [this] { edit(QStringLiteral("Duplicate row"), duplicateRecords); });
    add("RowCopy", QStringLiteral("Copy Row(&C)"), ctrlShift(Qt::Key_C), [this] { copy(); });
    add("RowCut", QStringLiteral("Cut Row(&X)"), ctrlShift(Qt::Key_X), [this] {
        copy();
        edit(QStringLiteral("Cut row"), deleteRecords);
    });
    add("RowPaste", QStringLiteral("Paste Rows(&V)"), ctrlShift(Qt::Key_V), [this] { paste(); });
}

void RowCommands::add(const char* objectName, const QString& caption, const QKeySequence& shortcut,
                      std::function<void()> run)
{
    QAction* action = createAction(context_, objectName, caption, shortcut);
    context_.grid.leaveKeysToWindow({shortcut}, WindowKeys::EveryField);
    runOnShownTable(context_, action, std::move(run));
    actions_ << action;
}

RowRange RowCommands::currentRows() const
{
    const auto [first, last] = context_.grid.currentRows();
    return RowRange{.first = first, .count = last - first + 1};
}

// One undo step; the focus follows the record it stood on.
void RowCommands::edit(const QString& step, const RowEdit& operation, bool follow)
{
    const Slot current = context_.grid.currentSlot();
    const RowRange rows = currentRows();
    const RowEditResult result = operation(context_.document.table, rows);
    if (!result.done())
        return showError(context_.modal, result.error);
    if (context_.history.record(step)) {
        context_.state.Modified = true;
        context_.updateCaption();
    }
    context_.grid.redraw();
    if (follow) {
        const int delta = result.focus - rows.first;
        context_.grid.moveRowSelection(delta);
        context_.grid.focusSlot(current + delta);
    } else {
        context_.grid.clearRowSelection();
        context_.grid.focusSlot(result.focus);
    }
}

void RowCommands::copy()
{
    QGuiApplication::clipboard()->setText(
        recordsToTsv(context_.document.table, currentRows(), context_.document.mode.current()));
}

// The records go in above the current row, so nothing already in the table
// is overwritten; a text that is not records, or too many of them for the
// empty lines at the end, changes nothing.
void RowCommands::paste()
{
    const TsvRecords pasted =
        recordsFromTsv(QGuiApplication::clipboard()->text(), context_.document.mode.current());
    if (!pasted.ok())
        return showError(context_.modal, pasted.error);
    edit(QStringLiteral("Paste rows"), [&pasted](RecordTable& table, RowRange rows) {
        return insertRecords(table, rows.first, pasted.records);
    });
}

} // namespace quorvane
