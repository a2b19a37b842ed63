// Peak resident memory of key-data extraction from very large object files,
// the way the editor runs it: the kind recognised in the pass that reads the
// records, 256 records spread over the whole image, the last near its end so
// that a text file is read to the end. Not built with everything:
//
//     cmake --build build --target extraction_memory
//     build/bench/extraction_memory make-image /tmp/big.bin 2048     # sparse, 2 GiB
//     build/bench/extraction_memory make-srec  /tmp/big.srec 1024    # about 1 GiB of S3 lines
//     /usr/bin/time -v build/bench/extraction_memory extract /tmp/big.bin
//
// "extract" prints what it found, the time taken and the peak resident
// memory of the process (getrusage), which /usr/bin/time -v reports too.
#include "document/extraction_operation.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <random>

#include <sys/resource.h>

namespace {

using namespace quorvane;

constexpr quint32 kBaseAddress = 0x08000000;
constexpr int kLineBytes = 32;

// The image's byte at an offset: the same for the binary image and the
// S-record file, so either can be checked against the other.
char byteAt(qint64 offset)
{
    return char((offset * 2654435761u) >> 13);
}

int usage()
{
    std::fprintf(stderr, "usage: extraction_memory make-image PATH MIB | make-srec PATH MIB | extract PATH\n");
    return 2;
}

// A sparse image: zeros but for the bytes of every record.
int makeImage(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(bytes))
        return 1;
    for (qint64 at = 0; at < bytes; at += bytes / 256) {
        for (qint64 i = at; i < std::min(at + 256, bytes); ++i) {
            file.seek(i);
            file.putChar(byteAt(i));
        }
    }
    return 0;
}

// S3 lines of 32 bytes each, with the checksum, CR LF ended, until the file
// holds `bytes`; streamed through a buffer of its own.
int makeSrecord(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QByteArray chunk;
    qint64 offset = 0;
    for (qint64 written = 0; written < bytes; offset += kLineBytes) {
        unsigned char body[1 + 4 + kLineBytes];
        body[0] = 4 + kLineBytes + 1;
        const quint32 address = kBaseAddress + quint32(offset);
        for (int i = 0; i < 4; ++i)
            body[1 + i] = (unsigned char)(address >> (24 - 8 * i));
        for (int i = 0; i < kLineBytes; ++i)
            body[5 + i] = (unsigned char)byteAt(offset + i);
        unsigned sum = 0;
        chunk += "S3";
        for (unsigned char b : body) {
            sum += b;
            chunk += kDigits[b >> 4];
            chunk += kDigits[b & 0xF];
        }
        const unsigned char checksum = (unsigned char)(0xFF - (sum & 0xFF));
        chunk += kDigits[checksum >> 4];
        chunk += kDigits[checksum & 0xF];
        chunk += "\r\n";
        if (chunk.size() >= (1 << 20)) {
            written += file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "S70500000000FA\r\n");
    return 0;
}

int extract(const QString& path)
{
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return 1;
    const bool text = probe.read(2) == "S3";
    // The image's length: the file's for a binary image, the data the lines
    // hold for the S-record file.
    const qint64 imageBytes = text ? probe.size() / (2 + 2 * (1 + 4 + kLineBytes + 1) + 2) * kLineBytes : probe.size();
    probe.close();

    RecordTable table;
    std::mt19937 random(1);
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const qint64 at = slot == kRecordCount - 1 ? imageBytes - 16 : imageBytes / 256 * slot;
        table[slot] = {QStringLiteral("r%1").arg(slot), qint16((kBaseAddress + at) >> 16), qint16(kBaseAddress + at),
                       qint16(16), kTypeHex, {}, true};
    }
    QElapsedTimer timer;
    timer.start();
    const KeyDataResult result = SetKeyData(table, path, [] { return std::optional(QString::number(kBaseAddress, 16)); });
    const qint64 elapsed = timer.elapsed();

    bool same = result.status == KeyDataStatus::Extracted;
    for (Slot slot = 0; same && slot < kRecordCount; ++slot) {
        const qint64 at = slot == kRecordCount - 1 ? imageBytes - 16 : imageBytes / 256 * slot;
        QByteArray expected;
        for (int i = 0; i < 16; ++i) {
            // The sparse image holds its bytes only at the start of each 256th.
            const qint64 offset = at + i;
            const bool held = text || (offset % (imageBytes / 256)) < 256;
            expected += held ? byteAt(offset) : '\0';
        }
        same = result.table[slot].KeyData == QString::fromLatin1(expected.toHex().toUpper());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %s, 256 records %s, %lld ms, peak resident memory %.1f MiB\n", qPrintable(path),
                text ? "S-record" : "binary", same ? "found with the image's bytes" : "NOT as expected",
                (long long)elapsed, usage.ru_maxrss / 1024.0);
    if (!result.message.isEmpty())
        std::printf("%s\n", qPrintable(result.message));
    return same ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (command == QLatin1String("extract"))
        return extract(path);
    if (argc < 4)
        return usage();
    const qint64 bytes = std::atoll(argv[3]) << 20;
    if (command == QLatin1String("make-image"))
        return makeImage(path, bytes);
    if (command == QLatin1String("make-srec"))
        return makeSrecord(path, bytes);
    return usage();
}
