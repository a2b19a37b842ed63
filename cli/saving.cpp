#include "saving.h"

#include "exit_codes.h"

#include "document/document_files.h"
#include "files/atomic_save.h"
#include "files/durable_batch.h"

#include <QFileInfo>

namespace quorvane::cli {

namespace {

const QString kSort = QStringLiteral("sort");
const QString kNoSort = QStringLiteral("no-sort");
const QString kYes = QStringLiteral("yes");
const QString kOverwrite = QStringLiteral("overwrite");
const QString kFormat = QStringLiteral("format");

} // namespace

QList<QCommandLineOption> saveOptions()
{
    return {
        {kSort, QStringLiteral("Sort the records by address before saving and refuse overlaps (the default).")},
        {kNoSort, QStringLiteral("Save the records in their lines' order, without the address check.")},
        {{QStringLiteral("y"), kYes}, QStringLiteral("Answer OK to every warning; without it a warning stops.")},
    };
}

QCommandLineOption overwriteOption()
{
    return {kOverwrite, QStringLiteral("Replace an output file that is there already; without it such a file refuses.")};
}

QCommandLineOption keyFormatOption()
{
    return {kFormat,
            QStringLiteral("Write KEY files as Intel HEX (ihex) or S-records (srec); without it a name ending in "
                           ".hex, .ihx or .ihex writes Intel HEX, any other S-records."),
            QStringLiteral("ihex|srec")};
}

Parsed<SaveChoices> saveChoices(const QCommandLineParser& parser)
{
    if (parser.isSet(kSort) && parser.isSet(kNoSort))
        return Parsed<SaveChoices>::refused(QStringLiteral("--sort and --no-sort exclude each other."));
    SaveChoices choices{.sortOn = !parser.isSet(kNoSort), .answerYes = parser.isSet(kYes),
                        .overwrite = parser.optionNames().contains(kOverwrite)};
    // Asked only of a command that has the option: Qt warns of an unknown name.
    if (parser.optionNames().contains(kFormat)) {
        const QString format = parser.value(kFormat);
        if (format == QLatin1String("ihex"))
            choices.format = KeyFileFormat::IntelHex;
        else if (format == QLatin1String("srec"))
            choices.format = KeyFileFormat::SRecord;
        else
            return Parsed<SaveChoices>::refused(QStringLiteral("--format takes ihex or srec, not \"%1\".").arg(format));
    }
    return {choices};
}

QString keyFormatProblem(const SaveChoices& choices, const QString& output, bool image)
{
    if (choices.format == KeyFileFormat::ByName)
        return {};
    if (image)
        return QStringLiteral("--format applies to KEY files; --image writes images.");
    if (isTemplateFileName(output))
        return QStringLiteral("--format applies to KEY files; %1 names a template.").arg(output);
    return {};
}

QString fileSaveError(const QString& path, const QString& reason)
{
    return kFileSaveErrorMessage + QLatin1Char('\n') + path + QStringLiteral(": ") + reason;
}

QString outputProblem(const QString& path, bool overwrite)
{
    const QFileInfo file(path);
    // A link that points nowhere is there too: replacing it was not asked.
    if (!overwrite && (file.exists() || file.isSymLink()))
        return path + QStringLiteral(": the file is there already; --overwrite replaces it.");
    if (const QString reason = FileWriteTest(path); !reason.isEmpty())
        return fileSaveError(path, reason);
    return {};
}

bool outputAllowed(const QString& path, const SaveChoices& choices, Console& console)
{
    const QString problem = outputProblem(path, choices.overwrite);
    if (!problem.isEmpty())
        console.message(problem);
    return problem.isEmpty();
}

int reportSave(const SaveResult& result, const QString& context, Console& console, const QString& path)
{
    switch (result.status) {
    case SaveStatus::Saved: return kExitSuccess;
    case SaveStatus::Refused:
        if (result.message == kFileSaveErrorMessage && !path.isEmpty())
            console.message(context + fileSaveError(path, FileWriteTest(path)));
        else
            console.message(context + result.message);
        return kExitRefused;
    case SaveStatus::Cancelled: return kExitRefused;
    }
    return kExitRefused;
}

int writeOutput(const QString& path, bool overwrite, Console& console, const std::function<int(QFileDevice&)>& write)
{
    StagedFile staged(path);
    if (const QString reason = staged.create(); !reason.isEmpty()) {
        console.message(fileSaveError(path, reason));
        return kExitRefused;
    }
    const int exitCode = write(staged);
    QString failure = exitCode == kExitSuccess && staged.error() != QFileDevice::NoError ? staged.errorString() : QString();
    if (const QString reason = staged.finish(exitCode == kExitSuccess && failure.isEmpty()); failure.isEmpty())
        failure = reason;
    if (exitCode != kExitSuccess || !failure.isEmpty()) {
        QFile::remove(staged.temporaryPath());
        if (exitCode != kExitSuccess)
            return exitCode;
        console.message(fileSaveError(path, failure));
        return kExitRefused;
    }
    if (const Placement placed = moveIntoPlace(staged.temporaryPath(), path, overwrite);
        placed.status != PlaceStatus::Placed) {
        QFile::remove(staged.temporaryPath());
        console.message(placed.status == PlaceStatus::FileThere
                            ? path + QStringLiteral(": the file appeared while the command was writing it and is "
                                                    "left as it is; --overwrite replaces it.")
                            : fileSaveError(path, placed.reason));
        return kExitRefused;
    }
    // The file is complete at its name; only its name may not survive a
    // crash, which the user is told, as a batch tells it.
    const QString folder = QFileInfo(path).absolutePath();
    if (const QString why = syncFolder(folder); !why.isEmpty()) {
        console.message(fileSaveError(folder, QStringLiteral("the name of the file written into it may be lost in "
                                                             "a crash: ") + why));
    }
    return kExitSuccess;
}

int saveOutput(Document& document, const QString& path, const SaveChoices& choices, Questions& questions,
               Console& console)
{
    if (const SaveResult prepared = prepareSave(document, choices.sortOn, questions); !prepared.saved())
        return reportSave(prepared, QString(), console, path);
    return writeOutput(path, choices.overwrite, console, [&](QFileDevice& file) {
        return reportSave(writeDocumentFile(document, path, file, questions, choices.format), QString(), console, path);
    });
}

} // namespace quorvane::cli
