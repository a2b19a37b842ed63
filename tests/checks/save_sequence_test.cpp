#include "checks/save_checks.h"
#include "checks/save_sequence.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <array>
#include <random>

namespace quorvane {
namespace {

using namespace test;

// Answers every warning OK and remembers what it was asked.
struct ScriptedConfirm {
    bool answer = true;
    QStringList asked;

    ConfirmWarning callback() { return [this](const QString& text) { return asked.append(text), answer; }; }
};

// The order of the steps and what each answer keeps are the document
// operations' tests; here, only what no hand-picked case reaches.

QString randomText(std::mt19937& random, bool hex)
{
    // Hex digits of both cases; ASCII, two-, three- and four-byte UTF-8 characters.
    static const QStringList hexDigits = QStringLiteral("0 1 9 a f A F").split(' ');
    static const QStringList characters = {"a", "Z", kAUmlaut, kEuro, kEmoji};
    const QStringList& pool = hex ? hexDigits : characters;
    QString text;
    for (int n = std::uniform_int_distribution<int>(0, 600)(random); n > 0; --n)
        text += pool[std::uniform_int_distribution<qsizetype>(0, pool.size() - 1)(random)];
    return text;
}

// Whatever the table held, once the user has said OK to every warning each
// record can be written as one S-record whose count matches its bytes.
TEST(SaveSequence, AcceptedTablesAreAlwaysWritable)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const AddressSize mode = std::array{AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32}[seed % 3];
        RecordTable table;
        for (Slot slot = 0; slot < kRecordCount; slot += std::uniform_int_distribution<int>(1, 8)(random)) {
            const bool hex = std::uniform_int_distribution<int>(0, 1)(random) == 0;
            const int size = std::uniform_int_distribution<int>(-3, 400)(random);
            table[slot] = hexRecord(randomText(random, hex), size, hex ? kTypeHex : kTypeAscii);
        }
        ScriptedConfirm confirm;
        ASSERT_EQ(runPreSaveSteps(table, mode, confirm.callback()).status, SaveStepStatus::Continue);
        ASSERT_EQ(runDataSizeStep(table, false, confirm.callback()).status, SaveStepStatus::Continue);
        for (Slot slot = 0; slot < kRecordCount; ++slot) {
            const KeyRecord& record = table[slot];
            SCOPED_TRACE(testing::Message() << "seed " << seed << " slot " << slot);
            ASSERT_GE(record.KeySize, 0);
            ASSERT_LE(record.KeySize, dataLimit(mode));
            ASSERT_EQ(dataByteCount(record.KeyType, record.KeyData), record.KeySize);
            ASSERT_TRUE(record.KeyType != kTypeHex || (record.KeyData.size() % 2 == 0 && IsHEXString(record.KeyData)));
        }
    }
}

} // namespace
} // namespace quorvane
