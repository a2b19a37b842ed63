// Undo and redo over random edits, row operations and address-size changes,
// compared after every step with the states the document went through.

#include "document/document_history.h"
#include "document/record_rows.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <random>

namespace quorvane {
namespace {

struct State {
    RecordTable table;
    AddressSize mode;
    bool operator==(const State&) const = default;
};

State stateOf(const Document& document) { return {document.table, document.mode.current()}; }

// One random change as the window makes it: a keystroke into a field (its
// merge key names the field), a row operation, or an address-size change.
int changeAtRandom(Document& document, std::mt19937& random)
{
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    const Slot slot = pick(4) == 0 ? kRecordCount - 1 - pick(3) : pick(6);
    KeyRecord& record = document.table[slot];
    switch (pick(8)) {
    case 0: record.KeyTitle += QChar(u'a' + pick(26)); return slot * 8;
    case 1: record.KeyData += QStringLiteral("0123456789ABCDEF").at(pick(16)); return slot * 8 + 4;
    case 2: record.KeyAddrSet = true; record.KeyAddrLow = qint16(random()); return slot * 8 + 1;
    case 3: (void)insertBlankRecords(document.table, slot); return -1;
    case 4: (void)deleteRecords(document.table, {.first = slot, .count = 1 + pick(2)}); return -1;
    case 5: (void)(pick(2) ? moveRecordsUp : moveRecordsDown)(document.table, {.first = slot, .count = 1}); return -1;
    case 6: (void)duplicateRecords(document.table, {.first = slot, .count = 1}); return -1;
    default: document.mode.set(std::array{AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32}[pick(3)]); return -1;
    }
}

TEST(DocumentHistory, UndoAndRedoGoThroughEveryEarlierStateExactly)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Document document;
        DocumentHistory history(document);
        std::vector<State> states{stateOf(document)}; // states[i]: the document at stack index i
        State saved = states.front();
        auto expectAt = [&](int index) {
            ASSERT_EQ(history.stack().index(), index);
            ASSERT_TRUE(stateOf(document) == states[std::size_t(index)]);
            for (Slot s = 0; s < kSlotCount; ++s)
                ASSERT_EQ(history.changedSinceSaved(s), document.table[s] != saved.table[s]) << s;
        };
        for (int step = 0; step < 150; ++step) {
            const int at = history.stack().index();
            const unsigned what = random() % 10;
            if (what < 2) {
                what == 0 ? history.undo() : history.redo();
                expectAt(what == 0 ? std::max(at - 1, 0) : std::min(at + 1, history.stack().count()));
                continue;
            }
            const int mergeKey = changeAtRandom(document, random);
            const State changed = stateOf(document);
            if (what == 2) { // not recorded yet: undo makes it a step first, then takes it back
                history.undo();
                const bool pushed = !(changed == states[std::size_t(at)]);
                if (pushed) {
                    states.resize(std::size_t(at) + 1);
                    states.push_back(changed);
                }
                expectAt(pushed ? at : std::max(at - 1, 0));
                continue;
            }
            if (what == 3) {
                history.markSaved();
                saved = changed;
            } else {
                (void)history.record(QStringLiteral("step"), mergeKey);
            }
            states.resize(std::size_t(history.stack().count()) + 1);
            states[std::size_t(history.stack().index())] = changed;
            expectAt(history.stack().index());
            ASSERT_TRUE(!history.stack().isClean() || changed == saved);
        }
        for (int index = history.stack().index(); index > 0; --index) {
            history.undo();
            expectAt(index - 1);
        }
        for (int index = 0; index < history.stack().count(); ++index) {
            history.redo();
            expectAt(index + 1);
        }
    }
}

} // namespace
} // namespace quorvane
