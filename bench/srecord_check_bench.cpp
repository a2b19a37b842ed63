// Throughput of the S-record check over a large file, as when a user opens
// or drops a big object file: a page-cache read plus one scan.
#include "files/srecord_reader.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace {

constexpr qint64 kFileBytes = 150LL * 1000 * 1000;

// S3 lines of `dataBytes` bytes each, CR LF ended, about kFileBytes in all,
// with a header and an end record like objcopy's.
QByteArray srecordLine(quint32 address, int dataBytes, quint32& seed)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    QByteArray line("S3");
    unsigned sum = 0;
    const auto put = [&](unsigned byte) {
        line += kDigits[byte >> 4];
        line += kDigits[byte & 0xF];
        sum += byte;
    };
    put(unsigned(dataBytes + 5));
    for (int shift = 24; shift >= 0; shift -= 8)
        put((address >> shift) & 0xFF);
    for (int i = 0; i < dataBytes; ++i) {
        seed = seed * 1664525u + 1013904223u;
        put(seed >> 24);
    }
    const unsigned checksum = 0xFF - (sum & 0xFF);
    line += kDigits[checksum >> 4];
    line += kDigits[checksum & 0xF];
    line += "\r\n";
    return line;
}

const QString& largeSrecordFile(int dataBytes)
{
    static QTemporaryDir dir;
    static std::map<int, QString> files;
    if (auto found = files.find(dataBytes); found != files.end())
        return found->second;

    const QString path = dir.filePath(QStringLiteral("large-%1.srec").arg(dataBytes));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    file.write("S0030000FC\r\n");
    QByteArray block;
    quint32 address = 0x80000000;
    quint32 seed = 1;
    while (file.size() + block.size() < kFileBytes) {
        block += srecordLine(address, dataBytes, seed);
        address += quint32(dataBytes);
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
    file.write("S705800000007A\r\n");
    file.close();
    return files.emplace(dataBytes, path).first->second;
}

void BM_CheckSrecordFile(benchmark::State& state)
{
    const QString& path = largeSrecordFile(int(state.range(0)));
    const qint64 size = QFile(path).size();
    for (auto _ : state) {
        if (!quorvane::CheckSrecordFile(path)) {
            state.SkipWithError("the generated file did not pass the check");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * size);
}

// 16 data bytes is objcopy's default line, 250 the longest S3 line.
BENCHMARK(BM_CheckSrecordFile)->Arg(16)->Arg(32)->Arg(250)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
