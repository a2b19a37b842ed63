#include "show_command.h"

#include "input_document.h"
#include "template_command.h"

#include "core/hex_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quorvane::cli {

namespace {

const QString kJsonOption = QStringLiteral("json");
const QString kCsvOption = QStringLiteral("csv");

QString addressText(const KeyRecord& record, AddressSize size)
{
    return record.KeyAddrSet ? AddrToText(record.KeyAddrHigh, record.KeyAddrLow, size) : QString();
}

// Non-zero is ASCII, as the grid draws it.
QString typeText(const KeyRecord& record)
{
    return record.KeyType == kTypeHex ? QStringLiteral("HEX") : QStringLiteral("ASCII");
}

// The grid shows slots 0..255; the spare slot is no line of the document.
template<typename Visit>
void forEachRecordInUse(const Document& document, Visit visit)
{
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        if (const KeyRecord& record = document.table[slot]; record.inUse())
            visit(slot, record);
}

enum Column { LineColumn, AddressColumn, SizeColumn, TypeColumn, TitleColumn, DataColumn, ColumnCount };

// The columns of each record in use, in line order.
QList<QStringList> recordRows(const Document& document)
{
    QList<QStringList> rows;
    const AddressSize size = document.mode.current();
    forEachRecordInUse(document, [&](Slot slot, const KeyRecord& record) {
        rows.append({QString::number(lineNumberOf(slot)), addressText(record, size), QString::number(record.KeySize),
                     typeText(record), record.KeyTitle, record.KeyData});
    });
    return rows;
}

// The same with the address size in bits; an address the record lacks is null.
QJsonDocument recordsJson(const Document& document)
{
    QJsonArray records;
    const AddressSize size = document.mode.current();
    forEachRecordInUse(document, [&](Slot slot, const KeyRecord& record) {
        records.append(QJsonObject{
            {QStringLiteral("line"), lineNumberOf(slot)},
            {QStringLiteral("address"), record.KeyAddrSet ? QJsonValue(addressText(record, size)) : QJsonValue()},
            {QStringLiteral("size"), record.KeySize},
            {QStringLiteral("type"), typeText(record)},
            {QStringLiteral("title"), record.KeyTitle},
            {QStringLiteral("data"), record.KeyData},
        });
    });
    return QJsonDocument(QJsonObject{
        {QStringLiteral("addressSize"), int(size)},
        {QStringLiteral("records"), records},
    });
}

} // namespace

ShowCommand::ShowCommand(Console& console)
    : Command(console, QStringLiteral("show"),
              QStringLiteral("Print the records of a template or KEY file."))
{
    addPositional({QStringLiteral("FILE"), QStringLiteral("The template or KEY file.")});
    addOption({kJsonOption, QStringLiteral("Print JSON: the address size and the records.")});
    addOption({kCsvOption, QStringLiteral("Print the CSV that the template command makes this template from.")});
}

void ShowCommand::printTable(const Document& document)
{
    QList<QStringList> rows = recordRows(document);
    rows.prepend({QStringLiteral("Line"), QStringLiteral("Address"), QStringLiteral("Size"), QStringLiteral("Type"),
                  QStringLiteral("Title"), QStringLiteral("Data")});
    qsizetype widths[ColumnCount] = {};
    for (const QStringList& row : rows)
        for (int column = 0; column < DataColumn; ++column)
            widths[column] = std::max(widths[column], row.at(column).size());
    for (const QStringList& row : rows) {
        const QString line = row.at(LineColumn).rightJustified(widths[LineColumn]) + QStringLiteral("  ")
            + row.at(AddressColumn).leftJustified(widths[AddressColumn]) + QStringLiteral("  ")
            + row.at(SizeColumn).rightJustified(widths[SizeColumn]) + QStringLiteral("  ")
            + row.at(TypeColumn).leftJustified(widths[TypeColumn]) + QStringLiteral("  ")
            + row.at(TitleColumn).leftJustified(widths[TitleColumn]) + QStringLiteral("  ") + row.at(DataColumn);
        console.print(line);
    }
}

int ShowCommand::run(const QCommandLineParser& parser)
{
    if (parser.isSet(kJsonOption) && parser.isSet(kCsvOption))
        return usageError(QStringLiteral("--json and --csv exclude each other."));
    const InputDocument input = readInputDocument(parser.positionalArguments().constFirst(), console);
    if (!input.document)
        return input.exitCode;
    if (parser.isSet(kJsonOption))
        console.print(QString::fromUtf8(recordsJson(*input.document).toJson(QJsonDocument::Indented)).trimmed());
    else if (parser.isSet(kCsvOption))
        for (const QString& line : templateCsvLines(*input.document))
            console.print(line);
    else
        printTable(*input.document);
    return kExitSuccess;
}

} // namespace quorvane::cli
