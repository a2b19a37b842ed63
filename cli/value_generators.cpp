#include "value_generators.h"

#include "record_hashes.h"

#include "core/data_bytes.h"
#include "files/atomic_save.h"

#include <QFile>

#include <QRandomGenerator>
#include <QRegularExpression>

namespace quorvane::cli {

namespace {

const QString kSyntax = QStringLiteral("NAME=counter:START[:STEP][:le], NAME=random or NAME=text:PATTERN");

// A number as every address and value here: hex digits, or decimal after a "d".
std::optional<quint64> numberFrom(const QString& text)
{
    bool ok = false;
    const quint64 value = text.startsWith(QLatin1Char('d')) ? text.mid(1).toULongLong(&ok, 10) : text.toULongLong(&ok, 16);
    // toULongLong takes a sign and a "0x"; a typo is not a number.
    static const QRegularExpression plain(QStringLiteral("^(d[0-9]+|[0-9A-Fa-f]+)$"));
    if (!ok || !plain.match(text).hasMatch())
        return std::nullopt;
    return value;
}

QString hexBytes(unsigned __int128 value, int width, bool littleEndian)
{
    QByteArray bytes(width, '\0');
    for (int i = 0; i < width && i < 16; ++i)
        bytes[littleEndian ? i : width - 1 - i] = char(quint8(value >> (8 * i)));
    return QString::fromLatin1(bytes.toHex().toUpper());
}

std::optional<unsigned __int128> bigNumberFrom(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^[0-9A-F]{1,32}$"));
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    unsigned __int128 value = 0;
    for (const QChar digit : text)
        value = value << 4 | unsigned(QString(digit).toUInt(nullptr, 16));
    return value;
}

QString hexText(unsigned __int128 value)
{
    QString text;
    do {
        text.prepend(QString::number(quint8(value & 0xF), 16).toUpper());
        value >>= 4;
    } while (value != 0);
    return text;
}

} // namespace

QCommandLineOption setOption()
{
    return {QStringLiteral("set"),
            QStringLiteral("Fill the record NAME (a title or \"#3\") of each device with a generated value, like a "
                           "CSV column of that name: counter:START[:STEP][:le] counts in a HEX record as wide as its "
                           "size (START and STEP hex, or decimal after a d: d1000; most significant byte first unless "
                           ":le); random fills a HEX record from the system's cryptographic random source; "
                           "text:PATTERN fills an ASCII record, {n:06} being the device's number zero-padded to 6 "
                           "digits. Repeatable."),
            QStringLiteral("NAME=GENERATOR")};
}

QCommandLineOption countOption()
{
    return {QStringLiteral("count"), QStringLiteral("Write N devices from --set values, without a CSV."),
            QStringLiteral("N")};
}

QCommandLineOption stateOption()
{
    return {QStringLiteral("state"),
            QStringLiteral("Keep where each --set counter stands in this file (lines NAME=HEX): a run starts a "
                           "counter there when it is past START, and advances the file past all its devices before "
                           "writing any, so no value is handed out twice, even after a failed run."),
            QStringLiteral("FILE")};
}

QString ValueGenerators::useState(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return {};
    // A state file is a few lines; anything large is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 65536)
        return path + QStringLiteral(": cannot be read as a state file: ") +
               (file.isOpen() ? QStringLiteral("it is over 64 KiB.") : file.errorString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines.at(index).trimmed();
        const qsizetype equals = line.lastIndexOf(QLatin1Char('='));
        if (equals <= 0 || !bigNumberFrom(line.mid(equals + 1)))
            return path + QStringLiteral(": line %1 is not NAME=HEX; no file was written.").arg(index + 1);
        state_.insert(line.left(equals), line.mid(equals + 1));
    }
    for (Generator& generator : generators_)
        if (generator.kind == Kind::Counter && state_.contains(generator.name))
            generator.start = std::max(generator.start, *bigNumberFrom(state_.value(generator.name)));
    return {};
}

QString ValueGenerators::advanceState(const QString& path, qint64 devices) const
{
    QMap<QString, QString> state = state_;
    for (const Generator& generator : generators_)
        if (generator.kind == Kind::Counter)
            state.insert(generator.name, hexText(generator.start + generator.step * (unsigned __int128)devices));
    QByteArray text;
    for (auto it = state.cbegin(); it != state.cend(); ++it)
        text += (it.key() + QLatin1Char('=') + it.value() + QStringLiteral("\r\n")).toUtf8();
    if (const QString reason = replaceFileContents(path, text); !reason.isEmpty())
        return path + QStringLiteral(": the state cannot be written: ") + reason + QStringLiteral("; no file was written.");
    return {};
}

Parsed<ValueGenerators> ValueGenerators::parse(const QStringList& values, const Document& templateDocument)
{
    ValueGenerators result;
    for (const QString& value : values) {
        const QString option = QStringLiteral("--set \"%1\": ").arg(value);
        const auto refused = [&option](const QString& why) { return Parsed<ValueGenerators>::refused(option + why); };
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        if (equals < 0)
            return refused(QStringLiteral("expected %1.").arg(kSyntax));
        const QString name = value.left(equals).trimmed();
        const NamedSlot target = slotNamed(templateDocument, name);
        if (target.slot < 0)
            return refused(target.problem);
        for (const Generator& earlier : result.generators_)
            if (earlier.slot == target.slot)
                return refused(QStringLiteral("line %1 is filled by an earlier --set.").arg(lineNumberOf(target.slot)));
        const KeyRecord& record = templateDocument.table[target.slot];
        Generator generator{.option = option, .name = name, .slot = target.slot, .kind = Kind::Random,
                            .width = record.KeySize};
        QStringList parts = value.mid(equals + 1).split(QLatin1Char(':'));
        const QString kind = parts.takeFirst();
        if (kind == QStringLiteral("text")) {
            generator.kind = Kind::Text;
            if (record.KeyType != kTypeAscii)
                return refused(QStringLiteral("line %1 is a HEX record; text fills an ASCII record.").arg(lineNumberOf(target.slot)));
            // {n} or {n:06}; "{{" and "}}" are the braces themselves.
            static const QRegularExpression piece(QStringLiteral("\\{\\{|\\}\\}|\\{n(?::0([1-9][0-9]?))?\\}|[{}]"));
            const QString pattern = value.mid(value.indexOf(QLatin1Char(':'), equals) + 1);
            QString literal;
            qsizetype at = 0;
            for (QRegularExpressionMatchIterator it = piece.globalMatch(pattern); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                literal += pattern.mid(at, match.capturedStart() - at);
                at = match.capturedEnd();
                const QString found = match.captured();
                if (found == QStringLiteral("{{") || found == QStringLiteral("}}")) {
                    literal += found.at(0);
                } else if (found.size() == 1) {
                    return refused(QStringLiteral("a pattern holds {n} or {n:06} (the device's number, zero-padded "
                                                  "to 6 digits); \"{{\" and \"}}\" are braces."));
                } else {
                    generator.textParts << literal;
                    literal.clear();
                    generator.digits << (match.captured(1).isEmpty() ? 0 : match.captured(1).toInt());
                }
            }
            generator.textParts << literal + pattern.mid(at);
        } else if (kind == QStringLiteral("counter") || kind == QStringLiteral("random")) {
            if (record.KeyType != kTypeHex)
                return refused(QStringLiteral("line %1 is an ASCII record; %2 fills a HEX record.").arg(lineNumberOf(target.slot)).arg(kind));
            if (record.KeySize <= 0)
                return refused(QStringLiteral("line %1 has no size; the value is as wide as its record.").arg(lineNumberOf(target.slot)));
            if (kind == QStringLiteral("counter")) {
                generator.kind = Kind::Counter;
                generator.littleEndian = !parts.isEmpty() && parts.constLast() == QStringLiteral("le");
                if (generator.littleEndian)
                    parts.removeLast();
                if (parts.isEmpty() || parts.size() > 2)
                    return refused(QStringLiteral("expected %1.").arg(kSyntax));
                for (qsizetype i = 0; i < parts.size(); ++i) {
                    const std::optional<quint64> number = numberFrom(parts.at(i));
                    if (!number)
                        return refused(QStringLiteral("\"%1\" is no number: hex digits, or decimal after a d (d1000).").arg(parts.at(i)));
                    (i == 0 ? generator.start : generator.step) = *number;
                }
            } else if (!parts.isEmpty()) {
                return refused(QStringLiteral("expected %1.").arg(kSyntax));
            }
        } else {
            return refused(QStringLiteral("expected %1.").arg(kSyntax));
        }
        result.generators_.push_back(std::move(generator));
    }
    return {std::move(result)};
}

QStringList ValueGenerators::names() const
{
    QStringList names;
    for (const Generator& generator : generators_)
        names << generator.name;
    return names;
}

QString ValueGenerators::textFor(const Generator& generator, qint64 number)
{
    QString text = generator.textParts.constFirst();
    for (qsizetype i = 0; i < generator.digits.size(); ++i)
        text += QStringLiteral("%1").arg(number, generator.digits.at(i), 10, QLatin1Char('0')) + generator.textParts.at(i + 1);
    return text;
}

QString ValueGenerators::runProblem(const QStringList& header, const QStringList& ignored,
                                    const Document& templateDocument, qint64 devices) const
{
    for (const Generator& generator : generators_) {
        for (const QString& column : header)
            if (!ignored.contains(column) && slotNamed(templateDocument, column).slot == generator.slot)
                return generator.option + QStringLiteral("line %1 is the CSV column \"%2\" too; a record takes its "
                                                         "data from one place.")
                                              .arg(lineNumberOf(generator.slot))
                                              .arg(column);
        // A text that does not fill its record would refuse every device:
        // said once, before a serial is handed out. Its length only grows
        // with the number, so the first and the last device tell.
        if (const int size = templateDocument.table[generator.slot].KeySize; generator.kind == Kind::Text && size > 0) {
            for (const qint64 device : {qint64(1), devices}) {
                const QString text = textFor(generator, device);
                if (const int bytes = dataByteCount(kTypeAscii, text); bytes != size)
                    return generator.option + QStringLiteral("device %1 would take \"%2\", %3 bytes; line %4 of the "
                                                             "template takes %5 bytes; no file was written.")
                                                  .arg(device)
                                                  .arg(text)
                                                  .arg(bytes)
                                                  .arg(lineNumberOf(generator.slot))
                                                  .arg(size);
            }
        }
        if (generator.kind != Kind::Counter || generator.width >= 16)
            continue;
        const unsigned __int128 last = generator.start + generator.step * (unsigned __int128)(devices - 1);
        if (last >> (8 * generator.width) != 0 || last < generator.start)
            return generator.option + QStringLiteral("device %1 would take %2, wider than the %3 bytes of line %4; "
                                                     "no file was written.")
                                          .arg(devices)
                                          .arg(hexText(last))
                                          .arg(generator.width)
                                          .arg(lineNumberOf(generator.slot));
    }
    return {};
}

QStringList ValueGenerators::valuesFor(qint64 number) const
{
    QStringList values;
    for (const Generator& generator : generators_) {
        switch (generator.kind) {
        case Kind::Counter:
            values << hexBytes(generator.start + generator.step * (unsigned __int128)(number - 1), generator.width,
                               generator.littleEndian);
            break;
        case Kind::Random: {
            // Keys must not be predictable: the system's source, never a seeded one.
            std::vector<quint32> words((generator.width + 3) / 4);
            QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
            QByteArray bytes(reinterpret_cast<const char*>(words.data()), generator.width);
            values << QString::fromLatin1(bytes.toHex().toUpper());
            break;
        }
        case Kind::Text:
            values << textFor(generator, number);
            break;
        }
    }
    return values;
}

} // namespace quorvane::cli
