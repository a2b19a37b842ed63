#pragma once

#include "core/record_table.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

// What the image benchmarks share: a 64 MiB image of seeded random bytes at
// 0x08000000, as a raw binary, S-records (S3, 32 bytes a line, CR LF, from
// objcopy) and Intel HEX (objcopy), made once in the temporary folder and
// kept for later runs; 256 random records inside it; and peer programs run
// as whole processes.
namespace quorvane::bench {

inline constexpr qint64 kImageBytes = qint64(64) << 20;
inline constexpr quint32 kBaseAddress = 0x08000000;

struct ImageFiles {
    QString dir;
    QString image;
    QString srecord;
    QString intelHex;
};

[[nodiscard]] const ImageFiles& imageFiles();

// 256 records of 1..250 bytes at random places inside the image; they may
// overlap. Addresses and sizes only.
[[nodiscard]] const RecordTable& randomRecords();

// "0x" and lower-case hex digits, as srec_cat and objcopy take numbers.
[[nodiscard]] QString hex(quint64 value);

[[nodiscard]] double peakResidentMiB(int who);

// Runs a program to its end per iteration, its output thrown away, and
// reports its processor time (cpu_ms) and peak resident memory: on a shared
// machine the processor time compares fairer than the wall-clock time. The
// child starts as a copy of this process, so its peak is never reported
// below this process's own size at the spawn.
void runPeer(benchmark::State& state, const std::vector<std::string>& argv);

} // namespace quorvane::bench
