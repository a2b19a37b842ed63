#include "document_history.h"

#include <QUndoCommand>

namespace quorvane {

class DocumentStep final : public QUndoCommand {
public:
    DocumentStep(DocumentHistory& history, DocumentHistory::Change change, const QString& text, int mergeKey,
                 int generation)
        : QUndoCommand(text), history_(history), change_(std::move(change)), mergeKey_(mergeKey),
          generation_(generation)
    {
    }

    [[nodiscard]] int id() const override { return mergeKey_; }

    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const DocumentStep*>(other);
        if (next->generation_ != generation_)
            return false;
        for (const DocumentHistory::RecordChange& later : next->change_.records) {
            auto it = std::find_if(change_.records.begin(), change_.records.end(),
                                   [&](const auto& earlier) { return earlier.slot == later.slot; });
            if (it != change_.records.end())
                it->after = later.after;
            else
                change_.records.push_back(later);
        }
        change_.modeAfter = next->change_.modeAfter;
        return true;
    }

    // Pushing a step records a change already made.
    void redo() override
    {
        if (!done_)
            done_ = true;
        else
            history_.apply(change_, true);
    }
    void undo() override { history_.apply(change_, false); }

private:
    DocumentHistory& history_;
    DocumentHistory::Change change_;
    int mergeKey_;
    int generation_;
    bool done_ = false;
};

DocumentHistory::DocumentHistory(Document& document, QObject* parent)
    : QObject(parent), document_(document), recorded_(document.table),
      recordedMode_(document.mode.current()), saved_(document.table)
{
}

bool DocumentHistory::record(const QString& text, int mergeKey)
{
    Change change{.records = {}, .modeBefore = recordedMode_, .modeAfter = document_.mode.current()};
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        if (document_.table[slot] != recorded_[slot]) {
            change.records.push_back({slot, recorded_[slot], document_.table[slot]});
            recorded_[slot] = document_.table[slot];
        }
    }
    if (change.records.empty() && change.modeBefore == change.modeAfter)
        return false;
    recordedMode_ = change.modeAfter;
    stack_.push(new DocumentStep(*this, std::move(change), text, mergeKey, generation_));
    emit changedRecordsMoved();
    return true;
}

// A change not yet recorded is a step of its own, so that undo takes back
// exactly what the user last did.
void DocumentHistory::undo()
{
    (void)record(QStringLiteral("Edit"));
    closeStep();
    stack_.undo();
    emit restored();
    emit changedRecordsMoved();
}

void DocumentHistory::redo()
{
    if (record(QStringLiteral("Edit")))
        return; // the redo steps are gone with the new one
    closeStep();
    stack_.redo();
    emit restored();
    emit changedRecordsMoved();
}

void DocumentHistory::apply(const Change& change, bool forward)
{
    for (const RecordChange& record : change.records) {
        const KeyRecord& value = forward ? record.after : record.before;
        document_.table[record.slot] = value;
        recorded_[record.slot] = value;
    }
    recordedMode_ = forward ? change.modeAfter : change.modeBefore;
    if (document_.mode.current() != recordedMode_)
        document_.mode.set(recordedMode_);
}

void DocumentHistory::clear()
{
    stack_.clear();
    recorded_ = document_.table;
    recordedMode_ = document_.mode.current();
    saved_ = document_.table;
    closeStep();
    emit changedRecordsMoved();
}

void DocumentHistory::markSaved()
{
    (void)record(QStringLiteral("Save"));
    saved_ = document_.table;
    stack_.setClean();
    closeStep();
    emit changedRecordsMoved();
}

bool DocumentHistory::changedSinceSaved(Slot slot) const
{
    return document_.table[slot] != saved_[slot];
}

} // namespace quorvane
