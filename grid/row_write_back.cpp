#include "row_write_back.h"

#include "core/data_bytes.h"
#include "grid_layout.h"

namespace quorvane {

namespace {

constexpr int kWindowDigits = 2 * kGridColumns;

QString cutHexToSize(const QString& data, qint16 size)
{
    const int limit = size == 0 ? kUnsizedHexDigits : 2 * int(size);
    if (limit >= 0 && data.size() > limit)
        return data.left(limit);
    return data;
}

} // namespace

QString hexCellText(const QString& data, int byte)
{
    const qsizetype firstDigit = 2 * qsizetype(byte);
    if (data.size() <= firstDigit)
        return {};
    return data.mid(firstDigit, 2);
}

bool hexCellOpen(qsizetype dataLength, int byte)
{
    return dataLength >= 2 * qsizetype(byte);
}

QString rowDataAfterEdit(const KeyRecord& record, int hoffset, const RowCellTexts& cells)
{
    const QString& data = record.KeyData;
    if (record.KeyType == kTypeHex) {
        const qsizetype before = 2 * qsizetype(hoffset);
        const qsizetype n = data.size();
        QString joined;
        joined.reserve(n + kWindowDigits);
        if (before > 0 && n > 0)
            joined += QStringView(data).left(std::min(n, before));
        for (const QString& cell : cells)
            joined += cell;
        if (n > before + kWindowDigits)
            joined += QStringView(data).right(n - (before + kWindowDigits));
        return cutHexToSize(joined, record.KeySize);
    }
    if (record.KeyType == kTypeAscii) {
        const int limit = record.KeySize == 0 ? kUnsizedAsciiBytes : int(record.KeySize);
        return limit < 0 ? cells[0] : cutAsciiToBytes(cells[0], limit);
    }
    return data;
}

} // namespace quorvane
