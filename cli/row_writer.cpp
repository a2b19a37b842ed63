#include "row_writer.h"

#include "console_questions.h"
#include "exit_codes.h"
#include "image_options.h"
#include "manifest.h"

#include "document/save_operation.h"
#include "files/durable_batch.h"
#include "files/file_error.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

// The system's reason when writing `path` failed in the file system rather
// than on the row's data. The writers put the reason behind "ERROR:", and
// name a record they refuse by its line ("ERROR:Line 3: ...").
std::optional<QString> systemReason(const QString& message)
{
    if (!message.startsWith(kErrorPrefix) || message.startsWith(kErrorPrefix + QStringLiteral("Line ")))
        return std::nullopt;
    return message.mid(kErrorPrefix.size());
}

RowOutcome refused(Console& console, const QString& context, const QString& path, const QString& why)
{
    console.message(context + why);
    return {.status = RowStatus::Refused, .path = path, .reason = why};
}

RowOutcome failed(Console& console, const QString& context, const QString& path, const QString& reason)
{
    console.message(context + fileSaveError(path, reason));
    return {.status = RowStatus::Failed, .path = path, .reason = reason};
}

} // namespace

QString statusName(RowStatus status)
{
    switch (status) {
    case RowStatus::Written: return QStringLiteral("written");
    case RowStatus::Kept: return QStringLiteral("kept");
    case RowStatus::Refused: return QStringLiteral("refused");
    case RowStatus::Failed: return QStringLiteral("failed");
    }
    return {};
}

QString linkOnTheWay(const QString& folder, const QString& path)
{
    QString part = folder;
    for (const QString& name : path.mid(folder.size()).split(QLatin1Char('/'))) {
        part += name;
        if (QFileInfo(part).isSymLink())
            return part;
        part += QLatin1Char('/');
    }
    return {};
}

std::variant<RowOutcome, RowWork> RowWriter::check(const CsvRow& row)
{
    const QString context = contextOf(row.line);
    RecordedConsole console;
    const auto finished = [&](RowOutcome outcome) {
        outcome.line = row.line;
        outcome.log = console.takeLines();
        return outcome;
    };
    if (row.fields.size() != setup_.fieldCount)
        return finished(refused(console, context, {},
                                QStringLiteral("%1 fields where the header has %2.").arg(row.fields.size()).arg(setup_.fieldCount)));
    const FileNamePattern::FileName name = setup_.pattern.fileNameFor(row.fields);
    if (!name.problem.isEmpty())
        return finished(refused(console, context, {}, name.problem));
    const QString absolute = QDir::cleanPath(QFileInfo(name.path).absoluteFilePath());
    if (const auto earlier = rowOfFile_.constFind(absolute); earlier != rowOfFile_.cend())
        return finished(refused(console, context, name.path,
                                QStringLiteral("the file name \"%1\" is that of %2 %3.").arg(name.path, setup_.rowWord).arg(*earlier)));
    rowOfFile_.insert(absolute, row.line);
    if (const QString link = linkOnTheWay(name.folder, name.path); !link.isEmpty())
        return finished(refused(console, context, name.path,
                                QStringLiteral("%1 is a symbolic link; no row writes through one.").arg(link)));
    if (setup_.skipExisting && QFileInfo::exists(name.path)) {
        console.print(context + QStringLiteral("kept ") + name.path + QStringLiteral(" (--skip-existing)"));
        return finished({.status = RowStatus::Kept, .path = name.path});
    }
    if (!setup_.choices.overwrite && QFileInfo::exists(name.path))
        return finished(refused(console, context, name.path,
                                name.path + QStringLiteral(": the file is there already; --overwrite replaces it, "
                                                           "--skip-existing keeps it.")));
    return RowWork{.row = row, .path = name.path, .folder = name.folder};
}

RowOutcome RowWriter::write(const RowWork& work) const
{
    RecordedConsole console;
    RowOutcome outcome = writeFile(work, console);
    outcome.line = work.row.line;
    outcome.folder = work.folder;
    outcome.log = console.takeLines();
    return outcome;
}

RowOutcome RowWriter::writeFile(const RowWork& work, Console& console) const
{
    const QString context = contextOf(work.row.line);
    Document document = setup_.templateDocument;
    if (const QString problem = setup_.columns.apply(work.row.fields, document); !problem.isEmpty())
        return refused(console, context, work.path, problem);
    if (const QString problem = setup_.hashes.apply(document); !problem.isEmpty())
        return refused(console, context, work.path, problem);
    ConsoleQuestions questions(console, setup_.choices.answerYes);
    questions.setContext(context);
    const QStringList values = Manifest::recordValues(setup_.templateDocument, document);
    const SaveResult prepared = setup_.image ? prepareKeyData(document, setup_.choices.sortOn, questions)
                                             : prepareSave(document, setup_.choices.sortOn, questions);
    RowOutcome outcome;
    if (prepared.saved()) {
        // Folders the pattern's columns name are made as the files need them.
        QDir().mkpath(QFileInfo(work.path).absolutePath());
        outcome = writeStaged(document, work, console);
    } else {
        outcome = refused(console, context, work.path, prepared.message);
    }
    outcome.path = work.path;
    outcome.values = values;
    return outcome;
}

RowOutcome RowWriter::writeStaged(Document& document, const RowWork& work, Console& console) const
{
    const QString context = contextOf(work.row.line);
    StagedFile staged(work.path, setup_.hashContent);
    if (const QString reason = staged.create(); !reason.isEmpty())
        return failed(console, context, work.path, reason);
    RowOutcome outcome{.status = RowStatus::Written};
    if (!setup_.image) {
        ConsoleQuestions questions(console, setup_.choices.answerYes);
        questions.setContext(context);
        const SaveResult result = writeDocumentFile(document, work.path, staged, questions, setup_.choices.format);
        if (result.status == SaveStatus::Refused) {
            const std::optional<QString> reason = systemReason(result.message);
            outcome = reason ? failed(console, context, work.path, *reason) : refused(console, context, work.path, result.message);
        } else if (!result.saved()) {
            outcome = {.status = RowStatus::Refused, .path = work.path, .reason = result.message};
        }
    } else {
        const ImageOperationResult merged =
            writeKeyDataIntoImage(document, setup_.image->path, staged, setup_.image->startAddress,
                                  {.outside = setup_.image->outside, .questions = nullptr, .progress = {}});
        if (reportImageOperation(merged, setup_.image->path, QString(), context, console) != kExitSuccess) {
            // Reading the image fails for every row alike, as writing does.
            const std::optional<QString> reason = systemReason(merged.message);
            outcome = reason ? RowOutcome{.status = RowStatus::Failed, .path = work.path, .reason = *reason}
                             : RowOutcome{.status = RowStatus::Refused, .path = {}, .reason = merged.message};
        } else {
            printMergeNotes(merged.lines, context, console);
        }
    }
    const qint64 size = staged.size();
    const QString reason = staged.finish(setup_.syncEach && outcome.status == RowStatus::Written);
    if (outcome.status != RowStatus::Written || !reason.isEmpty()) {
        QFile::remove(staged.temporaryPath());
        return outcome.status == RowStatus::Written ? failed(console, context, work.path, reason) : outcome;
    }
    outcome.staged = staged.temporaryPath();
    outcome.sha256 = staged.sha256();
    outcome.size = size;
    return outcome;
}

} // namespace quorvane::cli
