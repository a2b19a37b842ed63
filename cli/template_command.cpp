#include "template_command.h"

#include "console_questions.h"
#include "csv_reader.h"
#include "record_columns.h"
#include "saving.h"

#include "core/hex_digits.h"
#include "core/hex_text.h"
#include "document/document_files.h"
#include "files/template_file.h"

#include <QFile>

#include <algorithm>

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");
const QStringList kColumns = kTemplateCsvHeader.split(QLatin1Char(','));
enum Column { TitleColumn, AddressColumn, SizeColumn, TypeColumn, DataColumn };

const QString kHex = QStringLiteral("HEX");
const QString kAscii = QStringLiteral("ASCII");
constexpr int kMaxSizeDigits = 3; // the template's size field

bool allHexDigits(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return isHexDigit(c.unicode()); });
}

bool allDecimalDigits(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool holdsLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

AddressSize addressSizeOfDigits(qsizetype digits)
{
    if (digits <= addressDigits(AddressSize::Bits16))
        return AddressSize::Bits16;
    return digits <= addressDigits(AddressSize::Bits24) ? AddressSize::Bits24 : AddressSize::Bits32;
}

// The record a row describes, or why not, naming the CSV line and column.
// Only what the save cannot name by the CSV line is checked here; the rest
// (sizes against data, overlaps, odd HEX data) is the save's.
Parsed<KeyRecord> recordOfRow(const CsvRow& row, qsizetype& widestAddress)
{
    if (row.fields.size() != kColumns.size())
        return Parsed<KeyRecord>::refused(QStringLiteral("CSV line %1: the row has %2 fields; the header has %3.")
                                              .arg(row.line)
                                              .arg(row.fields.size())
                                              .arg(kColumns.size()));
    const auto refused = [&](Column column, QString value, const QString& why) {
        // A line break would split the message; it is named as C writes it.
        value.replace(QLatin1Char('\r'), QStringLiteral("\\r")).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        return Parsed<KeyRecord>::refused(QStringLiteral("CSV line %1, column \"%2\": %3 %4")
                                              .arg(row.line)
                                              .arg(kColumns.at(column), shownValue(value), why));
    };
    const QString& title = row.fields.at(TitleColumn);
    const QString address = row.fields.at(AddressColumn).trimmed();
    const QString size = row.fields.at(SizeColumn).trimmed();
    const QString type = row.fields.at(TypeColumn).trimmed().toUpper();
    const QString& data = row.fields.at(DataColumn);

    if (holdsLineBreak(title))
        return refused(TitleColumn, title, QStringLiteral("holds a line break, which a template line cannot."));
    if (address.size() < addressDigits(AddressSize::Bits16) || address.size() > addressDigits(AddressSize::Bits32)
        || !allHexDigits(address))
        return refused(AddressColumn, address, QStringLiteral("is not an address of 4 to 8 hex digits."));
    if (size.size() > kMaxSizeDigits || !allDecimalDigits(size))
        return refused(SizeColumn, size, QStringLiteral("is not a size in bytes (empty or 0 to 999)."));
    if (type != kHex && type != kAscii)
        return refused(TypeColumn, row.fields.at(TypeColumn), QStringLiteral("is neither HEX nor ASCII."));
    if (holdsLineBreak(data))
        return refused(DataColumn, data, QStringLiteral("holds a line break, which a template line cannot."));
    if (type == kHex && !allHexDigits(data))
        return refused(DataColumn, data, QStringLiteral("is not HEX data (hex digits only)."));

    widestAddress = std::max(widestAddress, address.size());
    KeyRecord record;
    record.KeyTitle = title;
    record.KeyAddrHigh = GetAddrHigh(address);
    record.KeyAddrLow = GetAddrLow(address);
    record.KeyAddrSet = true;
    record.KeySize = qint16(size.toInt());
    record.KeyType = type == kHex ? kTypeHex : kTypeAscii;
    record.KeyData = data;
    return {std::move(record)};
}

} // namespace

QString csvField(const QString& text)
{
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || holdsLineBreak(text)
                        || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '))
                        || text.startsWith(QLatin1Char('\t')) || text.endsWith(QLatin1Char('\t'));
    if (!quoted)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QStringList templateCsvLines(const Document& document)
{
    QStringList lines{kTemplateCsvHeader};
    for (Slot slot = 0; slot < kRecordCount; ++slot) {
        const KeyRecord& record = document.table[slot];
        if (!record.inUse())
            continue;
        const QString address =
            record.KeyAddrSet ? AddrToText(record.KeyAddrHigh, record.KeyAddrLow, document.mode.current()) : QString();
        // Size 0 is "no size given", which an empty field says too.
        const QString size = record.KeySize == 0 ? QString() : QString::number(record.KeySize);
        // Non-zero is ASCII, as the grid draws it.
        const QString type = record.KeyType == kTypeHex ? kHex : kAscii;
        lines << QStringList{csvField(record.KeyTitle), address, size, type, csvField(record.KeyData)}.join(
            QLatin1Char(','));
    }
    return lines;
}

TemplateCommand::TemplateCommand(Console& console)
    : Command(console, QStringLiteral("template"),
              QStringLiteral("Make a template from a CSV table of records and save it as the editor saves."))
{
    addPositional({QStringLiteral("RECORDS"),
                   QStringLiteral("The CSV: header \"title,address,size,type,data\", one row per record in line "
                                  "order (address in hex, size in decimal or empty, type HEX or ASCII). The widest "
                                  "address written chooses the address size: 4 digits 16-bit, 6 24-bit, 8 32-bit.")});
    addOption({{QStringLiteral("o"), kOutputOption}, QStringLiteral("The template to write (required, ending in .639)."),
               QStringLiteral("OUT")});
    addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

int TemplateCommand::run(const QCommandLineParser& parser)
{
    const QString output = parser.value(kOutputOption);
    if (output.isEmpty())
        return usageError(QStringLiteral("-o OUT is missing."));
    // Any other name would have the save write a KEY file.
    if (!isTemplateFileName(output))
        return usageError(QStringLiteral("-o takes a template name ending in .%1, not \"%2\".")
                              .arg(kTemplateExtension, output));
    const Parsed<SaveChoices> choices = saveChoices(parser);
    if (!choices)
        return usageError(choices.problem);
    if (!outputAllowed(output, *choices, console))
        return kExitRefused;

    const QString csvPath = parser.positionalArguments().constFirst();
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly)) {
        console.message(csvPath + QStringLiteral(": cannot be read: ") + file.errorString());
        return kExitUsage;
    }
    CsvReader reader(file);
    Document document;
    qsizetype widestAddress = 0;
    Slot next = 0;
    bool headerRead = false;
    for (CsvRow row;;) {
        const CsvReader::Status status = reader.next(row);
        if (status == CsvReader::Status::Error) {
            console.message(csvPath + QStringLiteral(": ") + reader.errorText());
            return kExitUsage;
        }
        if (status == CsvReader::Status::End)
            break;
        if (!headerRead) {
            QStringList names = row.fields;
            for (QString& name : names)
                name = name.trimmed().toLower();
            if (names != kColumns) {
                console.message(csvPath + QStringLiteral(": CSV line %1: the header is not \"%2\".")
                                              .arg(row.line)
                                              .arg(kTemplateCsvHeader));
                return kExitUsage;
            }
            headerRead = true;
            continue;
        }
        if (next == kRecordCount) {
            console.message(csvPath + QStringLiteral(": CSV line %1: a template holds at most %2 records.")
                                          .arg(row.line)
                                          .arg(kRecordCount));
            return kExitRefused;
        }
        const Parsed<KeyRecord> record = recordOfRow(row, widestAddress);
        if (!record) {
            console.message(csvPath + QStringLiteral(": ") + record.problem);
            return kExitRefused;
        }
        document.table[next++] = *record;
    }
    if (!headerRead)
        return usageError(csvPath + QStringLiteral(" has no header line."));
    if (next == 0) {
        console.message(csvPath + QStringLiteral(": the header line is the only line; there is no record to write."));
        return kExitRefused;
    }
    document.mode.set(addressSizeOfDigits(widestAddress));

    ConsoleQuestions questions(console, choices->answerYes);
    const int exitCode = saveOutput(document, output, *choices, questions, console);
    if (exitCode == kExitSuccess)
        console.print(QStringLiteral("Wrote ") + output);
    return exitCode;
}

} // namespace quorvane::cli
