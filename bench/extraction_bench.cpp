// Key-data extraction from a large object file, as when a user drops a whole
// firmware image onto the window: 256 records of random sizes at random
// addresses inside a 64 MiB image, taken from its S-record form, its Intel HEX
// form and the raw image, the file's kind recognised on the way. As peers,
// srec_cat cropping the same 256 ranges out of the same files, and objcopy
// turning the S-record file into a binary image.
//
// The files are made once (objcopy from a seeded random image) and kept in
// the temporary folder for later runs. Peak resident memory is reported for
// this process and for each peer program.
#include "bench_images.h"

#include "image/key_extraction.h"
#include "document/extraction_operation.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using namespace quorvane;
using namespace quorvane::bench;

// Every record's data must be the image's bytes at its offset.
bool matchesImage(const RecordTable& result)
{
    QFile image(imageFiles().image);
    if (!image.open(QIODevice::ReadOnly))
        return false;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = result[slot];
        if (!image.seek(record.address() - kBaseAddress))
            return false;
        const QByteArray expected = image.read(record.KeySize).toHex();
        if (record.KeyData.toLatin1().toLower() != expected)
            return false;
    }
    return true;
}

using FileOf = QString ImageFiles::*;

void BM_SetKeyData(benchmark::State& state, FileOf file)
{
    const QString& path = imageFiles().*file;
    const auto startAddress = [] { return std::optional<QString>(QString::number(kBaseAddress, 16)); };
    KeyDataResult result;
    for (auto _ : state) {
        result = SetKeyData(randomRecords(), path, startAddress);
        benchmark::DoNotOptimize(result);
    }
    if (result.status != KeyDataStatus::Extracted || !matchesImage(result.table)) {
        state.SkipWithError(qPrintable(QStringLiteral("wrong result: ") + result.message));
        return;
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
    state.counters["peak_rss_MiB"] = peakResidentMiB(RUSAGE_SELF);
}
BENCHMARK_CAPTURE(BM_SetKeyData, Srecord, &ImageFiles::srecord)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_SetKeyData, IntelHex, &ImageFiles::intelHex)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_SetKeyData, Binary, &ImageFiles::image)->Unit(benchmark::kMillisecond)->UseRealTime();

// Recognition alone and recognition with the reading, to tell what the reading adds.
void BM_RecognizeObjectFile(benchmark::State& state, FileOf file)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizeObjectFile(imageFiles().*file));
}
void BM_RecognizeAndExtract(benchmark::State& state, FileOf file)
{
    const std::vector<ExtractionTarget> targets = extractionTargets(randomRecords());
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizeAndExtract(imageFiles().*file, targets));
}
BENCHMARK_CAPTURE(BM_RecognizeObjectFile, Srecord, &ImageFiles::srecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecognizeObjectFile, IntelHex, &ImageFiles::intelHex)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecognizeAndExtract, Srecord, &ImageFiles::srecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecognizeAndExtract, IntelHex, &ImageFiles::intelHex)->Unit(benchmark::kMillisecond)->UseRealTime();

std::vector<std::string> cropArguments(const QString& input, const char* format, const QString& output)
{
    std::vector<std::string> argv = {"srec_cat", input.toStdString(), format, "-crop"};
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = randomRecords()[slot];
        argv.push_back(hex(record.address()).toStdString());
        argv.push_back(hex(quint64(record.address()) + quint64(record.KeySize)).toStdString());
    }
    argv.insert(argv.end(), {"-o", output.toStdString(), "-motorola"});
    return argv;
}

void BM_SrecCatCrop(benchmark::State& state, FileOf file, const char* format)
{
    runPeer(state, cropArguments(imageFiles().*file, format, imageFiles().dir + QStringLiteral("/crop.srec")));
}
void BM_ObjcopyToBinary(benchmark::State& state, FileOf file)
{
    runPeer(state, {"objcopy", "-I", "srec", "-O", "binary", (imageFiles().*file).toStdString(),
                    (imageFiles().dir + QStringLiteral("/objcopy.bin")).toStdString()});
}
// The whole command-line program on the S-record file: start-up, File Open
// of a template holding the 256 records, the extraction, the save. Beside
// BM_SetKeyData/Srecord it shows what a process costs on top of the library.
void BM_CliExtract(benchmark::State& state)
{
    const QString templ = imageFiles().dir + QStringLiteral("/records.639");
    const QString out = imageFiles().dir + QStringLiteral("/extracted.KEY");
    Document document;
    document.table = randomRecords();
    if (!FormatSave(templ, document).isEmpty()) {
        state.SkipWithError("cannot write the template");
        return;
    }
    QFile::remove(out);
    runPeer(state, {QUORVANE_CLI_PATH, "extract", templ.toStdString(), imageFiles().srecord.toStdString(), "-o",
                    out.toStdString(), "--no-sort"});
    Document written;
    if (!SRecodeLoad(out, written).isEmpty() || !matchesImage(written.table))
        state.SkipWithError("the KEY file written does not hold the image's bytes");
}
BENCHMARK(BM_CliExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_CAPTURE(BM_SrecCatCrop, Srecord, &ImageFiles::srecord, "-motorola")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_SrecCatCrop, IntelHex, &ImageFiles::intelHex, "-intel")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ObjcopyToBinary, Srecord, &ImageFiles::srecord)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak resident memory of this process: %.1f MiB\n", peakResidentMiB(RUSAGE_SELF));
    return 0;
}
