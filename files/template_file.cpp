#include "template_file.h"

#include "document_writer.h"
#include "file_error.h"
#include "line_reader.h"
#include "open_file.h"

#include "core/hex_text.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>

namespace quorvane {

namespace {

const QString kFieldSeparator = QStringLiteral(" , ");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
const QByteArray kUtf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// Far more than any title or data the editor holds (a title field takes
// 32767 characters, data at most 999 bytes), and small enough that a damaged
// or hostile file of 257 records cannot fill the memory.
constexpr qsizetype kMaxTemplateLineLength = qsizetype(128) << 10;
// The size field holds up to three digits when written; reading takes four.
constexpr int kMaxWrittenSize = 999;

bool isCommentLine(QByteArrayView line) { return line.startsWith('#'); }

// Strict UTF-8: a byte sequence that is not UTF-8 (a file from a legacy
// code page) is refused rather than turned into replacement characters that
// would then be written as other bytes. A U+FEFF inside the text is data and
// is kept; only the file's own byte-order mark is skipped, by the caller.
std::optional<QString> decodeLine(QByteArrayView line)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(line);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

const QString kNotUtf8 = QStringLiteral("the text is not UTF-8.");

// Blanks followed by "#": a title that would read as a comment line.
bool looksLikeComment(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return i < text.size() && text.at(i) == QLatin1Char('#');
}

QString escapedTitle(const QString& title)
{
    return looksLikeComment(title) ? QLatin1Char(' ') + title : title;
}

QString unescapedTitle(const QString& title)
{
    return title.startsWith(QLatin1Char(' ')) && looksLikeComment(title) ? title.mid(1) : title;
}

bool holdsLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool isDecimal(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

struct RecordLine {
    QString title;
    qint16 addrHigh = 0;
    qint16 addrLow = 0;
    qint16 size = 0;
    qint16 type = kTypeHex;
    int addressWidth = 0;
};

// The comma that ends the field before the last `fieldWidth` characters
// and its blanks, if it stands where one of `widths` puts it.
std::optional<int> widthBeforeComma(QStringView text, std::initializer_list<std::pair<int, qsizetype>> widths)
{
    for (const auto& [width, commaFromEnd] : widths) {
        const qsizetype at = text.size() - commaFromEnd;
        if (at >= 0 && text.at(at) == QLatin1Char(','))
            return width;
    }
    return std::nullopt;
}

// A record line taken apart from its right end. `previousWidth` is the
// address width of the record line before, used when no comma marks it.
std::optional<RecordLine> parseRecordLine(QStringView text, int previousWidth, QString& problem)
{
    RecordLine record;
    const auto tooShort = [&] {
        problem = QStringLiteral("the record line is too short.");
        return std::nullopt;
    };

    // Type: one digit after blank, comma, blank, blank.
    if (text.size() < 5)
        return tooShort();
    const QChar typeDigit = text.back();
    if (typeDigit != QLatin1Char('0') && typeDigit != QLatin1Char('1')) {
        problem = QStringLiteral("the type is neither 0 (HEX) nor 1 (ASCII).");
        return std::nullopt;
    }
    record.type = qint16(typeDigit.unicode() - u'0');
    text.chop(5);

    // Size: 1 to 3 digits after ",  "; four when no comma marks the width.
    const int sizeDigits = widthBeforeComma(text, {{1, 4}, {2, 5}, {3, 6}}).value_or(4);
    if (text.size() < sizeDigits + 4)
        return tooShort();
    const QStringView sizeText = text.right(sizeDigits);
    if (!isDecimal(sizeText)) {
        problem = QStringLiteral("the size is not a decimal number.");
        return std::nullopt;
    }
    record.size = qint16(sizeText.toInt());
    text.chop(sizeDigits + 4);

    // Address: 4, 6 or 8 hex digits after " , ".
    record.addressWidth = widthBeforeComma(text, {{4, 6}, {6, 8}, {8, 10}}).value_or(previousWidth);
    if (text.size() < record.addressWidth + 3)
        return tooShort();
    const QString address = text.right(record.addressWidth).toString();
    // Without a width there is no address to read: taking an empty one would
    // set address 0 and cut the title at a place no separator marks.
    if (address.isEmpty() || !IsHEXString(address)) {
        problem = QStringLiteral("the address is not a hex number.");
        return std::nullopt;
    }
    record.addrHigh = GetAddrHigh(address);
    record.addrLow = GetAddrLow(address);
    text.chop(record.addressWidth + 3);

    record.title = unescapedTitle(text.toString());
    return record;
}

void selectAddressSize(AddressMode& mode, int addressWidth)
{
    if (addressWidth == addressDigits(AddressSize::Bits16))
        mode.SetAddr16();
    else if (addressWidth == addressDigits(AddressSize::Bits24))
        mode.SetAddr24();
    else
        mode.SetAddr32();
}

void storeRecordLine(KeyRecord& slot, const RecordLine& record)
{
    slot.KeyType = record.type;
    slot.KeySize = record.size;
    slot.KeyAddrHigh = record.addrHigh;
    slot.KeyAddrLow = record.addrLow;
    slot.KeyTitle = record.title;
}

QString firstWriteProblem(const RecordTable& table)
{
    return firstRecordProblem(table, kSlotCount, templateWriteProblem);
}

QByteArray templateContents(const Document& document)
{
    QByteArray out = kTemplateHeader.toUtf8() + kLineEnd;
    for (Slot slot = 0; slot < kSlotCount; ++slot) {
        const KeyRecord& record = document.table[slot];
        if (!record.inUse())
            continue;
        out += templateRecordLine(record, document.mode.current()).toUtf8() + kLineEnd;
        out += record.KeyData.toUtf8() + kLineEnd;
    }
    return out;
}

QString lineError(qint64 lineNumber, const QString& why)
{
    return errorText(fileLineProblem(lineNumber, why));
}

} // namespace

QString templateWriteProblem(const KeyRecord& record, Slot slot)
{
    if (!record.inUse())
        return {};
    if (holdsLineBreak(record.KeyTitle))
        return recordProblem(slot, QStringLiteral("the title holds a line break."));
    if (holdsLineBreak(record.KeyData))
        return recordProblem(slot, QStringLiteral("the data holds a line break."));
    if (record.KeyTitle.toUtf8().size() + 32 > kMaxTemplateLineLength)
        return recordProblem(slot, QStringLiteral("the title is too long."));
    if (record.KeyData.toUtf8().size() > kMaxTemplateLineLength)
        return recordProblem(slot, QStringLiteral("the data is too long."));
    if (record.KeySize < 0 || record.KeySize > kMaxWrittenSize)
        return recordProblem(slot, QStringLiteral("the size %1 is outside 0 to %2.").arg(record.KeySize).arg(kMaxWrittenSize));
    if (record.KeyType != kTypeHex && record.KeyType != kTypeAscii)
        return recordProblem(slot, QStringLiteral("the type %1 is neither HEX nor ASCII.").arg(record.KeyType));
    return {};
}

QString templateRecordLine(const KeyRecord& record, AddressSize size)
{
    return escapedTitle(record.KeyTitle) + kFieldSeparator + AddrToText(record.KeyAddrHigh, record.KeyAddrLow, size)
           + kFieldSeparator + QLatin1Char(' ') + QString::number(record.KeySize) + kFieldSeparator
           + QLatin1Char(' ') + QString::number(record.KeyType);
}

QString FormatSave(QIODevice& device, const Document& document)
{
    const QString problem = firstWriteProblem(document.table);
    return writeDocument(device, problem, problem.isEmpty() ? templateContents(document) : QByteArray());
}

QString FormatSave(const QString& path, const Document& document)
{
    const QString problem = firstWriteProblem(document.table);
    return writeDocument(path, problem, problem.isEmpty() ? templateContents(document) : QByteArray());
}

QString FormatLoad(QIODevice& device, Document& document)
{
    LineReader reader(device, kMaxTemplateLineLength);
    Slot next = 0;
    int addressWidth = 0;
    bool recordLineRead = false;
    const auto fail = [&](const QString& error) {
        if (!recordLineRead)
            document.mode.SetAddr32();
        return error;
    };
    const auto readFailure = [&](LineReader::Status status) {
        if (status == LineReader::Status::TooLong)
            return fail(lineError(reader.lineNumber(), QStringLiteral("the line is too long.")));
        return fail(errorText(reader.errorString()));
    };

    QByteArrayView line;
    while (next < kSlotCount) {
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::Status::End)
            break;
        if (status != LineReader::Status::Line)
            return readFailure(status);
        if (reader.lineNumber() == 1 && line.startsWith(kUtf8ByteOrderMark))
            line = line.sliced(kUtf8ByteOrderMark.size());
        if (isCommentLine(line))
            continue;

        const std::optional<QString> recordText = decodeLine(line);
        if (!recordText)
            return fail(lineError(reader.lineNumber(), kNotUtf8));
        QString problem;
        const std::optional<RecordLine> record = parseRecordLine(*recordText, addressWidth, problem);
        if (!record)
            return fail(lineError(reader.lineNumber(), problem));
        KeyRecord& slot = document.table[next];
        storeRecordLine(slot, *record);
        addressWidth = record->addressWidth;
        selectAddressSize(document.mode, addressWidth);
        recordLineRead = true;

        const LineReader::Status dataStatus = reader.next(line);
        if (dataStatus == LineReader::Status::End) {
            return lineError(reader.lineNumber() + 1, QStringLiteral("the file ends where the data line was expected."));
        }
        if (dataStatus != LineReader::Status::Line)
            return readFailure(dataStatus);
        const std::optional<QString> data = decodeLine(line);
        if (!data)
            return lineError(reader.lineNumber(), kNotUtf8);
        slot.KeyData = *data;
        slot.KeyAddrSet = true;
        ++next;
    }
    return {};
}

QString FormatLoad(const QString& path, Document& document)
{
    QFile file(path);
    if (QString error = openFile(file, QIODevice::ReadOnly); !error.isEmpty()) {
        document.mode.SetAddr32();
        return errorText(error);
    }
    return FormatLoad(file, document);
}

} // namespace quorvane
