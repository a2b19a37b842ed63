// extract, merge, verify and batch --image on images that objcopy and
// srec_cat write from a random binary: objcopy turns each merged image back
// into a binary, which must be the random one with the key bytes laid over
// it. What the image readers and writers refuse is theirs to test; here,
// what each command makes of it: its exit code, its lines and its files.

#include "cli_test_support.h"

#include "core/checksums.h"

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
// Where the S-record image "image.srec" starts: below a 64 KiB boundary.
constexpr quint32 kBase = 0x1F000;

QByteArray randomBytes(std::mt19937& random, int count)
{
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
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

// One way of writing the random image as an object file: objcopy's or
// srec_cat's, as S-records or Intel HEX.
struct ImageForm {
    const char* what;
    quint32 base;
    QString program;
    QString format; // srec or ihex, as objcopy reads it back
    bool emptyLines = false; // an empty line after each line
};

const ImageForm kForms[] = {
    {.what = "S1", .base = 0x1000, .program = u"objcopy"_s, .format = u"srec"_s},
    {.what = "S2 across 64 KiB", .base = kBase, .program = u"objcopy"_s, .format = u"srec"_s},
    {.what = "S2, empty lines between", .base = kBase, .program = u"objcopy"_s, .format = u"srec"_s, .emptyLines = true},
    {.what = "S3 up to FFFFFFFF", .base = 0xFFFFD000, .program = u"objcopy"_s, .format = u"srec"_s},
    {.what = "Intel HEX, segment bases", .base = kBase, .program = u"objcopy"_s, .format = u"ihex"_s},
    {.what = "Intel HEX, linear bases", .base = 0x0800F000, .program = u"objcopy"_s, .format = u"ihex"_s},
    {.what = "Intel HEX up to FFFFFFFF", .base = 0xFFFFD000, .program = u"objcopy"_s, .format = u"ihex"_s},
    {.what = "srec_cat: LF, a count record, no end record", .base = kBase, .program = u"srec_cat"_s, .format = u"srec"_s},
    {.what = "srec_cat Intel HEX", .base = 0x0800F000, .program = u"srec_cat"_s, .format = u"ihex"_s},
};

class ImageCommands : public CliTest {
protected:
    void SetUp() override
    {
        writeFileBytes(path(u"image.bin"_s), image);
        ASSERT_TRUE(make(kForms[1], u"image.srec"_s));
        // A wrong checksum on the second line.
        QByteArray damaged = readFileBytes(path(u"image.srec"_s));
        const qsizetype end = damaged.indexOf('\r', damaged.indexOf('\n') + 1);
        damaged[end - 1] = damaged[end - 1] == '0' ? '1' : '0';
        writeFileBytes(path(u"damaged.srec"_s), damaged);
    }

    [[nodiscard]] ::testing::AssertionResult make(const ImageForm& form, const QString& file) const
    {
        const QString base = u"0x%1"_s.arg(form.base, 0, 16);
        ::testing::AssertionResult made =
            form.program == u"objcopy"_s
                ? tool(form.program, {u"-I"_s, u"binary"_s, u"-O"_s, form.format, u"--change-addresses="_s + base,
                                      u"image.bin"_s, file})
                : tool(form.program, {u"image.bin"_s, u"-binary"_s, u"-offset"_s, base, u"-o"_s, file,
                                      form.format == u"srec"_s ? u"-motorola"_s : u"-intel"_s});
        if (made && form.emptyLines)
            writeFileBytes(path(file), readFileBytes(path(file)).replace("\r\n", "\r\n\r\n"));
        return made;
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

    // The keys of image.srec with the bytes it holds there.
    [[nodiscard]] std::vector<Key> keysHeld()
    {
        std::vector<Key> keys = keysFor(kBase, true);
        for (Key& key : keys)
            key.bytes = image.mid(qsizetype(key.address - kBase), key.bytes.size());
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

TEST_F(ImageCommands, MergeWritesTheKeyBytesInPlaceAndVerifyFindsThem)
{
    for (const ImageForm& form : kForms) {
        SCOPED_TRACE(form.what);
        ASSERT_TRUE(make(form, u"image.obj"_s));
        const std::vector<Key> keys = keysFor(form.base);
        writeTemplate(u"keys.639"_s, documentOf(keys));

        const CliRun merged = run({u"merge"_s, u"image.obj"_s, u"keys.639"_s, u"-o"_s, u"merged.obj"_s,
                                   u"--allow-outside"_s, u"--overwrite"_s});
        ASSERT_EQ(merged.exitCode, 0) << merged.errors.toStdString();
        EXPECT_EQ(merged.output, u"Wrote merged.obj\n"_s);
        EXPECT_EQ(merged.errors, gapNotes(keys, u"Note: "_s, u" Added as new data lines.\n"_s));

        ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, form.format, u"-O"_s, u"binary"_s, u"merged.obj"_s, u"merged.bin"_s}));
        EXPECT_EQ(readFileBytes(path(u"merged.bin"_s)), overlaid(form.base, keys));

        const CliRun verified = run({u"verify"_s, u"merged.obj"_s, u"keys.639"_s});
        EXPECT_EQ(verified.exitCode, 0) << verified.output.toStdString();
        EXPECT_EQ(verified.output, u"merged.obj holds the key data of keys.639.\n"_s);
    }
}

// The template's records in reverse address order and without data; the
// file written is what the writers write for them with the image's bytes.
TEST_F(ImageCommands, ExtractFillsTheTemplateAndSavesItAsAsked)
{
    std::vector<Key> keys = keysHeld();
    std::vector<Key> reversed(keys.rbegin(), keys.rend());
    Document empty = documentOf(reversed);
    for (Slot slot = 0; slot < Slot(keys.size()); ++slot)
        empty.table[slot].KeyData = QString(empty.table[slot].KeyData.size(), u'0');
    writeTemplate(u"t.639"_s, empty);
    struct Row {
        QStringList arguments;
        Document written;
        QString out = u"out.KEY"_s;
    };
    const Row rows[] = {
        {.arguments = {u"image.srec"_s}, .written = documentOf(keys)},
        {.arguments = {u"image.bin"_s, u"--start"_s, u"1f000"_s}, .written = documentOf(keys)},
        {.arguments = {u"image.srec"_s, u"--no-sort"_s}, .written = documentOf(reversed)},
        {.arguments = {u"image.srec"_s}, .written = documentOf(keys), .out = u"out.639"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        QFile::remove(path(row.out));
        const CliRun result = run(QStringList{u"extract"_s, u"t.639"_s, u"-o"_s, row.out} + row.arguments);
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        EXPECT_EQ(result.output, u"Wrote "_s + row.out + u'\n');
        EXPECT_EQ(readFileBytes(path(row.out)),
                  row.out.endsWith(u".639"_s) ? templateFileBytes(row.written) : keyFileBytes(row.written));
    }
}

// 0 done, 1 refused or (verify) the key data not there, 2 a wrong call or an
// input that keeps verify from telling; a refusal writes no file.
TEST_F(ImageCommands, EndAsAScriptCanTrustAndWriteNothingOnRefusal)
{
    const std::vector<Key> held = keysHeld();
    writeKeyFile(u"keys.KEY"_s, documentOf(held));
    std::vector<Key> other = held;
    other[0].bytes = QByteArray::fromHex("0A0B0C0D0E0F1011");
    writeKeyFile(u"other.KEY"_s, documentOf(other));
    const std::vector<Key> gaps = keysFor(kBase);
    writeTemplate(u"gaps.639"_s, documentOf(gaps));
    writeTemplate(u"empty.639"_s, documentIn(AddressSize::Bits32));
    writeTemplate(u"t.639"_s, documentOf(held));
    writeTemplate(u"unaddressed.639"_s, documentIn(AddressSize::Bits32, {{0, recordAt(0x20000, 0, u"no size"_s)}}));
    writeKeyFile(u"overlap.KEY"_s, documentIn(AddressSize::Bits32, {{0, hexRecordAt(kBase, u"01020304"_s)},
                                                                    {1, hexRecordAt(kBase + 2, u"0506"_s)}}));
    writeFileBytes(path(u"d.csv"_s), "serial\nA\n");
    const QString damaged = u"File format error.\nFILE: damaged.srec\nline 2 (as S-record): wrong checksum\n"_s;
    const QString needsStart = u"image.bin: neither S-records nor Intel HEX, so a binary image: --start HEX must give "
                               u"the address of its first byte.\n"_s;
    const auto misplacedStart = [](const char* command) {
        return u"--start is only for a binary image; image.srec is an S-record file, which carries its own "
               u"addresses.\nSee: quorvane-cli %1 --help\n"_s.arg(QLatin1String(command));
    };
    const QStringList extract = {u"extract"_s, u"-o"_s, u"out.KEY"_s};
    const QStringList merge = {u"merge"_s, u"-o"_s, u"out.srec"_s};
    const QStringList batch = {u"batch"_s, u"keys.KEY"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.srec"_s, u"--image"_s};
    struct Row {
        QStringList arguments;
        int exitCode;
        QString output = {};
        QString errors = {};
    };
    const Row rows[] = {
        {.arguments = {u"verify"_s, u"image.srec"_s, u"other.KEY"_s}, .exitCode = 1,
         .output = u"Line 1 at 0001F010: byte 0 differs: expected 0A0B0C0D0E0F1011, found %1\n"_s.arg(
             QString::fromLatin1(held[0].bytes.toHex().toUpper()))},
        {.arguments = {u"verify"_s, u"image.bin"_s, u"keys.KEY"_s, u"--start"_s, u"1F000"_s}, .exitCode = 0,
         .output = u"image.bin holds the key data of keys.KEY.\n"_s},
        {.arguments = {u"verify"_s, u"image.bin"_s, u"keys.KEY"_s}, .exitCode = 2, .errors = needsStart},
        {.arguments = {u"verify"_s, u"damaged.srec"_s, u"keys.KEY"_s}, .exitCode = 2, .errors = damaged},
        {.arguments = {u"verify"_s, u"image.srec"_s, u"missing.KEY"_s}, .exitCode = 2,
         .errors = u"missing.KEY: File not found.\n"_s},
        {.arguments = extract + QStringList{u"t.639"_s, u"image.bin"_s}, .exitCode = 1, .errors = needsStart},
        {.arguments = extract + QStringList{u"t.639"_s, u"image.srec"_s, u"--start"_s, u"1F000"_s}, .exitCode = 2,
         .errors = misplacedStart("extract")},
        {.arguments = extract + QStringList{u"t.639"_s, u"missing.srec"_s}, .exitCode = 1,
         .errors = u"File Not Found.\nFILE: missing.srec\n"_s},
        {.arguments = extract + QStringList{u"unaddressed.639"_s, u"image.srec"_s}, .exitCode = 1,
         .errors = u"unaddressed.639: no record has both an address and a size; nothing to extract.\n"_s},
        {.arguments = extract + QStringList{u"missing.639"_s, u"image.srec"_s}, .exitCode = 2,
         .errors = u"missing.639: File not found.\n"_s},
        {.arguments = merge + QStringList{u"image.srec"_s, u"gaps.639"_s}, .exitCode = 1,
         .errors = u"Key data lies where image.srec has no data:\n"_s + gapNotes(gaps, {}, u"\n"_s)
                   + u"Nothing written; --allow-outside adds them as new data lines.\n"_s},
        {.arguments = merge + QStringList{u"image.srec"_s, u"overlap.KEY"_s}, .exitCode = 1,
         .errors = u"Duplicated Address\nNo.1 No.2 \nSave the file after correcting the duplicated Address\n"_s},
        {.arguments = merge + QStringList{u"image.srec"_s, u"empty.639"_s}, .exitCode = 1,
         .errors = u"empty.639: no record has data; there is nothing to put into an image.\n"_s},
        {.arguments = batch + QStringList{u"image.bin"_s}, .exitCode = 1, .errors = needsStart},
        {.arguments = batch + QStringList{u"damaged.srec"_s}, .exitCode = 1, .errors = damaged},
        {.arguments = batch + QStringList{u"image.srec"_s, u"--start"_s, u"1000"_s}, .exitCode = 2,
         .errors = misplacedStart("batch")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        const CliRun result = run(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.output, row.output);
        EXPECT_EQ(result.errors, row.errors);
        EXPECT_FALSE(QFile::exists(path(u"out.KEY"_s)) || QFile::exists(path(u"out.srec"_s)) || QDir(path(u"out"_s)).exists());
    }
}

// Each CSV row's key data in a copy of the image, named by the pattern.
TEST_F(ImageCommands, BatchWritesOneImagePerRow)
{
    const ImageForm form = kForms[5];
    ASSERT_TRUE(make(form, u"image.hex"_s));
    KeyRecord name = titled(asciiRecordAt(form.base + 0x40, u"default"_s), u"name"_s);
    name.KeySize = 0; // taken from each row's text
    writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(form.base + 0x20, u"00000000"_s), u"serial"_s)},
                                                               {1, name}}));
    writeFileBytes(path(u"d.csv"_s), "serial,name\n01020304,alpha\n0A0B0C0D,\xC3\xA4-beta\n");
    const auto overlaidRow = [&](quint32 base, const QByteArray& serial, const QByteArray& text) {
        return overlaid(base, {{u"serial"_s, base + 0x20, QByteArray::fromHex(serial)}, {u"name"_s, base + 0x40, text}});
    };

    const CliRun result = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"out/{serial}.hex"_s, u"--image"_s, u"image.hex"_s});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
    EXPECT_EQ(result.output, u"CSV line 2: wrote out/01020304.hex\nCSV line 3: wrote out/0A0B0C0D.hex\n"_s);
    ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, u"ihex"_s, u"-O"_s, u"binary"_s, u"out/0A0B0C0D.hex"_s, u"row.bin"_s}));
    EXPECT_EQ(readFileBytes(path(u"row.bin"_s)), overlaidRow(form.base, "0A0B0C0D", "\xC3\xA4-beta"));

    // A record where the image has no data refuses every row, unless allowed.
    writeTemplate(u"gap.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(0x100, u"00000000"_s), u"serial"_s)},
                                                                 {1, name}}));
    for (const auto& [allow, exitCode] : {std::pair{QStringList{}, 1}, std::pair{QStringList{u"--allow-outside"_s}, 0}}) {
        const CliRun gap = run(QStringList{u"batch"_s, u"gap.639"_s, u"d.csv"_s, u"-o"_s, u"gap/{serial}.hex"_s,
                                           u"--image"_s, u"image.hex"_s} + allow);
        EXPECT_EQ(gap.exitCode, exitCode) << gap.errors.toStdString();
        EXPECT_EQ(QFileInfo::exists(path(u"gap/01020304.hex"_s)), exitCode == 0);
    }

    // A binary image starts where --start says.
    const CliRun started = run({u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"bin/{serial}.bin"_s, u"--image"_s,
                                u"image.bin"_s, u"--start"_s, QString::number(form.base, 16)});
    ASSERT_EQ(started.exitCode, 0) << started.errors.toStdString();
    EXPECT_EQ(readFileBytes(path(u"bin/01020304.bin"_s)), overlaidRow(form.base, "01020304", "alpha"));
}

// A checksum over a range of the merged image is over what each file holds
// there, the row's serial included: objcopy turns each file back into bytes,
// summed here by the checksum code (checked against the catalogue on its own).
TEST_F(ImageCommands, HashCoversTheRangeOfEachMergedImage)
{
    ASSERT_TRUE(make(kForms[4], u"image.hex"_s));
    const quint32 crcAt = kBase + kImageSize - 4;
    writeTemplate(u"t.639"_s, documentIn(AddressSize::Bits32, {{0, titled(hexRecordAt(kBase + 0x20, u"00000000"_s), u"serial"_s)},
                                                               {1, titled(hexRecordAt(crcAt, u"00000000"_s), u"crc"_s)}}));
    writeFileBytes(path(u"d.csv"_s), "serial\n01020304\n0A0B0C0D\n");
    const auto hashOver = [](const char* algorithm, quint64 first, const QString& suffix = {}) {
        return u"crc=%1:image:%2-%3"_s.arg(QLatin1String(algorithm)).arg(first, 0, 16).arg(crcAt - 1, 0, 16) + suffix;
    };
    struct Row {
        QString image;
        const char* algorithm;
        QString suffix = {};
        quint32 first = kBase;
        char fill = 0;
        QStringList extra = {};
        bool merge = false; // the single-image command, with the template's serial
    };
    const Row rows[] = {
        {.image = u"image.srec"_s, .algorithm = "crc32"},
        {.image = u"image.hex"_s, .algorithm = "crc32c", .suffix = u":le"_s},
        {.image = u"image.bin"_s, .algorithm = "sha256", .extra = {u"--start"_s, u"1F000"_s}},
        {.image = u"image.srec"_s, .algorithm = "sum32", .suffix = u":fill=A5"_s, .first = kBase - 0x10, .fill = '\xA5'},
        {.image = u"image.srec"_s, .algorithm = "crc32", .merge = true},
    };
    for (std::size_t index = 0; index < std::size(rows); ++index) {
        const Row& row = rows[index];
        const QString hash = hashOver(row.algorithm, row.first, row.suffix);
        SCOPED_TRACE(hash.toStdString());
        const QString out = row.merge ? u"merged-"_s : u"out%1/"_s.arg(index); // merge makes no folder
        const QString format = row.image.section(u'.', 1);
        const QStringList files = row.merge ? QStringList{u"00000000"_s} : QStringList{u"01020304"_s, u"0A0B0C0D"_s};
        const CliRun result = run((row.merge ? QStringList{u"merge"_s, row.image, u"t.639"_s, u"-o"_s, out + files[0] + u'.' + format}
                                             : QStringList{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, out + u"{serial}."_s + format,
                                                           u"--image"_s, row.image})
                                  + row.extra + QStringList{u"--hash"_s, hash});
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        for (const QString& file : files) {
            const QString written = out + file + u'.' + format;
            if (format != u"bin"_s) {
                ASSERT_TRUE(tool(u"objcopy"_s, {u"-I"_s, format == u"hex"_s ? u"ihex"_s : u"srec"_s, u"-O"_s, u"binary"_s,
                                                 written, written + u".bin"_s}));
            }
            const QByteArray bytes = readFileBytes(path(format == u"bin"_s ? written : written + u".bin"_s));
            ASSERT_EQ(bytes.mid(0x20, 4).toHex().toUpper(), file.toLatin1());
            const QByteArray range = QByteArray(qsizetype(kBase - row.first), row.fill) + bytes.left(kImageSize - 4);
            QByteArray expected = checksumOf(*checksumAlgorithmNamed(QString::fromLatin1(row.algorithm)), range).left(4);
            if (row.suffix == u":le"_s)
                std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(bytes.right(4).toHex(), expected.toHex()) << file.toStdString();
        }
        // verify takes the same --hash: the checksum merge wrote is there,
        // another algorithm's is not, and a range it cannot sum cannot tell.
        if (row.merge) {
            const QStringList verify{u"verify"_s, out + files[0] + u'.' + format, u"t.639"_s, u"--hash"_s};
            EXPECT_EQ(run(verify + QStringList{hash}).exitCode, 0);
            EXPECT_EQ(run(verify + QStringList{hashOver("crc32c", row.first)}).exitCode, 1);
            EXPECT_EQ(run(verify + QStringList{hashOver("crc32", kBase - 0x10)}).exitCode, 2);
        }
    }

    // Refused before any file: a range holding the record it fills, one with
    // addresses the image has no data for.
    const QStringList batch{u"batch"_s, u"t.639"_s, u"d.csv"_s, u"-o"_s, u"refused/{serial}.srec"_s};
    const QStringList image{u"--image"_s, u"image.srec"_s};
    const struct {
        QStringList arguments;
        int exitCode;
        QString errors;
    } refusals[] = {
        {.arguments = image + QStringList{u"--hash"_s, u"crc=crc32:image:1F000-21FFF"_s}, .exitCode = 2,
         .errors = u"--hash \"crc=crc32:image:1F000-21FFF\": line 2 at 00021FFC-00021FFF lies inside the range "
                   u"0001F000-00021FFF it covers; a record cannot hold its own checksum.\nSee: quorvane-cli batch --help\n"_s},
        {.arguments = image + QStringList{u"--hash"_s, hashOver("crc32", kBase - 0x10)}, .exitCode = 1,
         .errors = u"--hash \"crc=crc32:image:1eff0-21ffb\": image.srec has no data at 0001EFF0-0001EFFF, inside the "
                   u"range 0001EFF0-00021FFB; give the byte such addresses hold, as in image:0001EFF0-00021FFB:fill=FF.\n"_s},
    };
    for (const auto& refusal : refusals) {
        const CliRun result = run(batch + refusal.arguments);
        EXPECT_EQ(result.exitCode, refusal.exitCode);
        EXPECT_EQ(result.errors, refusal.errors);
        EXPECT_FALSE(QDir(path(u"refused"_s)).exists());
    }
}

} // namespace
} // namespace quorvane::test
