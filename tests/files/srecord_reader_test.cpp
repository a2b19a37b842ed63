#include "file_test_support.h"

#include "files/srecord_reader.h"

#include "core/hex_text.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace quorvane {
namespace {

using test::PrintTo;

qint16 checkBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return CheckSrecordFile(buffer);
}

QString loadBytes(QByteArray bytes, Document& document)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return SRecodeLoad(buffer, document);
}

struct CheckCase {
    const char* name;
    QByteArray file;
    qint16 expected;
};

class CheckSrecord : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckSrecord, JudgesTheWholeFile)
{
    EXPECT_EQ(checkBytes(GetParam().file), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CheckSrecord,
    ::testing::Values(
        CheckCase{"EmptyFile", "", 0},
        CheckCase{"CrLf", "S10510000102E7\r\nS9030000FC\r\n", 0},
        CheckCase{"Lf", "S10510000102E7\nS9030000FC\n", 0},
        CheckCase{"Cr", "S10510000102E7\rS9030000FC\r", 0},
        CheckCase{"LastLineWithoutLineEnd", "S10510000102E7\r\nS9030000FC", 0},
        CheckCase{"LowerCaseDigits", "S10510000102e7\n", 0},
        CheckCase{"OneStrayCharacterAtTheEnd", "S10510000102E7X\n", 0},
        CheckCase{"HeaderDataCountEnd", "S007000048445220FA\nS206123456AABBF8\nS5030001FB\nS804000000FB\n", 0},
        CheckCase{"DataRecordWithoutData", "S305FFFF0000FC\n", 0},
        CheckCase{"WrongChecksum", "S10510000102E8\n", 1},
        CheckCase{"TypeS4", "S4030000FC\n", 1},
        CheckCase{"EmptyLine", "S10510000102E7\r\n\r\nS9030000FC\r\n", 1},
        CheckCase{"LowerCaseTypeLetter", "s10510000102E7\n", 1},
        CheckCase{"TypeNotADigit", "SA0510000102E7\n", 1},
        CheckCase{"CountNotHex", "S1G510000102E7\n", 1},
        // The checksum adds up when the pair "ZZ" counts as 0: still garbage.
        CheckCase{"DataNotHexButSumRight", "S1040000ZZFB\n", 1},
        CheckCase{"ChecksumNotHex", "S10510000102G7\n", 1},
        CheckCase{"S1CountBelowAddressAndChecksum", "S10210ED\n", 1},
        CheckCase{"S2CountBelowAddressAndChecksum", "S2031020CC\n", 1},
        CheckCase{"S3CountBelowAddressAndChecksum", "S3041020309B\n", 1},
        CheckCase{"OnlyTheType", "S1\n", 1},
        CheckCase{"ChecksumMissing", "S10510000102\n", 1},
        CheckCase{"TwoCharactersTooMany", "S10510000102E7XY\n", 1},
        CheckCase{"LongerThanAnyRecord", "S1" + QByteArray(600, '0') + "\n", 1},
        CheckCase{"BadSecondLine", "S10510000102E7\nS10510000102E8\nS9030000FC\n", 1},
        CheckCase{"ObjectFileHeader", QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10), 1}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(CheckSrecordFile, RejectsAGigabyteWithoutLineBreaksFromItsFirstChunk)
{
    test::EndlessDevice device("S1", '0');
    EXPECT_EQ(CheckSrecordFile(device), 1);
    EXPECT_LE(device.bytesHandedOut(), 2 << 20);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.bin"));
    QFile image(path);
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write("S3");
    ASSERT_TRUE(image.resize(qint64(1) << 30)); // sparse: costs no disk
    image.close();
    EXPECT_EQ(CheckSrecordFile(path), 1);
}

TEST(CheckSrecordFile, AFileThatCannotBeReadIsNotValid)
{
    QTemporaryDir dir;
    EXPECT_EQ(CheckSrecordFile(dir.filePath(QStringLiteral("missing.KEY"))), 1);
    EXPECT_EQ(CheckSrecordFile(dir.path()), 1);
    test::UnreadableDevice device;
    EXPECT_EQ(CheckSrecordFile(device), 1);
}

// --- loading -------------------------------------------------------------

TEST(SRecodeLoad, AnEndRecordBeforeAnyDataClearsTheTableAndKeepsTheAddressSize)
{
    Document document = test::documentIn(AddressSize::Bits24);
    document.table[5] = test::hexRecord(0x10, QStringLiteral("AA"));
    document.table[kSpareSlot] = test::hexRecord(0x20, QStringLiteral("BB"));
    const KeyRecord spare = document.table[kSpareSlot];

    EXPECT_EQ(loadBytes("S007000048445220FA\r\nS70500000000FA\r\nS10510000102E7\r\n", document), QString());
    EXPECT_TRUE(document.table[5].isEmptyRecord());
    EXPECT_TRUE(document.table[0].isEmptyRecord());
    EXPECT_EQ(document.table[kSpareSlot], spare);
    EXPECT_EQ(document.mode.current(), AddressSize::Bits24);
}

struct Expected {
    quint32 address;
    qint16 size;
    const char* data;
};

struct LoadCase {
    const char* name;
    QByteArray file;
    AddressSize sizeBefore;
    AddressSize sizeAfter;
    std::vector<Expected> records;
};

class LoadKeyFile : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadKeyFile, OneRecordPerDataLine)
{
    const LoadCase& c = GetParam();
    Document document = test::documentIn(c.sizeBefore);
    ASSERT_EQ(checkBytes(c.file), 0);
    EXPECT_EQ(loadBytes(c.file, document), QString());
    EXPECT_EQ(document.mode.current(), c.sizeAfter);
    for (std::size_t i = 0; i < c.records.size(); ++i) {
        const KeyRecord& record = document.table[Slot(i)];
        SCOPED_TRACE(testing::Message() << "slot " << i);
        EXPECT_EQ(record.address(), c.records[i].address);
        EXPECT_EQ(record.KeySize, c.records[i].size);
        EXPECT_EQ(record.KeyData, QLatin1String(c.records[i].data));
        EXPECT_TRUE(record.KeyAddrSet);
        EXPECT_EQ(record.KeyType, kTypeHex);
        EXPECT_TRUE(record.KeyTitle.isEmpty());
    }
    EXPECT_FALSE(document.table[Slot(c.records.size())].inUse());
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadKeyFile,
    ::testing::Values(
        LoadCase{"HeaderThenS2", "S007000048445220FA\r\nS206123456AABBF8\r\nS2051234567FDF\r\nS804000000FB\r\n",
                 AddressSize::Bits32, AddressSize::Bits24,
                 {{0x123456, 2, "AABB"}, {0x123456, 1, "7F"}}},
        LoadCase{"MixedS1AndS3TakesTheLast", "S10510000102E7\nS30712345678CAFE1C\n", AddressSize::Bits16,
                 AddressSize::Bits32, {{0x1000, 2, "0102"}, {0x12345678, 2, "CAFE"}}},
        LoadCase{"S3ThenS1TakesTheLast", "S30712345678CAFE1C\nS10510000102E7\n", AddressSize::Bits32,
                 AddressSize::Bits16, {{0x12345678, 2, "CAFE"}, {0x1000, 2, "0102"}}},
        LoadCase{"CountFiveGivesSizeZero", "S305FFFF0000FC\n", AddressSize::Bits16, AddressSize::Bits32,
                 {{0xFFFF0000, 0, ""}}},
        LoadCase{"LetterCaseKept", "S1051000aBcD72\r", AddressSize::Bits32, AddressSize::Bits16,
                 {{0x1000, 2, "aBcD"}}},
        LoadCase{"StrayCharacterNotData", "S10510000102E7X\n", AddressSize::Bits32, AddressSize::Bits16,
                 {{0x1000, 2, "0102"}}},
        LoadCase{"EndAndCountRecordsAfterDataSkipped", "S10510000102E7\nS5030001FB\nS9030000FC\nS206123456AABBF8\n",
                 AddressSize::Bits32, AddressSize::Bits24, {{0x1000, 2, "0102"}, {0x123456, 2, "AABB"}}},
        LoadCase{"NoDataRecordsKeepsTheAddressSize", "S007000048445220FA\nS5030000FC\n", AddressSize::Bits24,
                 AddressSize::Bits24, {}}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

QByteArray s1Line(quint16 address, quint8 byte)
{
    const QString body = QStringLiteral("04") + fourDigitHex(address) + twoDigitHex(byte);
    return (QStringLiteral("S1") + body + MakeCheckSum(body) + QStringLiteral("\r\n")).toLatin1();
}

TEST(SRecodeLoad, Fills257SlotsAndIgnoresTheRest)
{
    QByteArray file;
    for (int i = 0; i < 300; ++i)
        file += s1Line(quint16(i * 4), quint8(i));
    file += "S30712345678CAFE1C\r\n"; // beyond the limit: must not decide the address size
    Document document = test::documentIn(AddressSize::Bits32);
    ASSERT_EQ(checkBytes(file), 0);
    EXPECT_EQ(loadBytes(file, document), QString());
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        ASSERT_EQ(document.table[slot].address(), quint32(slot * 4)) << slot;
        ASSERT_EQ(document.table[slot].KeyData, twoDigitHex(slot)) << slot;
    }
    EXPECT_EQ(document.mode.current(), AddressSize::Bits16);
}

TEST(SRecodeLoad, TheSpareSlotTypedAsciiGetsText)
{
    QByteArray file;
    for (int i = 0; i < 256; ++i)
        file += s1Line(quint16(i), 0x30);
    file += "S10700004142430032\r\n"; // "ABC" and a NUL, which text cannot hold
    Document document;
    document.table[kSpareSlot].KeyType = kTypeAscii;
    ASSERT_EQ(checkBytes(file), 0);
    EXPECT_EQ(loadBytes(file, document), QString());
    EXPECT_EQ(document.table[kSpareSlot].KeyData, QStringLiteral("ABC"));
    EXPECT_EQ(document.table[kSpareSlot].KeySize, 4);
    EXPECT_EQ(document.table[255].KeyData, QStringLiteral("30"));
}

// A file that changed after it was checked, or a caller that skipped the
// check: nothing malformed reaches the table.
struct BadLoadCase {
    const char* name;
    QByteArray badLine;
    const char* errorStart;
};

class LoadRefusesBadDataLine : public ::testing::TestWithParam<BadLoadCase> {};

TEST_P(LoadRefusesBadDataLine, KeepsEarlierRecordsAndTheAddressSize)
{
    const QByteArray file = "S007000048445220FA\r\nS10510000102E7\r\n" + GetParam().badLine + "\r\nS10510000102E7\r\n";
    Document document = test::documentIn(AddressSize::Bits24);
    const QString error = loadBytes(file, document);
    EXPECT_TRUE(error.startsWith(QLatin1String(GetParam().errorStart))) << error.toStdString();
    EXPECT_EQ(document.table[0].KeyData, QStringLiteral("0102"));
    EXPECT_TRUE(document.table[1].isEmptyRecord());
    EXPECT_EQ(document.mode.current(), AddressSize::Bits24);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadRefusesBadDataLine,
    ::testing::Values(BadLoadCase{"CountBelowAddress", "S10210ED", "ERROR:Line 3 of the file "},
                      BadLoadCase{"ShorterThanItsCount", "S1091000", "ERROR:Line 3 of the file "},
                      BadLoadCase{"GarbageDigits", "S1040000ZZFB", "ERROR:Line 3 of the file "},
                      BadLoadCase{"WrongChecksum", "S10510000102E8", "ERROR:Line 3 of the file "},
                      BadLoadCase{"TooLong", "S3" + QByteArray(2000, 'F'), "ERROR:Line 3 of the file "}),
    [](const ::testing::TestParamInfo<BadLoadCase>& info) { return std::string(info.param.name); });

TEST(SRecodeLoad, ReportsAFileThatCannotBeOpened)
{
    QTemporaryDir dir;
    Document document = test::documentIn(AddressSize::Bits16);
    const QString error = SRecodeLoad(dir.filePath(QStringLiteral("missing.KEY")), document);
    EXPECT_TRUE(error.startsWith(QStringLiteral("ERROR:"))) << error.toStdString();
    EXPECT_GT(error.size(), 6);
    EXPECT_EQ(document.mode.current(), AddressSize::Bits16);
}

// --- files written by other tools ----------------------------------------

class ToolMadeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QRandomGenerator random(20240611);
        image.resize(1000);
        for (char& byte : image)
            byte = char(random.bounded(256));
        test::writeFileBytes(path(QStringLiteral("image.bin")), image);
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Every loaded record holds the image's bytes at its own address, and
    // together the records cover the image once.
    void expectImage(const Document& document, quint32 base)
    {
        int covered = 0;
        for (Slot slot = 0; slot < kSlotCount && document.table[slot].inUse(); ++slot) {
            const KeyRecord& record = document.table[slot];
            const QByteArray bytes = QByteArray::fromHex(record.KeyData.toLatin1());
            ASSERT_EQ(bytes.size(), record.KeySize);
            ASSERT_EQ(bytes, image.mid(qsizetype(record.address() - base), bytes.size())) << "slot " << slot;
            covered += bytes.size();
        }
        EXPECT_EQ(covered, image.size());
    }

    QTemporaryDir dir;
    QByteArray image;
};

TEST_F(ToolMadeFiles, ObjcopySrecWithHeaderS3AndEndRecord)
{
    const QString srec = path(QStringLiteral("objcopy.srec"));
    const test::ToolResult made = test::runTool(
        QStringLiteral("objcopy"), {QStringLiteral("-I"), QStringLiteral("binary"), QStringLiteral("-O"),
                                    QStringLiteral("srec"), QStringLiteral("--srec-forceS3"),
                                    QStringLiteral("--change-addresses=0x80000000"), path(QStringLiteral("image.bin")), srec});
    ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
    const QByteArray text = test::readFileBytes(srec);
    ASSERT_TRUE(text.startsWith("S0"));
    ASSERT_TRUE(text.contains("\r\nS7"));

    ASSERT_EQ(CheckSrecordFile(srec), 0);
    Document document = test::documentIn(AddressSize::Bits16);
    ASSERT_EQ(SRecodeLoad(srec, document), QString());
    EXPECT_EQ(document.mode.current(), AddressSize::Bits32);
    expectImage(document, 0x80000000);
}

TEST_F(ToolMadeFiles, SrecCatMotorolaWithLfAndCountRecord)
{
    const QString srec = path(QStringLiteral("srec_cat.srec"));
    const test::ToolResult made = test::runTool(
        QStringLiteral("srec_cat"),
        {path(QStringLiteral("image.bin")), QStringLiteral("-binary"), QStringLiteral("-offset"), QStringLiteral("0x4000"),
         QStringLiteral("-o"), srec, QStringLiteral("-motorola")});
    ASSERT_EQ(made.exitCode, 0) << made.errors.toStdString();
    const QByteArray text = test::readFileBytes(srec);
    ASSERT_FALSE(text.contains('\r'));
    ASSERT_TRUE(text.contains("\nS5") || text.contains("\nS6"));

    ASSERT_EQ(CheckSrecordFile(srec), 0);
    Document document = test::documentIn(AddressSize::Bits32);
    ASSERT_EQ(SRecodeLoad(srec, document), QString());
    EXPECT_EQ(document.mode.current(), AddressSize::Bits16);
    expectImage(document, 0x4000);
}

} // namespace
} // namespace quorvane
