#include "record_columns.h"

#include "core/address_size.h"
#include "core/data_bytes.h"
#include "core/hex_digits.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorvane::cli {

namespace {

// The slot a "#N" column names, nullopt for a title, or -1 for a line
// outside the grid.
std::optional<Slot> slotOfLineName(const QString& name)
{
    static const QRegularExpression lineName(QStringLiteral("^#([0-9]+)$"));
    const QRegularExpressionMatch match = lineName.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int line = match.captured(1).toInt(&ok);
    return ok && line >= 1 && line <= kRecordCount ? Slot(line - 1) : Slot(-1);
}

QList<Slot> slotsTitled(const Document& templateDocument, const QString& title)
{
    QList<Slot> found;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        if (const KeyRecord& record = templateDocument.table[slot]; record.inUse() && record.KeyTitle.trimmed() == title)
            found << slot;
    return found;
}

QString lineList(const QList<Slot>& found)
{
    QStringList lines;
    for (const Slot slot : found)
        lines << QString::number(lineNumberOf(slot));
    return lines.join(QStringLiteral(", "));
}

QString bytesText(int count)
{
    return count == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(count);
}

// Why the value cannot be the record's data as it stands, or an empty text.
QString valueProblem(const KeyRecord& record, Slot slot, const QString& value, AddressSize addressSize)
{
    const bool hex = record.KeyType == kTypeHex;
    if (hex && (value.size() % 2 != 0 || !std::all_of(value.cbegin(), value.cend(), [](QChar c) { return isHexDigit(c.unicode()); })))
        return QStringLiteral("is not HEX data (two hex digits a byte).");
    const int bytes = dataByteCount(record.KeyType, value);
    if (record.KeySize != 0 && bytes != record.KeySize)
        return QStringLiteral("is %1; line %2 of the template takes %3.")
            .arg(bytesText(bytes))
            .arg(lineNumberOf(slot))
            .arg(bytesText(record.KeySize));
    if (bytes > dataLimit(addressSize))
        return QStringLiteral("is %1; one S-record of line %2 holds at most %3.")
            .arg(bytesText(bytes))
            .arg(lineNumberOf(slot))
            .arg(bytesText(dataLimit(addressSize)));
    return {};
}

} // namespace

QString shownValue(const QString& value)
{
    constexpr qsizetype kShown = 16;
    return QLatin1Char('"') + (value.size() > kShown ? value.left(kShown) + QStringLiteral("...") : value)
           + QLatin1Char('"');
}

Parsed<RecordColumns> RecordColumns::fromHeader(const QStringList& header, const Document& templateDocument,
                                                const QStringList& ignored)
{
    RecordColumns columns;
    QStringList seen;
    QList<Slot> named;
    for (qsizetype column = 0; column < header.size(); ++column) {
        const QString name = header.at(column).trimmed();
        if (name.isEmpty() || ignored.contains(name)) {
            columns.extra_ << name;
            continue;
        }
        if (seen.contains(name))
            return Parsed<RecordColumns>::refused(
                QStringLiteral("The CSV header names the column \"%1\" twice.").arg(name));
        seen << name;

        Slot slot = -1;
        if (const std::optional<Slot> line = slotOfLineName(name)) {
            slot = *line;
            if (slot < 0 || !templateDocument.table[slot].inUse())
                return Parsed<RecordColumns>::refused(
                    QStringLiteral("The column \"%1\" names no record of the template.").arg(name));
        } else if (const QList<Slot> titled = slotsTitled(templateDocument, name); titled.size() > 1) {
            return Parsed<RecordColumns>::refused(
                QStringLiteral("The column \"%1\" is the title of lines %2 of the template; name one as \"#%3\".")
                    .arg(name, lineList(titled))
                    .arg(lineNumberOf(titled.constFirst())));
        } else if (titled.size() == 1) {
            slot = titled.constFirst();
        }

        if (slot < 0) {
            columns.extra_ << name;
            continue;
        }
        if (named.contains(slot))
            return Parsed<RecordColumns>::refused(
                QStringLiteral("Two columns name line %1 of the template.").arg(lineNumberOf(slot)));
        named << slot;
        columns.records_.push_back({column, slot, name});
    }
    return {std::move(columns)};
}

QString RecordColumns::apply(const QStringList& fields, Document& document) const
{
    for (const RecordColumn& record : records_) {
        const QString& value = fields.at(record.column);
        if (value.isEmpty())
            return QStringLiteral("the column \"%1\" is empty.").arg(record.name);
        KeyRecord& target = document.table[record.slot];
        if (const QString why = valueProblem(target, record.slot, value, document.mode.current()); !why.isEmpty())
            return QStringLiteral("the column \"%1\" holds %2, which %3").arg(record.name, shownValue(value), why);
        target.KeyData = value;
    }
    return {};
}

bool RecordColumns::isHexColumn(qsizetype column, const Document& templateDocument) const
{
    const auto found = std::find_if(records_.cbegin(), records_.cend(),
                                    [column](const RecordColumn& record) { return record.column == column; });
    return found != records_.cend() && templateDocument.table[found->slot].KeyType == kTypeHex;
}

} // namespace quorvane::cli
