#pragma once

#include "files/key_layout.h"

#include <QByteArray>
#include <QString>

// Key data for the image tests, in one line each.
namespace quorvane::test {

// A record's bytes, given as hex digits, at an address.
[[nodiscard]] inline KeyBytes key(Slot slot, quint32 address, const char* hex)
{
    return {.slot = slot, .title = {}, .address = address, .bytes = QByteArray::fromHex(hex)};
}

[[nodiscard]] inline KeyBytes titled(KeyBytes key, const QString& title)
{
    key.title = title;
    return key;
}

} // namespace quorvane::test
