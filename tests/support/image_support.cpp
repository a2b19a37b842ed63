#include "image_support.h"


namespace quorvane::test {

namespace {

QByteArray withChecksum(QByteArray body, bool twosComplement)
{
    int sum = 0;
    for (char byte : body)
        sum += quint8(byte);
    body += char(twosComplement ? -sum : 0xFF - (sum & 0xFF));
    return body.toHex().toUpper();
}

} // namespace

QByteArray srec(int type, quint32 address, const QByteArray& data)
{
    static constexpr int kAddressBytes[] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    const int width = kAddressBytes[type];
    QByteArray body(1, char(width + data.size() + 1));
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        body += char(address >> shift);
    body += data;
    return 'S' + QByteArray::number(type) + withChecksum(body, false) + "\r\n";
}

QByteArray ihex(int type, quint16 offset, const QByteArray& data)
{
    QByteArray body;
    body += char(data.size());
    body += char(offset >> 8);
    body += char(offset);
    body += char(type);
    body += data;
    return ':' + withChecksum(body, true) + "\r\n";
}

ExtractionResult extractFrom(QIODevice& device, ObjectFileKind kind, quint32 startAddress,
                             const std::vector<ExtractionTarget>& targets)
{
    const QString path = QStringLiteral("/data/key.obj");
    RecognizedExtraction recognized = recognizeAndExtract(device, path, targets);
    const bool sameKind = recognized.kind == kind || recognized.kind == ObjectFileKind::Damaged;
    if (!sameKind)
        return {.status = ExtractionStatus::FormatError, .data = {}, .errorText = QStringLiteral("recognised as another kind"),
                .failedSlot = {}};
    if (recognized.result)
        return std::move(*recognized.result);
    return ExtractBinary(device, path, startAddress, targets);
}

} // namespace quorvane::test
