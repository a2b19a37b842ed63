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
