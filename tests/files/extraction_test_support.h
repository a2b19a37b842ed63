#pragma once

#include "file_test_support.h"

#include "files/key_extraction.h"

#include <QBuffer>
#include <QByteArray>

// Object-file lines and devices for the extraction tests. The lines are
// built here byte by byte, independently of the readers under test.
namespace quorvane::test {

// An S-record line of the given type digit, CR LF ended, with its count and
// checksum.
[[nodiscard]] QByteArray srec(int type, quint32 address, const QByteArray& data = {});
// An Intel HEX line, CR LF ended, with its count and checksum.
[[nodiscard]] QByteArray ihex(int type, quint16 offset, const QByteArray& data = {});
[[nodiscard]] inline QByteArray bytes(const char* hex) { return QByteArray::fromHex(hex); }

[[nodiscard]] inline ExtractionTarget at(Slot slot, quint32 address, int size)
{
    return {.slot = slot, .address = address, .size = size};
}

// A read-only buffer that counts the bytes read from it and, from
// `failFrom` on, fails every read.
class TestDevice : public QBuffer {
public:
    explicit TestDevice(QByteArray contents, qint64 failFrom = -1);
    [[nodiscard]] qint64 bytesRead() const { return bytesRead_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    QByteArray contents_;
    qint64 failFrom_;
    qint64 bytesRead_ = 0;
};

// Runs the reader of `kind` over the device, naming the file "/data/key.obj".
[[nodiscard]] ExtractionResult extractFrom(QIODevice& device, ObjectFileKind kind, quint32 startAddress,
                                           const std::vector<ExtractionTarget>& targets);

} // namespace quorvane::test
