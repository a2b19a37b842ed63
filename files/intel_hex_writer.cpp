#include "intel_hex_writer.h"

#include "document_writer.h"
#include "file_error.h"
#include "intel_hex.h"
#include "srecord_writer.h"

#include "core/hex_digits.h"

#include <algorithm>

namespace quorvane {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// The address an S-record line of the size would carry.
quint32 writtenAddress(const KeyRecord& record, AddressSize size)
{
    const int bits = 8 * addressBytes(size);
    return bits >= 32 ? record.address() : record.address() & ((quint32(1) << bits) - 1);
}

QString writeProblem(const KeyRecord& record, Slot slot, AddressSize size)
{
    if (QString problem = recordWriteProblem(record, slot, size); !problem.isEmpty() || !record.inUse())
        return problem;
    // Intel HEX has no address beyond 32 bits: such data would wrap to 0.
    if (quint64(writtenAddress(record, size)) + quint64(record.KeySize) > 0x100000000ULL)
        return recordProblem(slot, QStringLiteral("the key data runs past address FFFFFFFF."));
    return {};
}

} // namespace

QByteArray intelHexFileContents(const RecordTable& table, AddressSize size)
{
    QByteArray out;
    // Readers start in page 0 without being told.
    quint32 page = 0;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (!record.inUse())
            continue;
        const QByteArray digits = recordDataBytes(record).toHex().toUpper();
        quint32 address = writtenAddress(record, size);
        for (qsizetype at = 0; at < digits.size();) {
            if (address >> 16 != page) {
                page = address >> 16;
                const char pageDigits[4] = {upperHexDigitOf(page >> 12), upperHexDigitOf(page >> 8),
                                            upperHexDigitOf(page >> 4), upperHexDigitOf(page)};
                out += intelHexLine(IntelHexType::ExtendedLinearAddress, 0, QByteArrayView(pageDigits, 4)) + kLineEnd;
            }
            const qsizetype roomInPage = 0x10000 - (address & 0xFFFF);
            const qsizetype bytes = std::min({qsizetype(kIntelHexKeyLineBytes), roomInPage, (digits.size() - at) / 2});
            out += intelHexLine(IntelHexType::Data, quint16(address), QByteArrayView(digits).sliced(at, 2 * bytes)) + kLineEnd;
            at += 2 * bytes;
            address += quint32(bytes);
        }
    }
    out += intelHexLine(IntelHexType::EndOfFile, 0, {}) + kLineEnd;
    return out;
}

namespace {

QString firstIntelHexProblem(const Document& document)
{
    const AddressSize size = document.mode.current();
    return firstRecordProblem(document.table, kRecordCount,
                              [size](const KeyRecord& record, Slot slot) { return writeProblem(record, slot, size); });
}

} // namespace

QString IntelHexSave(QIODevice& device, const Document& document)
{
    const QString problem = firstIntelHexProblem(document);
    return writeDocument(device, problem,
                         problem.isEmpty() ? intelHexFileContents(document.table, document.mode.current()) : QByteArray());
}

QString IntelHexSave(const QString& path, const Document& document)
{
    const QString problem = firstIntelHexProblem(document);
    return writeDocument(path, problem,
                         problem.isEmpty() ? intelHexFileContents(document.table, document.mode.current()) : QByteArray());
}

} // namespace quorvane
