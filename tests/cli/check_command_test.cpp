// check: one line per file, the worst outcome as the exit code.

#include "cli_test_support.h"

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

class Check : public CliTest {
protected:
    void SetUp() override
    {
        const QByteArray key = keyFileBytes(documentIn(
            AddressSize::Bits24, {{0, hexRecordAt(0x123456, u"A1B2C3"_s)}, {1, asciiRecordAt(0x2000, u"abc"_s)}}));
        writeFileBytes(path(u"key.KEY"_s), key);
        QByteArray badChecksum = key;
        char& lastDigitOfLine2 = badChecksum[badChecksum.lastIndexOf("\r\n", badChecksum.lastIndexOf("\r\n") - 1) - 1];
        lastDigitOfLine2 = lastDigitOfLine2 == '0' ? '1' : '0';
        writeFileBytes(path(u"checksum.srec"_s), badChecksum);
        writeFileBytes(path(u"text.txt"_s), "hello, world\n");
        writeFileBytes(path(u"empty"_s), "");

        // Written by an independent tool, with a linear base above 64 KiB.
        writeFileBytes(path(u"image.bin"_s), QByteArray(100, '\x5A'));
        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"binary"_s, u"-O"_s, u"ihex"_s, u"--change-addresses=0x12340"_s,
                                        u"image.bin"_s, u"objcopy.hex"_s}));
        hexLines = readFileBytes(path(u"objcopy.hex"_s)).count('\n');
    }

    qsizetype hexLines = 0;
};

TEST_F(Check, NamesEachFilesFormatOrItsFirstBadLine)
{
    struct Row {
        QStringList files;
        int exitCode;
        QString output;
        QString errors = {};
    };
    const Row rows[] = {
        {.files = {u"key.KEY"_s}, .exitCode = 0, .output = u"key.KEY: S-record, 3 lines\n"_s},
        {.files = {u"objcopy.hex"_s}, .exitCode = 0,
         .output = u"objcopy.hex: Intel HEX, %1 lines\n"_s.arg(hexLines)},
        {.files = {u"empty"_s}, .exitCode = 0, .output = u"empty: S-record, 0 lines\n"_s},
        {.files = {u"checksum.srec"_s}, .exitCode = 1,
         .output = u"checksum.srec: not S-record or Intel HEX: line 2 (as S-record): wrong checksum\n"_s},
        {.files = {u"text.txt"_s}, .exitCode = 1,
         .output = u"text.txt: not S-record or Intel HEX: line 1 (as S-record): does not start with \"S\"\n"_s},
        {.files = {u"key.KEY"_s, u"text.txt"_s, u"key.KEY"_s}, .exitCode = 1,
         .output = u"key.KEY: S-record, 3 lines\n"
                   u"text.txt: not S-record or Intel HEX: line 1 (as S-record): does not start with \"S\"\n"
                   u"key.KEY: S-record, 3 lines\n"_s},
        {.files = {u"missing.srec"_s, u"checksum.srec"_s}, .exitCode = 2,
         .output = u"checksum.srec: not S-record or Intel HEX: line 2 (as S-record): wrong checksum\n"_s,
         .errors = u"missing.srec: cannot be read: No such file or directory\n"_s},
        // It opens, but its first read fails (the kernel answers EIO for
        // address 0): that says nothing about the format.
        {.files = {u"/proc/self/mem"_s}, .exitCode = 2, .output = {},
         .errors = u"/proc/self/mem: cannot be read: Input/output error\n"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.files.join(u' ').toStdString());
        const CliRun result = run(QStringList{u"check"_s} + row.files);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.output, row.output);
        EXPECT_EQ(result.errors, row.errors);
    }
}

} // namespace
} // namespace quorvane::test
