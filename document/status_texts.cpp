#include "status_texts.h"

#include "document_files.h"

#include "core/data_bytes.h"

#include <QFileInfo>

namespace quorvane {

QString recordCountText(int count)
{
    return count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count);
}

int recordsInUse(const RecordTable& table)
{
    int count = 0;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        count += table[slot].inUse() ? 1 : 0;
    return count;
}

namespace {

QString fileText(const QString& verb, const QString& kind, const QString& path, const RecordTable& table)
{
    return QStringLiteral("%1 %2 %3: %4")
        .arg(verb, kind, QFileInfo(path).fileName(), recordCountText(recordsInUse(table)));
}

} // namespace

QString savedFileText(const QString& path, const RecordTable& table)
{
    const QString kind = isTemplateFileName(path) ? QStringLiteral("template file")
                         : isIntelHexFileName(path) ? QStringLiteral("Intel HEX file")
                                                    : QStringLiteral("KEY file");
    return fileText(QStringLiteral("Saved"), kind, path, table);
}

QString openedFileText(const QString& path, const RecordTable& table)
{
    const QString kind = isTemplateFileName(path) ? QStringLiteral("template file") : QStringLiteral("KEY file");
    return fileText(QStringLiteral("Opened"), kind, path, table);
}

QString recordRangeText(const Document& document, Slot slot)
{
    const KeyRecord& record = document.table[slot];
    const QString line = QStringLiteral("Line %1: ").arg(lineNumberOf(slot));
    if (!record.inUse())
        return line + QStringLiteral("empty");
    if (!record.KeyAddrSet)
        return line + QStringLiteral("no address");
    // Wider than the address size when the record runs past its top, so
    // that the text never hides where the bytes go.
    const int digits = addressDigits(document.mode.current());
    auto hex = [digits](quint64 address) {
        return QString::number(address, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
    };
    const int size = record.KeySize > 0 ? record.KeySize : dataByteCount(record.KeyType, record.KeyData);
    const quint64 last = quint64(record.address()) + quint64(qMax(size, 1)) - 1;
    // Digits the address field hides, or bytes past the top, are saved at
    // another address: the text says so rather than look like the grid.
    const QString beyond = last > topAddress(document.mode.current())
                               ? QStringLiteral(" (past %1)").arg(hex(topAddress(document.mode.current())))
                               : QString();
    if (size <= 0)
        return line + hex(record.address()) + QStringLiteral(" (no data)") + beyond;
    return line + hex(record.address()) + QLatin1Char('-') + hex(last) + beyond;
}

} // namespace quorvane
