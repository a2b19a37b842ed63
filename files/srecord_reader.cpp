#include "srecord_reader.h"

#include "file_error.h"
#include "line_check.h"
#include "line_reader.h"
#include "open_file.h"
#include "srecord_line.h"

#include "core/hex_text.h"

#include <QFile>

#include <optional>

namespace quorvane {

namespace {

bool isEndRecord(QByteArrayView line)
{
    return line.size() >= 2 && line.at(0) == 'S' && (line.at(1) == '7' || line.at(1) == '8' || line.at(1) == '9');
}

void storeDataRecord(KeyRecord& record, const SrecordData& data)
{
    const QString address = QString::fromLatin1(data.addressDigits);
    record.KeyAddrHigh = GetAddrHigh(address);
    record.KeyAddrLow = GetAddrLow(address);
    record.KeySize = qint16(data.dataDigits.size() / 2);
    record.KeyData = QString::fromLatin1(data.dataDigits);
    // A slot typed ASCII keeps text, not digits. Only the spare slot can
    // still carry that type here, from an earlier template.
    if (record.KeyType == kTypeAscii)
        record.KeyData = HEXToASCII(record.KeyData);
    record.KeyAddrSet = true;
}

void selectAddressSize(AddressMode& mode, AddressSize size)
{
    switch (size) {
    case AddressSize::Bits16: mode.SetAddr16(); return;
    case AddressSize::Bits24: mode.SetAddr24(); return;
    case AddressSize::Bits32: mode.SetAddr32(); return;
    }
}

QString lineError(qint64 lineNumber, const QString& why)
{
    return errorText(fileLineProblem(lineNumber, why));
}

} // namespace

FormatCheck CheckSrecordFile(QIODevice& device)
{
    // A lambda, not the function's address: each line's judgement is then a
    // direct call the compiler can inline.
    return checkEveryLine(device, kMaxSrecordLineLength, [](QByteArrayView line) { return srecordLineFault(line); },
                          describeSrecordLineFault, SrecordLineFault::None, SrecordLineFault::TooLong);
}

FormatCheck CheckSrecordFile(const QString& path)
{
    return checkFileAt(path, [](QIODevice& device) { return CheckSrecordFile(device); });
}

QString SRecodeLoad(QIODevice& device, Document& document)
{
    LineReader reader(device, kMaxSrecordLineLength);
    std::optional<RecordType> lastDataType;
    Slot next = 0;
    QByteArrayView line;
    bool atEnd = false;
    while (!atEnd && next < kSlotCount) {
        switch (reader.next(line)) {
        case LineReader::Status::End:
            atEnd = true;
            continue;
        case LineReader::Status::TooLong:
            return lineError(reader.lineNumber(), QStringLiteral("the line is too long for an S-record."));
        case LineReader::Status::ReadError:
            return errorText(reader.errorString());
        case LineReader::Status::Line:
            break;
        }
        if (isEndRecord(line) && next == 0) {
            document.table.BlankSet();
            return {};
        }
        if (line.size() < 2 || line.at(0) != 'S' || line.at(1) < '1' || line.at(1) > '3')
            continue;
        // Only what CheckSrecordFile accepts is stored: a short line, a count
        // too small for the address or digits that are not hex would
        // otherwise put a negative size or garbage into the table.
        if (!isValidSrecordLine(line))
            return lineError(reader.lineNumber(), QStringLiteral("the line is not a valid S-record (%1).")
                                                      .arg(describeSrecordLineFault(srecordLineFault(line))));
        const std::optional<SrecordData> data = dataRecordOf(line);
        storeDataRecord(document.table[next], *data);
        lastDataType = data->type;
        ++next;
    }
    if (lastDataType)
        selectAddressSize(document.mode, *addressSizeOf(*lastDataType));
    return {};
}

QString SRecodeLoad(const QString& path, Document& document)
{
    QFile file(path);
    if (QString error = openFile(file, QIODevice::ReadOnly); !error.isEmpty())
        return errorText(error);
    return SRecodeLoad(file, document);
}

} // namespace quorvane
