#include "file_name_pattern.h"

namespace quorvane::cli {

namespace {

constexpr QChar kOpen = u'{';
constexpr QChar kClose = u'}';
constexpr QChar kSeparator = u'/';

// Why a value cannot stand in a file name, or an empty text.
QString valueProblem(const QString& column, const QString& value)
{
    if (value.isEmpty())
        return QStringLiteral("the column \"%1\" is empty.").arg(column);
    for (const QChar c : value) {
        // Both separators: the files may be copied to Windows afterwards.
        if (c == kSeparator || c == u'\\')
            return QStringLiteral("the column \"%1\" holds a path separator: \"%2\".").arg(column, value);
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("the column \"%1\" holds a control character.").arg(column);
    }
    return {};
}

} // namespace

Parsed<FileNamePattern> FileNamePattern::parse(const QString& text)
{
    FileNamePattern pattern;
    QString literal;
    qsizetype firstColumnAt = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool doubled = i + 1 < text.size() && text.at(i + 1) == c;
        if ((c == kOpen || c == kClose) && doubled) {
            literal += c;
            ++i;
        } else if (c == kClose) {
            return Parsed<FileNamePattern>::refused(
                QStringLiteral("The pattern has a \"}\" without \"{\" (\"}}\" stands for \"}\")."));
        } else if (c == kOpen) {
            const qsizetype close = text.indexOf(kClose, i + 1);
            const QString name = close < 0 ? QString() : text.mid(i + 1, close - i - 1).trimmed();
            if (close < 0 || name.isEmpty())
                return Parsed<FileNamePattern>::refused(QStringLiteral(
                    "The pattern has a \"{\" without a column name and \"}\" (\"{{\" stands for \"{\")."));
            if (firstColumnAt < 0)
                firstColumnAt = i;
            if (!literal.isEmpty())
                pattern.parts_.emplace_back(std::exchange(literal, {}));
            pattern.parts_.emplace_back(Column{name});
            i = close;
        } else {
            literal += c;
        }
    }
    if (!literal.isEmpty())
        pattern.parts_.emplace_back(literal);
    if (firstColumnAt < 0)
        return Parsed<FileNamePattern>::refused(
            QStringLiteral("The pattern names no {column}: every row would write the same file."));
    const qsizetype slash = text.left(firstColumnAt).lastIndexOf(kSeparator);
    pattern.namesStart_ = slash + 1;
    return {std::move(pattern)};
}

QStringList FileNamePattern::columnNames() const
{
    QStringList names;
    for (const Part& part : parts_)
        if (const Column* column = std::get_if<Column>(&part); column && !names.contains(column->name))
            names << column->name;
    return names;
}

QString FileNamePattern::bind(const QStringList& header)
{
    for (Part& part : parts_) {
        if (Column* column = std::get_if<Column>(&part)) {
            column->index = header.indexOf(column->name);
            if (column->index < 0)
                return QStringLiteral("The pattern names the column {%1}, which the CSV header does not have.")
                    .arg(column->name);
        }
    }
    return {};
}

FileNamePattern::FileName FileNamePattern::fileNameFor(const QStringList& fields) const
{
    QString path;
    for (const Part& part : parts_) {
        if (const Column* column = std::get_if<Column>(&part)) {
            const QString& value = fields.at(column->index);
            if (QString problem = valueProblem(column->name, value); !problem.isEmpty())
                return {{}, std::move(problem)};
            path += value;
        } else {
            path += std::get<QString>(part);
        }
    }
    // Values hold no separator, so only these parts could climb out of the folder.
    for (const QString& name : path.mid(namesStart_).split(kSeparator)) {
        if (name.isEmpty() || name == u"." || name == u"..")
            return {{}, QStringLiteral("the file name \"%1\" has a part \"%2\".").arg(path, name)};
    }
    return {path, {}, path.left(namesStart_)};
}

} // namespace quorvane::cli
