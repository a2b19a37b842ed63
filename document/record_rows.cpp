#include "record_rows.h"

#include "core/data_bytes.h"
#include "core/hex_text.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace quorvane {

namespace {

// Bytes a record without a size may hold, whatever the address size.
constexpr int kUnsizedBytes = 252;

QString countOf(int n, const char* one, const char* many)
{
    return n == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                  : QStringLiteral("%1 %2").arg(n).arg(QLatin1String(many));
}

// Empty lines at the end of the table, below `at` only.
int emptyLinesBelow(const RecordTable& table, Slot at)
{
    Slot last = kRecordCount;
    while (last > at && !table[last - 1].inUse())
        --last;
    return kRecordCount - last;
}

// Moves the records from `at` down by `count`, leaving blank records in
// their place; the caller made sure nothing in use falls off the end.
void openGap(RecordTable& table, Slot at, int count)
{
    for (Slot s = kRecordCount - 1; s >= at + count; --s)
        table[s] = table[s - count];
    for (Slot s = at; s < at + count; ++s)
        table[s] = KeyRecord{};
}

QString roomError(const RecordTable& table, Slot at, int count)
{
    const int free = emptyLinesBelow(table, at);
    if (count <= free)
        return {};
    return QStringLiteral("Cannot insert %1 at line %2: %3 left at the end of the table.")
        .arg(countOf(count, "record", "records"))
        .arg(lineNumberOf(at))
        .arg(free == 0 ? QStringLiteral("no empty line is") : countOf(free, "empty line is", "empty lines are"));
}

RowRange clamped(RowRange rows)
{
    rows.first = std::clamp(rows.first, 0, kRecordCount - 1);
    rows.count = std::clamp(rows.count, 1, kRecordCount - rows.first);
    return rows;
}

} // namespace

RowEditResult insertBlankRecords(RecordTable& table, Slot at, int count)
{
    if (QString error = roomError(table, at, count); !error.isEmpty())
        return {.error = error, .focus = at};
    openGap(table, at, count);
    return {.error = {}, .focus = at};
}

RowEditResult insertRecords(RecordTable& table, Slot at, const std::vector<KeyRecord>& records)
{
    RowEditResult result = insertBlankRecords(table, at, int(records.size()));
    for (std::size_t i = 0; result.done() && i < records.size(); ++i)
        table[at + Slot(i)] = records[i];
    return result;
}

RowEditResult deleteRecords(RecordTable& table, RowRange rows)
{
    rows = clamped(rows);
    for (Slot s = rows.first; s < kRecordCount; ++s)
        table[s] = s + rows.count < kRecordCount ? table[s + rows.count] : KeyRecord{};
    return {.error = {}, .focus = rows.first};
}

RowEditResult moveRecordsUp(RecordTable& table, RowRange rows)
{
    rows = clamped(rows);
    if (rows.first == 0)
        return {.error = {}, .focus = 0};
    for (Slot s = rows.first; s < rows.end(); ++s)
        table.swapRecords(s - 1, s);
    return {.error = {}, .focus = rows.first - 1};
}

RowEditResult moveRecordsDown(RecordTable& table, RowRange rows)
{
    rows = clamped(rows);
    if (rows.end() >= kRecordCount)
        return {.error = {}, .focus = rows.first};
    for (Slot s = rows.end(); s > rows.first; --s)
        table.swapRecords(s - 1, s);
    return {.error = {}, .focus = rows.first + 1};
}

RowEditResult duplicateRecords(RecordTable& table, RowRange rows)
{
    rows = clamped(rows);
    std::vector<KeyRecord> copies;
    for (Slot s = rows.first; s < rows.end(); ++s)
        copies.push_back(table[s]);
    RowEditResult result = insertRecords(table, rows.end(), copies);
    result.focus = result.done() ? rows.end() : rows.first;
    return result;
}

namespace {

const QStringList kHeading{QStringLiteral("title"), QStringLiteral("address"), QStringLiteral("size"),
                           QStringLiteral("type"), QStringLiteral("data")};

QString typeText(qint16 type)
{
    switch (type) {
    case kTypeHex: return QStringLiteral("HEX");
    case kTypeAscii: return QStringLiteral("ASCII");
    default: return QString::number(type);
    }
}

QString addressText(const KeyRecord& record, AddressSize size)
{
    if (!record.KeyAddrSet)
        return {};
    const AddressSize shown = record.address() > topAddress(size) ? AddressSize::Bits32 : size;
    return AddrToText(record.KeyAddrHigh, record.KeyAddrLow, shown);
}

bool isDecimal(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); })
           && text.size() <= 5;
}

// The reason `fields` make no record, or empty when `record` now holds them.
QString readRecord(const QStringList& fields, AddressSize size, KeyRecord& record)
{
    if (fields.size() != kHeading.size())
        return QStringLiteral("it has %1, not the 5 of a record (title, address, size, type, data)")
            .arg(countOf(int(fields.size()), "field", "fields"));
    const QString& address = fields[1];
    const QString& sizeText = fields[2];
    const QString type = fields[3].toUpper();
    const QString& data = fields[4];
    record.KeyTitle = fields[0];
    if (!address.isEmpty()) {
        if (!IsAddressText(address))
            return QStringLiteral("address \"%1\" is not 1 to 8 hex digits").arg(address);
        record.KeyAddrHigh = GetAddrHigh(address.toUpper());
        record.KeyAddrLow = GetAddrLow(address.toUpper());
        record.KeyAddrSet = true;
    }
    if (!sizeText.isEmpty()) {
        if (!isDecimal(sizeText) || sizeText.toInt() > dataLimit(size))
            return QStringLiteral("size \"%1\" is not a number from 0 to %2").arg(sizeText).arg(dataLimit(size));
        record.KeySize = qint16(sizeText.toInt());
    }
    if (type == QLatin1String("ASCII"))
        record.KeyType = kTypeAscii;
    else if (isDecimal(type) && type.toInt() <= 32767)
        record.KeyType = qint16(type.toInt());
    else if (!type.isEmpty() && type != QLatin1String("HEX"))
        return QStringLiteral("type \"%1\" is not HEX or ASCII").arg(fields[3]);
    if (record.KeyType == kTypeHex && !IsHEXString(data))
        return QStringLiteral("data \"%1\" is not hex digits").arg(data);
    record.KeyData = record.KeyType == kTypeHex ? data.toUpper() : data;
    const int bytes = dataByteCount(record.KeyType, record.KeyData);
    const int room = record.KeySize == 0 ? kUnsizedBytes : int(record.KeySize);
    if (bytes > room)
        return record.KeySize == 0
                   ? QStringLiteral("its data holds %1 bytes, more than the %2 of a record").arg(bytes).arg(room)
                   : QStringLiteral("its data holds %1 bytes, more than its size of %2").arg(bytes).arg(room);
    return {};
}

// A field with a tab, a line end or a quote goes in quotes, its quotes
// doubled, as spreadsheets copy such cells; they read it back whole.
QString quotedField(QString field)
{
    static const QString special = QStringLiteral("\t\r\n\"");
    if (std::none_of(field.cbegin(), field.cend(), [](QChar c) { return special.contains(c); }))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// Rows of tab-separated fields, CR LF or LF at their ends; a field that
// starts with a quote runs to its closing quote, over tabs and line ends.
class TsvReader {
public:
    explicit TsvReader(const QString& text) : text_(text) {}
    [[nodiscard]] bool atEnd() const { return at_ >= text_.size(); }
    // The line of the text the next row starts on.
    [[nodiscard]] int lineNumber() const { return line_; }
    // The next row's fields, or nothing when a quote is never closed.
    std::optional<QStringList> nextRow()
    {
        QStringList fields;
        QString field;
        while (!atEnd()) {
            const QChar c = text_[at_++];
            if (c == QLatin1Char('"') && field.isEmpty() && !quotedField_) {
                if (!readQuoted(field))
                    return std::nullopt;
                quotedField_ = true;
            } else if (c == QLatin1Char('\t')) {
                fields << field;
                field.clear();
                quotedField_ = false;
            } else if (c == QLatin1Char('\n')) {
                ++line_;
                break;
            } else if (c != QLatin1Char('\r') || (at_ < text_.size() && text_[at_] != QLatin1Char('\n'))) {
                field += c;
            }
        }
        quotedField_ = false;
        fields << field;
        return fields;
    }

private:
    bool readQuoted(QString& field)
    {
        while (!atEnd()) {
            const QChar c = text_[at_++];
            if (c == QLatin1Char('\n'))
                ++line_;
            if (c != QLatin1Char('"')) {
                field += c;
            } else if (!atEnd() && text_[at_] == QLatin1Char('"')) {
                field += c;
                ++at_;
            } else {
                return true;
            }
        }
        return false;
    }

    const QString& text_;
    qsizetype at_ = 0;
    int line_ = 1;
    bool quotedField_ = false;
};

} // namespace

QString recordsToTsv(const RecordTable& table, RowRange rows, AddressSize size)
{
    rows = clamped(rows);
    QString text;
    for (Slot s = rows.first; s < rows.end(); ++s) {
        const KeyRecord& r = table[s];
        QStringList fields{r.KeyTitle, addressText(r, size), r.inUse() ? QString::number(r.KeySize) : QString(),
                           typeText(r.KeyType), r.KeyData};
        for (QString& field : fields)
            field = quotedField(field);
        text += fields.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    return text;
}

TsvRecords recordsFromTsv(const QString& text, AddressSize size)
{
    TsvRecords result;
    TsvReader reader(text);
    for (bool first = true; !reader.atEnd(); first = false) {
        const int line = reader.lineNumber();
        const std::optional<QStringList> fields = reader.nextRow();
        if (!fields)
            return {.records = {}, .error = QStringLiteral("Line %1 of the pasted text: a quoted field has no closing quote.").arg(line)};
        if (*fields == QStringList{QString()})
            continue; // an empty line
        if (first && fields->join(QLatin1Char('\t')).compare(kHeading.join(QLatin1Char('\t')), Qt::CaseInsensitive) == 0)
            continue;
        KeyRecord record;
        if (const QString reason = readRecord(*fields, size, record); !reason.isEmpty())
            return {.records = {}, .error = QStringLiteral("Line %1 of the pasted text: %2.").arg(line).arg(reason)};
        result.records.push_back(record);
    }
    if (result.records.empty())
        result.error = QStringLiteral("The pasted text holds no records.");
    return result;
}

} // namespace quorvane
