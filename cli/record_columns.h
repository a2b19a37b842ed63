#pragma once

#include "parsed.h"

#include "core/document.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// How a batch's CSV header names the template's records: a column named
// "#3" holds the data of line 3, any other name the data of the record with
// that title (blanks around either do not count). Columns that name no
// record are extra columns, for the file names.
//
// A row replaces only the data of the named records; address, type, title
// and size stay the template's. The template's size is the layout the
// device expects, so a value of another length refuses its row: the save's
// warnings, answered by --yes, would cut or pad it, and a device would be
// programmed with a key that is not the one the CSV gives. A record the
// template leaves without size takes the length of its value.
namespace quorvane::cli {

// A CSV value as a message quotes it: a long key cut to its first characters.
[[nodiscard]] QString shownValue(const QString& value);

class RecordColumns {
public:
    // The columns of `header` over the template's records, or why not: a
    // name twice, a title of several records, a line that
    // is not a record of the template, two columns for one record. Columns
    // named in `ignored` name nothing, whatever their name.
    [[nodiscard]] static Parsed<RecordColumns> fromHeader(const QStringList& header, const Document& templateDocument,
                                                        const QStringList& ignored);

    // The names of the columns that name no record.
    [[nodiscard]] const QStringList& extraColumns() const { return extra_; }

    // Puts the row's data into the named records; why it cannot, naming the
    // column and the value, or an empty text. An empty value refuses (a
    // device without that key is a mistake, not the template's default), so
    // do HEX data that is not whole bytes of hex digits and a value whose
    // length is not the record's size.
    [[nodiscard]] QString apply(const QStringList& fields, Document& document) const;

    // Whether the column is a HEX record's, whose values are bytes written
    // in digits of either case.
    [[nodiscard]] bool isHexColumn(qsizetype column, const Document& templateDocument) const;

private:
    struct RecordColumn {
        qsizetype column;
        Slot slot;
        QString name;
    };
    std::vector<RecordColumn> records_;
    QStringList extra_;
};

} // namespace quorvane::cli
