#include "csv_reader.h"

#include <QStringDecoder>

namespace quorvane::cli {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';

bool isLineEnd(int c)
{
    return c == '\r' || c == '\n';
}

} // namespace

CsvReader::CsvReader(QIODevice& device, qsizetype chunkSize) : device_(device), chunkSize_(chunkSize) {}

bool CsvReader::refill()
{
    if (readFailed_)
        return false;
    buffer_.resize(chunkSize_);
    const qint64 n = device_.read(buffer_.data(), chunkSize_);
    readFailed_ = n < 0;
    buffer_.resize(n > 0 ? n : 0);
    position_ = 0;
    if (atStart_)
        skipByteOrderMark();
    return n > 0;
}

void CsvReader::skipByteOrderMark()
{
    static constexpr char kMark[] = "\xEF\xBB\xBF";
    // A chunk that ends inside the mark gets the rest of it first.
    while (!readFailed_ && buffer_.size() < 3 && QByteArrayView(kMark).startsWith(buffer_) && !buffer_.isEmpty()) {
        const QByteArray more = device_.read(3 - buffer_.size());
        if (more.isEmpty())
            break;
        buffer_.append(more);
    }
    if (buffer_.startsWith(kMark))
        position_ = 3;
    atStart_ = buffer_.isEmpty();
}

int CsvReader::peek()
{
    // A chunk may hold nothing but the byte-order mark.
    while (position_ >= buffer_.size())
        if (!refill())
            return kEnd;
    return quint8(buffer_.at(position_));
}

int CsvReader::get()
{
    const int c = peek();
    if (c != kEnd)
        ++position_;
    return c;
}

void CsvReader::takeLineEnd(int c)
{
    if (c == '\r' && peek() == '\n')
        ++position_;
    ++line_;
}

void CsvReader::setError(qint64 line, const QString& why)
{
    // A read failure is the cause of whatever else went wrong after it.
    if (readFailed_)
        error_ = QStringLiteral("CSV line %1: %2").arg(line_).arg(device_.errorString());
    else
        error_ = QStringLiteral("CSV line %1: %2").arg(line).arg(why);
}

bool CsvReader::readQuotedField(QByteArray& field)
{
    const qint64 startLine = line_;
    (void)get(); // the opening quote
    for (;;) {
        const int c = get();
        if (c == kEnd) {
            setError(startLine, QStringLiteral("the quoted field that starts here has no closing quote."));
            return false;
        }
        if (c == kQuote) {
            if (peek() != kQuote)
                break;
            (void)get();
            field.append(kQuote);
        } else {
            field.append(char(c));
            if (isLineEnd(c)) {
                // Kept as written; counted so that later rows are named right.
                if (c == '\r' && peek() == '\n')
                    field.append(char(get()));
                ++line_;
            }
        }
        if (field.size() > kMaxFieldBytes) {
            setError(startLine, QStringLiteral("a field is longer than %1 bytes.").arg(kMaxFieldBytes));
            return false;
        }
    }
    if (const int after = peek(); after != kComma && !isLineEnd(after) && after != kEnd) {
        setError(line_, QStringLiteral("text follows the closing quote of a field."));
        return false;
    }
    return true;
}

bool CsvReader::readPlainField(QByteArray& field)
{
    for (int c = peek(); c != kComma && !isLineEnd(c) && c != kEnd; c = peek()) {
        if (c == kQuote) {
            setError(line_, QStringLiteral("a quote inside a field that does not start with one."));
            return false;
        }
        field.append(char(get()));
        if (field.size() > kMaxFieldBytes) {
            setError(line_, QStringLiteral("a field is longer than %1 bytes.").arg(kMaxFieldBytes));
            return false;
        }
    }
    return true;
}

bool CsvReader::appendField(CsvRow& row, const QByteArray& field)
{
    if (row.fields.size() >= kMaxFieldsPerRow) {
        setError(row.line, QStringLiteral("a row has more than %1 fields.").arg(kMaxFieldsPerRow));
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(field);
    if (decoder.hasError()) {
        setError(line_, QStringLiteral("the text is not UTF-8."));
        return false;
    }
    row.fields.append(std::move(text));
    return true;
}

CsvReader::Status CsvReader::next(CsvRow& row)
{
    if (!error_.isEmpty())
        return Status::Error;
    row.fields.clear();
    for (int c = peek(); isLineEnd(c); c = peek())
        takeLineEnd(get());
    row.line = line_;
    if (peek() == kEnd) {
        if (readFailed_) {
            setError(line_, {});
            return Status::Error;
        }
        return Status::End;
    }

    for (;;) {
        QByteArray field;
        const bool read = peek() == kQuote ? readQuotedField(field) : readPlainField(field);
        if (!read || !appendField(row, field))
            return Status::Error;
        const int separator = get();
        if (readFailed_) {
            setError(line_, {});
            return Status::Error;
        }
        if (separator == kComma)
            continue;
        if (isLineEnd(separator))
            takeLineEnd(separator);
        return Status::Row;
    }
}

} // namespace quorvane::cli
