#include "tests/support/image_support.h"

#include "document/extraction_operation.h"

namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using test::bytes;
using test::srec;
using enum KeyDataStatus;

const QByteArray k16 = bytes("00112233445566778899AABBCCDDEEFF");
const QByteArray kSrecords = srec(1, 0x1000, k16) + srec(9, 0);

// Titles, an ASCII record, records that are no target, one too large to look
// for, and a spare slot that must stay as it is.
RecordTable mixedTable()
{
    RecordTable table;
    table[0] = test::titled(test::hexRecordAt(0x1002, u"AABBCCDD"_s), u"key"_s);
    table[1] = {.KeyTitle = u"no address"_s, .KeySize = 2, .KeyType = kTypeAscii, .KeyData = u"hi"_s};
    table[2] = test::addressed({.KeyTitle = u"no size"_s, .KeySize = 0, .KeyData = u"AA"_s}, 0x1000);
    table[3] = test::addressed({.KeyTitle = u"too large"_s, .KeySize = 300, .KeyData = u"AA"_s}, 0x1000);
    table[9] = test::asciiRecordAt(0x1000, u"ab"_s);
    table[kSpareSlot] = {.KeyTitle = u"spare"_s, .KeySize = 1, .KeyType = kTypeAscii, .KeyData = u"x"_s};
    return table;
}

RecordTable tableOf(const std::map<Slot, KeyRecord>& records)
{
    return test::documentIn(AddressSize::Bits32, records).table;
}

// The table after a successful extraction: all HEX, only the given data.
RecordTable extractedInto(RecordTable table, const std::map<Slot, QString>& data)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        table[slot].KeyType = kTypeHex;
        table[slot].KeyData = data.contains(slot) ? data.at(slot) : QString();
    }
    return table;
}

TEST(SetKeyData, ChangesTheTableOnlyWhenEveryRecordIsFound)
{
    struct Row {
        const char* what;
        QByteArray file{};
        bool exists = true;
        RecordTable table{};
        std::optional<QString> answer{}; // the start address typed; nullopt: cancelled
        bool asked = false;
        KeyDataStatus status{};
        QString message{};               // "<path>" stands for the file's path
        std::map<Slot, QString> data{};  // when extracted
    };
    const Row rows[] = {
        {.what = "S-records fill every target and empty the rest", .file = kSrecords, .table = mixedTable(),
         .status = Extracted, .data = {{0, u"22334455"_s}, {3, QString()}, {9, u"0011"_s}}},
        {.what = "a record not found leaves the table", .file = kSrecords,
         .table = tableOf({{0, test::hexRecordAt(0x1000, u"00"_s)}, {1, test::hexRecordAt(0x0FFF, u"0000"_s)}}),
         .status = Failed, .message = u"Data not found.\r\nFILE: <path>\r\nADDRESS: 00000FFF\r\nSIZE: 2"_s},
        {.what = "a malformed data line leaves the table", .file = srec(1, 0x1000, k16) + "S10510000102E7X\r\n",
         .table = tableOf({{0, test::hexRecordAt(0x2000, u"00"_s)}}), .status = Failed,
         .message = u"File format error.\r\nFILE: <path>\r\n"_s},
        {.what = "no record has an address and a size", .file = kSrecords,
         .table = tableOf({{0, {.KeyTitle = u"t"_s, .KeySize = 4, .KeyData = {}}}}), .status = NothingExtracted},
        {.what = "a damaged file is never a binary image", .file = kSrecords + "S1 bad\r\n",
         .table = tableOf({{0, test::hexRecordAt(0x1000, u"00"_s)}}), .answer = u"1000"_s, .status = Failed,
         .message = u"File format error.\r\nFILE: <path>\r\nline 3 (as S-record): holds characters that are not hex "
                    u"digits"_s},
        {.what = "the start address is asked even when nothing is looked for", .file = "\x01\x02",
         .table = RecordTable(), .answer = u"0"_s, .asked = true, .status = NothingExtracted},
        {.what = "a start address with a letter that is no hex digit", .file = "\x01\x02",
         .table = mixedTable(), .answer = u"12G4"_s, .asked = true, .status = Failed,
         .message = u"Address Input Error.\r\nADDRESS: 12G4"_s},
        {.what = "a cancelled start address", .file = "\x01\x02", .table = mixedTable(), .asked = true,
         .status = Cancelled},
        {.what = "a missing file is not asked about", .exists = false, .table = mixedTable(), .status = Failed,
         .message = u"File Not Found."_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"object.file"_s);
        if (row.exists)
            test::writeFileBytes(path, row.file);
        bool asked = false;
        const KeyDataResult result = SetKeyData(row.table, path, [&] {
            asked = true;
            return row.answer;
        });
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.message, QString(row.message).replace(u"<path>"_s, path));
        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(result.table, row.status == Extracted ? extractedInto(row.table, row.data) : row.table);
    }
}

} // namespace
} // namespace quorvane
