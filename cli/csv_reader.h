#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A reader of comma-separated values as RFC 4180 describes them, reading
// the device a chunk at a time:
// - a field in double quotes may hold commas, line breaks and quotes, the
//   latter doubled ("");
// - a quote anywhere else in a field, or text after a closing quote, is an
//   error rather than a guess, as it most often is a cell that lost its
//   quotes and would silently shift the values of the row;
// - records end with CR LF, LF or CR; the last one needs no line end;
// - a line holding nothing is skipped (spreadsheets leave them at the end);
// - the text is UTF-8; a byte-order mark at the start is dropped.
// Every error names the line of the file it was found on, counted from 1
// with line breaks inside quotes counted too.
namespace quorvane::cli {

struct CsvRow {
    QStringList fields;
    qint64 line = 0; // the file line the row starts on
};

class CsvReader {
public:
    // Bounds that keep a damaged file from filling the memory.
    static constexpr qsizetype kMaxFieldBytes = qsizetype(1) << 20;
    static constexpr qsizetype kMaxFieldsPerRow = 4096;

    enum class Status { Row, End, Error };

    explicit CsvReader(QIODevice& device, qsizetype chunkSize = qsizetype(1) << 16);

    // The next row. After Error, errorText() says where and why, and every
    // further call returns Error.
    [[nodiscard]] Status next(CsvRow& row);

    // "CSV line 7: why".
    [[nodiscard]] const QString& errorText() const { return error_; }

private:
    static constexpr int kEnd = -1;

    [[nodiscard]] int peek();
    [[nodiscard]] int get();
    // Reads the next chunk; false at the end of the device or on a failure.
    [[nodiscard]] bool refill();
    void skipByteOrderMark();
    // Counts a line end that starts with `c` and consumes its LF after a CR.
    void takeLineEnd(int c);
    [[nodiscard]] bool readQuotedField(QByteArray& field);
    [[nodiscard]] bool readPlainField(QByteArray& field);
    [[nodiscard]] bool appendField(CsvRow& row, const QByteArray& field);
    void setError(qint64 line, const QString& why);

    QIODevice& device_;
    const qsizetype chunkSize_;
    QByteArray buffer_;
    qsizetype position_ = 0;
    bool atStart_ = true;
    bool readFailed_ = false;
    qint64 line_ = 1;
    QString error_;
};

} // namespace quorvane::cli
