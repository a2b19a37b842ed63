#pragma once

#include "core/document.h"
#include "files/format_check.h"
#include "tests/support/qt_printers.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <random>

// Files, devices and processes for the file tests: buffers that fill up or
// fail, files of a gigabyte that take no room, children with a full disk or
// without root's rights, the independent tools, and random text.
namespace quorvane::test {

using DeviceWriter = QString (*)(QIODevice&, const Document&);
using DeviceReader = QString (*)(QIODevice&, Document&);

// What a writer puts into a buffer. Without `error` the write must succeed.
[[nodiscard]] QByteArray written(DeviceWriter write, const Document& document, QString* error = nullptr);
[[nodiscard]] QString readInto(DeviceReader read, QByteArray bytes, Document& document);

// A format check as one text: "N lines" when valid, else "line N: reason".
[[nodiscard]] QString checkOutcome(const FormatCheck& check);

// A buffer that accepts `capacity` bytes and fails every write after that.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
    qint64 writeData(const char* data, qint64 length) override;
    const qint64 capacity_;
};

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

[[nodiscard]] QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Every name in the folder, hidden ones included: a save that failed must
// leave no temporary file behind.
[[nodiscard]] QStringList folderEntries(const QString& folder);
// Runs a program to its end: an empty text, or why it failed.
[[nodiscard]] QString runTool(const QString& program, const QStringList& arguments);

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

// Random text for property tests: letters, digits, blanks, commas, "#",
// NUL and other control characters, and characters beyond ASCII (two, three
// and four UTF-8 bytes).
[[nodiscard]] QString randomText(std::mt19937& random, int maxLength);
[[nodiscard]] QString randomHexDigits(std::mt19937& random, int byteCount);

} // namespace quorvane::test
