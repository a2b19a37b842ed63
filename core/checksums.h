#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

class QCryptographicHash;

// Checksums and digests a production line stores beside the key data, so
// that a device or its test station can check what it was given. The CRCs
// are those of the common CRC catalogue; the sums are the plain sums of the
// bytes, cut to their width (no complement, no carry folding).
namespace quorvane {

enum class ChecksumAlgorithm {
    Crc16CcittFalse, // CRC-16/IBM-3740
    Crc16Xmodem,     // CRC-16/XMODEM
    Crc16Modbus,     // CRC-16/MODBUS
    Crc32,           // CRC-32/ISO-HDLC, as in zip and Ethernet
    Crc32c,          // CRC-32/ISCSI
    Sum8,
    Sum16,
    Sum32,
    Sha256,
};

// The algorithm a user's name stands for ("crc32", "sha256"; lower case).
[[nodiscard]] std::optional<ChecksumAlgorithm> checksumAlgorithmNamed(QStringView name);
[[nodiscard]] QString checksumAlgorithmName(ChecksumAlgorithm algorithm);
[[nodiscard]] QStringList checksumAlgorithmNames();

// The bytes of the algorithm's result: 1, 2 or 4; 32 for SHA-256.
[[nodiscard]] int checksumWidth(ChecksumAlgorithm algorithm);

// The result over `data`, most significant byte first, checksumWidth bytes.
[[nodiscard]] QByteArray checksumOf(ChecksumAlgorithm algorithm, QByteArrayView data);

// The same result over data given in pieces, so that a range of a large
// image is summed a block at a time instead of held whole.
class Checksum {
public:
    explicit Checksum(ChecksumAlgorithm algorithm);
    ~Checksum();
    Checksum(const Checksum&) = delete;
    Checksum& operator=(const Checksum&) = delete;

    void add(QByteArrayView data);
    // As checksumOf over everything added.
    [[nodiscard]] QByteArray result() const;

private:
    ChecksumAlgorithm algorithm_;
    quint32 value_ = 0; // a CRC's register or a sum
    std::unique_ptr<QCryptographicHash> sha256_;
};

} // namespace quorvane
