#include "srecord_writer.h"

#include "atomic_save.h"
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
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (QString problem = recordWriteProblem(table[slot], slot, size); !problem.isEmpty())
            return problem;
    }
    return {};
}

} // namespace

QString recordWriteProblem(const KeyRecord& record, Slot slot, AddressSize size)
{
    if (!record.inUse())
        return {};
    const int line = lineNumberOf(slot);
    const int limit = dataLimit(size);
    if (record.KeySize < 0 || record.KeySize > limit) {
        return QStringLiteral("Line %1: the size %2 is outside 0 to %3 bytes for %4-bit addresses.")
            .arg(line)
            .arg(record.KeySize)
            .arg(limit)
            .arg(int(size));
    }
    if (record.KeyType == kTypeHex) {
        if (!IsHEXString(record.KeyData))
            return QStringLiteral("Line %1: the HEX data holds characters that are not hex digits.").arg(line);
        if (record.KeyData.size() % 2 != 0)
            return QStringLiteral("Line %1: the HEX data has an odd number of digits.").arg(line);
    }
    const int dataBytes = dataByteCount(record.KeyType, record.KeyData);
    if (dataBytes != record.KeySize) {
        return QStringLiteral("Line %1: the size %2 does not match the %3 of its data.")
            .arg(line)
            .arg(record.KeySize)
            .arg(dataBytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(dataBytes));
    }
    return {};
}

QByteArray srecordLineOf(const KeyRecord& record, AddressSize size)
{
    const int count = record.KeySize + addressBytes(size) + 1;
    const QString body = twoDigitHex(count) + AddrToText(record.KeyAddrHigh, record.KeyAddrLow, size)
                         + dataDigitsOf(record);
    return (recordTypeText(dataRecordType(size)) + body + MakeCheckSum(body)).toLatin1();
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
    if (QString problem = firstWriteProblem(document.table, size); !problem.isEmpty())
        return errorText(problem);
    if (QString error = writeAll(device, srecordFileContents(document.table, size)); !error.isEmpty())
        return errorText(error);
    return {};
}

QString SRecodeSave(const QString& fname, const Document& document)
{
    const AddressSize size = document.mode.current();
    if (QString problem = firstWriteProblem(document.table, size); !problem.isEmpty())
        return errorText(problem);
    if (QString error = replaceFileContents(fname, srecordFileContents(document.table, size)); !error.isEmpty())
        return errorText(error);
    return {};
}

} // namespace quorvane
