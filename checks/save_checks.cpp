#include "save_checks.h"

#include "report_list.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

#include <algorithm>
#include <limits>

namespace quorvane {

namespace {

template<typename Predicate>
QString reportWhere(const RecordTable& table, Predicate hit)
{
    std::vector<Slot> hits;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        if (hit(table[slot]))
            hits.push_back(slot);
    }
    return reportList(hits);
}

bool isHex(const KeyRecord& record) { return record.KeyType == kTypeHex; }

// KeySize is 16 bits wide; data beyond that is outside what a record can
// describe, and a clamped size is then caught by the S-record size check
// instead of wrapping round to a negative number.
qint16 sizeFor(const KeyRecord& record)
{
    const int bytes = dataByteCount(record.KeyType, record.KeyData);
    return qint16(std::min(bytes, int(std::numeric_limits<qint16>::max())));
}

QString fill(qsizetype count) { return QString(count, QLatin1Char('F')); }

} // namespace

QString AddressEmptyCheck(const RecordTable& table)
{
    return reportWhere(table, [](const KeyRecord& record) {
        // The type alone is no content: a fresh row can show ASCII.
        const bool hasContent = !record.KeyData.isEmpty() || record.KeySize != 0 || !record.KeyTitle.isEmpty();
        return hasContent && !record.KeyAddrSet;
    });
}

QString CheckHEXData(const RecordTable& table)
{
    return reportWhere(table, [](const KeyRecord& record) { return isHex(record) && !IsHEXString(record.KeyData); });
}

QString CheckSrecordTotalSize(const RecordTable& table, AddressSize size)
{
    const int limit = dataLimit(size);
    return reportWhere(table, [limit](const KeyRecord& record) { return record.KeySize > limit; });
}

QString CheckDataSize(const RecordTable& table, bool templateFile)
{
    return reportWhere(table, [templateFile](const KeyRecord& record) {
        if (record.KeySize == dataByteCount(record.KeyType, record.KeyData))
            return false;
        return !templateFile || record.KeySize == 0;
    });
}

void FillMissingSizes(RecordTable& table)
{
    // A negative size can only come from a file; it describes no data at all,
    // and left in place it would be written as a nonsense S-record count.
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord& record = table[slot];
        if (record.KeySize <= 0)
            record.KeySize = sizeFor(record);
    }
}

void PadOddHexData(RecordTable& table)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord& record = table[slot];
        if (!isHex(record) || record.KeyData.size() % 2 == 0)
            continue;
        const QChar last = record.KeyData.back();
        record.KeyData.chop(1);
        record.KeyData.append(QLatin1Char('0')).append(last);
    }
}

void FitDataToSize(RecordTable& table)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        KeyRecord& record = table[slot];
        const int size = record.KeySize;
        if (size <= 0)
            continue;
        if (isHex(record)) {
            const qsizetype digits = qsizetype(size) * 2;
            const QString upper = record.KeyData.toUpper();
            record.KeyData = upper.size() >= digits ? upper.right(digits) : fill(digits - upper.size()) + upper;
        } else {
            const QString head = cutAsciiToBytes(record.KeyData, size);
            record.KeyData = head + fill(size - asciiByteCount(head));
        }
    }
}

} // namespace quorvane
