// quorvane-cli batch over production-sized lists, each mode of making the
// files durable in the same run, on the machine's disk (not a RAM-backed
// /tmp: the files go under QUORVANE_BENCH_DIR, by default /var/tmp):
//   BM_KeyFiles      10,000 CSV rows of a 16-record template, one KEY file
//                    each: one sync at the end (the default) and one sync
//                    per file (--sync each);
//   BM_MergedImages  1,000 rows merged into a 1 MiB firmware image as
//                    S-records: rows side by side with one sync at the end
//                    (the default), and one row after another with a sync
//                    per file (--sync each --jobs 1).
// The program runs as a separate process, as a production script runs it;
// each iteration runs both modes, and each mode reports its time and the
// child's processor time (cpu_s), the run its peak resident memory
// (peak_rss_MiB; never below this process's own size at the spawn,
// bench_rss_MiB, as the child starts as a copy of it). The ratios of the
// modes' times are printed at the end. Each run writes into a fresh folder:
// ext4 makes files slowly for a while after thousands were deleted.
#include "core/document.h"
#include "files/template_file.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace quorvane;

constexpr int kKeyRows = 10000;
constexpr int kImageRows = 1000;
constexpr int kRecords = 16;
constexpr int kRecordBytes = 16;
constexpr quint32 kImageBase = 0x08000000;
constexpr qint64 kImageBytes = qint64(1) << 20;

// Sixteen 16-byte HEX records one page apart, every one named in the CSV.
Document sixteenRecordTemplate()
{
    Document document;
    for (Slot slot = 0; slot < kRecords; ++slot) {
        KeyRecord& record = document.table[slot];
        record.KeyTitle = QStringLiteral("key%1").arg(slot);
        const quint32 address = kImageBase + 0x1000u + quint32(slot) * 0x100u;
        record.KeyAddrHigh = qint16(address >> 16);
        record.KeyAddrLow = qint16(address);
        record.KeyAddrSet = true;
        record.KeySize = kRecordBytes;
        record.KeyData = QString(2 * kRecordBytes, u'0');
    }
    return document;
}

QByteArray deviceList(int rows)
{
    QByteArray csv = "serial";
    for (int slot = 0; slot < kRecords; ++slot)
        csv += ",key" + QByteArray::number(slot);
    csv += "\r\n";
    for (int row = 0; row < rows; ++row) {
        csv += QByteArray::number(100000 + row);
        for (int slot = 0; slot < kRecords; ++slot)
            csv += ',' + QByteArray::number(quint64(row) * kRecords + quint64(slot), 16).rightJustified(2 * kRecordBytes, '0');
        csv += "\r\n";
    }
    return csv;
}

// The folder every run works in, made once: the template, both device
// lists and the image as S3 lines of 32 bytes (objcopy's form).
const QTemporaryDir& workFolder()
{
    static const QTemporaryDir dir = [] {
        QByteArray root = qgetenv("QUORVANE_BENCH_DIR");
        QTemporaryDir made((root.isEmpty() ? QStringLiteral("/var/tmp") : QString::fromLocal8Bit(root))
                           + QStringLiteral("/quorvane-batch-bench-XXXXXX"));
        if (!made.isValid() || !FormatSave(made.filePath(QStringLiteral("t.639")), sixteenRecordTemplate()).isEmpty())
            qFatal("cannot make the bench folder");
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(made.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(name));
        };
        write(QStringLiteral("keys.csv"), deviceList(kKeyRows));
        write(QStringLiteral("images.csv"), deviceList(kImageRows));
        QByteArray image(kImageBytes, '\0');
        std::mt19937 random(11);
        for (char& byte : image)
            byte = char(random());
        write(QStringLiteral("fw.bin"), image);
        if (QProcess::execute(QStringLiteral("objcopy"),
                              {QStringLiteral("-I"), QStringLiteral("binary"), QStringLiteral("-O"), QStringLiteral("srec"),
                               QStringLiteral("--srec-len=32"), QStringLiteral("--srec-forceS3"),
                               QStringLiteral("--change-addresses"), QStringLiteral("0x%1").arg(kImageBase, 0, 16),
                               made.filePath(QStringLiteral("fw.bin")), made.filePath(QStringLiteral("fw.srec"))})
            != 0)
            qFatal("objcopy could not write the image");
        return made;
    }();
    return dir;
}

// Seconds a run took, by mode, for the ratios printed at the end.
std::map<std::string, double>& secondsPerRun()
{
    static std::map<std::string, double> seconds;
    return seconds;
}

long residentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Mode {
    std::string name;
    QStringList options;
};

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

// quorvane-cli with `arguments`, its output thrown away; nullopt when it fails.
std::optional<ChildRun> runChild(const QStringList& arguments)
{
    std::vector<std::string> texts{QUORVANE_CLI_PATH};
    for (const QString& argument : arguments)
        texts.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    ChildRun run{.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                 .cpuSeconds = 0,
                 .peakKiB = usage.ru_maxrss};
    for (const timeval& time : {usage.ru_utime, usage.ru_stime})
        run.cpuSeconds += double(time.tv_sec) + double(time.tv_usec) / 1e6;
    return run;
}

// Each iteration runs every mode once, the order turning from one
// iteration to the next: on a machine others share, the modes meet the same
// conditions. Each run writes into a fresh folder.
void runModes(benchmark::State& state, int rows, const QString& csv, const QString& pattern, const QStringList& options,
              const std::vector<Mode>& modes)
{
    const QTemporaryDir& dir = workFolder();
    std::map<std::string, ChildRun> total;
    long peakKiB = 0;
    int iteration = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < modes.size(); ++i) {
            const Mode& mode = modes[(i + std::size_t(iteration)) % modes.size()];
            const QString out = dir.filePath(QStringLiteral("out-%1-%2-%3").arg(rows).arg(QString::fromStdString(mode.name)).arg(iteration)
                                                 .replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char(','), QLatin1Char('_')));
            const std::optional<ChildRun> run =
                runChild(QStringList{QStringLiteral("batch"), dir.filePath(QStringLiteral("t.639")), dir.filePath(csv),
                                     QStringLiteral("-o"), out + QLatin1Char('/') + pattern}
                         + options + mode.options);
            if (!run) {
                state.SkipWithError(("quorvane-cli batch failed: " + mode.name).c_str());
                return;
            }
            if (QDir(out).entryList(QDir::Files).size() != rows) {
                state.SkipWithError(("not every row was written: " + mode.name).c_str());
                return;
            }
            total[mode.name].seconds += run->seconds;
            total[mode.name].cpuSeconds += run->cpuSeconds;
            peakKiB = std::max(peakKiB, run->peakKiB);
        }
        ++iteration;
    }
    for (const auto& [name, run] : total) {
        secondsPerRun()[name] = run.seconds / double(iteration);
        state.counters[name + " s"] = run.seconds / double(iteration);
        state.counters[name + " cpu_s"] = run.cpuSeconds / double(iteration);
    }
    state.counters["peak_rss_MiB"] = double(peakKiB) / 1024.0;
    state.counters["bench_rss_MiB"] = double(residentKiB()) / 1024.0;
}

void BM_KeyFiles(benchmark::State& state)
{
    runModes(state, kKeyRows, QStringLiteral("keys.csv"), QStringLiteral("{serial}.KEY"), {},
             {{.name = "keys, sync end", .options = {}},
              {.name = "keys, sync each", .options = {QStringLiteral("--sync"), QStringLiteral("each")}}});
}
BENCHMARK(BM_KeyFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_MergedImages(benchmark::State& state)
{
    runModes(state, kImageRows, QStringLiteral("images.csv"), QStringLiteral("{serial}.srec"),
             {QStringLiteral("--image"), workFolder().filePath(QStringLiteral("fw.srec"))},
             {{.name = "images, side by side, sync end", .options = {}},
              {.name = "images, one by one, sync each",
               .options = {QStringLiteral("--sync"), QStringLiteral("each"), QStringLiteral("--jobs"), QStringLiteral("1")}}});
}
BENCHMARK(BM_MergedImages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void printRatio(const std::string& fast, const std::string& slow)
{
    const auto& seconds = secondsPerRun();
    if (seconds.contains(fast) && seconds.contains(slow) && seconds.at(fast) > 0)
        std::printf("%s: %.2f s, %s: %.2f s, %.1f times faster\n", fast.c_str(), seconds.at(fast), slow.c_str(),
                    seconds.at(slow), seconds.at(slow) / seconds.at(fast));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printRatio("keys, sync end", "keys, sync each");
    printRatio("images, side by side, sync end", "images, one by one, sync each");
    return 0;
}
