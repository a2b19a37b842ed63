#include "image_verify.h"

#include "text_image_reader.h"

#include "files/file_error.h"

#include "core/hex_digits.h"

#include <QFile>

namespace quorvane {

namespace {

VerifyResult failure(VerifyStatus status, ObjectFileKind kind, QString message)
{
    return {.status = status, .kind = kind, .message = std::move(message), .differences = {}};
}

VerifyResult readFailure(ObjectFileKind kind, const QString& imageName, const QString& why)
{
    return failure(VerifyStatus::ReadError, kind, errorText(imageName + QStringLiteral(": ") + why));
}

VerifyResult formatError(ObjectFileKind kind, const QString& imageName,
                         const std::optional<ObjectFileDamage>& damage = {})
{
    return failure(VerifyStatus::FormatError, kind, fileFormatErrorText(imageName, damage));
}

// Every record compared with what the image gave for its addresses.
VerifyResult compared(ObjectFileKind kind, const KeyLayout& layout, const std::vector<int>& found)
{
    VerifyResult result{.status = VerifyStatus::Matches, .kind = kind, .message = {}, .differences = {}};
    for (const KeyLayout::Placed& record : layout.records()) {
        const auto first = found.begin() + record.index;
        std::vector<int> image(first, first + record.key.bytes.size());
        for (int i = 0; i < int(image.size()); ++i) {
            if (image[std::size_t(i)] != quint8(record.key.bytes.at(i))) {
                result.differences.push_back({.key = record.key, .firstDifference = i, .found = std::move(image)});
                break;
            }
        }
    }
    if (!result.differences.empty())
        result.status = VerifyStatus::Differs;
    return result;
}

// nullopt when a line is not of the kind.
std::optional<VerifyResult> verifyText(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                                       const KeyLayout& layout, const VerifyOptions& options)
{
    TextImageReader reader(image, kind, options.progress);
    std::vector<int> found(std::size_t(layout.byteCount()), kNoImageByte);
    std::optional<VerifyResult> failed;
    bool ended = false;
    for (;;) {
        switch (reader.next(!ended && !failed)) {
        case TextImageReader::Status::Line:
            break;
        case TextImageReader::Status::End:
            return failed ? failed : compared(kind, layout, found);
        case TextImageReader::Status::NotThisFormat:
            return std::nullopt;
        case TextImageReader::Status::ReadError:
            return readFailure(kind, imageName, reader.errorString());
        case TextImageReader::Status::Cancelled:
            return failure(VerifyStatus::Cancelled, kind, {});
        }
        if (ended || failed)
            continue;
        const std::optional<ImageLine>& line = reader.meaning();
        if (!line) {
            failed = formatError(kind, imageName);
            continue;
        }
        if (line->kind == ImageLineKind::End) {
            ended = true;
            continue;
        }
        if (line->kind != ImageLineKind::Data)
            continue;
        const char* digits = line->dataDigits.data();
        layout.forEachOverlap(line->address, line->dataDigits.size() / 2,
                              [&](const KeyLayout::Span& span, qsizetype inSpan, qsizetype inLine, qsizetype count) {
                                  for (qsizetype i = 0; i < count; ++i) {
                                      const char* pair = digits + 2 * (inLine + i);
                                      found[std::size_t(span.index + inSpan + i)] =
                                          (hexDigitValue(pair[0]) << 4) | hexDigitValue(pair[1]);
                                  }
                              });
    }
}

VerifyResult startAddressNeeded(const QString& imageName)
{
    return failure(VerifyStatus::StartAddressNeeded, ObjectFileKind::Binary, startAddressNeededText(imageName));
}

// Reads only the key bytes the image holds.
VerifyResult verifyBinary(QIODevice& image, const QString& imageName, const KeyLayout& layout,
                          const VerifyOptions& options)
{
    constexpr ObjectFileKind kind = ObjectFileKind::Binary;
    if (!options.startAddress)
        return startAddressNeeded(imageName);
    const quint64 start = *options.startAddress;
    const quint64 end = start + quint64(image.size());
    std::vector<int> found(std::size_t(layout.byteCount()), kNoImageByte);
    for (const KeyLayout::Span& span : layout.spans()) {
        const quint64 from = std::max(span.first, start);
        const quint64 to = std::min(span.last() + 1, end);
        if (from >= to)
            continue;
        if (!image.seek(qint64(from - start)))
            return readFailure(kind, imageName, image.errorString());
        const QByteArray bytes = image.read(qint64(to - from));
        if (bytes.size() != qsizetype(to - from))
            return readFailure(kind, imageName, image.errorString());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            found[std::size_t(span.index + qsizetype(from - span.first) + i)] = quint8(bytes.at(i));
    }
    return compared(kind, layout, found);
}

std::optional<KeyLayout> layoutOf(const std::vector<KeyBytes>& keys, VerifyResult& refusal)
{
    QString problem;
    std::optional<KeyLayout> layout = KeyLayout::of(keys, problem);
    if (!layout)
        refusal = failure(VerifyStatus::KeyDataRefused, ObjectFileKind::Binary, problem);
    return layout;
}

QString bytesText(const std::vector<int>& bytes)
{
    QString text;
    for (const int byte : bytes)
        text += byte == kNoImageByte ? QStringLiteral("--") : QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

} // namespace

QString differenceText(const RecordDifference& difference)
{
    std::vector<int> expected;
    for (const char byte : difference.key.bytes)
        expected.push_back(quint8(byte));
    const bool missing = difference.found[std::size_t(difference.firstDifference)] == kNoImageByte;
    return recordName(difference.key)
           + QStringLiteral(" at %1: byte %2 %3: expected %4, found %5")
                 .arg(addressText(difference.key.address))
                 .arg(difference.firstDifference)
                 .arg(missing ? QStringLiteral("is not in the image") : QStringLiteral("differs"))
                 .arg(bytesText(expected), bytesText(difference.found));
}

VerifyResult verifyKeyData(QIODevice& image, const QString& imageName, ObjectFileKind kind,
                           const std::vector<KeyBytes>& keys, const VerifyOptions& options)
{
    VerifyResult refusal;
    const std::optional<KeyLayout> layout = layoutOf(keys, refusal);
    if (!layout)
        return refusal;
    if (kind == ObjectFileKind::Binary)
        return verifyBinary(image, imageName, *layout, options);
    if (kind != ObjectFileKind::Damaged) {
        if (std::optional<VerifyResult> result = verifyText(image, imageName, kind, *layout, options))
            return *result;
    }
    return formatError(kind, imageName, examineObjectFile(image).damage);
}

VerifyResult verifyKeyData(const QString& imagePath, const std::vector<KeyBytes>& keys, const VerifyOptions& options)
{
    VerifyResult refusal;
    const std::optional<KeyLayout> layout = layoutOf(keys, refusal);
    if (!layout)
        return refusal;
    QFile image(imagePath);
    if (!image.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return readFailure(ObjectFileKind::Binary, imagePath, image.errorString());
    ImagePass<VerifyResult> pass = passOverImage<VerifyResult>(
        image, [&](ObjectFileKind kind) { return verifyText(image, imagePath, kind, *layout, options); });
    if (pass.result)
        return *pass.result;
    if (pass.kind == ObjectFileKind::Damaged)
        return formatError(pass.kind, imagePath, pass.damage);
    return verifyBinary(image, imagePath, *layout, options);
}

} // namespace quorvane
