#include "extraction_operation.h"

#include "core/hex_text.h"

#include <QFileInfo>

namespace quorvane {

namespace {

KeyDataResult unchanged(KeyDataStatus status, const RecordTable& table, QString message = {})
{
    return {.status = status, .message = std::move(message), .table = table};
}

// The start address of a binary image, or the reason there is none.
struct StartAddress {
    std::optional<quint32> address;
    std::optional<KeyDataResult> refusal;
};

StartAddress askForStartAddress(const RecordTable& table, const QString& path,
                                const StartAddressQuestion& askStartAddress)
{
    if (!QFileInfo(path).isFile())
        return {.address = {}, .refusal = unchanged(KeyDataStatus::Failed, table, kObjectFileNotFoundMessage)};
    const StartAddressReply reply = askStartAddressOf(askStartAddress);
    if (reply.cancelled)
        return {.address = {}, .refusal = unchanged(KeyDataStatus::Cancelled, table)};
    if (!reply.address)
        return {.address = {}, .refusal = unchanged(KeyDataStatus::Failed, table, reply.error)};
    return {.address = reply.address, .refusal = {}};
}

RecordTable withExtractedData(const RecordTable& table, const std::vector<ExtractionTarget>& targets,
                              const std::vector<QString>& data)
{
    RecordTable result = table;
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        result[slot].KeyType = kTypeHex;
        result[slot].KeyData.clear();
    }
    for (std::size_t i = 0; i < targets.size(); ++i)
        result[targets[i].slot].KeyData = data[i];
    return result;
}

KeyDataResult fromExtraction(const RecordTable& table, const std::vector<ExtractionTarget>& targets,
                             const ExtractionResult& result)
{
    switch (result.status) {
    case ExtractionStatus::Extracted:
        if (targets.empty())
            return unchanged(KeyDataStatus::NothingExtracted, table);
        return {.status = KeyDataStatus::Extracted,
                .message = {},
                .table = withExtractedData(table, targets, result.data),
                .recordsRead = int(targets.size())};
    case ExtractionStatus::Cancelled:
        return unchanged(KeyDataStatus::Cancelled, table);
    case ExtractionStatus::NotFound:
    case ExtractionStatus::FormatError:
    case ExtractionStatus::ReadError:
        break;
    }
    return unchanged(KeyDataStatus::Failed, table, result.errorText);
}

KeyDataResult fromBinaryImage(const RecordTable& table, const QString& path, const std::vector<ExtractionTarget>& targets,
                              const StartAddressQuestion& askStartAddress)
{
    const StartAddress start = askForStartAddress(table, path, askStartAddress);
    if (start.refusal)
        return *start.refusal;
    return fromExtraction(table, targets, ExtractBinary(path, *start.address, targets));
}

} // namespace

StartAddressReply askStartAddressOf(const StartAddressQuestion& askStartAddress)
{
    const std::optional<QString> text = askStartAddress ? askStartAddress() : std::nullopt;
    if (!text)
        return {.address = {}, .cancelled = true, .error = {}};
    if (text->isEmpty() || !IsAddressText(*text))
        return {.address = {}, .cancelled = false, .error = QStringLiteral("Address Input Error.\r\nADDRESS: ") + *text};
    const quint32 address = (quint32(quint16(GetAddrHigh(*text))) << 16) | quint16(GetAddrLow(*text));
    return {.address = address, .cancelled = false, .error = {}};
}

KeyDataResult SetKeyData(const RecordTable& table, const QString& path, const StartAddressQuestion& askStartAddress,
                         const ImageProgress& progress)
{
    const std::vector<ExtractionTarget> targets = extractionTargets(table);
    const RecognizedExtraction recognized = recognizeAndExtract(path, targets, progress);
    if (!recognized.result)
        return fromBinaryImage(table, path, targets, askStartAddress);
    return fromExtraction(table, targets, *recognized.result);
}

} // namespace quorvane
