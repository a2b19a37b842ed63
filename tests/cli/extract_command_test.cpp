// extract: File Open of a template, the extraction from an object file that
// objcopy made of a random image, then File Save; the file written is what
// the KEY writer writes for the template with the image's bytes as data.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QFile>

#include <random>
#include <vector>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

// The image starts below a 64 KiB boundary and ends on the last byte of the
// next block, so the Intel HEX form changes its base inside the image.
constexpr quint32 kBase = 0x1F000;
constexpr int kImageSize = 0x3000;

QByteArray randomImage()
{
    std::mt19937 random(7);
    QByteArray image(kImageSize, '\0');
    for (char& byte : image)
        byte = char(random());
    return image;
}

class Extract : public CliTest {
protected:
    void SetUp() override
    {
        writeFileBytes(path(u"image.bin"_s), image);
        const QString base = u"--change-addresses=0x%1"_s.arg(kBase, 0, 16);
        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"binary"_s, u"-O"_s, u"srec"_s, base, u"image.bin"_s, u"image.srec"_s}));
        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"binary"_s, u"-O"_s, u"ihex"_s, base, u"image.bin"_s, u"image.hex"_s}));
        // A cut line: text, but S-records no more.
        QByteArray damaged = readFileBytes(path(u"image.srec"_s));
        damaged.remove(damaged.indexOf('\n', damaged.indexOf('\n') + 1) - 3, 2);
        writeFileBytes(path(u"damaged.srec"_s), damaged);
        writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, templateRecords()));
    }

    // Unsorted, titled, one record crossing the 64 KiB boundary, one at each
    // end of the image, one ASCII record (it comes back as HEX).
    static std::vector<KeyRecord> records()
    {
        return {titled(hexRecordAt(0x20010, u"0000000000000000"_s), u"serial"_s),
                titled(hexRecordAt(kBase, u"000000000000"_s), u"first"_s),
                titled(hexRecordAt(0x1FFFC, u"0000000000000000"_s), u"crossing"_s),
                titled(hexRecordAt(kBase + kImageSize - 16, QString(32, u'0')), u"last"_s),
                titled(asciiRecordAt(0x20100, u"abc"_s), u"text"_s)};
    }

    static std::map<Slot, KeyRecord> templateRecords()
    {
        std::map<Slot, KeyRecord> bySlot;
        for (const KeyRecord& record : records())
            bySlot[Slot(bySlot.size())] = record;
        return bySlot;
    }

    // The template with the image's bytes as HEX data, in `order` of bySlot.
    [[nodiscard]] Document expected(const std::vector<int>& order) const
    {
        std::map<Slot, KeyRecord> bySlot;
        for (const int index : order) {
            const KeyRecord record = records()[std::size_t(index)];
            const QByteArray bytes = image.mid(qsizetype(record.address() - kBase), record.KeySize);
            bySlot[Slot(bySlot.size())] =
                titled(hexRecordAt(record.address(), QString::fromLatin1(bytes.toHex().toUpper())), record.KeyTitle);
        }
        return documentIn(AddressSize::Bits32, bySlot);
    }

    const QByteArray image = randomImage();
};

TEST_F(Extract, FillsTheTemplateFromEachKindOfImageAndSavesIt)
{
    const std::vector<int> byAddress = {1, 2, 0, 4, 3};
    const std::vector<int> asGiven = {0, 1, 2, 3, 4};
    struct Row {
        QStringList arguments;
        std::vector<int> order = {};
        QString out = u"out.KEY"_s;
    };
    const Row rows[] = {
        {.arguments = {u"image.srec"_s}, .order = byAddress},
        {.arguments = {u"image.hex"_s}, .order = byAddress},
        {.arguments = {u"image.bin"_s, u"--start"_s, u"1f000"_s}, .order = byAddress},
        {.arguments = {u"image.srec"_s, u"--no-sort"_s}, .order = asGiven},
        {.arguments = {u"image.srec"_s}, .order = byAddress, .out = u"out.639"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        QFile::remove(path(row.out));
        const CliRun result = run(QStringList{u"extract"_s, u"t.639"_s, u"-o"_s, row.out} + row.arguments);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_EQ(result.output, u"Wrote "_s + row.out + u'\n');
        const Document document = expected(row.order);
        EXPECT_EQ(readFileBytes(path(row.out)),
                  row.out.endsWith(u".639"_s) ? templateFileBytes(document) : keyFileBytes(document));
    }
}

TEST_F(Extract, WritesNothingWhenTheDataCannotBeHad)
{
    writeTemplate(u"beyond.639"_s, documentIn(AddressSize::Bits32, {{0, hexRecordAt(0x22000, u"00"_s)}}));
    writeTemplate(u"unaddressed.639"_s, documentIn(AddressSize::Bits32, {{0, recordAt(0x20000, 0, u"no size"_s)}}));
    struct Row {
        QStringList arguments;
        int exitCode;
        QString errors;
    };
    const Row rows[] = {
        {.arguments = {u"t.639"_s, u"image.bin"_s}, .exitCode = 1,
         .errors = u"image.bin: neither S-records nor Intel HEX, so a binary image: --start HEX must give the address "
                   u"of its first byte.\n"_s},
        {.arguments = {u"t.639"_s, u"damaged.srec"_s, u"--start"_s, u"1F000"_s}, .exitCode = 1,
         .errors = u"File format error.\nFILE: damaged.srec\nline 2 (as S-record): count disagrees with the line "
                   u"length\n"_s},
        {.arguments = {u"t.639"_s, u"image.hex"_s, u"--start"_s, u"1F000"_s}, .exitCode = 2,
         .errors = u"--start is only for a binary image; image.hex is an Intel HEX file, which carries its own "
                   u"addresses.\nSee: quorvane-cli extract --help\n"_s},
        {.arguments = {u"t.639"_s, u"missing.srec"_s}, .exitCode = 1, .errors = u"File Not Found.\n"_s},
        {.arguments = {u"unaddressed.639"_s, u"image.srec"_s}, .exitCode = 1,
         .errors = u"unaddressed.639: no record has both an address and a size; nothing to extract.\n"_s},
        {.arguments = {u"missing.639"_s, u"image.srec"_s}, .exitCode = 2, .errors = u"missing.639: File not found.\n"_s},
        {.arguments = {u"t.639"_s, u"image.srec"_s, u"-o"_s, u"missing/out.KEY"_s}, .exitCode = 1,
         .errors = u"File Save Error.\nmissing/out.KEY: No such file or directory\n"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun result = run(QStringList{u"extract"_s, u"-o"_s, u"out.KEY"_s} + row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.errors, row.errors);
        EXPECT_EQ(result.output, QString());
        EXPECT_FALSE(QFile::exists(path(u"out.KEY"_s)));
    }
}

} // namespace
} // namespace quorvane::test
