// Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/:
// files of the program's own writers (KEY files, templates, settings),
// object files made by objcopy and srec_cat from a small image, and CSV files
// of the kinds `batch` reads. Run by hand after a change of a format:
//
//     cmake --build build-fuzz --target seed_writer && build-fuzz/fuzz/seed_writer fuzz/corpus
//
// The extraction targets take their targets from a header in front of the
// file (fuzz/extraction_input.h); the seeds look for bytes the file holds,
// so that the fuzzer starts from records that are found.

#include "files/settings_file.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <utility>
#include <vector>

using namespace quorvane;

namespace {

QDir corpus;

void put(const QString& target, const QString& name, const QByteArray& bytes)
{
    corpus.mkpath(target);
    QFile file(corpus.filePath(target + QLatin1Char('/') + name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

template <typename Writer>
QByteArray written(Writer write, const Document& document)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const QString error = write(buffer, document); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    return bytes;
}

KeyRecord record(const QString& title, quint32 address, qint16 type, const QString& data)
{
    const qint16 size = qint16(type == kTypeHex ? data.size() / 2 : data.toUtf8().size());
    return {title, qint16(address >> 16), qint16(address), size, type, data, true};
}

Document document(AddressSize size, std::vector<KeyRecord> records)
{
    Document document;
    document.mode.set(size);
    for (std::size_t i = 0; i < records.size(); ++i)
        document.table[Slot(i)] = std::move(records[i]);
    return document;
}

// Documents of every address size, with titles a reader could stumble on.
std::vector<std::pair<QString, Document>> sampleDocuments()
{
    const QString longHex = QStringLiteral("00112233445566778899AABBCCDDEEFF").repeated(7);
    std::vector<std::pair<QString, Document>> documents = {
        {QStringLiteral("bits16"),
         document(AddressSize::Bits16, {record(QStringLiteral("serial"), 0x1000, kTypeHex, QStringLiteral("01020304")),
                                        record(QStringLiteral("name, with comma"), 0x1010, kTypeAscii,
                                               QStringLiteral("ab,c"))})},
        {QStringLiteral("bits24"),
         document(AddressSize::Bits24, {record(QStringLiteral("# looks like a comment"), 0x123456, kTypeHex,
                                               QStringLiteral("CAFE")),
                                        record(QString::fromUtf8("Schl\xC3\xBCssel \xE2\x82\xAC"), 0xABCDEF,
                                               kTypeAscii, QString::fromUtf8("\xC3\xA4\xF0\x9F\x94\x91"))})},
        {QStringLiteral("bits32"),
         document(AddressSize::Bits32, {record(QStringLiteral("top"), 0xFFFFFFF0, kTypeHex, longHex.left(32)),
                                        record(QStringLiteral("long"), 0x80000000, kTypeHex, longHex),
                                        record({}, 0, kTypeHex, QStringLiteral("00"))})},
    };
    Document spare = document(AddressSize::Bits32, {record(QStringLiteral("first"), 0x10, kTypeHex, QStringLiteral("AA"))});
    spare.table[kSpareSlot] = record(QStringLiteral("spare"), 0x20, kTypeAscii, QStringLiteral("x"));
    documents.emplace_back(QStringLiteral("spare-slot"), spare);
    return documents;
}

QByteArray run(const QString& program, const QStringList& arguments, const QString& output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), process.readAllStandardError().constData());
        std::exit(1);
    }
    QFile file(output);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The header of the extraction targets: targets (address, size), then the file.
QByteArray withTargets(quint32 startAddress, const std::vector<std::pair<quint32, int>>& targets,
                       const QByteArray& file)
{
    QByteArray header(1, char(targets.size()));
    const auto bigEndian = [&header](quint32 value, int bytes) {
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
            header += char(value >> shift);
    };
    bigEndian(startAddress, 4);
    for (const auto& [address, size] : targets) {
        bigEndian(address, 4);
        bigEndian(quint32(size), 2);
    }
    return header + file;
}

void writeKeyAndTemplateSeeds()
{
    for (const auto& [name, document] : sampleDocuments()) {
        const QByteArray key = written(static_cast<QString (*)(QIODevice&, const Document&)>(SRecodeSave), document);
        put(QStringLiteral("srecord_check_fuzzer"), name + QStringLiteral(".KEY"), key);
        put(QStringLiteral("srecord_load_fuzzer"), name + QStringLiteral(".KEY"), key);
        put(QStringLiteral("template_load_fuzzer"), name + QStringLiteral(".639"),
            written(static_cast<QString (*)(QIODevice&, const Document&)>(FormatSave), document));
    }
    put(QStringLiteral("template_load_fuzzer"), QStringLiteral("mixed-widths.639"),
        "# Template File\r\nA , 00001000 ,  2 ,  0\r\nAABB\r\n#comment\r\nB , 2000 ,  1 ,  1\r\nx\r\n");
}

void writeObjectFileSeeds()
{
    QTemporaryDir dir;
    QByteArray image;
    for (int i = 0; i < 96; ++i)
        image += char(i * 7 + 3);
    const QString bin = dir.filePath(QStringLiteral("image.bin"));
    QFile file(bin);
    file.open(QIODevice::WriteOnly);
    file.write(image);
    file.close();
    const QString out = dir.filePath(QStringLiteral("out"));

    struct Made {
        QString name;
        QString program;
        QStringList arguments;
        quint32 base;
    };
    const Made made[] = {
        {QStringLiteral("objcopy-s1.srec"), QStringLiteral("objcopy"),
         {"-I", "binary", "-O", "srec", "--change-addresses=0x1000", bin, out}, 0x1000},
        {QStringLiteral("objcopy-s3.srec"), QStringLiteral("objcopy"),
         {"-I", "binary", "-O", "srec", "--srec-forceS3", "--change-addresses=0xFFFFFFA0", bin, out}, 0xFFFFFFA0},
        {QStringLiteral("srec_cat-s2.srec"), QStringLiteral("srec_cat"),
         {bin, "-binary", "-offset", "0x123400", "-o", out, "-motorola"}, 0x123400},
        {QStringLiteral("objcopy-linear.hex"), QStringLiteral("objcopy"),
         {"-I", "binary", "-O", "ihex", "--change-addresses=0x8000FFF0", bin, out}, 0x8000FFF0},
        {QStringLiteral("srec_cat.hex"), QStringLiteral("srec_cat"),
         {bin, "-binary", "-offset", "0x2000", "-o", out, "-intel"}, 0x2000},
    };
    for (const Made& m : made) {
        const QByteArray object = run(m.program, m.arguments, out);
        const bool intel = m.name.endsWith(QStringLiteral(".hex"));
        const QString check = intel ? QStringLiteral("intel_hex_check_fuzzer") : QStringLiteral("srecord_check_fuzzer");
        const QString extract =
            intel ? QStringLiteral("intel_hex_extraction_fuzzer") : QStringLiteral("srecord_extraction_fuzzer");
        put(check, m.name, object);
        if (!intel)
            put(QStringLiteral("srecord_load_fuzzer"), m.name, object);
        // A record inside one line, one across two lines, one too large to
        // look for, and one the file does not hold.
        put(extract, m.name,
            withTargets(0, {{m.base + 2, 4}, {m.base + 30, 8}, {m.base, 260}, {m.base + 200, 1}}, object));
        put(extract, QStringLiteral("found-") + m.name, withTargets(0, {{m.base + 40, 16}}, object));
    }
    // Once read differently together than alone: a data line with letters
    // that are not hex digits, away from the first record looked for.
    put(QStringLiteral("srecord_extraction_fuzzer"), QStringLiteral("bad-digits-elsewhere.srec"),
        withTargets(0, {{0x2000, 1}, {0x3000, 2}},
                    "S1053000ZZ0144\r\nS10520000102D7\r\nS10530000102C7\r\nS9030000FC\r\n"));
    put(QStringLiteral("intel_hex_extraction_fuzzer"), QStringLiteral("bad-digits-elsewhere.hex"),
        withTargets(0, {{0x2000, 1}, {0x3000, 2}},
                    ":02300000ZZ0144\r\n:020020000102DB\r\n:020030000102CB\r\n:00000001FF\r\n"));
    put(QStringLiteral("binary_extraction_fuzzer"), QStringLiteral("image.bin"),
        withTargets(0x1000, {{0x1002, 4}, {0x1050, 16}, {0x1000, 0}}, image));
    put(QStringLiteral("binary_extraction_fuzzer"), QStringLiteral("beyond-the-end.bin"),
        withTargets(0xFFFFFFF0, {{0xFFFFFFFE, 4}, {0xFFFFFFFF, 252}}, image.left(32)));
}

void writeCsvSeeds()
{
    const QString target = QStringLiteral("csv_reader_fuzzer");
    put(target, QStringLiteral("batch.csv"),
        "serial,name,lot,#4,comment\r\n"
        "01020304,\"Al, \"\"B\"\"\",L1,1111,first\r\n"
        "0A0B0C0D,\"multi\r\nline\",L2,2222,\r\n"
        "\r\n"
        "99AABBCC,\"fine\",L6,6666,");
    put(target, QStringLiteral("bom-lf.csv"), "\xEF\xBB\xBFserial,n\n\xEF\xBB\xBFx,\xC3\xA4\n,\n\"\"\n");
    put(target, QStringLiteral("cr.csv"), "a,b\rc,\"d\re\"\r\"\"\"\",x");
}

void writeSettingsSeeds()
{
    const QString target = QStringLiteral("settings_reader_fuzzer");
    put(target, QStringLiteral("defaults.ini"), settingsFileContents(Settings{}));
    put(target, QStringLiteral("path.ini"),
        settingsFileContents(Settings{3, QString::fromUtf8("/home/\xC3\xA9t\xC3\xA9/keys, 1.KEY"), 0}));
    put(target, QStringLiteral("short.ini"), "\"/only/the/path\"\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: seed_writer CORPUS_FOLDER\n");
        return 2;
    }
    corpus = QDir(QString::fromLocal8Bit(argv[1]));
    writeKeyAndTemplateSeeds();
    writeObjectFileSeeds();
    writeCsvSeeds();
    writeSettingsSeeds();
    return 0;
}
