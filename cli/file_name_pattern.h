#pragma once

#include "parsed.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>
#include <vector>

// The output pattern of a batch, "out/{serial}.KEY": literal text and column
// names in braces ("{{" and "}}" stand for the braces themselves). A value
// may only name a file inside the folder the pattern starts with, so a row
// can never write where the user did not point: a value holding a path
// separator or a control character is refused, and so is a path part that a
// value turns into "", "." or "..".
namespace quorvane::cli {

class FileNamePattern {
public:
    // The pattern, or why the text is none.
    [[nodiscard]] static Parsed<FileNamePattern> parse(const QString& text);

    // The column names used, in order of first use.
    [[nodiscard]] QStringList columnNames() const;

    // Resolves the names against the header; the problem naming an unknown
    // column when one is not there, or an empty text.
    [[nodiscard]] QString bind(const QStringList& header);

    // The file name for a row of a bound pattern, or why there is none.
    struct FileName {
        QString path;
        QString problem;
        // The start of `path` the values cannot change: "out/", or empty.
        QString folder = {};
    };
    [[nodiscard]] FileName fileNameFor(const QStringList& fields) const;

private:
    struct Column {
        QString name;
        qsizetype index = -1; // in the header, once bound
    };
    using Part = std::variant<QString, Column>;

    std::vector<Part> parts_;
    // Where the names after the folder begin: the folder is the pattern's
    // text before its first column, up to its last "/".
    qsizetype namesStart_ = 0;
};

} // namespace quorvane::cli
