#pragma once

#include "core/document.h"
#include "core/record_table.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>
#include <random>

// Shared helpers of the file tests: devices that fail or never end, files on
// disk, the independent tools, and records built in one line.
namespace quorvane::test {

// Table-driven cases print as their name rather than as raw bytes; each
// test file brings this into its own namespace with `using test::PrintTo;`.
template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

// A buffer that accepts `capacity` bytes and fails every write after that.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 capacity) : capacity_(capacity) {}

protected:
    qint64 writeData(const char* data, qint64 length) override;

private:
    qint64 capacity_;
};

// A sequential device that yields `head` and then `filler` for ever, and
// counts what was read from it.
class EndlessDevice : public QIODevice {
public:
    EndlessDevice(QByteArray head, char filler);
    [[nodiscard]] bool isSequential() const override { return true; }
    [[nodiscard]] qint64 bytesHandedOut() const { return handedOut_; }

protected:
    qint64 readData(char* data, qint64 maxLength) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray head_;
    char filler_;
    qint64 handedOut_ = 0;
};

// A device whose every read fails.
class UnreadableDevice : public QIODevice {
public:
    UnreadableDevice();

protected:
    qint64 readData(char*, qint64) override;
    qint64 writeData(const char*, qint64) override { return -1; }
};

[[nodiscard]] QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Names in a folder, for checking that nothing was left behind.
[[nodiscard]] QStringList folderEntries(const QString& folder);

struct ToolResult {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};
// Runs a program to its end; exit code -1 when it could not be started.
[[nodiscard]] ToolResult runTool(const QString& program, const QStringList& arguments);

// Records as the window would leave them: address set, size matching data.
[[nodiscard]] KeyRecord hexRecord(quint32 address, const QString& digits);
[[nodiscard]] KeyRecord asciiRecord(quint32 address, const QString& text);
void setAddress(KeyRecord& record, quint32 address);

[[nodiscard]] Document documentIn(AddressSize size);

// Random text for property tests: letters, digits, blanks, commas, "#",
// and characters beyond ASCII (two, three and four UTF-8 bytes).
[[nodiscard]] QString randomText(std::mt19937& random, int maxLength);
[[nodiscard]] QString randomHexDigits(std::mt19937& random, int byteCount);

} // namespace quorvane::test
