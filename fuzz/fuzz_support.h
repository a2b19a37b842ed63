#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the input as a device, a broken invariant
// ending the run (libFuzzer keeps the input that did it), and the few
// independent facts the invariants are measured against.
namespace quorvane::fuzz {

// The fuzzer's bytes as a read-only device, without copying them: the
// readers meet the same QIODevice interface a file gives them.
class InputDevice {
public:
    InputDevice(const std::uint8_t* data, std::size_t size)
        : bytes_(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)))
    {
        buffer_.setBuffer(&bytes_);
        buffer_.open(QIODevice::ReadOnly);
    }
    explicit InputDevice(const QByteArray& bytes) : bytes_(bytes)
    {
        buffer_.setBuffer(&bytes_);
        buffer_.open(QIODevice::ReadOnly);
    }

    [[nodiscard]] QBuffer& device() { return buffer_; }
    [[nodiscard]] const QByteArray& bytes() const { return bytes_; }
    // For a second reader over the same input.
    [[nodiscard]] QBuffer& rewound()
    {
        buffer_.seek(0);
        return buffer_;
    }

private:
    QByteArray bytes_;
    QBuffer buffer_;
};

// Ends the run with a message; libFuzzer reports it as a crash and keeps the
// input that caused it.
[[noreturn]] inline void broken(const char* invariant, const QString& detail = {})
{
    std::fprintf(stderr, "invariant broken: %s\n%s\n", invariant, qPrintable(detail));
    std::abort();
}

inline void expect(bool holds, const char* invariant)
{
    if (!holds)
        broken(invariant);
}

// The detail is only put together when the invariant is broken: formatting
// it for every input would cost more than the reading under test.
template <typename Detail>
inline void expect(bool holds, const char* invariant, const Detail& detail)
{
    if (!holds)
        broken(invariant, detail());
}

// Lines as every reader of the program counts them: CR LF, LF and CR each end
// one, a last line without a line end still counts. Written apart from the
// line reader so that a check's line count can be measured against it.
[[nodiscard]] inline qint64 countLines(const QByteArray& bytes)
{
    qint64 lines = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            ++lines;
        } else if (bytes[i] == '\n') {
            ++lines;
        }
    }
    const char last = bytes.isEmpty() ? '\n' : bytes.back();
    return lines + (last == '\r' || last == '\n' ? 0 : 1);
}

// A record as a writer of `size` puts its address into the file: the 16-bit
// form keeps the low half, the 24-bit form the low byte of the high half.
[[nodiscard]] inline KeyRecord narrowed(KeyRecord record, AddressSize size)
{
    if (size == AddressSize::Bits16)
        record.KeyAddrHigh = 0;
    else if (size == AddressSize::Bits24)
        record.KeyAddrHigh = qint16(record.KeyAddrHigh & 0xFF);
    return record;
}

[[nodiscard]] inline QString describe(const KeyRecord& r)
{
    return QStringLiteral("\"%1\" %2 set=%3 size %4 type %5 \"%6\"")
        .arg(r.KeyTitle)
        .arg(r.address(), 8, 16, QLatin1Char('0'))
        .arg(r.KeyAddrSet)
        .arg(r.KeySize)
        .arg(r.KeyType)
        .arg(r.KeyData.left(80));
}

} // namespace quorvane::fuzz
