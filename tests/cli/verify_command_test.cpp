// What the image commands make of the image they are given: verify's exit
// codes, a damaged S-record file refused by merge and batch --image as well,
// --start refused for an image that carries its own addresses, and empty
// lines in an image passed over as objcopy passes them over.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QDir>
#include <QFile>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

constexpr quint32 kBase = 0x1000;

class ImageCommands : public CliTest {
protected:
    void SetUp() override
    {
        for (int i = 0; i < image.size(); ++i)
            image[i] = char(i * 7 + 3);
        writeFileBytes(path(u"image.bin"_s), image);
        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"binary"_s, u"-O"_s, u"srec"_s, u"--change-addresses=0x1000"_s,
                                        u"image.bin"_s, u"image.srec"_s}));
        const QByteArray srecords = readFileBytes(path(u"image.srec"_s));
        // A wrong checksum on the second line.
        QByteArray damaged = srecords;
        const qsizetype end = damaged.indexOf('\r', damaged.indexOf('\n') + 1);
        damaged[end - 1] = damaged[end - 1] == '0' ? '1' : '0';
        writeFileBytes(path(u"damaged.srec"_s), damaged);
        writeFileBytes(path(u"blank.srec"_s), QByteArray(srecords).replace("\r\n", "\r\n\r\n"));
        writeKeyFile(u"keys.KEY"_s, keysAt(0x10, image.mid(0x10, 4)));
        writeKeyFile(u"other.KEY"_s, keysAt(0x10, kOther));
        writeFileBytes(path(u"d.csv"_s), "serial,#1\nA,01020304\n");
    }

    [[nodiscard]] static Document keysAt(quint32 offset, const QByteArray& bytes)
    {
        return documentIn(AddressSize::Bits32,
                          {{0, hexRecordAt(kBase + offset, QString::fromLatin1(bytes.toHex().toUpper()))}});
    }

    const QByteArray kOther = QByteArray::fromHex("0A0B0C0D");
    QByteArray image = QByteArray(0x200, '\0');
};

TEST_F(ImageCommands, EndAsAScriptCanTrust)
{
    const QString damaged = u"File format error.\nFILE: damaged.srec\nline 2 (as S-record): wrong checksum\n"_s;
    const auto misplacedStart = [](const char* command) {
        return u"--start is only for a binary image; image.srec is an S-record file, which carries its own "
               u"addresses.\nSee: quorvane-cli %1 --help\n"_s.arg(QLatin1String(command));
    };
    struct Row {
        QStringList arguments;
        int exitCode;
        QString output = {};
        QString errors = {};
    };
    const Row rows[] = {
        {.arguments = {u"verify"_s, u"image.srec"_s, u"keys.KEY"_s}, .exitCode = 0,
         .output = u"image.srec holds the key data of keys.KEY.\n"_s},
        {.arguments = {u"verify"_s, u"blank.srec"_s, u"keys.KEY"_s}, .exitCode = 0,
         .output = u"blank.srec holds the key data of keys.KEY.\n"_s},
        {.arguments = {u"verify"_s, u"image.bin"_s, u"other.KEY"_s, u"--start"_s, u"1000"_s}, .exitCode = 1,
         .output = u"Line 1 at 00001010: byte 0 differs: expected 0A0B0C0D, found %1\n"_s.arg(
             QString::fromLatin1(image.mid(0x10, 4).toHex().toUpper()))},
        {.arguments = {u"verify"_s, u"missing.srec"_s, u"keys.KEY"_s}, .exitCode = 2, .errors = u"File Not Found.\n"_s},
        {.arguments = {u"verify"_s, u"image.bin"_s, u"keys.KEY"_s}, .exitCode = 2,
         .errors = u"image.bin: neither S-records nor Intel HEX, so a binary image: --start HEX must give the address "
                   u"of its first byte.\n"_s},
        {.arguments = {u"verify"_s, u"damaged.srec"_s, u"keys.KEY"_s, u"--start"_s, u"1000"_s}, .exitCode = 2,
         .errors = damaged},
        {.arguments = {u"verify"_s, u"image.srec"_s, u"keys.KEY"_s, u"--start"_s, u"1000"_s}, .exitCode = 2,
         .errors = misplacedStart("verify")},
        {.arguments = {u"merge"_s, u"damaged.srec"_s, u"keys.KEY"_s, u"-o"_s, u"out.srec"_s, u"--start"_s, u"1000"_s},
         .exitCode = 1, .errors = damaged},
        {.arguments = {u"merge"_s, u"image.srec"_s, u"keys.KEY"_s, u"-o"_s, u"out.srec"_s, u"--start"_s, u"1000"_s},
         .exitCode = 2, .errors = misplacedStart("merge")},
        {.arguments = {u"batch"_s, u"keys.KEY"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.srec"_s, u"--image"_s,
                       u"damaged.srec"_s, u"--start"_s, u"1000"_s},
         .exitCode = 1, .errors = damaged},
        {.arguments = {u"batch"_s, u"keys.KEY"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.srec"_s, u"--image"_s,
                       u"image.srec"_s, u"--start"_s, u"1000"_s},
         .exitCode = 2, .errors = misplacedStart("batch")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.output, row.output);
        EXPECT_EQ(result.errors, row.errors);
        EXPECT_FALSE(QFile::exists(path(u"out.srec"_s)) || QDir(path(u"out"_s)).exists());
    }
}

// Merged, the empty lines may go, but objcopy must read every byte right.
TEST_F(ImageCommands, MergeReadsPastEmptyLines)
{
    const CliRun merged = run({u"merge"_s, u"blank.srec"_s, u"other.KEY"_s, u"-o"_s, u"out.srec"_s});
    ASSERT_EQ(merged.exitCode, 0) << merged.errors.toStdString();
    ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"srec"_s, u"-O"_s, u"binary"_s, u"out.srec"_s, u"out.bin"_s}));
    EXPECT_EQ(readFileBytes(path(u"out.bin"_s)), QByteArray(image).replace(0x10, 4, kOther));
}

} // namespace
} // namespace quorvane::test
