#include "srecord_writer.h"

#include "document_writer.h"
#include "file_error.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

namespace quorvane {

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QString dataDigitsOf(const KeyRecord& record)
{
    if (record.KeyType == kTypeHex)
        return record.KeyData.toUpper();
    return ASCIIToHEX(record.KeyData);
}

QString firstWriteProblem(const RecordTable& table, AddressSize size)
{
    return firstRecordProblem(table, kRecordCount,
                              [size](const KeyRecord& record, Slot slot) { return recordWriteProblem(record, slot, size); });
}

} // namespace

QString recordWriteProblem(const KeyRecord& record, Slot slot, AddressSize size)
{
    if (!record.inUse())
        return {};
    const int limit = dataLimit(size);
    if (record.KeySize < 0 || record.KeySize > limit) {
        return recordProblem(slot, QStringLiteral("the size %1 is outside 0 to %2 bytes for %3-bit addresses.")
            .arg(record.KeySize)
            .arg(limit)
            .arg(int(size)));
    }
    if (record.KeyType == kTypeHex) {
        if (!IsHEXString(record.KeyData))
            return recordProblem(slot, QStringLiteral("the HEX data holds characters that are not hex digits."));
        if (record.KeyData.size() % 2 != 0)
            return recordProblem(slot, QStringLiteral("the HEX data has an odd number of digits."));
    }
    const int dataBytes = dataByteCount(record.KeyType, record.KeyData);
    if (dataBytes != record.KeySize) {
        return recordProblem(slot, QStringLiteral("the size %1 does not match the %2 of its data.")
            .arg(record.KeySize)
            .arg(dataBytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(dataBytes)));
    }
    return {};
}

QByteArray recordDataBytes(const KeyRecord& record)
{
    return QByteArray::fromHex(dataDigitsOf(record).toLatin1());
}

QByteArray srecordLineOf(const KeyRecord& record, AddressSize size)
{
    return srecordDataLine(size, record.address(), dataDigitsOf(record).toLatin1());
}

QByteArray srecordDataLine(AddressSize size, quint32 address, QByteArrayView dataDigits)
{
    const int count = int(dataDigits.size() / 2) + addressBytes(size) + 1;
    const QString body = twoDigitHex(count) + AddrToText(qint16(address >> 16), qint16(address), size)
                         + QString::fromLatin1(dataDigits);
    return (recordTypeText(dataRecordType(size)) + body + MakeCheckSum(body)).toLatin1();
}

std::optional<QByteArray> srecordCountLine(qint64 dataLines, bool wide)
{
    if (dataLines < 0 || dataLines > 0xFFFFFF)
        return std::nullopt;
    wide = wide || dataLines > 0xFFFF;
    const int digits = wide ? 6 : 4;
    const QString body = twoDigitHex(digits / 2 + 1) + QStringLiteral("%1").arg(dataLines, digits, 16, QLatin1Char('0')).toUpper();
    return (recordTypeText(wide ? RecordType::S6 : RecordType::S5) + body + MakeCheckSum(body)).toLatin1();
}

QByteArray srecordFileContents(const RecordTable& table, AddressSize size)
{
    QByteArray out;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (record.inUse())
            out += srecordLineOf(record, size) + kLineEnd;
    }
    out += endRecordLine(size).toLatin1() + kLineEnd;
    return out;
}

QString SRecodeSave(QIODevice& device, const Document& document)
{
    const AddressSize size = document.mode.current();
    const QString problem = firstWriteProblem(document.table, size);
    return writeDocument(device, problem, problem.isEmpty() ? srecordFileContents(document.table, size) : QByteArray());
}

QString SRecodeSave(const QString& path, const Document& document)
{
    const AddressSize size = document.mode.current();
    const QString problem = firstWriteProblem(document.table, size);
    return writeDocument(path, problem, problem.isEmpty() ? srecordFileContents(document.table, size) : QByteArray());
}

} // namespace quorvane
