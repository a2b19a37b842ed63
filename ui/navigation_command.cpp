#include "navigation_command.h"

#include "grid/grid_view.h"
#include "grid/navigation_targets.h"
#include "grid/record_search.h"

#include <QAction>
#include <QWidget>

namespace quorvane {

namespace {

MessageRequest noteRequest(const QString& text, const QString& title)
{
    return {text, title, MessageButtons::Ok, MessageIcon::Exclamation, MessageResult::Ok, {}};
}

QAction* separator(EditorContext& context)
{
    auto* action = new QAction(&context.window);
    action->setSeparator(true);
    return action;
}

const QString kGoToLineTitle = QStringLiteral("Go to Line");
const QString kFindTitle = QStringLiteral("Find Record");

} // namespace

NavigationCommand::NavigationCommand(EditorContext& context) : context_(context)
{
    auto add = [this](const char* name, const QString& caption, const QKeySequence& key, auto run) {
        QAction* action = createAction(context_, name, caption, key);
        QObject::connect(action, &QAction::triggered, &context_.window, run);
        actions_ << action;
    };
    add("GoToFirstByte", QStringLiteral("Go to First Byte(&B)"), QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { inFocusedRow([this](int row) { context_.grid.goToRecordEdge(row, RecordEdge::First); }); });
    add("GoToLastByte", QStringLiteral("Go to Last Byte(&Y)"), QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { inFocusedRow([this](int row) { context_.grid.goToRecordEdge(row, RecordEdge::Last); }); });
    add("GoToTitle", QStringLiteral("Go to Title(&T)"), QKeySequence(Qt::CTRL | Qt::Key_T),
        [this] { inFocusedRow([this](int row) { context_.grid.goToTitle(row); }); });
    actions_ << separator(context_);
    add("GoToLine", QStringLiteral("Go to Line(&G)..."), QKeySequence(Qt::CTRL | Qt::Key_G), [this] { goToLine(); });
    actions_ << separator(context_);
    add("FindRecord", QStringLiteral("Find Record(&F)..."), QKeySequence(Qt::CTRL | Qt::Key_F), [this] { find(); });
    add("FindNext", QStringLiteral("Find Next(&N)"), QKeySequence(Qt::Key_F3), [this] { findNext(); });
    context_.grid.leaveKeysToWindow({QKeySequence(Qt::CTRL | Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_End)},
                                    WindowKeys::DataCells);
}

void NavigationCommand::inFocusedRow(const std::function<void(int row)>& jump)
{
    if (const std::optional<int> row = context_.grid.focusedRow())
        jump(*row);
}

Slot NavigationCommand::currentSlot() const
{
    const GridLayout& layout = context_.grid.layout();
    const std::optional<int> row = context_.grid.focusedRow();
    return row ? layout.slotOfRow(*row) : layout.topSlot();
}

void NavigationCommand::goToLine()
{
    const std::optional<QString> answer = context_.modal.askText(
        {kGoToLineTitle, QStringLiteral("Line number (1 to 256):"), QString::number(lineNumberOf(currentSlot()))});
    if (!answer)
        return;
    const std::optional<int> line = lineNumberFromText(*answer);
    if (!line) {
        (void)context_.modal.messageBox(noteRequest(QStringLiteral("Enter a line number from 1 to 256."), kGoToLineTitle));
        return;
    }
    context_.grid.showRecord(*line - 1, RecordField::Address);
}

void NavigationCommand::find()
{
    const std::optional<QString> query =
        context_.modal.askText({kFindTitle, QStringLiteral("Title or address:"), query_});
    if (!query || query->isEmpty())
        return;
    query_ = *query;
    findNext();
}

void NavigationCommand::findNext()
{
    if (query_.isEmpty())
        return find();
    const Document& document = context_.document;
    const std::optional<RecordMatch> match =
        findRecord(document.table, document.mode.current(), query_, currentSlot() + 1);
    if (!match) {
        (void)context_.modal.messageBox(noteRequest(QStringLiteral("No record matches \"%1\".").arg(query_), kFindTitle));
        return;
    }
    context_.grid.showRecord(match->slot, match->field);
}

} // namespace quorvane
