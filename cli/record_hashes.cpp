#include "record_hashes.h"

#include "image_options.h"

#include "core/data_bytes.h"
#include "files/srecord_writer.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorvane::cli {

namespace {

const QString kSyntax = QStringLiteral("NAME=ALGO:RECORD[,RECORD...][:le]");
const QString kImageSyntax = QStringLiteral("NAME=ALGO:image:START-END[:fill=FF][:le]");
const QString kImagePrefix = QStringLiteral("image:");
const QString kLittleEndianSuffix = QStringLiteral(":le");

} // namespace

NamedSlot slotNamed(const Document& document, const QString& name)
{
    static const QRegularExpression lineName(QStringLiteral("^#([0-9]+)$"));
    if (const QRegularExpressionMatch match = lineName.match(name); match.hasMatch()) {
        const int line = match.captured(1).toInt();
        if (line >= 1 && line <= kRecordCount && document.table[line - 1].inUse())
            return {.slot = line - 1, .problem = {}};
        return {.problem = QStringLiteral("\"%1\" names no record of the template.").arg(name)};
    }
    QStringList lines;
    Slot found = -1;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        if (const KeyRecord& record = document.table[slot]; record.inUse() && record.KeyTitle.trimmed() == name) {
            found = slot;
            lines << QString::number(lineNumberOf(slot));
        }
    if (lines.isEmpty())
        return {.problem = QStringLiteral("\"%1\" names no record of the template.").arg(name)};
    if (lines.size() > 1)
        return {.problem = QStringLiteral("\"%1\" is the title of lines %2 of the template; name one as \"#%3\".")
                               .arg(name, lines.join(QStringLiteral(", ")), lines.constFirst())};
    return {.slot = found, .problem = {}};
}

namespace {

QString sizeProblem(const KeyRecord& target, Slot slot, ChecksumAlgorithm algorithm)
{
    const int width = checksumWidth(algorithm);
    const QString name = checksumAlgorithmName(algorithm);
    if (target.KeyType != kTypeHex)
        return QStringLiteral("line %1 is an ASCII record; a checksum fills a HEX record.").arg(lineNumberOf(slot));
    if (algorithm == ChecksumAlgorithm::Sha256 && target.KeySize >= 1 && target.KeySize <= width)
        return {};
    if (target.KeySize == width)
        return {};
    return QStringLiteral("line %1 is %2 bytes; %3 gives %4%5.")
        .arg(lineNumberOf(slot))
        .arg(target.KeySize)
        .arg(name, algorithm == ChecksumAlgorithm::Sha256 ? QStringLiteral("at most ") : QString())
        .arg(width);
}

} // namespace

QCommandLineOption hashOption()
{
    return {QStringLiteral("hash"),
            QStringLiteral("Fill the HEX record NAME (a title or \"#3\") with a checksum of the listed records' "
                           "bytes, in their order, once the other values are in (a batch row's CSV and generated values); or, as %2 with an image, of "
                           "the image's bytes from address START to END (hex, both included; a binary image's from "
                           "--start) once the other records are written into it. Addresses without data in the "
                           "image or a record refuse the run unless fill= gives their byte; NAME must lie outside "
                           "its range. ALGO: %1 (crc32 is the zip and "
                           "Ethernet CRC, crc16-ccitt-false CRC-16/IBM-3740). The sums are the plain sums of the "
                           "bytes cut to their width; sha256 is cut to the record's size (at most 32 bytes); every other result must be the record's size. Most significant byte first, "
                           "unless :le. Name a title with a comma as \"#3\". Repeatable, computed in the order "
                           "given.")
                .arg(checksumAlgorithmNames().join(QStringLiteral(", ")), kImageSyntax),
            QStringLiteral("NAME=ALGO:OVER")};
}

Parsed<RecordHashes::ImageRange> RecordHashes::imageRangeOf(const QString& text)
{
    static const QRegularExpression rangeForm(QStringLiteral("^([0-9A-Fa-f]{1,8})-([0-9A-Fa-f]{1,8})$"));
    static const QRegularExpression fillForm(QStringLiteral("^fill=([0-9A-Fa-f]{2})$"));
    using Refused = Parsed<ImageRange>;
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 2)
        return Refused::refused(QStringLiteral("expected %1.").arg(kImageSyntax));
    const QRegularExpressionMatch range = rangeForm.match(parts.at(0));
    if (!range.hasMatch())
        return Refused::refused(QStringLiteral("\"%1\" is not a range; START-END are addresses of 1 to 8 hex digits, "
                                               "both included.")
                                    .arg(parts.at(0)));
    ImageRange image{.range = {.first = range.captured(1).toULongLong(nullptr, 16),
                               .last = range.captured(2).toULongLong(nullptr, 16)},
                     .fill = std::nullopt};
    if (image.range.first > image.range.last)
        return Refused::refused(QStringLiteral("the range %1 ends before it starts.").arg(parts.at(0)));
    if (parts.size() == 2) {
        const QRegularExpressionMatch fill = fillForm.match(parts.at(1));
        if (!fill.hasMatch())
            return Refused::refused(
                QStringLiteral("\"%1\" is not a fill byte; give two hex digits, as in fill=FF.").arg(parts.at(1)));
        image.fill = char(fill.captured(1).toUInt(nullptr, 16));
    }
    return {std::move(image)};
}

bool RecordHashes::covers(const Hash& hash, Slot slot, const std::vector<KeyDataRange>& keys)
{
    if (!hash.image)
        return hash.over.contains(slot);
    return std::any_of(keys.cbegin(), keys.cend(), [&](const KeyDataRange& key) {
        return key.slot == slot && key.range.overlaps(hash.image->range);
    });
}

QString RecordHashes::gapText(const Hash& hash, const AddressRange& gap) const
{
    return hash.option
           + QStringLiteral("%1 has no data at %2, inside the range %3; give the byte such addresses hold, as in "
                            "image:%3:fill=FF.")
                 .arg(imagePath_, rangeText(gap), rangeText(hash.image->range));
}

Parsed<RecordHashes> RecordHashes::parse(const QStringList& values, const Document& templateDocument, bool withImage)
{
    RecordHashes hashes;
    const std::vector<KeyDataRange> keys = keyDataRanges(templateDocument);
    for (const KeyDataRange& key : keys)
        hashes.templateKeys_.push_back(key.range);
    for (const QString& value : values) {
        const QString option = QStringLiteral("--hash \"%1\": ").arg(value);
        const auto refused = [&option](const QString& why) { return Parsed<RecordHashes>::refused(option + why); };
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        const qsizetype colon = value.indexOf(QLatin1Char(':'), equals + 1);
        if (equals < 0 || colon < 0)
            return refused(QStringLiteral("expected %1.").arg(kSyntax));
        const QString algorithmName = value.mid(equals + 1, colon - equals - 1).trimmed();
        QString list = value.mid(colon + 1);
        const std::optional<ChecksumAlgorithm> algorithm = checksumAlgorithmNamed(algorithmName);
        if (!algorithm)
            return refused(QStringLiteral("\"%1\" is not an algorithm of --hash; one of %2.")
                               .arg(algorithmName, checksumAlgorithmNames().join(QStringLiteral(", "))));
        const bool littleEndian = list.endsWith(kLittleEndianSuffix);
        if (littleEndian)
            list.chop(kLittleEndianSuffix.size());
        if (littleEndian && *algorithm == ChecksumAlgorithm::Sha256)
            return refused(QStringLiteral("a digest has no byte order; :le is for the CRCs and sums."));

        const NamedSlot target = slotNamed(templateDocument, value.left(equals).trimmed());
        if (target.slot < 0)
            return refused(target.problem);
        if (const QString why = sizeProblem(templateDocument.table[target.slot], target.slot, *algorithm); !why.isEmpty())
            return refused(why);
        Hash hash{.option = option, .target = target.slot, .algorithm = *algorithm, .over = {}, .littleEndian = littleEndian};
        if (list.startsWith(kImagePrefix)) {
            if (!withImage)
                return refused(QStringLiteral("a range of addresses is summed in the image the key data goes into; "
                                              "give --image."));
            Parsed<ImageRange> image = imageRangeOf(list.mid(kImagePrefix.size()));
            if (!image)
                return refused(image.problem);
            hash.image = std::move(*image);
            for (const KeyDataRange& key : keys)
                if (key.slot == target.slot && key.range.overlaps(hash.image->range))
                    return refused(QStringLiteral("line %1 at %2 lies inside the range %3 it covers; a record cannot "
                                                  "hold its own checksum.")
                                       .arg(lineNumberOf(target.slot))
                                       .arg(rangeText(key.range), rangeText(hash.image->range)));
        }
        for (const QString& item : hash.image ? QStringList() : list.split(QLatin1Char(','))) {
            if (item.trimmed().isEmpty())
                return refused(QStringLiteral("expected %1.").arg(kSyntax));
            const NamedSlot over = slotNamed(templateDocument, item.trimmed());
            if (over.slot < 0)
                return refused(over.problem);
            if (over.slot == target.slot)
                return refused(QStringLiteral("line %1 is in its own list.").arg(lineNumberOf(target.slot)));
            hash.over << over.slot;
        }
        for (const Hash& earlier : hashes.hashes_) {
            if (earlier.target == target.slot)
                return refused(QStringLiteral("line %1 is filled by an earlier --hash too.").arg(lineNumberOf(target.slot)));
            if (covers(earlier, target.slot, keys))
                return refused(QStringLiteral("line %1 is in the %2 of an earlier --hash; give this one first.")
                                   .arg(lineNumberOf(target.slot))
                                   .arg(earlier.image ? QStringLiteral("range") : QStringLiteral("list")));
        }
        hashes.hashes_.push_back(std::move(hash));
    }
    return {std::move(hashes)};
}

QString RecordHashes::columnProblem(const QStringList& header, const QStringList& ignored,
                                    const Document& templateDocument) const
{
    for (const QString& name : header) {
        if (name.isEmpty() || ignored.contains(name))
            continue;
        const Slot slot = slotNamed(templateDocument, name).slot;
        const auto filled = std::find_if(hashes_.cbegin(), hashes_.cend(), [slot](const Hash& hash) { return hash.target == slot; });
        if (slot >= 0 && filled != hashes_.cend())
            return filled->option + QStringLiteral("line %1 is the CSV column \"%2\" too; a record takes its data from one place.")
                                        .arg(lineNumberOf(slot))
                                        .arg(name);
    }
    return {};
}

QString RecordHashes::readImage(const QString& imagePath, const StartAddressQuestion& askStartAddress)
{
    imagePath_ = imagePath;
    for (Hash& hash : hashes_) {
        if (!hash.image)
            continue;
        ImageRangeResult read = imageBytesInRange(imagePath, hash.image->range, askStartAddress);
        if (read.status == ImageOperationStatus::Cancelled)
            return hash.option + startAddressNeeded(imagePath);
        if (read.status != ImageOperationStatus::Done)
            return hash.option
                   + (read.message == kObjectFileNotFoundMessage ? imagePath + QStringLiteral(": ") : QString())
                   + read.message;
        // Said once before the rows rather than by every row.
        if (const std::optional<AddressRange> gap = hash.image->fill ? std::nullopt : read.bytes->firstGap(templateKeys_))
            return gapText(hash, *gap);
        hash.image->image = std::move(read.bytes);
    }
    return {};
}

QString RecordHashes::apply(Document& document) const
{
    for (const Hash& hash : hashes_) {
        QByteArray bytes;
        if (hash.image) {
            if (!hash.image->image)
                return hash.option + QStringLiteral("the image was not read.");
            const RangeChecksum sum = checksumOverImageRange(document, *hash.image->image, hash.algorithm, hash.image->fill);
            if (!sum.problem.isEmpty())
                return hash.option + sum.problem;
            if (sum.gap)
                return gapText(hash, *sum.gap);
            bytes = sum.bytes;
        }
        for (const Slot slot : hash.over) {
            // The save gives a record without size its data's; any other
            // disagreement it would fit, after a warning --yes answers, to
            // bytes that are not the ones hashed here.
            KeyRecord record = document.table[slot];
            if (record.KeySize == 0)
                record.KeySize = qint16(dataByteCount(record.KeyType, record.KeyData));
            if (const QString why = recordWriteProblem(record, slot, document.mode.current()); !why.isEmpty())
                return hash.option + why + QStringLiteral(" The checksum would not be over the bytes written.");
            bytes += recordDataBytes(record);
        }
        KeyRecord& target = document.table[hash.target];
        QByteArray result = (hash.image ? bytes : checksumOf(hash.algorithm, bytes)).left(target.KeySize);
        if (hash.littleEndian)
            std::reverse(result.begin(), result.end());
        target.KeyData = QString::fromLatin1(result.toHex().toUpper());
    }
    return {};
}

} // namespace quorvane::cli
