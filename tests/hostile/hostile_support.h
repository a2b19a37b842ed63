#pragma once

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>

// Devices, files and processes that misbehave: a view that counts what is
// read through it and fails on demand, files of a gigabyte that take no
// room, and a child process with a full disk or without root's rights.
namespace quorvane::test {

// A read-only view of another device. It counts the bytes read through it
// and, from the `pass`-th reading from the start on (a seek to 0 starts the
// next), fails every read beyond `offset` bytes of that reading, as a disk
// or a network share does when it goes away.
class CountingDevice : public QIODevice {
public:
    explicit CountingDevice(QIODevice& inner);

    void failFrom(int pass, qint64 offset);
    [[nodiscard]] qint64 bytesRead() const { return bytesRead_; }

    [[nodiscard]] bool isSequential() const override { return inner_.isSequential(); }
    [[nodiscard]] qint64 size() const override { return inner_.size(); }
    bool seek(qint64 position) override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& inner_;
    qint64 bytesRead_ = 0;
    int pass_ = 1;
    int failPass_ = 0;
    qint64 failOffset_ = 0;
};

// A file of `size` bytes in `folder`: `head`, then zeros that take no room
// on the disk, so a gigabyte is made in no time.
[[nodiscard]] QString sparseFile(const QString& folder, const QString& name, qint64 size, const QByteArray& head = {});

// The bytes this process has read from files so far, as the system counts
// them: what a reader given only a path has read is the difference.
[[nodiscard]] qint64 bytesReadByThisProcess();

// Runs `work` in a child process and returns its exit code (or -1 when it
// did not exit). With `fileSizeLimit` > 0 every write beyond that many
// bytes fails as on a full disk; with `withoutRoot`, a root process first
// becomes "nobody", for whom file permissions hold.
struct ChildLimits {
    qint64 fileSizeLimit = 0;
    bool withoutRoot = false;
};
[[nodiscard]] int runInChild(const ChildLimits& limits, const std::function<int()>& work);

// Every name in the folder, hidden ones included: a save that failed must
// leave no temporary file behind.
[[nodiscard]] QStringList folderEntries(const QString& folder);

} // namespace quorvane::test
