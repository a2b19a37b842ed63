#include "undo_command.h"

#include "document/document_history.h"
#include "grid/grid_view.h"

#include <QAction>
#include <QApplication>

namespace quorvane {

namespace {

int editKey(Slot slot, Field field)
{
    return slot * 8 + int(field);
}

QString fieldName(Field field)
{
    switch (field) {
    case Field::Title: return QStringLiteral("title");
    case Field::Address: return QStringLiteral("address");
    case Field::Size: return QStringLiteral("size");
    case Field::Type: return QStringLiteral("type");
    case Field::Data: return QStringLiteral("data");
    }
    return {};
}

} // namespace

UndoCommand::UndoCommand(EditorContext& context)
    : context_(context), undo_(createAction(context, "EditUndo", QStringLiteral("Undo(&U)"), Qt::CTRL | Qt::Key_Z)),
      redo_(createAction(context, "EditRedo", QStringLiteral("Redo(&R)")))
{
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    context_.grid.leaveKeysToWindow(undo_->shortcuts() + redo_->shortcuts(), WindowKeys::EveryField);

    DocumentHistory& history = context_.history;
    QUndoStack& stack = history.stack();
    undo_->setEnabled(stack.canUndo());
    redo_->setEnabled(stack.canRedo());
    QObject::connect(&stack, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    QObject::connect(&stack, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
    // Every keystroke is in the table already: the grid is not written back
    // first, as that cuts a record whose data runs past its size (as a file
    // may hold it). The cut would be the step undone, and the next undo
    // would cut it again, never reaching the user's own steps; a redo would
    // lose the steps to redo.
    // The status bar's last outcome ("Read key data from ...") would stand
    // for a change that is no longer there: it says what was taken back.
    QObject::connect(undo_, &QAction::triggered, &context_.window, [this, &history, &stack] {
        history.undo();
        showStep(QStringLiteral("Undone: %1"), stack.redoText());
    });
    QObject::connect(redo_, &QAction::triggered, &context_.window, [this, &history, &stack] {
        history.redo();
        showStep(QStringLiteral("Redone: %1"), stack.undoText());
    });

    context_.grid.setEditRecorder([this](Slot slot, Field field) { recordEdit(slot, field); });
    context_.grid.setChangedMarker([&history](Slot slot) { return history.changedSinceSaved(slot); });
    QObject::connect(&history, &DocumentHistory::changedRecordsMoved, &context_.grid, &GridView::markRows);
    QObject::connect(&history, &DocumentHistory::restored, &context_.window, [this] { showRestored(); });
    focusConnection_ = QObject::connect(qApp, &QApplication::focusChanged, &context_.window,
                                        [this](QWidget*, QWidget* now) { focusMoved(now); });
}

UndoCommand::~UndoCommand()
{
    QObject::disconnect(focusConnection_);
    context_.grid.setEditRecorder({});
    context_.grid.setChangedMarker({});
}

void UndoCommand::recordEdit(Slot slot, Field field)
{
    (void)context_.history.record(QStringLiteral("Edit %1 of line %2").arg(fieldName(field)).arg(lineNumberOf(slot)),
                                  editKey(slot, field));
}

// Typing in a field again after leaving it is a new edit; the data cells of
// one record are one field, as typing runs on from cell to cell.
void UndoCommand::focusMoved(const QWidget* now)
{
    const auto field = context_.grid.fieldOf(now);
    const int key = field ? editKey(field->first, field->second) : -1;
    if (key != focusedField_)
        context_.history.closeStep();
    focusedField_ = key;
}

void UndoCommand::showStep(const QString& form, const QString& step)
{
    if (!step.isEmpty())
        showStatus(context_, form.arg(step));
}

// The document is modified exactly when it is not as it was saved.
void UndoCommand::showRestored()
{
    context_.state.Modified = !context_.history.stack().isClean();
    context_.grid.redraw();
    context_.updateCaption();
}

} // namespace quorvane
