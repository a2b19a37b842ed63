#pragma once

#include "console.h"
#include "csv_reader.h"
#include "file_name_pattern.h"
#include "record_columns.h"
#include "record_hashes.h"
#include "saving.h"

#include "core/document.h"
#include "document/image_merge_operation.h"
#include "document/questions.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// A batch's rows, one file each. A row is checked in its turn (its file's
// name, a file or link that is there), then its document is made and written
// under a temporary name beside its file, on any thread; the batch moves it
// into place later, in row order (batch_output.h).
namespace quorvane::cli {

// With --image, each row's key data goes into a copy of the image instead of
// a KEY file or template.
struct ImageChoice {
    QString path;
    StartAddressQuestion startAddress;
    KeyBytesOutside outside = KeyBytesOutside::Refuse;
};

enum class RowStatus { Written, Kept, Refused, Failed };

[[nodiscard]] QString statusName(RowStatus status);

struct RowOutcome {
    qint64 line = 0; // the row's CSV line or device number
    RowStatus status = RowStatus::Refused;
    // The row's file once it has a name; for Failed the system's reason, for Refused why.
    QString path = {};
    QString reason = {};
    // The records' values as written, for the manifest.
    QStringList values = {};
    // Written: the file under its temporary name, waiting to be moved to
    // `path`, with the SHA-256 and the size of its content.
    QString staged = {};
    QByteArray sha256 = {};
    qint64 size = 0;
    // The folder the pattern points into, which no link on the way may leave.
    QString folder = {};
    // What the row said on its way, printed in its turn.
    QList<ConsoleLine> log = {};
};

// A row that passed the checks of its turn, and the file it writes.
struct RowWork {
    CsvRow row;
    QString path;
    QString folder;
};

// The part of `path` below the pattern's folder that is a symbolic link, or
// an empty text: a row must not write outside the folder it was pointed at.
[[nodiscard]] QString linkOnTheWay(const QString& folder, const QString& path);

class RowWriter {
public:
    struct Setup {
        const Document& templateDocument;
        const RecordColumns& columns;
        const FileNamePattern& pattern;
        const RecordHashes& hashes;
        qsizetype fieldCount;
        SaveChoices choices;
        bool skipExisting;
        std::optional<ImageChoice> image;
        // Each file's content on the disk before the next is written (--sync each).
        bool syncEach;
        // The content's SHA-256 taken as it is written, for the manifest.
        bool hashContent;
        // "CSV line" or, without a CSV, "Device": how messages name a row.
        QString rowWord;
    };

    explicit RowWriter(Setup setup) : setup_(std::move(setup)) {}

    // The checks of the row's turn, in row order: the outcome of a row
    // refused or kept, or the work left to do.
    [[nodiscard]] std::variant<RowOutcome, RowWork> check(const CsvRow& row);

    // The row's file under its temporary name; runs on any thread, beside others.
    [[nodiscard]] RowOutcome write(const RowWork& work) const;

    [[nodiscard]] const QString& rowWord() const { return setup_.rowWord; }
    [[nodiscard]] QString contextOf(qint64 line) const { return QStringLiteral("%1 %2: ").arg(setup_.rowWord).arg(line); }

private:
    [[nodiscard]] RowOutcome writeFile(const RowWork& work, Console& console) const;
    [[nodiscard]] RowOutcome writeStaged(Document& document, const RowWork& work, Console& console) const;

    const Setup setup_;
    // Each file is written by one row only: a serial twice in the list is
    // a mistake that must not silently replace the first device's file.
    QHash<QString, qint64> rowOfFile_;
};

} // namespace quorvane::cli
