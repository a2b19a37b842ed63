#include "file_test_support.h"

#include "files/template_file.h"

#include <vector>

// Seeded random tables, each written as a template and read back and
// compared with what the template can keep.
namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;

constexpr int kTables = 250;

struct Random : std::mt19937 {
    using std::mt19937::mt19937;
    bool chance(double p) { return std::bernoulli_distribution(p)(*this); }
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(*this); }
    quint32 address() { return std::uniform_int_distribution<quint32>()(*this); }
    AddressSize addressSize() { return std::array{Bits16, Bits24, Bits32}[upTo(2)]; }
};

// Anything the template can hold: titles and data of every kind but line
// breaks, sizes of up to three digits that need not match the data, odd and
// lower-case hex, records in use by any one field.
KeyRecord randomTemplateRecord(Random& random)
{
    KeyRecord record;
    if (random.chance(0.3))
        return record;
    if (random.chance(0.7))
        record.KeyTitle = (random.chance(0.2) ? u"#"_s : QString()) + test::randomText(random, 20);
    if (random.chance(0.6))
        record = test::addressed(record, random.address());
    else
        record.KeyAddrHigh = qint16(random.address()); // an address never entered keeps what it holds
    record.KeyType = random.chance(0.5) ? kTypeHex : kTypeAscii;
    if (random.chance(0.7))
        record.KeySize = qint16(random.upTo(999));
    record.KeyData = record.KeyType == kTypeHex ? test::randomHexDigits(random, 60).left(random.upTo(120))
                                                : test::randomText(random, 60);
    return record;
}

TEST(RoundTrip, TemplateSaveThenLoadGivesTheSameRecords)
{
    Random random(0x5EC0DE);
    for (int round = 0; round < kTables; ++round) {
        SCOPED_TRACE(testing::Message() << "table " << round);
        Document saved = test::documentIn(random.addressSize());
        for (Slot slot = 0; slot < kSlotCount && round % 10 != 0; ++slot) // every tenth table stays empty
            saved.table[slot] = randomTemplateRecord(random);
        const AddressSize before = random.addressSize();
        Document loaded = test::documentIn(before);
        ASSERT_EQ(test::readInto(FormatLoad, test::written(FormatSave, saved), loaded), QString());

        // The records in use in slot order as the file keeps them: only the
        // address digits of the address size, and an address always set.
        std::vector<KeyRecord> expected;
        const quint32 mask = quint32((quint64(1) << int(saved.mode.current())) - 1);
        for (Slot slot = 0; slot < kSlotCount; ++slot) {
            if (const KeyRecord& record = saved.table[slot]; record.inUse())
                expected.push_back(test::addressed(record, record.address() & mask));
        }
        EXPECT_EQ(loaded.mode.current(), expected.empty() ? before : saved.mode.current());
        for (Slot slot = 0; slot < kSlotCount; ++slot)
            ASSERT_EQ(loaded.table[slot], std::size_t(slot) < expected.size() ? expected[slot] : KeyRecord{}) << slot;
    }
}

} // namespace
} // namespace quorvane
