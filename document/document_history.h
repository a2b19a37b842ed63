#pragma once

#include "core/document.h"

#include <QObject>
#include <QUndoStack>

namespace quorvane {

// The steps that brought the document to where it stands, for undo and
// redo. A step holds each record it changed whole, before and after, and
// the address size before and after: at most 257 records, so the exact
// old state costs little and nothing has to be recomputed to go back.
//
// Whoever changes the document calls record() afterwards; the difference
// to the state the last step left becomes one step. So no operation needs
// to describe its own change, and a change that was not recorded at once
// (a write-back of the grid) is still caught by the next record().
class DocumentHistory : public QObject {
    Q_OBJECT
public:
    explicit DocumentHistory(Document& document, QObject* parent = nullptr);

    [[nodiscard]] QUndoStack& stack() { return stack_; }

    // What changed since the last step becomes one step named `text`.
    // Consecutive records with the same `mergeKey` (0 or more) form one
    // step, as the keystrokes of one field edit do. False when nothing
    // changed.
    bool record(const QString& text, int mergeKey = -1);
    // Ends the step being typed: the next keystroke starts a new one.
    void closeStep() { ++generation_; }
    void undo();
    void redo();

    // The document as it stands is the one in its file (opened or new):
    // no steps, nothing changed.
    void clear();
    // The document as it stands was saved: undoing back to here leaves
    // nothing changed.
    void markSaved();
    // The record in `slot` differs from the one last saved, opened or new.
    [[nodiscard]] bool changedSinceSaved(Slot slot) const;

signals:
    // An undo or redo has run (the stack's index and clean state are
    // already the new ones); whoever shows the document redraws.
    void restored();
    // The records that differ from the saved ones may be others now.
    void changedRecordsMoved();

private:
    friend class DocumentStep;
    struct RecordChange {
        Slot slot;
        KeyRecord before;
        KeyRecord after;
    };
    struct Change {
        std::vector<RecordChange> records;
        AddressSize modeBefore;
        AddressSize modeAfter;
    };
    void apply(const Change& change, bool forward);

    Document& document_;
    RecordTable recorded_; // the table as the last step left it
    AddressSize recordedMode_;
    RecordTable saved_;
    int generation_ = 0; // steps of different generations never merge
    QUndoStack stack_;
};

} // namespace quorvane
