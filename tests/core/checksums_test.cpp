// Every algorithm against the check value of the CRC catalogue (or the
// known digest), and the CRCs Python's zlib and binascii also compute
// against them over bytes of every value.

#include "core/checksums.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace quorvane {
namespace {

TEST(Checksums, CheckValuesOfTheCatalogue)
{
    const struct {
        const char* name;
        const char* data;
        const char* expected;
    } cases[] = {
        {.name = "crc16-ccitt-false", .data = "123456789", .expected = "29b1"},
        {.name = "crc16-xmodem", .data = "123456789", .expected = "31c3"},
        {.name = "crc16-modbus", .data = "123456789", .expected = "4b37"},
        {.name = "crc32", .data = "123456789", .expected = "cbf43926"},
        {.name = "crc32c", .data = "123456789", .expected = "e3069283"},
        {.name = "sum8", .data = "123456789", .expected = "dd"},
        {.name = "sum16", .data = "123456789", .expected = "01dd"},
        {.name = "sum32", .data = "\xff\xff\xff\xff", .expected = "000003fc"},
        {.name = "sha256", .data = "abc", .expected = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    };
    ASSERT_EQ(std::size(cases), std::size_t(checksumAlgorithmNames().size())) << "an algorithm without a check value";
    for (const auto& c : cases) {
        const auto algorithm = checksumAlgorithmNamed(QString::fromLatin1(c.name));
        ASSERT_TRUE(algorithm) << c.name;
        EXPECT_EQ(checksumOf(*algorithm, QByteArrayView(c.data)).toHex(), QByteArray(c.expected)) << c.name;
        // Given in two pieces, as a range of an image is given in blocks.
        Checksum pieces(*algorithm);
        const QByteArrayView data(c.data);
        pieces.add(data.first(data.size() / 2));
        pieces.add(data.sliced(data.size() / 2));
        EXPECT_EQ(pieces.result().toHex(), QByteArray(c.expected)) << c.name << " in pieces";
    }
}

TEST(Checksums, AgreeWithPython)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QByteArray data;
    for (int i = 0; i < 1000; ++i)
        data += char((i * 7) ^ (i >> 3));
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QStringLiteral("import sys,zlib,binascii; d=sys.stdin.buffer.read(); "
                                                                "print('%08x %04x %04x' % (zlib.crc32(d), "
                                                                "binascii.crc_hqx(d,0xFFFF), binascii.crc_hqx(d,0)))")});
    process.write(data);
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.readAllStandardOutput().trimmed(),
              checksumOf(ChecksumAlgorithm::Crc32, data).toHex() + ' '
                  + checksumOf(ChecksumAlgorithm::Crc16CcittFalse, data).toHex() + ' '
                  + checksumOf(ChecksumAlgorithm::Crc16Xmodem, data).toHex());
}

} // namespace
} // namespace quorvane
