#pragma once

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
// device expects, so data of another length meets the editor's own
// "The size of data is different." warning at save time: refused without
// --yes, fitted as the editor fits it with --yes. A record the template
// leaves without size takes the size of its data, as the editor's save
// fills it.
namespace quorvane::cli {

class RecordColumns {
public:
    // The columns of `header` over the template's records, or nullopt with
    // `problem` set: a name twice, a title of several records, a line that
    // is not a record of the template, two columns for one record.
    [[nodiscard]] static std::optional<RecordColumns> fromHeader(const QStringList& header, const Document& templ,
                                                               QString& problem);

    // The names of the columns that name no record.
    [[nodiscard]] const QStringList& extraColumns() const { return extra_; }

    // Puts the row's data into the named records; why it cannot (an empty
    // value: a device without that key is a mistake, not the template's
    // default), or an empty text.
    [[nodiscard]] QString apply(const QStringList& fields, Document& document) const;

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
