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

// Answers every warning the same way and remembers what it was asked.
struct ScriptedConfirm {
    bool answer = true;
    QStringList asked;

    ConfirmWarning callback() { return [this](const QString& text) { return asked.append(text), answer; }; }
};

TEST(SaveSequence, ErrorsStopBeforeAnyStepRuns)
{
    KeyRecord noAddress = hexRecord("ABG"); // illegal as well: the missing address is reported first
    noAddress.KeyAddrSet = false;
    const struct { KeyRecord record; QString error; } cases[] = {
        {noAddress, "No Address.\r\nLineNo: 3"}, {hexRecord("ABG"), "Illegal HEX Data.\r\nLineNo: 3"}};
    for (const auto& c : cases) {
        RecordTable table;
        table[2] = c.record;
        table[5] = hexRecord("1", 0); // would be sized and padded
        const RecordTable before = table;
        ScriptedConfirm confirm;
        const SaveStepResult result = runPreSaveSteps(table, AddressSize::Bits32, confirm.callback());
        EXPECT_EQ(result.status, SaveStepStatus::Error);
        EXPECT_EQ(result.errorText, c.error);
        EXPECT_TRUE(confirm.asked.isEmpty());
        EXPECT_EQ(table, before);
    }
}

TEST(SaveSequence, OversizedRecordsAreCutOnlyOnOk)
{
    for (const bool ok : {true, false}) {
        RecordTable table;
        table[1] = hexRecord(QString(601, QLatin1Char('a'))); // 301 bytes once sized
        table[3] = hexRecord("abc");
        ScriptedConfirm confirm{ok, {}};
        const SaveStepResult result = runPreSaveSteps(table, AddressSize::Bits24, confirm.callback());
        EXPECT_EQ(confirm.asked, QStringList{"The size of Srecord is exceeded.\r\nLineNo: 2\r\nContinue ?"});
        EXPECT_EQ(result.status, ok ? SaveStepStatus::Continue : SaveStepStatus::Cancelled);
        // Sizes filled in before the question stay, whatever the answer.
        EXPECT_EQ(table[3].KeySize, 2);
        EXPECT_EQ(table[1].KeySize, ok ? 251 : 301);
        EXPECT_EQ(table[1].KeyData.size(), ok ? 502 : 601);
        EXPECT_EQ(table[3].KeyData, ok ? "ab0c" : "abc");
    }
}

TEST(SaveSequence, DataSizeStepWarnsAndFitsOnOk)
{
    const struct { bool templateFile; bool ok; bool asked; QString expectedData; } cases[] = {
        {false, true, true, "abFF"}, {false, false, true, "ab"}, {true, true, false, "ab"}};
    for (const auto& c : cases) {
        RecordTable table;
        table[6] = asciiRecord("ab", 4);
        ScriptedConfirm confirm{c.ok, {}};
        const SaveStepResult result = runDataSizeStep(table, c.templateFile, confirm.callback());
        EXPECT_EQ(result.status, c.asked && !c.ok ? SaveStepStatus::Cancelled : SaveStepStatus::Continue);
        EXPECT_EQ(confirm.asked,
                  c.asked ? QStringList{"The size of data is different.\r\nLineNo: 7\r\nContinue ?"} : QStringList{});
        EXPECT_EQ(table[6].KeyData, c.expectedData);
    }
}

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
