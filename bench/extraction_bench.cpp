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
#include "files/key_extraction.h"
#include "files/set_key_data.h"
#include "files/srecord_reader.h"
#include "files/template_file.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using namespace quorvane;

constexpr qint64 kImageBytes = qint64(64) << 20;
constexpr quint32 kBaseAddress = 0x08000000;
constexpr char kVersion[] = "1 seed 20240917 srec-len 32\n";

struct Files {
    QString dir;
    QString image;
    QString srecord;
    QString intelHex;
};

QString hex(quint64 value)
{
    return QStringLiteral("0x%1").arg(value, 0, 16);
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

// The image is written a block at a time, so making it costs no 64 MiB here.
void writeImage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    std::mt19937_64 random(20240917);
    std::vector<quint64> block(qint64(1) << 17);
    for (qint64 written = 0; written < kImageBytes; written += qint64(block.size() * sizeof(quint64))) {
        for (quint64& word : block)
            word = random();
        file.write(reinterpret_cast<const char*>(block.data()), qint64(block.size() * sizeof(quint64)));
    }
}

const Files& files()
{
    static const Files made = [] {
        Files f;
        f.dir = QDir::temp().filePath(QStringLiteral("quorvane-extraction-bench"));
        f.image = f.dir + QStringLiteral("/image.bin");
        f.srecord = f.dir + QStringLiteral("/image.srec");
        f.intelHex = f.dir + QStringLiteral("/image.hex");
        const QString stamp = f.dir + QStringLiteral("/made");
        QFile made(stamp);
        if (made.open(QIODevice::ReadOnly) && made.readAll() == kVersion)
            return f;
        made.close();
        QDir().mkpath(f.dir);
        std::fprintf(stderr, "making the benchmark files in %s ...\n", qPrintable(f.dir));
        writeImage(f.image);
        const QString base = QStringLiteral("--change-addresses=") + hex(kBaseAddress);
        if (!run(QStringLiteral("objcopy"), {"-I", "binary", "-O", "srec", "--srec-len=32", "--srec-forceS3", base,
                                             f.image, f.srecord})
            || !run(QStringLiteral("objcopy"), {"-I", "binary", "-O", "ihex", base, f.image, f.intelHex}))
            qFatal("objcopy could not make the benchmark files");
        if (!made.open(QIODevice::WriteOnly) || made.write(kVersion) < 0)
            qFatal("cannot write %s", qPrintable(stamp));
        return f;
    }();
    return made;
}

// 256 records of 1..250 bytes at random places inside the image.
const RecordTable& table()
{
    static const RecordTable made = [] {
        RecordTable t;
        std::mt19937 random(42);
        for (Slot slot = 0; slot < kRecordCount; ++slot) {
            const int size = std::uniform_int_distribution<int>(1, 250)(random);
            const quint32 offset = std::uniform_int_distribution<quint32>(0, quint32(kImageBytes - size))(random);
            const quint32 address = kBaseAddress + offset;
            KeyRecord& record = t[slot];
            record.KeyTitle = QStringLiteral("key %1").arg(slot);
            record.KeyAddrHigh = qint16(quint16(address >> 16));
            record.KeyAddrLow = qint16(quint16(address));
            record.KeyAddrSet = true;
            record.KeySize = qint16(size);
        }
        return t;
    }();
    return made;
}

// Every record's data must be the image's bytes at its offset.
bool matchesImage(const RecordTable& result)
{
    QFile image(files().image);
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

double peakResidentMiB(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

using FileOf = QString Files::*;

void BM_SetKeyData(benchmark::State& state, FileOf file)
{
    const QString& path = files().*file;
    const auto startAddress = [] { return std::optional<QString>(QString::number(kBaseAddress, 16)); };
    KeyDataResult result;
    for (auto _ : state) {
        result = SetKeyData(table(), path, startAddress);
        benchmark::DoNotOptimize(result);
    }
    if (result.status != KeyDataStatus::Extracted || !matchesImage(result.table)) {
        state.SkipWithError(qPrintable(QStringLiteral("wrong result: ") + result.message));
        return;
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
    state.counters["peak_rss_MiB"] = peakResidentMiB(RUSAGE_SELF);
}
BENCHMARK_CAPTURE(BM_SetKeyData, Srecord, &Files::srecord)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_SetKeyData, IntelHex, &Files::intelHex)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_SetKeyData, Binary, &Files::image)->Unit(benchmark::kMillisecond)->UseRealTime();

// Recognition alone and the reading alone, to tell the two passes apart.
void BM_RecognizeObjectFile(benchmark::State& state, FileOf file)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(recognizeObjectFile(files().*file));
}
void BM_ExtractKeyData(benchmark::State& state, FileOf file, ObjectFileKind kind)
{
    const std::vector<ExtractionTarget> targets = extractionTargets(table());
    for (auto _ : state)
        benchmark::DoNotOptimize(extractKeyData(files().*file, kind, kBaseAddress, targets));
}
BENCHMARK_CAPTURE(BM_RecognizeObjectFile, Srecord, &Files::srecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecognizeObjectFile, IntelHex, &Files::intelHex)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExtractKeyData, Srecord, &Files::srecord, ObjectFileKind::Srecord)
    ->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExtractKeyData, IntelHex, &Files::intelHex, ObjectFileKind::IntelHex)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// A peer program run to its end, its processor time and peak resident memory
// taken from wait4: on a shared machine the processor time compares fairer
// than the wall-clock time. The child starts as a copy of this process, so
// its peak is never reported below this process's own size at the spawn.
void runPeer(benchmark::State& state, const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    long peakKiB = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        rusage usage{};
        if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError(("failed: " + argv[0]).c_str());
            return;
        }
        peakKiB = std::max(peakKiB, long(usage.ru_maxrss));
        for (const timeval& time : {usage.ru_utime, usage.ru_stime})
            cpuSeconds += double(time.tv_sec) + double(time.tv_usec) / 1e6;
    }
    state.counters["peak_rss_MiB"] = double(peakKiB) / 1024.0;
    state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1000.0, benchmark::Counter::kAvgIterations);
}

std::vector<std::string> cropArguments(const QString& input, const char* format, const QString& output)
{
    std::vector<std::string> argv = {"srec_cat", input.toStdString(), format, "-crop"};
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table()[slot];
        argv.push_back(hex(record.address()).toStdString());
        argv.push_back(hex(quint64(record.address()) + quint64(record.KeySize)).toStdString());
    }
    argv.insert(argv.end(), {"-o", output.toStdString(), "-motorola"});
    return argv;
}

void BM_SrecCatCrop(benchmark::State& state, FileOf file, const char* format)
{
    runPeer(state, cropArguments(files().*file, format, files().dir + QStringLiteral("/crop.srec")));
}
void BM_ObjcopyToBinary(benchmark::State& state, FileOf file)
{
    runPeer(state, {"objcopy", "-I", "srec", "-O", "binary", (files().*file).toStdString(),
                    (files().dir + QStringLiteral("/objcopy.bin")).toStdString()});
}
// The whole command-line program on the S-record file: start-up, File Open
// of a template holding the 256 records, the extraction, the save. Beside
// BM_SetKeyData/Srecord it shows what a process costs on top of the library.
void BM_CliExtract(benchmark::State& state)
{
    const QString templ = files().dir + QStringLiteral("/records.639");
    const QString out = files().dir + QStringLiteral("/extracted.KEY");
    Document document;
    document.table = table();
    if (!FormatSave(templ, document).isEmpty()) {
        state.SkipWithError("cannot write the template");
        return;
    }
    QFile::remove(out);
    runPeer(state, {QUORVANE_CLI_PATH, "extract", templ.toStdString(), files().srecord.toStdString(), "-o",
                    out.toStdString(), "--no-sort"});
    Document written;
    if (!SRecodeLoad(out, written).isEmpty() || !matchesImage(written.table))
        state.SkipWithError("the KEY file written does not hold the image's bytes");
}
BENCHMARK(BM_CliExtract)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_CAPTURE(BM_SrecCatCrop, Srecord, &Files::srecord, "-motorola")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_SrecCatCrop, IntelHex, &Files::intelHex, "-intel")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK_CAPTURE(BM_ObjcopyToBinary, Srecord, &Files::srecord)
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
