#include "srecord_limit.h"

#include "save_messages.h"

#include "core/data_bytes.h"

#include <QStringList>

#include <algorithm>

namespace quorvane {

void TrimToSrecordLimit(RecordTable& table, AddressSize size)
{
    const int limit = dataLimit(size);
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord& record = table[slot];
        if (record.KeySize <= limit)
            continue;
        record.KeySize = qint16(limit);
        record.KeyData = record.KeyType == kTypeHex ? record.KeyData.left(qsizetype(limit) * 2)
                                                    : cutAsciiToBytes(record.KeyData, limit);
    }
}

std::vector<Slot> recordsBeyondAddressSize(const RecordTable& table, AddressSize size)
{
    std::vector<Slot> hits;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = table[slot];
        if (!record.KeyAddrSet)
            continue;
        // The save fills a missing size from the data, so the data tells
        // how far a record without a size reaches.
        const int bytes = record.KeySize > 0 ? record.KeySize : dataByteCount(record.KeyType, record.KeyData);
        const quint64 last = quint64(record.address()) + quint64(std::max(bytes, 1)) - 1;
        if (last > topAddress(size))
            hits.push_back(slot);
    }
    return hits;
}

namespace {

// "3 (0000FFF0), 7 (12345678)": the line and the full stored address, which
// the grid may not show in a narrower address size.
QString linesWithAddresses(const RecordTable& table, const std::vector<Slot>& hits)
{
    QStringList lines;
    for (const Slot slot : hits) {
        const QString address = QStringLiteral("%1").arg(table[slot].address(), 8, 16, QLatin1Char('0')).toUpper();
        lines.append(QStringLiteral("%1 (%2)").arg(lineNumberOf(slot)).arg(address));
    }
    return QStringLiteral("LineNo: ") + lines.join(QStringLiteral(", "));
}

} // namespace

QString addressMoveWarningText(const RecordTable& table, const std::vector<Slot>& hits)
{
    return QStringLiteral("The key data exceeds the upper bound of the address size.") + kCrLf
        + linesWithAddresses(table, hits) + kCrLf
        + QStringLiteral("(The key data of these lines is saved at another address.)") + kCrLf
        + QStringLiteral("Continue ?");
}

QString addressOverflowErrorText(const RecordTable& table, const std::vector<Slot>& hits)
{
    return QStringLiteral("The key data exceeds the highest address FFFFFFFF.") + kCrLf
        + linesWithAddresses(table, hits);
}

QString addressSizeWarningText()
{
    return QStringLiteral("There is a possibility for the data size to exceed the upper bound of Srecord.") + kCrLf
        + QStringLiteral("(Data that exceeds the upper bound is deleted.)") + kCrLf + QStringLiteral("Continue ?");
}

} // namespace quorvane
