#include "address_size.h"

#include "hex_text.h"

namespace quorvane {

QString recordTypeText(RecordType type)
{
    return QStringLiteral("S") + QString::number(int(type));
}

QString endRecordLine(AddressSize size)
{
    const int bytes = addressBytes(size);
    const QString body = twoDigitHex(bytes + 1) + QString(2 * bytes, QLatin1Char('0'));
    return recordTypeText(endRecordType(size)) + body + MakeCheckSum(body);
}

void AddressMode::set(AddressSize size)
{
    current_ = size;
    for (const Listener& listener : listeners_)
        listener(size);
}

} // namespace quorvane
