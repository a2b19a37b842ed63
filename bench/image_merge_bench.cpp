// Writing key data into a large firmware image, as a production line does for
// every device: 256 records of random bytes at random places inside the
// 64 MiB image, merged into its S-record form (about 160 MB), its Intel HEX
// form and the raw image. As peer, srec_cat doing the same overlay on the
// S-record file: the image without the records' ranges, plus the records as
// a KEY file, written as S-records. Both results are checked to hold the
// records; the ratio of the two S-record times is printed at the end.
#include "bench_images.h"

#include "image/image_merge.h"
#include "image/image_verify.h"
#include "files/srecord_writer.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>

#include <sys/resource.h>

namespace {

using namespace quorvane;
using namespace quorvane::bench;

// 256 records that do not overlap, each 1..250 random bytes.
const std::vector<KeyBytes>& keys()
{
    static const std::vector<KeyBytes> made = [] {
        std::vector<KeyBytes> k;
        std::map<quint32, quint32> taken; // first -> last
        std::mt19937 random(7);
        while (k.size() < std::size_t(kRecordCount)) {
            const int size = std::uniform_int_distribution<int>(1, 250)(random);
            const quint32 first =
                kBaseAddress + std::uniform_int_distribution<quint32>(0, quint32(kImageBytes - size))(random);
            const quint32 last = first + quint32(size) - 1;
            const auto next = taken.lower_bound(first);
            if ((next != taken.end() && next->first <= last) || (next != taken.begin() && std::prev(next)->second >= first))
                continue;
            taken[first] = last;
            QByteArray bytes(size, '\0');
            for (char& byte : bytes)
                byte = char(random());
            k.push_back({.slot = 0, .title = {}, .address = first, .bytes = bytes});
        }
        // In address order, as a save with the address sort leaves them.
        std::sort(k.begin(), k.end(), [](const KeyBytes& a, const KeyBytes& b) { return a.address < b.address; });
        for (std::size_t i = 0; i < k.size(); ++i) {
            k[i].slot = Slot(i);
            k[i].title = QStringLiteral("key %1").arg(i);
        }
        return k;
    }();
    return made;
}

// The same records as a KEY file, for srec_cat and quorvane-cli.
const QString& keyFile()
{
    static const QString path = [] {
        const QString file = imageFiles().dir + QStringLiteral("/merge-keys.KEY");
        Document document;
        for (const KeyBytes& key : keys()) {
            KeyRecord& record = document.table[key.slot];
            record.KeyTitle = key.title;
            record.KeyAddrHigh = qint16(quint16(key.address >> 16));
            record.KeyAddrLow = qint16(quint16(key.address));
            record.KeyAddrSet = true;
            record.KeySize = qint16(key.bytes.size());
            record.KeyData = QString::fromLatin1(key.bytes.toHex().toUpper());
        }
        if (!SRecodeSave(file, document).isEmpty())
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }();
    return path;
}

QString output(const char* name)
{
    return imageFiles().dir + QLatin1Char('/') + QLatin1String(name);
}

bool holdsKeys(const QString& path, std::optional<quint32> start = std::nullopt)
{
    return verifyKeyData(path, keys(), {.startAddress = start, .progress = {}}).status == VerifyStatus::Matches;
}

// Seconds a run took, by what ran, for the ratio printed at the end.
std::map<std::string, double>& secondsPerRun()
{
    static std::map<std::string, double> seconds;
    return seconds;
}

class RunClock {
public:
    explicit RunClock(std::string name) : name_(std::move(name)), start_(std::chrono::steady_clock::now()) {}
    void stop(const benchmark::State& state)
    {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
        if (state.iterations() > 0)
            secondsPerRun()[name_] = elapsed.count() / double(state.iterations());
    }

private:
    std::string name_;
    std::chrono::steady_clock::time_point start_;
};

using FileOf = QString ImageFiles::*;

void BM_MergeKeyData(benchmark::State& state, FileOf file, const char* out)
{
    const QString& image = imageFiles().*file;
    const MergeOptions options{.startAddress = kBaseAddress, .allowOutside = false, .progress = {}};
    (void)keys();
    MergeResult result;
    RunClock clock(out);
    for (auto _ : state) {
        result = mergeKeyData(image, keys(), output(out), options);
        benchmark::DoNotOptimize(result);
    }
    clock.stop(state);
    if (!result || !holdsKeys(output(out), kBaseAddress)) {
        state.SkipWithError(qPrintable(QStringLiteral("wrong result: ") + result.message));
        return;
    }
    state.SetBytesProcessed(state.iterations() * QFile(image).size());
    state.counters["peak_rss_MiB"] = peakResidentMiB(RUSAGE_SELF);
}
BENCHMARK_CAPTURE(BM_MergeKeyData, Srecord, &ImageFiles::srecord, "merged.srec")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_MergeKeyData, IntelHex, &ImageFiles::intelHex, "merged.hex")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_MergeKeyData, Binary, &ImageFiles::image, "merged.bin")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The whole command-line program: start-up, File Open of the KEY file, the
// save checks, the merge.
void BM_CliMerge(benchmark::State& state)
{
    RunClock clock("quorvane-cli merge");
    runPeer(state, {QUORVANE_CLI_PATH, "merge", imageFiles().srecord.toStdString(), keyFile().toStdString(), "-o",
                    output("cli-merged.srec").toStdString()});
    clock.stop(state);
    if (!holdsKeys(output("cli-merged.srec")))
        state.SkipWithError("the merged image does not hold the records");
}
BENCHMARK(BM_CliMerge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// srec_cat image.srec -exclude RANGES keys.KEY -o out.srec: the image's bytes
// outside the records, then the records, written as S-records of srec_cat's
// own line length (32 bytes, as the image's).
void BM_SrecCatOverlay(benchmark::State& state)
{
    std::vector<std::string> argv = {"srec_cat", imageFiles().srecord.toStdString(), "-exclude"};
    for (const KeyBytes& key : keys()) {
        argv.push_back(hex(key.address).toStdString());
        argv.push_back(hex(quint64(key.address) + quint64(key.bytes.size())).toStdString());
    }
    argv.insert(argv.end(), {keyFile().toStdString(), "-o", output("srec_cat.srec").toStdString()});
    RunClock clock("srec_cat");
    runPeer(state, argv);
    clock.stop(state);
    if (!holdsKeys(output("srec_cat.srec")))
        state.SkipWithError("srec_cat's image does not hold the records");
}
BENCHMARK(BM_SrecCatOverlay)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void printRatio()
{
    const auto& seconds = secondsPerRun();
    const auto ours = seconds.find("merged.srec");
    const auto peer = seconds.find("srec_cat");
    if (ours == seconds.end() || peer == seconds.end())
        return;
    std::printf("S-record merge: %.3f s a run, srec_cat: %.3f s a run: %.1f times faster\n", ours->second,
                peer->second, peer->second / ours->second);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatio();
    std::printf("peak resident memory of this process: %.1f MiB\n", peakResidentMiB(RUSAGE_SELF));
    for (const char* name : {"merged.srec", "merged.hex", "merged.bin", "cli-merged.srec", "srec_cat.srec"})
        QFile::remove(output(name));
    return 0;
}
