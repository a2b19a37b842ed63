#include "bench_images.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <random>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace quorvane::bench {

namespace {

constexpr char kVersion[] = "1 seed 20240917 srec-len 32\n";

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

} // namespace

QString hex(quint64 value)
{
    return QStringLiteral("0x%1").arg(value, 0, 16);
}

const ImageFiles& imageFiles()
{
    static const ImageFiles made = [] {
        ImageFiles f;
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

const RecordTable& randomRecords()
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

double peakResidentMiB(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

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

} // namespace quorvane::bench
