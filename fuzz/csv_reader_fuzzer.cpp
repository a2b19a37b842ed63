// The CSV reader of `batch` over any bytes, in chunks of 1, 2 and 64 KiB:
// where a read happens to end must change nothing, neither the rows nor the
// error. Rows that parse, written out again as RFC 4180 says, parse back to
// the same fields.

#include "fuzz_support.h"

#include "cli/csv_reader.h"

#include <vector>

using namespace quorvane;
using quorvane::cli::CsvReader;
using quorvane::cli::CsvRow;
using quorvane::fuzz::expect;

namespace {

struct Parsed {
    std::vector<CsvRow> rows;
    QString error;
};

Parsed parse(QIODevice& device, qsizetype chunkSize)
{
    CsvReader reader(device, chunkSize);
    Parsed parsed;
    for (CsvRow row;;) {
        switch (reader.next(row)) {
        case CsvReader::Status::Row:
            expect(!row.fields.isEmpty(), "a row has a field");
            parsed.rows.push_back(row);
            break;
        case CsvReader::Status::End:
            return parsed;
        case CsvReader::Status::Error:
            parsed.error = reader.errorText();
            expect(!parsed.error.isEmpty(), "an error says why");
            expect(reader.next(row) == CsvReader::Status::Error, "an error stays");
            return parsed;
        }
    }
}

bool sameRows(const std::vector<CsvRow>& a, const std::vector<CsvRow>& b, bool withLines)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].fields != b[i].fields || (withLines && a[i].line != b[i].line))
            return false;
    }
    return true;
}

// A field in quotes when it must be: it holds a comma, a quote or a line
// break; it is the only field of its row and empty (a bare empty line is
// skipped); or it starts with U+FEFF (a byte-order mark at the start of the
// file is dropped).
QByteArray fieldText(const QString& field, bool alone)
{
    const bool quoted = (alone && field.isEmpty()) || field.startsWith(QChar(0xFEFF))
                        || field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
                        || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'));
    QByteArray text = field.toUtf8();
    if (!quoted)
        return text;
    return '"' + text.replace('"', "\"\"") + '"';
}

QByteArray csvOf(const std::vector<CsvRow>& rows)
{
    QByteArray csv;
    for (const CsvRow& row : rows) {
        for (qsizetype i = 0; i < row.fields.size(); ++i) {
            if (i > 0)
                csv += ',';
            csv += fieldText(row.fields[i], row.fields.size() == 1);
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputDevice input(data, size);
    const Parsed whole = parse(input.device(), qsizetype(1) << 16);
    for (const qsizetype chunk : {1, 2}) {
        const Parsed bits = parse(input.rewound(), chunk);
        expect(sameRows(bits.rows, whole.rows, true) && bits.error == whole.error, "the chunk size changes nothing",
               [&] { return QStringLiteral("chunks of %1: ").arg(chunk) + bits.error; });
    }
    if (!whole.error.isEmpty())
        return 0;

    const QByteArray written = csvOf(whole.rows);
    fuzz::InputDevice again(written);
    const Parsed reparsed = parse(again.device(), qsizetype(1) << 16);
    expect(reparsed.error.isEmpty(), "rows written out parse", [&] { return reparsed.error; });
    expect(sameRows(reparsed.rows, whole.rows, false), "rows written out parse back to the same fields");
    return 0;
}
