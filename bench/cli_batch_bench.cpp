// quorvane-cli batch over a production-sized list: 10,000 CSV rows of a
// 16-record template, each row a full save into its own KEY file. The
// program runs as a separate process, as a production script runs it, so
// start-up, CSV reading and every atomic file replacement are counted.
#include "core/document.h"
#include "files/template_file.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using namespace quorvane;

constexpr int kRows = 10000;
constexpr int kRecords = 16;
constexpr int kRecordBytes = 16;

// Sixteen 16-byte HEX records one page apart, every one named in the CSV.
Document sixteenRecordTemplate()
{
    Document document;
    for (Slot slot = 0; slot < kRecords; ++slot) {
        KeyRecord& record = document.table[slot];
        record.KeyTitle = QStringLiteral("key%1").arg(slot);
        const quint32 address = 0x08000000u + quint32(slot) * 0x100u;
        record.KeyAddrHigh = qint16(address >> 16);
        record.KeyAddrLow = qint16(address);
        record.KeyAddrSet = true;
        record.KeySize = kRecordBytes;
        record.KeyData = QString(2 * kRecordBytes, u'0');
    }
    return document;
}

QByteArray deviceList()
{
    QByteArray csv = "serial";
    for (int slot = 0; slot < kRecords; ++slot)
        csv += ",key" + QByteArray::number(slot);
    csv += "\r\n";
    for (int row = 0; row < kRows; ++row) {
        csv += QByteArray::number(100000 + row);
        for (int slot = 0; slot < kRecords; ++slot)
            csv += ',' + QByteArray::number(quint64(row) * kRecords + quint64(slot), 16).rightJustified(2 * kRecordBytes, '0');
        csv += "\r\n";
    }
    return csv;
}

void BM_Batch10000Rows(benchmark::State& state)
{
    QTemporaryDir dir;
    if (!FormatSave(dir.filePath(QStringLiteral("t.639")), sixteenRecordTemplate()).isEmpty()) {
        state.SkipWithError("cannot write the template");
        return;
    }
    QFile csv(dir.filePath(QStringLiteral("devices.csv")));
    if (!csv.open(QIODevice::WriteOnly) || csv.write(deviceList()) < 0) {
        state.SkipWithError("cannot write the CSV");
        return;
    }
    csv.close();

    for (auto _ : state) {
        state.PauseTiming();
        QDir(dir.filePath(QStringLiteral("out"))).removeRecursively();
        QDir(dir.path()).mkdir(QStringLiteral("out"));
        state.ResumeTiming();

        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(QStringLiteral(QUORVANE_CLI_PATH),
                      {QStringLiteral("batch"), QStringLiteral("t.639"), QStringLiteral("devices.csv"),
                       QStringLiteral("-o"), QStringLiteral("out/{serial}.KEY")});
        if (!process.waitForFinished(-1) || process.exitCode() != 0) {
            state.SkipWithError(process.readAllStandardError().left(500).constData());
            return;
        }
    }
    if (QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files).size() != kRows)
        state.SkipWithError("not every row was written");
    state.counters["rows/s"] = benchmark::Counter(double(kRows) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Batch10000Rows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
