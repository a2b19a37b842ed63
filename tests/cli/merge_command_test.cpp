// merge, verify and batch --image on images written by objcopy and srec_cat
// from a random binary: objcopy turns each merged image back into a binary,
// which must be the random one with the key bytes laid over it, and extract
// must give back every record's data.

#include "cli_test_support.h"
#include "tests/support/record_builders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <random>
#include <vector>

namespace quorvane::test {
namespace {

using namespace Qt::StringLiterals;

constexpr int kImageSize = 0x3000;

QByteArray randomBytes(std::mt19937& random, int count)
{
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

QString hex(quint64 value)
{
    return u"0x%1"_s.arg(value, 0, 16);
}

QString addressText(quint64 address)
{
    return u"%1"_s.arg(address, 8, 16, QChar(u'0')).toUpper();
}

// A key record for the test: where it goes and what it holds.
struct Key {
    QString title;
    quint32 address;
    QByteArray bytes;
    bool inGap = false; // where the image has no data
};

// One way of writing the random image as an object file.
struct ImageForm {
    const char* what;
    quint32 base;
    QString program; // makes "image" + extension from image.bin
    QStringList arguments;
    QString objcopyFormat; // how objcopy reads it back: srec or ihex
};

class Merge : public CliTest {
protected:
    void SetUp() override { writeFileBytes(path(u"image.bin"_s), image); }

    [[nodiscard]] ::testing::AssertionResult make(const ImageForm& form, const QString& file) const
    {
        QStringList arguments = form.arguments;
        arguments.replaceInStrings(u"BASE"_s, hex(form.base));
        arguments.replaceInStrings(u"OUT"_s, file);
        return tool(form.program, arguments);
    }

    // Records inside the image, across a 64 KiB boundary when the image has
    // one, on its last bytes and, unless `inImageOnly`, in two gaps: one
    // near the image, one a megabyte away (beyond the reach of the image's
    // last Intel HEX base), in address order.
    [[nodiscard]] std::vector<Key> keysFor(quint32 base, bool inImageOnly = false)
    {
        const quint64 last = quint64(base) + kImageSize - 1;
        std::vector<Key> keys = {{u"inside"_s, base + 0x10, randomBytes(random, 8)},
                                 {u"last"_s, quint32(last - 3), randomBytes(random, 4)}};
        const quint64 boundary = (quint64(base) | 0xFFFF) + 1;
        if (boundary <= last)
            keys.push_back({u"crossing"_s, quint32(boundary - 3), randomBytes(random, 6)});
        if (!inImageOnly) {
            const bool top = last > 0xFFF00000;
            keys.push_back({u"gap"_s, quint32(top ? base - 0x200 : last + 0x101), randomBytes(random, 3), true});
            keys.push_back({u"far"_s, quint32(top ? base - 0x100000 : base + 0x100000), randomBytes(random, 2), true});
        }
        std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.address < b.address; });
        return keys;
    }

    [[nodiscard]] static Document documentOf(const std::vector<Key>& keys)
    {
        std::map<Slot, KeyRecord> records;
        for (const Key& key : keys)
            records[Slot(records.size())] =
                titled(hexRecordAt(key.address, QString::fromLatin1(key.bytes.toHex().toUpper())), key.title);
        return documentIn(AddressSize::Bits32, records);
    }

    // What objcopy -O binary gives for the image at `base` with the keys in
    // place: from the lowest address to the highest, gaps filled with 0.
    [[nodiscard]] QByteArray overlaid(quint32 base, const std::vector<Key>& keys) const
    {
        quint64 low = base;
        quint64 high = quint64(base) + kImageSize;
        for (const Key& key : keys) {
            low = std::min<quint64>(low, key.address);
            high = std::max<quint64>(high, key.address + quint64(key.bytes.size()));
        }
        QByteArray bytes(qsizetype(high - low), '\0');
        bytes.replace(qsizetype(base - low), kImageSize, image);
        for (const Key& key : keys)
            bytes.replace(qsizetype(key.address - low), key.bytes.size(), key.bytes);
        return bytes;
    }

    // What merge says of each record in a gap, with `prefix` and `suffix`.
    [[nodiscard]] static QString gapNotes(const std::vector<Key>& keys, const QString& prefix, const QString& suffix)
    {
        QString notes;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i].inGap)
                notes += prefix
                         + u"Line %1 (%2) at %3 to %4: %5 of its %5 bytes lie where the image has no data."_s
                               .arg(i + 1)
                               .arg(keys[i].title, addressText(keys[i].address),
                                    addressText(keys[i].address + quint64(keys[i].bytes.size()) - 1),
                                    QString::number(keys[i].bytes.size()))
                         + suffix;
        }
        return notes;
    }

    std::mt19937 random{11};
    const QByteArray image = randomBytes(random, kImageSize);
};

const QStringList kObjcopySrec = {u"-I"_s, u"binary"_s, u"-O"_s, u"srec"_s, u"--change-addresses=BASE"_s,
                                  u"image.bin"_s, u"OUT"_s};
const QStringList kObjcopyIhex = {u"-I"_s, u"binary"_s, u"-O"_s, u"ihex"_s, u"--change-addresses=BASE"_s,
                                  u"image.bin"_s, u"OUT"_s};

const ImageForm kForms[] = {
    {.what = "objcopy S1", .base = 0x1000, .program = u"objcopy"_s, .arguments = kObjcopySrec,
     .objcopyFormat = u"srec"_s},
    {.what = "objcopy S2 across 64 KiB", .base = 0x1F000, .program = u"objcopy"_s, .arguments = kObjcopySrec,
     .objcopyFormat = u"srec"_s},
    {.what = "objcopy S3 up to FFFFFFFF", .base = 0xFFFFD000, .program = u"objcopy"_s, .arguments = kObjcopySrec,
     .objcopyFormat = u"srec"_s},
    {.what = "objcopy Intel HEX, segment bases", .base = 0x1F000, .program = u"objcopy"_s,
     .arguments = kObjcopyIhex, .objcopyFormat = u"ihex"_s},
    {.what = "objcopy Intel HEX, linear bases", .base = 0x0800F000, .program = u"objcopy"_s,
     .arguments = kObjcopyIhex, .objcopyFormat = u"ihex"_s},
    {.what = "objcopy Intel HEX up to FFFFFFFF", .base = 0xFFFFD000, .program = u"objcopy"_s,
     .arguments = kObjcopyIhex, .objcopyFormat = u"ihex"_s},
    {.what = "srec_cat: LF, a count record, no end record", .base = 0x1F000, .program = u"srec_cat"_s,
     .arguments = {u"image.bin"_s, u"-binary"_s, u"-offset"_s, u"BASE"_s, u"-o"_s, u"OUT"_s, u"-motorola"_s},
     .objcopyFormat = u"srec"_s},
    {.what = "srec_cat Intel HEX", .base = 0x0800F000, .program = u"srec_cat"_s,
     .arguments = {u"image.bin"_s, u"-binary"_s, u"-offset"_s, u"BASE"_s, u"-o"_s, u"OUT"_s, u"-intel"_s},
     .objcopyFormat = u"ihex"_s},
};

TEST_F(Merge, TheImageReadBackIsTheImageWithTheKeyBytesInPlace)
{
    for (const ImageForm& form : kForms) {
        SCOPED_TRACE(form.what);
        ASSERT_TRUE(make(form, u"image.obj"_s));
        const std::vector<Key> keys = keysFor(form.base);
        const Document document = documentOf(keys);
        writeTemplate(u"keys.639"_s, document);

        const CliRun merged =
            run({u"merge"_s, u"image.obj"_s, u"keys.639"_s, u"-o"_s, u"merged.obj"_s, u"--allow-outside"_s,
                                   u"--overwrite"_s});
        ASSERT_EQ(merged.exitCode, 0) << merged.errors.toStdString();
        EXPECT_EQ(merged.output, u"Wrote merged.obj\n"_s);
        EXPECT_EQ(merged.errors, gapNotes(keys, u"Note: "_s, u" Added as new data lines.\n"_s));

        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, form.objcopyFormat, u"-O"_s, u"binary"_s, u"merged.obj"_s, u"merged.bin"_s}));
        EXPECT_EQ(readFileBytes(path(u"merged.bin"_s)), overlaid(form.base, keys));

        const CliRun verified = run({u"verify"_s, u"merged.obj"_s, u"keys.639"_s});
        EXPECT_EQ(verified.exitCode, 0) << verified.output.toStdString();
        EXPECT_EQ(verified.output, u"merged.obj holds the key data of keys.639.\n"_s);
    }
}

TEST_F(Merge, ABinaryImageKeepsItsLength)
{
    const quint32 base = 0x1F000;
    const std::vector<Key> keys = keysFor(base, true);
    writeKeyFile(u"keys.KEY"_s, documentOf(keys));
    const CliRun merged = run({u"merge"_s, u"image.bin"_s, u"keys.KEY"_s, u"-o"_s, u"merged.bin"_s, u"--start"_s, u"1f000"_s});
    ASSERT_EQ(merged.exitCode, 0) << merged.errors.toStdString();
    EXPECT_EQ(readFileBytes(path(u"merged.bin"_s)), overlaid(base, keys));
}

TEST_F(Merge, WritesNothingItCannotWriteWhole)
{
    ImageForm srecords = kForms[1];
    ASSERT_TRUE(make(srecords, u"image.srec"_s));
    const std::vector<Key> keys = keysFor(srecords.base);
    writeTemplate(u"keys.639"_s, documentOf(keys));
    writeTemplate(u"inside.639"_s, documentOf(keysFor(srecords.base, true)));
    writeTemplate(u"empty.639"_s, documentIn(AddressSize::Bits32));
    struct Row {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString errors;
    };
    const Row rows[] = {
        {.what = "key data where the image has no data", .arguments = {u"image.srec"_s, u"keys.639"_s}, .exitCode = 1,
         .errors = u"Key data lies where image.srec has no data:\n"_s + gapNotes(keys, {}, u"\n"_s)
                   + u"Nothing written; --allow-outside adds them as new data lines.\n"_s},
        {.what = "--strict is no option", .arguments = {u"image.srec"_s, u"inside.639"_s, u"--strict"_s}, .exitCode = 2,
         .errors = u"Unknown option 'strict'.\nSee: quorvane-cli merge --help\n"_s},
        {.what = "binary with records outside, allowed or not",
         .arguments = {u"image.bin"_s, u"keys.639"_s, u"--start"_s, u"1F000"_s, u"--allow-outside"_s}, .exitCode = 1,
         .errors = u"Key data lies outside image.bin, which holds 0001F000 to 00021FFF:\n"_s + gapNotes(keys, {}, u"\n"_s)},
        {.what = "no record with data", .arguments = {u"image.srec"_s, u"empty.639"_s}, .exitCode = 1,
         .errors = u"empty.639: no record has data; there is nothing to put into an image.\n"_s},
        {.what = "no folder for the output", .arguments = {u"image.srec"_s, u"keys.639"_s, u"-o"_s, u"no/out.srec"_s},
         .exitCode = 1, .errors = u"File Save Error.\nno/out.srec: No such file or directory\n"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        writeFileBytes(path(u"out.srec"_s), "previous\n");
        const CliRun result = run(QStringList{u"merge"_s, u"--overwrite"_s, u"-o"_s, u"out.srec"_s} + row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.errors, row.errors);
        EXPECT_EQ(result.output, QString());
        EXPECT_EQ(readFileBytes(path(u"out.srec"_s)), "previous\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 6) << "a file was left behind";
    }
}

// Each CSV row's key data in a copy of the image, named by the pattern.
TEST_F(Merge, BatchWritesOneImagePerRow)
{
    const ImageForm form = kForms[4];
    ASSERT_TRUE(make(form, u"image.hex"_s));
    KeyRecord name = titled(asciiRecordAt(form.base + 0x40, u"default"_s), u"name"_s);
    name.KeySize = 0; // taken from each row's text
    writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(form.base + 0x20, u"00000000"_s), u"serial"_s)},
                                                               {1, name}}));
    writeFileBytes(path(u"d.csv"_s), "serial,name\n01020304,alpha\n0A0B0C0D,\xC3\xA4-beta\nFFFEFDFC,gamma-ray\n");
    const std::vector<std::pair<QByteArray, QByteArray>> rows = {
        {"01020304", "alpha"}, {"0A0B0C0D", "\xC3\xA4-beta"}, {"FFFEFDFC", "gamma-ray"}};

    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.hex"_s, u"--image"_s, u"image.hex"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/01020304.hex\nCSV line 3: wrote out/0A0B0C0D.hex\n"
                             u"CSV line 4: wrote out/FFFEFDFC.hex\n"_s);
    for (const auto& [serial, text] : rows) {
        SCOPED_TRACE(serial.toStdString());
        const QString file = u"out/"_s + QString::fromLatin1(serial) + u".hex"_s;
        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"ihex"_s, u"-O"_s, u"binary"_s, file, u"row.bin"_s}));
        EXPECT_EQ(readFileBytes(path(u"row.bin"_s)),
                  overlaid(form.base, {{u"serial"_s, form.base + 0x20, QByteArray::fromHex(serial)},
                                       {u"name"_s, form.base + 0x40, text}}));
    }

    // A record where the image has no data refuses every row, unless allowed.
    writeTemplate(u"gap.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x100, u"00000000"_s), u"serial"_s)},
                                                                 {1, name}}));
    for (const auto& [allow, exitCode] : {std::pair{QStringList{}, 1}, std::pair{QStringList{u"--allow-outside"_s}, 0}}) {
        const CliRun gap = run(QStringList{u"batch"_s, u"gap.639"_s, u"d.csv"_s, u"-o"_s, u"gap/{serial}.hex"_s,
                                           u"--image"_s, u"image.hex"_s} + allow);
        EXPECT_EQ(gap.exitCode, exitCode) << gap.errors.toStdString();
        EXPECT_EQ(QFileInfo::exists(path(u"gap/01020304.hex"_s)), exitCode == 0);
    }

    // A binary image: --start is needed once, before any row.
    const CliRun binary = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"bin/{serial}.bin"_s, u"--image"_s, u"image.bin"_s});
    EXPECT_EQ(binary.exitCode, 1);
    EXPECT_EQ(binary.errors, u"image.bin: neither S-records nor Intel HEX, so a binary image: --start HEX must give the "
                             u"address of its first byte.\n"_s);
    EXPECT_FALSE(QDir(path(u"bin"_s)).exists());
    const CliRun started = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"bin/{serial}.bin"_s, u"--image"_s,
                                u"image.bin"_s, u"--start"_s, QString::number(form.base, 16)});
    ASSERT_EQ(started.exitCode, 0) << started.errors.toStdString();
    EXPECT_EQ(readFileBytes(path(u"bin/01020304.bin"_s)),
              overlaid(form.base, {{u"serial"_s, form.base + 0x20, QByteArray::fromHex("01020304")},
                                   {u"name"_s, form.base + 0x40, "alpha"}}));
}

} // namespace
} // namespace quorvane::test
