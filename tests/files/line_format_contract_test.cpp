#include "tests/support/image_support.h"

#include "files/intel_hex.h"
#include "files/srecord_reader.h"

#include "core/hex_text.h"

// The two line formats keep one contract: every line is judged, the first
// bad one is named with its reason, and a file of another kind is refused
// from its first line. The KEY loader then makes one record of each
// S-record data line.
namespace quorvane {
namespace {

using namespace Qt::StringLiterals;
using enum AddressSize;
using enum ObjectFileKind;
using test::bytes;
using test::ihex;
using test::srec;

// The file on a device whose reads fail from `failAt` on, when given.
QString checked(ObjectFileKind kind, QByteArray file, qint64 failAt = 0)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    test::CountingDevice device(buffer);
    device.failFrom(failAt > 0 ? 1 : 0, failAt);
    return test::checkOutcome(kind == Srecord ? CheckSrecordFile(device) : CheckIntelHexFile(device));
}

// The table a document of 24-bit addresses holds after SRecodeLoad: each
// record in use as address:data (marked "!" unless it is a plain HEX record
// of its data's size, led by "@slot" after a gap), the address size after
// "/", then the error if any.
QString loaded(QByteArray file, Document document = test::documentIn(Bits24), qint64 failAt = 0)
{
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    test::CountingDevice device(buffer);
    device.failFrom(failAt > 0 ? 1 : 0, failAt);
    const QString error = SRecodeLoad(device, document);
    QStringList parts;
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord& record = document.table[slot];
        if (!record.inUse())
            continue;
        const bool plain = record == test::hexRecordAt(record.address(), record.KeyData);
        parts << (slot == parts.size() ? u""_s : u"@%1 "_s.arg(slot)) + u"%1:%2"_s.arg(record.address(), 0, 16).arg(record.KeyData)
                     + (plain ? u""_s : u"!"_s);
    }
    parts << u"/%1"_s.arg(int(document.mode.current())) << error;
    return parts.join(u' ').trimmed();
}

QByteArray run(int from, int count)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data += char(from + i);
    return data;
}

// ":" then count FF, offset 0000, type 00, 255 bytes of 01 and the checksum:
// the longest line there can be, with `tail` after it.
QByteArray longestIntelHexLine(const QByteArray& tail)
{
    return ":FF000000" + QByteArray(255, '\0').replace('\0', "01") + "02" + tail;
}

const QString kFormatError = u"File format error.\r\nFILE: /data/key.obj\r\n"_s;

QString damagedAtLine1(const char* format, const char* why)
{
    return kFormatError + u"line 1 (as %1): %2"_s.arg(QLatin1String(format), QLatin1String(why));
}

TEST(LineFormats, JudgeEveryLineNameTheFirstBadOneAndLoadEachDataLine)
{
    struct Row {
        ObjectFileKind kind = Srecord;
        QByteArray file;
        QString check;
        QString load = {};      // S-record only, without the check
        QString extracted = {}; // when given: the extraction of 2 bytes at 1000
        qint64 failAt = 0;      // when given: reads fail from this byte on
    };
    const QByteArray kS9 = srec(9, 0), kEof = ihex(1, 0);
    const QString notSrecord = u"/24 ERROR:Line 1 of the file: the line is not a valid S-record (%1)."_s;
    const Row rows[] = {
        {.file = "", .check = u"0 lines"_s, .load = u"/24"_s},
        // CR LF, LF, CR, none at the end
        {.file = "S10510000102E7\r\nS9030000FC\nS804000000FB\rS70500000000FA", .check = u"4 lines"_s,
         .load = u"1000:0102 /16"_s},
        {.file = "S1051000aBcD72\r", .check = u"1 lines"_s, .load = u"1000:aBcD /16"_s},
        {.file = "S10510000102E7X\n", .check = u"1 lines"_s, .load = u"1000:0102 /16"_s}, // a stray character, as many tools leave
        {.file = "S10510000102E7\nS30712345678CAFE1C\n", .check = u"2 lines"_s, .load = u"1000:0102 12345678:CAFE /32"_s},
        // Addresses without data, as the KEY writer writes a record without data.
        {.file = "S1031000EC\nS305FFFF0000FC\n", .check = u"2 lines"_s, .load = u"1000: ffff0000: /32"_s},
        // Header, count and end records are skipped, even after data.
        {.file = "S007000048445220FA\nS10510000102E7\nS5030001FB\nS9030000FC\nS206123456AABBF8\n", .check = u"5 lines"_s,
         .load = u"1000:0102 123456:AABB /24"_s},
        {.file = "S007000048445220FA\nS5030000FC\n", .check = u"2 lines"_s, .load = u"/24"_s},
        {.file = "S10510000102E8\n", .check = u"line 1: wrong checksum"_s, .load = notSrecord.arg(u"wrong checksum"_s)},
        {.file = "S4030000FC\n", .check = u"line 1: unknown record type"_s},
        {.file = "S10510000102E7\r\n\r\nS9030000FC\r\n", .check = u"line 2: too short for an S-record"_s},
        {.file = "s10510000102E7\n", .check = u"line 1: does not start with \"S\""_s},
        // the sum is right if "ZZ" counted as 0
        {.file = "S1040000ZZFB\n", .check = u"line 1: holds characters that are not hex digits"_s},
        {.file = "S10510000102\n", .check = u"line 1: count disagrees with the line length"_s},
        {.file = "S10510000102E7XY\n", .check = u"line 1: count disagrees with the line length"_s},
        {.file = "S0FF0000FC\r\n" + srec(1, 0x1000, bytes("0102")) + kS9,
         .check = u"line 1: count disagrees with the line length"_s, .load = u"1000:0102 /16"_s,
         .extracted = damagedAtLine1("S-record", "count disagrees with the line length")},
        {.file = srec(1, 0x1000, run(0, 252)) + kS9, .check = u"2 lines"_s,
         .load = u"1000:"_s + QString::fromLatin1(run(0, 252).toHex().toUpper()) + u" /16"_s, .extracted = u"0001"_s},
        {.file = srec(1, 0x1000, run(0, 252)).chopped(2) + "00\r\n" + kS9, .check = u"line 1: too long for an S-record"_s,
         .load = u"/24 ERROR:Line 1 of the file: the line is too long for an S-record."_s,
         .extracted = damagedAtLine1("S-record", "too long for an S-record")},
        // Changed after the check, or never checked: what was read stays,
        // the address size does not change.
        {.file = "S007000048445220FA\r\nS10510000102E7\r\nS10210ED\r\nS10510000102E7\r\n",
         .check = u"line 3: count too small for the address"_s,
         .load = u"1000:0102 /24 ERROR:Line 3 of the file: the line is not a valid S-record (count too small for the address)."_s},
        // A read failure does not pass for the end of the file.
        {.file = "S10510000102E7\r\nS10510000102E7\r\n", .check = u"line 2: Input/output error"_s,
         .load = u"1000:0102 /24 ERROR:Input/output error"_s, .failAt = 20},

        {.kind = IntelHex, .file = ":0400100001020304E2\r\n:020000040800F2\n:0100000355A7\r:00000001FF", .check = u"4 lines"_s},
        {.kind = IntelHex, .file = ":0400100001020304e2\n:00000001ff\n", .check = u"2 lines"_s},
        {.kind = IntelHex, .file = ":0400100001020304E2\r\n\r\n:00000001FF\r\n", .check = u"line 2: does not start with \":\""_s},
        {.kind = IntelHex, .file = "S10510000102E7\n", .check = u"line 1: does not start with \":\""_s},
        {.kind = IntelHex, .file = ":0\n", .check = u"line 1: too short for an Intel HEX line"_s},
        {.kind = IntelHex, .file = ":02001000ZZ01ED\n", .check = u"line 1: holds characters that are not hex digits"_s},
        {.kind = IntelHex, .file = ":0400100001020304E2X\n", .check = u"line 1: count disagrees with the line length"_s},
        {.kind = IntelHex, .file = ":00000001FF\n:0400100001020304E3\n", .check = u"line 2: wrong checksum"_s},
        {.kind = IntelHex, .file = longestIntelHexLine("\r\n"), .check = u"1 lines"_s},
        // one character more than any line can have: refused before the line end is seen
        {.kind = IntelHex, .file = ":00000001FF\n" + longestIntelHexLine("0\r\n"), .check = u"line 2: too long for an Intel HEX line"_s},
        {.kind = IntelHex, .file = ":00100000F0\r\n" + ihex(0, 0x1000, run(1, 255)) + kEof, .check = u"3 lines"_s,
         .extracted = u"0102"_s},
        // a base of no bytes leaves every address in doubt
        {.kind = IntelHex, .file = ":00000004FC\r\n" + ihex(0, 0x1000, run(1, 255)) + kEof, .check = u"3 lines"_s,
         .extracted = kFormatError},
        {.kind = IntelHex, .file = ":FF100000FDFEF0\r\n" + kEof, .check = u"line 1: count disagrees with the line length"_s,
         .extracted = damagedAtLine1("Intel HEX", "count disagrees with the line length")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.left(60).toPercentEncoding().toStdString());
        EXPECT_EQ(checked(row.kind, row.file, row.failAt), row.check);
        if (!row.load.isEmpty()) {
            EXPECT_EQ(loaded(row.file, test::documentIn(Bits24), row.failAt), row.load);
        }
        if (!row.extracted.isEmpty()) {
            test::TestDevice device(row.file);
            const ExtractionResult result = test::extractFrom(device, row.kind, 0, {test::at(0, 0x1000, 2)});
            EXPECT_EQ(result ? result.data.front() : result.errorText, row.extracted);
        }
    }
}

TEST(SRecodeLoad, AnEndRecordBeforeAnyDataClearsTheTableAndKeepsTheSpareSlot)
{
    const Document document = test::documentIn(Bits24, {{5, test::hexRecordAt(0x10, u"AA"_s)}, {kSpareSlot, test::hexRecordAt(0x20, u"BB"_s)}});
    EXPECT_EQ(loaded("S007000048445220FA\r\nS70500000000FA\r\nS10510000102E7\r\n", document), u"@256 20:BB /24"_s);
}

TEST(SRecodeLoad, Fills257SlotsAndIgnoresTheRest)
{
    QByteArray file;
    for (int i = 0; i < 300; ++i) {
        const QString body = u"04"_s + fourDigitHex(i * 4) + twoDigitHex((i + 0x41) & 0xFF);
        file += (u"S1"_s + body + MakeCheckSum(body) + u"\r\n"_s).toLatin1();
    }
    file += "S30712345678CAFE1C\r\n"; // beyond the limit: must not decide the address size
    Document document = test::documentIn(Bits32);
    // A spare slot typed ASCII, left by an earlier template, gets text.
    document.table[kSpareSlot].KeyType = kTypeAscii;
    EXPECT_EQ(test::readInto(SRecodeLoad, file, document), QString());
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        ASSERT_EQ(document.table[slot], test::hexRecordAt(quint32(slot * 4), twoDigitHex((slot + 0x41) & 0xFF))) << slot;
    EXPECT_EQ(document.table[kSpareSlot], test::asciiRecordAt(1024, u"A"_s));
    EXPECT_EQ(document.mode.current(), Bits16);
}

} // namespace
} // namespace quorvane
