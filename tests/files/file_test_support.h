#pragma once

#include "core/document.h"
#include "tests/support/qt_printers.h"
#include "tests/support/record_builders.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <random>

// Shared helpers of the file tests: devices, files on disk, the independent
// tools, and records built in one line.
namespace quorvane::test {

using DeviceWriter = QString (*)(QIODevice&, const Document&);
using DeviceReader = QString (*)(QIODevice&, Document&);

// What a writer puts into a buffer. Without `error` the write must succeed.
[[nodiscard]] QByteArray written(DeviceWriter write, const Document& document, QString* error = nullptr);
[[nodiscard]] QString readInto(DeviceReader read, QByteArray bytes, Document& document);

// A buffer that accepts `capacity` bytes and fails every write after that.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
    qint64 writeData(const char* data, qint64 length) override
    {
        if (size() >= capacity_) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        return QBuffer::writeData(data, std::min(length, capacity_ - size()));
    }
    const qint64 capacity_;
};

[[nodiscard]] QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Runs a program to its end: an empty text, or why it failed.
[[nodiscard]] QString runTool(const QString& program, const QStringList& arguments);

// Random text for property tests: letters, digits, blanks, commas, "#",
// and characters beyond ASCII (two, three and four UTF-8 bytes).
[[nodiscard]] QString randomText(std::mt19937& random, int maxLength);
[[nodiscard]] QString randomHexDigits(std::mt19937& random, int byteCount);

} // namespace quorvane::test
