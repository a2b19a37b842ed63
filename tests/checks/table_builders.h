#pragma once

#include "core/record_table.h"

#include <QString>

#include <ostream>

// Lets GoogleTest print texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace quorvane::test {

// A record with an address, as the grid makes it.
inline KeyRecord hexRecord(const QString& data, int size = 0)
{
    KeyRecord record;
    record.KeyType = kTypeHex;
    record.KeyData = data;
    record.KeySize = qint16(size);
    record.KeyAddrSet = true;
    return record;
}

inline KeyRecord asciiRecord(const QString& data, int size = 0)
{
    KeyRecord record = hexRecord(data, size);
    record.KeyType = kTypeAscii;
    return record;
}

// A record in use at `address`, named by `title` so tests can follow it.
inline KeyRecord recordAt(quint32 address, int size, const QString& title = QStringLiteral("r"))
{
    KeyRecord record;
    record.KeyTitle = title;
    record.KeyAddrHigh = qint16(quint16(address >> 16));
    record.KeyAddrLow = qint16(quint16(address & 0xFFFF));
    record.KeySize = qint16(size);
    record.KeyAddrSet = true;
    return record;
}

inline RecordTable tableWith(Slot slot, const KeyRecord& record)
{
    RecordTable table;
    table[slot] = record;
    return table;
}

} // namespace quorvane::test
