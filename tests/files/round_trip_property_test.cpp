#include "file_test_support.h"

#include "files/srecord_reader.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include <vector>

// Seeded random tables, each written and read back and compared with what
// the file format can keep.
namespace quorvane {
namespace {

constexpr unsigned kSeed = 0x5EC0DE;
constexpr int kTables = 250;

AddressSize randomAddressSize(std::mt19937& random)
{
    static constexpr AddressSize kSizes[] = {AddressSize::Bits16, AddressSize::Bits24, AddressSize::Bits32};
    return kSizes[std::uniform_int_distribution<int>(0, 2)(random)];
}

bool chance(std::mt19937& random, double p) { return std::bernoulli_distribution(p)(random); }

quint32 randomAddress(std::mt19937& random) { return std::uniform_int_distribution<quint32>()(random); }

// The address as the file keeps it: only the digits of the address size.
quint32 narrowed(quint32 address, AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16: return address & 0xFFFF;
    case AddressSize::Bits24: return address & 0xFFFFFF;
    case AddressSize::Bits32: break;
    }
    return address;
}

std::vector<KeyRecord> recordsInUse(const RecordTable& table, int slotCount)
{
    std::vector<KeyRecord> records;
    for (Slot slot = 0; slot < slotCount; ++slot) {
        if (table[slot].inUse())
            records.push_back(table[slot]);
    }
    return records;
}

// Anything the template can hold: titles and data of every kind but line
// breaks, sizes of up to three digits that need not match the data, odd and
// lower-case hex, records in use by any one field.
KeyRecord randomTemplateRecord(std::mt19937& random)
{
    KeyRecord record;
    if (chance(random, 0.3))
        return record;
    if (chance(random, 0.7))
        record.KeyTitle = (chance(random, 0.2) ? QStringLiteral("#") : QString()) + test::randomText(random, 20);
    if (chance(random, 0.6))
        test::setAddress(record, randomAddress(random));
    else
        record.KeyAddrHigh = qint16(randomAddress(random)); // an address never entered keeps what it holds
    record.KeyType = chance(random, 0.5) ? kTypeHex : kTypeAscii;
    if (chance(random, 0.7))
        record.KeySize = qint16(std::uniform_int_distribution<int>(0, 999)(random));
    if (record.KeyType == kTypeHex)
        record.KeyData = test::randomHexDigits(random, std::uniform_int_distribution<int>(0, 60)(random)).left(
            std::uniform_int_distribution<int>(0, 120)(random));
    else
        record.KeyData = test::randomText(random, 60);
    return record;
}

TEST(RoundTrip, TemplateSaveThenLoadGivesTheSameRecords)
{
    std::mt19937 random(kSeed);
    for (int round = 0; round < kTables; ++round) {
        SCOPED_TRACE(testing::Message() << "table " << round);
        Document saved = test::documentIn(randomAddressSize(random));
        for (Slot slot = 0; slot < kSlotCount; ++slot)
            saved.table[slot] = randomTemplateRecord(random);
        if (round % 10 == 0)
            saved.table = RecordTable{}; // the empty table too

        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        ASSERT_EQ(FormatSave(out, saved), QString());

        const AddressSize before = randomAddressSize(random);
        Document loaded = test::documentIn(before);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        ASSERT_EQ(FormatLoad(in, loaded), QString());

        const std::vector<KeyRecord> expected = recordsInUse(saved.table, kSlotCount);
        EXPECT_EQ(loaded.mode.current(), expected.empty() ? before : saved.mode.current());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            KeyRecord want = expected[i];
            const quint32 address = narrowed(want.address(), saved.mode.current());
            test::setAddress(want, address);
            ASSERT_EQ(loaded.table[Slot(i)], want) << "record " << i;
        }
        for (Slot slot = Slot(expected.size()); slot < kSlotCount; ++slot)
            ASSERT_TRUE(loaded.table[slot].isEmptyRecord()) << "slot " << slot;
    }
}

// What the window hands the KEY writer after its save-time steps: sizes
// that match the data in bytes and stay within the data limit.
KeyRecord randomKeyRecord(std::mt19937& random, AddressSize size)
{
    const int limit = dataLimit(size);
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
    case 0: return KeyRecord{};
    case 1: {
        KeyRecord record;
        record.KeyTitle = test::randomText(random, 10) + QLatin1Char('t');
        test::setAddress(record, randomAddress(random));
        return record;
    }
    case 2:
        return test::hexRecord(randomAddress(random),
                               test::randomHexDigits(random, std::uniform_int_distribution<int>(0, limit)(random)));
    default:
        return test::asciiRecord(randomAddress(random), cutAsciiToBytes(test::randomText(random, limit), limit));
    }
}

QString bytesAsHex(const KeyRecord& record)
{
    const QByteArray bytes = record.KeyType == kTypeHex ? QByteArray::fromHex(record.KeyData.toLatin1())
                                                        : record.KeyData.toUtf8();
    return QString::fromLatin1(bytes.toHex().toUpper());
}

TEST(RoundTrip, KeySaveThenCheckThenLoadGivesTheSameAddressesAndBytes)
{
    std::mt19937 random(kSeed + 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("round.KEY"));
    for (int round = 0; round < kTables; ++round) {
        SCOPED_TRACE(testing::Message() << "table " << round);
        Document saved = test::documentIn(randomAddressSize(random));
        const int filled = std::uniform_int_distribution<int>(0, kRecordCount)(random);
        for (Slot slot = 0; slot < filled; ++slot)
            saved.table[slot] = randomKeyRecord(random, saved.mode.current());
        saved.table[kSpareSlot] = test::hexRecord(1, QStringLiteral("99")); // never written

        ASSERT_EQ(SRecodeSave(path, saved), QString());
        ASSERT_EQ(CheckSrecordFile(path), 0);
        const AddressSize before = randomAddressSize(random);
        Document loaded = test::documentIn(before);
        loaded.table[kSpareSlot] = KeyRecord{};
        ASSERT_EQ(SRecodeLoad(path, loaded), QString());

        const std::vector<KeyRecord> expected = recordsInUse(saved.table, kRecordCount);
        EXPECT_EQ(loaded.mode.current(), expected.empty() ? before : saved.mode.current());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const KeyRecord& got = loaded.table[Slot(i)];
            ASSERT_EQ(got.address(), narrowed(expected[i].address(), saved.mode.current())) << "record " << i;
            ASSERT_EQ(got.KeySize, expected[i].KeySize) << "record " << i;
            ASSERT_EQ(got.KeyData, bytesAsHex(expected[i])) << "record " << i;
            ASSERT_TRUE(got.KeyAddrSet);
            ASSERT_EQ(got.KeyType, kTypeHex);
            ASSERT_TRUE(got.KeyTitle.isEmpty());
        }
        ASSERT_FALSE(loaded.table[Slot(expected.size())].inUse());
    }
}

// Damaged KEY files: whatever the loader makes of them, every record it
// stores is sound, and a file the check passes loads without an error.
TEST(RoundTrip, DamagedKeyFilesNeverPutMalformedRecordsIntoTheTable)
{
    std::mt19937 random(kSeed + 2);
    static const char kNoise[] = "S0123456789ABCDEFabcdefZz \r\n\x00\xFF";
    int passedCheck = 0;
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(testing::Message() << "damage " << round);
        Document saved = test::documentIn(randomAddressSize(random));
        for (Slot slot = 0; slot < 4; ++slot)
            saved.table[slot] = randomKeyRecord(random, saved.mode.current());
        QByteArray bytes;
        {
            QBuffer out(&bytes);
            out.open(QIODevice::WriteOnly);
            ASSERT_EQ(SRecodeSave(out, saved), QString());
        }
        for (int hits = std::uniform_int_distribution<int>(1, 3)(random); hits > 0; --hits) {
            const auto at = std::uniform_int_distribution<qsizetype>(0, bytes.size() - 1)(random);
            const char noise = kNoise[std::uniform_int_distribution<int>(0, sizeof(kNoise) - 2)(random)];
            switch (std::uniform_int_distribution<int>(0, 2)(random)) {
            case 0: bytes[at] = noise; break;
            case 1: bytes.insert(at, noise); break;
            default: bytes.remove(at, 1); break;
            }
        }

        QBuffer checkDevice(&bytes);
        checkDevice.open(QIODevice::ReadOnly);
        const bool valid = CheckSrecordFile(checkDevice) == 0;
        passedCheck += valid;

        Document loaded;
        QBuffer loadDevice(&bytes);
        loadDevice.open(QIODevice::ReadOnly);
        const QString error = SRecodeLoad(loadDevice, loaded);
        if (valid) {
            ASSERT_EQ(error, QString());
        }
        for (Slot slot = 0; slot < kSlotCount; ++slot) {
            const KeyRecord& record = loaded.table[slot];
            if (!record.inUse())
                continue;
            ASSERT_GE(record.KeySize, 0);
            ASSERT_EQ(record.KeyData.size(), 2 * record.KeySize);
            ASSERT_TRUE(IsHEXString(record.KeyData));
        }
    }
    EXPECT_GT(passedCheck, 0); // some damage (a line end doubled, say) leaves a valid file
}

} // namespace
} // namespace quorvane
