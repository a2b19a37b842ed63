#pragma once

#include "core/document.h"
#include "core/record_table.h"
#include "tests/support/qt_printers.h"

#include <QString>

#include <map>
#include <ostream>
#include <vector>

namespace quorvane {

// Failure messages show a record's columns rather than its bytes.
inline void PrintTo(const KeyRecord& r, std::ostream* os)
{
    *os << '"' << r.KeyTitle.toStdString() << "\" " << std::hex << r.address() << std::dec
        << (r.KeyAddrSet ? "" : "(unset)") << " size " << r.KeySize << " type " << r.KeyType << " \""
        << r.KeyData.left(64).toStdString() << '"';
}

} // namespace quorvane

namespace quorvane::test {

// "ä" is two bytes in UTF-8, "€" three, the emoji four (and two UTF-16 units).
inline const QString kAUmlaut = QStringLiteral("\u00e4");
inline const QString kEuro = QStringLiteral("\u20ac");
inline const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

// Any record, set up by `edit` from an empty one.
template<typename Edit>
KeyRecord recordWith(Edit edit)
{
    KeyRecord record;
    edit(record);
    return record;
}

// Records are built in column order: title, address high and low, size,
// type, data, address set.

// A record with an address, as the grid makes it.
inline KeyRecord hexRecord(const QString& data, int size = 0, qint16 type = kTypeHex)
{
    return {{}, 0, 0, qint16(size), type, data, true};
}

inline KeyRecord asciiRecord(const QString& data, int size = 0) { return hexRecord(data, size, kTypeAscii); }

// A record in use at `address`, named by `title` so tests can follow it.
inline KeyRecord recordAt(quint32 address, int size, const QString& title = QStringLiteral("r"))
{
    return {title, qint16(address >> 16), qint16(address), qint16(size), kTypeHex, {}, true};
}

inline RecordTable tableWith(Slot slot, const KeyRecord& record)
{
    RecordTable table;
    table[slot] = record;
    return table;
}

// Records (address, size) in slots 0, 1, 2, ..., titled "@0", "@1", ...
inline RecordTable tableInOrder(const std::vector<std::pair<quint32, int>>& records)
{
    RecordTable table;
    for (std::size_t i = 0; i < records.size(); ++i)
        table[Slot(i)] = recordAt(records[i].first, records[i].second, QStringLiteral("@%1").arg(i));
    return table;
}

// Records as the window would leave them: address set, size matching data.
inline KeyRecord addressed(KeyRecord record, quint32 address)
{
    record.KeyAddrHigh = qint16(address >> 16);
    record.KeyAddrLow = qint16(address);
    record.KeyAddrSet = true;
    return record;
}

inline KeyRecord titled(KeyRecord record, const QString& title)
{
    record.KeyTitle = title;
    return record;
}

inline KeyRecord hexRecordAt(quint32 address, const QString& digits)
{
    return addressed({.KeyTitle = {}, .KeySize = qint16((digits.size() + 1) / 2), .KeyType = kTypeHex, .KeyData = digits},
                     address);
}

inline KeyRecord asciiRecordAt(quint32 address, const QString& text)
{
    return addressed({.KeyTitle = {}, .KeySize = qint16(text.toUtf8().size()), .KeyType = kTypeAscii, .KeyData = text},
                     address);
}

inline Document documentIn(AddressSize size, const std::map<Slot, KeyRecord>& records = {})
{
    Document document;
    document.mode.set(size);
    for (const auto& [slot, record] : records)
        document.table[slot] = record;
    return document;
}

} // namespace quorvane::test
