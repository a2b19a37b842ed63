#include "checksums.h"

#include <QCryptographicHash>

#include <array>
#include <iterator>

namespace quorvane {

namespace {

// A CRC as the catalogue describes it (width, poly, init, refin, refout,
// xorout); one table-driven engine serves them all.
struct CrcParameters {
    int width;
    quint32 poly;
    quint32 init;
    bool refin;
    bool refout;
    quint32 xorout;
};

quint32 reflected(quint32 value, int bits)
{
    quint32 result = 0;
    for (int bit = 0; bit < bits; ++bit, value >>= 1)
        result = (result << 1) | (value & 1);
    return result;
}

class Crc {
public:
    explicit Crc(const CrcParameters& parameters) : p_(parameters)
    {
        const quint32 top = 1u << (p_.width - 1);
        const quint32 poly = p_.refin ? reflected(p_.poly, p_.width) : p_.poly;
        for (quint32 byte = 0; byte < 256; ++byte) {
            quint32 crc = p_.refin ? byte : byte << (p_.width - 8);
            for (int bit = 0; bit < 8; ++bit) {
                if (p_.refin)
                    crc = crc & 1 ? (crc >> 1) ^ poly : crc >> 1;
                else
                    crc = crc & top ? (crc << 1) ^ poly : crc << 1;
            }
            table_[byte] = crc & mask();
        }
    }

    // The register before any byte, after `data`, and read out at the end:
    // a range of an image is fed to it a block at a time.
    [[nodiscard]] quint32 start() const { return p_.refin ? reflected(p_.init, p_.width) : p_.init; }

    [[nodiscard]] quint32 update(quint32 crc, QByteArrayView data) const
    {
        for (const char c : data) {
            const auto byte = quint8(c);
            if (p_.refin)
                crc = (crc >> 8) ^ table_[(crc ^ byte) & 0xFF];
            else
                crc = ((crc << 8) ^ table_[((crc >> (p_.width - 8)) ^ byte) & 0xFF]) & mask();
        }
        return crc;
    }

    [[nodiscard]] quint32 finish(quint32 crc) const
    {
        if (p_.refin != p_.refout)
            crc = reflected(crc, p_.width);
        return (crc ^ p_.xorout) & mask();
    }

private:
    [[nodiscard]] quint32 mask() const { return p_.width == 32 ? 0xFFFFFFFFu : (1u << p_.width) - 1; }

    CrcParameters p_;
    std::array<quint32, 256> table_{};
};

struct AlgorithmEntry {
    ChecksumAlgorithm algorithm;
    const char* name;
    int width;
};

constexpr std::array kAlgorithms{
    AlgorithmEntry{ChecksumAlgorithm::Crc16CcittFalse, "crc16-ccitt-false", 2},
    AlgorithmEntry{ChecksumAlgorithm::Crc16Xmodem, "crc16-xmodem", 2},
    AlgorithmEntry{ChecksumAlgorithm::Crc16Modbus, "crc16-modbus", 2},
    AlgorithmEntry{ChecksumAlgorithm::Crc32, "crc32", 4},
    AlgorithmEntry{ChecksumAlgorithm::Crc32c, "crc32c", 4},
    AlgorithmEntry{ChecksumAlgorithm::Sum8, "sum8", 1},
    AlgorithmEntry{ChecksumAlgorithm::Sum16, "sum16", 2},
    AlgorithmEntry{ChecksumAlgorithm::Sum32, "sum32", 4},
    AlgorithmEntry{ChecksumAlgorithm::Sha256, "sha256", 32},
};

const AlgorithmEntry& entryOf(ChecksumAlgorithm algorithm)
{
    for (const AlgorithmEntry& entry : kAlgorithms)
        if (entry.algorithm == algorithm)
            return entry;
    return kAlgorithms.front();
}

const Crc& crcOf(ChecksumAlgorithm algorithm)
{
    static const Crc ccittFalse({16, 0x1021, 0xFFFF, false, false, 0});
    static const Crc xmodem({16, 0x1021, 0, false, false, 0});
    static const Crc modbus({16, 0x8005, 0xFFFF, true, true, 0});
    static const Crc crc32({32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF});
    static const Crc crc32c({32, 0x1EDC6F41, 0xFFFFFFFF, true, true, 0xFFFFFFFF});
    switch (algorithm) {
    case ChecksumAlgorithm::Crc16Xmodem: return xmodem;
    case ChecksumAlgorithm::Crc16Modbus: return modbus;
    case ChecksumAlgorithm::Crc32: return crc32;
    case ChecksumAlgorithm::Crc32c: return crc32c;
    default: return ccittFalse;
    }
}

QByteArray bigEndian(quint32 value, int width)
{
    QByteArray bytes(width, '\0');
    for (int index = width - 1; index >= 0; --index, value >>= 8)
        bytes[index] = char(value & 0xFF);
    return bytes;
}

bool isSum(ChecksumAlgorithm algorithm)
{
    return algorithm == ChecksumAlgorithm::Sum8 || algorithm == ChecksumAlgorithm::Sum16
           || algorithm == ChecksumAlgorithm::Sum32;
}

} // namespace

std::optional<ChecksumAlgorithm> checksumAlgorithmNamed(QStringView name)
{
    for (const AlgorithmEntry& entry : kAlgorithms)
        if (name == QLatin1StringView(entry.name))
            return entry.algorithm;
    return std::nullopt;
}

QString checksumAlgorithmName(ChecksumAlgorithm algorithm)
{
    return QString::fromLatin1(entryOf(algorithm).name);
}

QStringList checksumAlgorithmNames()
{
    QStringList names;
    for (const AlgorithmEntry& entry : kAlgorithms)
        names << QString::fromLatin1(entry.name);
    return names;
}

int checksumWidth(ChecksumAlgorithm algorithm)
{
    return entryOf(algorithm).width;
}

Checksum::Checksum(ChecksumAlgorithm algorithm) : algorithm_(algorithm)
{
    if (algorithm_ == ChecksumAlgorithm::Sha256)
        sha256_ = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
    else if (!isSum(algorithm_))
        value_ = crcOf(algorithm_).start();
}

Checksum::~Checksum() = default;

void Checksum::add(QByteArrayView data)
{
    if (sha256_)
        sha256_->addData(data);
    else if (isSum(algorithm_))
        for (const char c : data)
            value_ += quint8(c);
    else
        value_ = crcOf(algorithm_).update(value_, data);
}

QByteArray Checksum::result() const
{
    if (sha256_)
        return sha256_->result();
    const int width = checksumWidth(algorithm_);
    return bigEndian(isSum(algorithm_) ? value_ : crcOf(algorithm_).finish(value_), width);
}

QByteArray checksumOf(ChecksumAlgorithm algorithm, QByteArrayView data)
{
    Checksum checksum(algorithm);
    checksum.add(data);
    return checksum.result();
}

} // namespace quorvane
