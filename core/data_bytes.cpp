#include "data_bytes.h"

#include <QStringView>

namespace quorvane {

namespace {

int utf8Length(char32_t codePoint)
{
    if (codePoint < 0x80)
        return 1;
    if (codePoint < 0x800)
        return 2;
    if (codePoint < 0x10000)
        return 3;
    return 4;
}

} // namespace

int asciiByteCount(const QString& text)
{
    return int(text.toUtf8().size());
}

int dataByteCount(qint16 keyType, const QString& data)
{
    if (keyType == kTypeHex)
        return int((data.size() + 1) / 2);
    return asciiByteCount(data);
}

QString cutAsciiToBytes(const QString& text, int maxBytes)
{
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar ch = text.at(i);
        qsizetype units = 1;
        char32_t cp = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(ch, text.at(i + 1));
            units = 2;
        } else if (ch.isSurrogate()) {
            cp = u'?'; // the UTF-8 encoder writes a lone surrogate as "?"
        }
        const int n = utf8Length(cp);
        if (bytes + n > maxBytes)
            break;
        bytes += n;
        i += units;
    }
    return text.left(i);
}

} // namespace quorvane
