#pragma once

#include "console.h"

#include "core/document.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// --manifest FILE: what a batch issued, one entry per row, as CSV or, for a
// name ending in .json, as JSON Lines (one object a line). JSON Lines rather
// than an array because a journal must be valid after every entry: an array
// cut by a kill has no closing bracket, a cut JSON Lines file is still read
// line by line.
//
// The entries go to FILE.partial, each appended and flushed once its row's
// file is complete (and, in a batch, on the disk) and just before the file
// takes its name: after a kill the partial journal names every file that has
// its name, and each of those is complete; only the last entry's file may
// still be under its temporary name. A row whose file could not take its
// name after all gets a second entry saying so, which replaces the first.
// The run's end syncs it and renames it to FILE in one step: FILE is there
// only for a run that ended.
namespace quorvane::cli {

struct ManifestEntry {
    QString row;          // "CSV line 3", as the batch names the row
    QStringList values;   // the template's records in line order; empty when the row was refused before
    QString file;         // the output, when the row got as far as a name
    QString outcome;      // written, kept, refused or failed
    QString reason = {};
    QByteArray sha256 = {}; // of a written file's content, when the writer took it; otherwise the file is read
};

class Manifest {
public:
    // Names (title, or "#N" for line N) of the records the entries list.
    [[nodiscard]] static QStringList recordNames(const Document& templateDocument);
    // The values of those records in `document`: HEX as upper-case digits, ASCII as text.
    [[nodiscard]] static QStringList recordValues(const Document& templateDocument, const Document& document);

    // Opens the journal; nullptr after reporting why (FILE or FILE.partial
    // is there and `overwrite` is not given, or cannot be written).
    [[nodiscard]] static std::unique_ptr<Manifest> open(const QString& path, const QStringList& names, bool overwrite,
                                                        Console& console);

    // Appends the entry and flushes it; a written or kept file is hashed.
    void add(const ManifestEntry& entry);
    // Puts the entries so far on the disk, before the names of their files
    // are made durable; a failure is reported by finish.
    void sync();
    // Syncs the journal and renames it into place; false after reporting why.
    [[nodiscard]] bool finish(Console& console);

private:
    Manifest(const QString& path, bool json) : path_(path), json_(json), file_(path + QStringLiteral(".partial")) {}
    void append(const QByteArray& bytes);

    const QString path_;
    const bool json_;
    QStringList names_;
    QFile file_;
    bool syncFailed_ = false;
};

} // namespace quorvane::cli
