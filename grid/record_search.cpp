#include "record_search.h"

#include "core/hex_text.h"

namespace quorvane {

namespace {

// The hex digits an address query stands for, or nothing when it is not one.
std::optional<QString> addressQuery(const QString& query)
{
    QString digits = query.trimmed().toUpper();
    if (digits.startsWith(QLatin1String("0X")))
        digits.remove(0, 2);
    if (digits.isEmpty() || !IsHEXString(digits))
        return std::nullopt;
    return digits;
}

bool addressStartsWith(const KeyRecord& record, AddressSize size, const QString& digits)
{
    if (!record.KeyAddrSet)
        return false;
    const QString shown = AddrToText(record.KeyAddrHigh, record.KeyAddrLow, size);
    qsizetype zeros = 0;
    while (zeros < shown.size() - 1 && shown.at(zeros) == QLatin1Char('0'))
        ++zeros;
    return shown.startsWith(digits) || shown.mid(zeros).startsWith(digits);
}

} // namespace

std::optional<RecordMatch> findRecord(const RecordTable& table, AddressSize size, const QString& query, Slot from)
{
    if (query.isEmpty())
        return std::nullopt;
    const std::optional<QString> digits = addressQuery(query);
    for (int step = 0; step < kRecordCount; ++step) {
        const Slot slot = (from + step) % kRecordCount;
        const KeyRecord& record = table[slot];
        if (record.KeyTitle.contains(query, Qt::CaseInsensitive))
            return RecordMatch{slot, RecordField::Title};
        if (digits && addressStartsWith(record, size, *digits))
            return RecordMatch{slot, RecordField::Address};
    }
    return std::nullopt;
}

} // namespace quorvane
