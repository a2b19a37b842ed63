#include "checks/save_checks.h"
#include "checks/save_sequence.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

#include "table_builders.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <array>
#include <random>

namespace quorvane {
namespace {

using test::asciiRecord;
using test::hexRecord;

// Answers every warning the same way and remembers what it was asked.
struct ScriptedConfirm {
    bool answer = true;
    QStringList asked;

    ConfirmWarning callback()
    {
        return [this](const QString& text) {
            asked.append(text);
            return answer;
        };
    }
};

TEST(SaveSequence, ErrorsStopBeforeAnyStepRuns)
{
    KeyRecord noAddress = hexRecord(QStringLiteral("ABC"));
    noAddress.KeyAddrSet = false;
    const struct {
        const char* name;
        KeyRecord record;
        QString error;
    } cases[] = {
        {"no address", noAddress, QStringLiteral("No Address.\r\nLineNo: 3")},
        {"illegal hex", hexRecord(QStringLiteral("ABG")), QStringLiteral("Illegal HEX Data.\r\nLineNo: 3")},
    };
    for (const auto& c : cases) {
        RecordTable table;
        table[2] = c.record;
        table[5] = hexRecord(QStringLiteral("1"), 0); // would be sized and padded
        const RecordTable before = table;
        ScriptedConfirm confirm;
        const SaveStepResult result = runPreSaveSteps(table, AddressSize::Bits32, confirm.callback());
        EXPECT_EQ(result.status, SaveStepStatus::Error) << c.name;
        EXPECT_EQ(result.errorText, c.error) << c.name;
        EXPECT_TRUE(confirm.asked.isEmpty()) << c.name;
        EXPECT_EQ(table, before) << c.name;
    }
}

TEST(SaveSequence, OddHexWithoutSizeIsSavedAsWholeBytes)
{
    RecordTable table;
    table[0] = hexRecord(QStringLiteral("ABC"));
    ScriptedConfirm confirm;
    EXPECT_EQ(runPreSaveSteps(table, AddressSize::Bits32, confirm.callback()).status, SaveStepStatus::Continue);
    EXPECT_EQ(runDataSizeStep(table, false, confirm.callback()).status, SaveStepStatus::Continue);
    EXPECT_TRUE(confirm.asked.isEmpty());
    EXPECT_EQ(table[0].KeyData, QStringLiteral("AB0C"));
    EXPECT_EQ(table[0].KeySize, 2);
}

TEST(SaveSequence, OversizedRecordsAreCutOnlyOnOk)
{
    for (const bool ok : {true, false}) {
        RecordTable table;
        table[1] = hexRecord(QString(601, QLatin1Char('a'))); // 301 bytes once sized
        table[3] = hexRecord(QStringLiteral("abc"));
        ScriptedConfirm confirm{ok, {}};
        const SaveStepResult result = runPreSaveSteps(table, AddressSize::Bits24, confirm.callback());

        EXPECT_EQ(confirm.asked, QStringList{QStringLiteral("The size of Srecord is exceeded.\r\nLineNo: 2\r\nContinue ?")});
        // Sizes filled in before the question stay, whatever the answer.
        EXPECT_EQ(table[3].KeySize, 2);
        if (ok) {
            EXPECT_EQ(result.status, SaveStepStatus::Continue);
            EXPECT_EQ(table[1].KeySize, 251);
            EXPECT_EQ(table[1].KeyData.size(), 502);
            EXPECT_EQ(table[3].KeyData, QStringLiteral("ab0c"));
        } else {
            EXPECT_EQ(result.status, SaveStepStatus::Cancelled);
            EXPECT_TRUE(result.errorText.isEmpty());
            EXPECT_EQ(table[1].KeySize, 301);
            EXPECT_EQ(table[3].KeyData, QStringLiteral("abc"));
        }
    }
}

TEST(SaveSequence, DataSizeStepWarnsAndFitsOnOk)
{
    const struct {
        const char* name;
        bool templateFile;
        bool ok;
        bool asked;
        QString expectedData;
    } cases[] = {
        {"KEY file, OK", false, true, true, QStringLiteral("abFF")},
        {"KEY file, Cancel", false, false, true, QStringLiteral("ab")},
        {"template keeps differing sizes", true, true, false, QStringLiteral("ab")},
    };
    for (const auto& c : cases) {
        RecordTable table;
        table[6] = asciiRecord(QStringLiteral("ab"), 4);
        ScriptedConfirm confirm{c.ok, {}};
        const SaveStepResult result = runDataSizeStep(table, c.templateFile, confirm.callback());
        EXPECT_EQ(result.status, c.asked && !c.ok ? SaveStepStatus::Cancelled : SaveStepStatus::Continue) << c.name;
        EXPECT_EQ(confirm.asked.size(), c.asked ? 1 : 0) << c.name;
        if (c.asked) {
            EXPECT_EQ(confirm.asked.front(), QStringLiteral("The size of data is different.\r\nLineNo: 7\r\nContinue ?"));
        }
        EXPECT_EQ(table[6].KeyData, c.expectedData) << c.name;
    }
}

QString randomText(std::mt19937& random, bool hex)
{
    static const QString hexDigits = QStringLiteral("0123456789abcdefABCDEF");
    // ASCII, two-, three- and four-byte UTF-8 characters.
    static const QStringList characters = {QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("\u00e4"),
                                           QStringLiteral("\u20ac"), QString::fromUtf8("\xF0\x9F\x98\x80")};
    const int length = std::uniform_int_distribution<int>(0, 600)(random);
    QString text;
    for (int i = 0; i < length; ++i) {
        if (hex)
            text.append(hexDigits[std::uniform_int_distribution<int>(0, int(hexDigits.size()) - 1)(random)]);
        else
            text.append(characters[std::uniform_int_distribution<int>(0, int(characters.size()) - 1)(random)]);
    }
    return text;
}

// Whatever the table held, once the user has said OK to every warning each
// record can be written as one S-record whose count matches its bytes.
TEST(SaveSequence, AcceptedTablesAreAlwaysWritable)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const AddressSize mode =
            std::array{AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32}[std::size_t(seed % 3)];
        RecordTable table;
        for (Slot slot = 0; slot < kRecordCount; slot += std::uniform_int_distribution<int>(1, 8)(random)) {
            const bool hex = std::uniform_int_distribution<int>(0, 1)(random) == 0;
            const int size = std::uniform_int_distribution<int>(-3, 400)(random);
            table[slot] = hex ? hexRecord(randomText(random, true), size) : asciiRecord(randomText(random, false), size);
        }
        ScriptedConfirm confirm;
        ASSERT_EQ(runPreSaveSteps(table, mode, confirm.callback()).status, SaveStepStatus::Continue);
        ASSERT_EQ(runDataSizeStep(table, false, confirm.callback()).status, SaveStepStatus::Continue);

        for (Slot slot = 0; slot < kRecordCount; ++slot) {
            const KeyRecord& record = table[slot];
            ASSERT_GE(record.KeySize, 0) << "seed " << seed << " slot " << slot;
            ASSERT_LE(record.KeySize, dataLimit(mode)) << "seed " << seed << " slot " << slot;
            ASSERT_EQ(dataByteCount(record.KeyType, record.KeyData), record.KeySize)
                << "seed " << seed << " slot " << slot;
            if (record.KeyType == kTypeHex) {
                ASSERT_EQ(record.KeyData.size() % 2, 0) << "seed " << seed << " slot " << slot;
                ASSERT_TRUE(IsHEXString(record.KeyData)) << "seed " << seed << " slot " << slot;
            }
        }
        EXPECT_EQ(CheckSrecordTotalSize(table, mode), QString());
        EXPECT_EQ(CheckDataSize(table, false), QString());
    }
}

} // namespace
} // namespace quorvane
