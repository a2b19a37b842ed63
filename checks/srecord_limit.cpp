#include "srecord_limit.h"

#include "save_messages.h"

#include "core/data_bytes.h"

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

QString addressSizeWarningText()
{
    return QStringLiteral("There is a possibility for the data size to exceed the upper bound of Srecord.") + kCrLf
        + QStringLiteral("(Data that exceeds the upper bound is deleted.)") + kCrLf + QStringLiteral("Continue ?");
}

} // namespace quorvane
