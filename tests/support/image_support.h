#pragma once

#include "tests/support/file_support.h"

#include "image/key_extraction.h"
#include "image/key_layout.h"

#include <QBuffer>
#include <QByteArray>

// Image lines, key data and devices for the image tests. The lines are
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

// The bytes a TestDevice reads, made before the device that reads them.
struct HeldBytes {
    explicit HeldBytes(QByteArray contents) : bytes(std::move(contents))
    {
        buffer.setBuffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
    }
    QByteArray bytes;
    QBuffer buffer;
};

// A read-only device over `contents` that counts the bytes read and, from
// byte `failAt` on, fails every read.
class TestDevice : private HeldBytes, public CountingDevice {
public:
    explicit TestDevice(QByteArray contents, qint64 failAt = -1) : HeldBytes(std::move(contents)), CountingDevice(buffer)
    {
        if (failAt >= 0)
            failFrom(1, failAt);
    }
};

// Extracts from the device as the extraction does (recognised in the pass,
// read as binary from `startAddress` when it is no text), naming the file
// "/data/key.obj". A text image found to be of another kind than `kind`
// fails with a text saying so.
[[nodiscard]] ExtractionResult extractFrom(QIODevice& device, ObjectFileKind kind, quint32 startAddress,
                                           const std::vector<ExtractionTarget>& targets);

// A record's bytes, given as hex digits, at an address.
[[nodiscard]] inline KeyBytes key(Slot slot, quint32 address, const char* hex)
{
    return {.slot = slot, .title = {}, .address = address, .bytes = QByteArray::fromHex(hex)};
}

[[nodiscard]] inline KeyBytes titled(KeyBytes key, const QString& title)
{
    key.title = title;
    return key;
}

} // namespace quorvane::test
