#pragma once

#include "command.h"

#include "core/document.h"

#include <QString>
#include <QStringList>

// template RECORDS.csv -o T.639: a template made from a table of records,
// saved as the editor saves it; and that table's CSV form, which show --csv
// prints, so that a template can be edited in a spreadsheet and made again.
//
// The CSV has the header "title,address,size,type,data" and one row per
// record in line order: the address in hex digits, the size in decimal
// (empty: from the data, as the save fills it), the type HEX or ASCII, the
// data as the grid holds it. The address size is that of the widest address
// written (4 digits 16-bit, 5 or 6 digits 24-bit, 7 or 8 digits 32-bit), as
// the template reader takes it from the digits of its lines: what show --csv
// prints makes the same template again, and a table that wants a wider size
// writes one address with leading zeros.
namespace quorvane::cli {

inline const QString kTemplateCsvHeader = QStringLiteral("title,address,size,type,data");

// A field as RFC 4180 writes it: in quotes, its quotes doubled, when it
// holds a comma, a quote or a line break, or starts or ends with a blank
// (which spreadsheets otherwise trim).
[[nodiscard]] QString csvField(const QString& text);

// The header and a line for each record in use, in line order.
[[nodiscard]] QStringList templateCsvLines(const Document& document);

class TemplateCommand : public Command {
public:
    explicit TemplateCommand(Console& console);

protected:
    [[nodiscard]] int run(const QCommandLineParser& parser) override;
};

} // namespace quorvane::cli
