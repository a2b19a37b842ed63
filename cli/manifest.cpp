#include "manifest.h"

#include "saving.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

namespace quorvane::cli {

namespace {

QList<Slot> slotsInUse(const Document& document)
{
    QList<Slot> used;
    for (Slot slot = 0; slot < kRecordCount; ++slot)
        if (document.table[slot].inUse())
            used << slot;
    return used;
}

// The SHA-256 of the file's content as lower-case hex, as sha256sum prints it.
QString sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

QString csvField(const QString& text)
{
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\r\n]|^\\s|\\s$"));
    if (!text.contains(needsQuotes))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QByteArray csvLine(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace

QStringList Manifest::recordNames(const Document& templateDocument)
{
    QStringList names;
    for (const Slot slot : slotsInUse(templateDocument)) {
        const QString& title = templateDocument.table[slot].KeyTitle;
        names << (title.isEmpty() ? QStringLiteral("#%1").arg(lineNumberOf(slot)) : title);
    }
    return names;
}

QStringList Manifest::recordValues(const Document& templateDocument, const Document& document)
{
    QStringList values;
    for (const Slot slot : slotsInUse(templateDocument)) {
        const KeyRecord& record = document.table[slot];
        values << (record.KeyType == kTypeHex ? record.KeyData.toUpper() : record.KeyData);
    }
    return values;
}

std::unique_ptr<Manifest> Manifest::open(const QString& path, const QStringList& names, bool overwrite, Console& console)
{
    std::unique_ptr<Manifest> manifest(new Manifest(path, path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)));
    manifest->names_ = names;
    // A partial journal left by a killed run is the only record of what it issued.
    for (const QString& output : {path, manifest->file_.fileName()}) {
        if (const QString problem = outputProblem(output, overwrite); !problem.isEmpty()) {
            console.message(problem);
            return nullptr;
        }
    }
    if (!manifest->file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        console.message(fileSaveError(manifest->file_.fileName(), manifest->file_.errorString()));
        return nullptr;
    }
    if (!manifest->json_)
        manifest->append(csvLine(QStringList{QStringLiteral("row"), QStringLiteral("outcome"), QStringLiteral("file"),
                                             QStringLiteral("sha256"), QStringLiteral("reason")}
                                 + names));
    return manifest;
}

void Manifest::add(const ManifestEntry& entry)
{
    const bool made = entry.outcome == QStringLiteral("written") || entry.outcome == QStringLiteral("kept");
    const QString hash = !made ? QString()
                         : entry.sha256.isEmpty() ? sha256Of(entry.file)
                                                  : QString::fromLatin1(entry.sha256.toHex());
    if (!json_) {
        append(csvLine(QStringList{entry.row, entry.outcome, entry.file, hash, entry.reason} + entry.values));
        return;
    }
    // An array of pairs keeps the records in line order, which an object's keys would not.
    QJsonArray records;
    for (qsizetype i = 0; i < entry.values.size(); ++i)
        records.append(QJsonObject{{QStringLiteral("name"), names_.value(i)}, {QStringLiteral("value"), entry.values.at(i)}});
    QJsonObject object{{QStringLiteral("row"), entry.row}, {QStringLiteral("outcome"), entry.outcome},
                       {QStringLiteral("records"), records}};
    if (!entry.file.isEmpty())
        object.insert(QStringLiteral("file"), entry.file);
    if (made)
        object.insert(QStringLiteral("sha256"), hash);
    if (!entry.reason.isEmpty())
        object.insert(QStringLiteral("reason"), entry.reason);
    append(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void Manifest::append(const QByteArray& bytes)
{
    // Flushed to the system at once: a killed process loses nothing written.
    file_.write(bytes);
    file_.flush();
}

void Manifest::sync()
{
    syncFailed_ = syncFailed_ || file_.error() != QFileDevice::NoError || ::fsync(file_.handle()) != 0;
}

bool Manifest::finish(Console& console)
{
    const QString partial = file_.fileName();
    const bool synced = !syncFailed_ && file_.error() == QFileDevice::NoError && ::fsync(file_.handle()) == 0;
    file_.close();
    // rename() replaces FILE in one step; --overwrite was checked at the start.
    if (!synced || std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path_).constData()) != 0) {
        console.message(fileSaveError(path_, QStringLiteral("the manifest could not be completed; %1 keeps its entries.")
                                                 .arg(partial)));
        return false;
    }
    return true;
}

} // namespace quorvane::cli
