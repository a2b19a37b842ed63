#include "batch_command.h"

#include "console_questions.h"
#include "file_name_pattern.h"
#include "image_options.h"
#include "input_document.h"
#include "manifest.h"
#include "record_columns.h"
#include "record_hashes.h"
#include "saving.h"
#include "value_generators.h"

#include "document/image_merge_operation.h"
#include "files/atomic_save.h"
#include "files/file_error.h"
#include "image/recognition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");
const QString kImageOption = QStringLiteral("image");
const QString kIgnoreColumnOption = QStringLiteral("ignore-column");
const QString kUniqueOption = QStringLiteral("unique");
const QString kSkipExistingOption = QStringLiteral("skip-existing");
const QString kManifestOption = QStringLiteral("manifest");

// A full disk or a folder that refuses every file would otherwise report
// the same failure once per row of a long list.
constexpr int kAlikeFailuresToStop = 10;

// Bounds --count to what a production lot can be, and the values made
// before the first file to what memory holds.
constexpr qint64 kMaxDevices = 1'000'000;

QStringList trimmedNames(const QStringList& header)
{
    QStringList names;
    for (const QString& name : header)
        names << name.trimmed();
    return names;
}

// The part of `path` below the pattern's folder that is a symbolic link, or
// an empty text: a row must not write outside the folder it was pointed at.
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

// The system's reason when writing `path` failed in the file system rather
// than on the row's data. The probe of the folder says only "File Save
// Error." (asked again, it tells why); the writers put the reason behind
// "ERROR:", and name a record they refuse by its line ("ERROR:Line 3: ...").
std::optional<QString> systemReason(const QString& message, const QString& path)
{
    if (message == kFileSaveErrorMessage)
        return FileWriteTest(path);
    if (!message.startsWith(kErrorPrefix) || message.startsWith(kErrorPrefix + QStringLiteral("Line ")))
        return std::nullopt;
    return message.mid(kErrorPrefix.size());
}

enum class RowStatus { Written, Kept, Refused, Failed };

struct RowOutcome {
    RowStatus status;
    // The row's file once it has a name; for Failed the system's reason, for Refused why.
    QString path = {};
    QString reason = {};
    // The records' values as written, for the manifest.
    QStringList values = {};
};

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

// Writes the files of the rows one by one; a row that fails writes nothing
// and the next one goes on.
class RowWriter {
public:
    RowWriter(Console& console, const Document& templateDocument, const RecordColumns& columns, const FileNamePattern& pattern,
              const RecordHashes& hashes, qsizetype fieldCount, SaveChoices choices, bool skipExisting,
              std::optional<ImageChoice> image, QString rowWord)
        : rowWord_(std::move(rowWord)), console_(console), template_(templateDocument), columns_(columns), pattern_(pattern), hashes_(hashes),
          fieldCount_(fieldCount),
          choices_(choices), skipExisting_(skipExisting), image_(std::move(image)),
          questions_(console, choices.answerYes)
    {
    }

    [[nodiscard]] RowOutcome write(const CsvRow& row);

    // "CSV line" or, without a CSV, "Device": how messages name a row.
    const QString rowWord_;

private:
    [[nodiscard]] RowOutcome refuse(const QString& context, const QString& why)
    {
        console_.message(context + why);
        return {RowStatus::Refused, namedPath_, why};
    }

    [[nodiscard]] RowOutcome fail(const QString& context, const QString& path, const QString& reason)
    {
        console_.message(context + fileSaveError(path, reason));
        return {RowStatus::Failed, path, reason};
    }

    // The row's file: the document saved, or its key data in the image.
    [[nodiscard]] RowOutcome writeFile(Document& document, const QString& path, const QString& context);

    Console& console_;
    const Document& template_;
    const RecordColumns& columns_;
    const FileNamePattern& pattern_;
    const RecordHashes& hashes_;
    const qsizetype fieldCount_;
    const SaveChoices choices_;
    const bool skipExisting_;
    const std::optional<ImageChoice> image_;
    ConsoleQuestions questions_;
    // Each file is written by one row only: a serial twice in the list is
    // a mistake that must not silently replace the first device's file.
    QHash<QString, qint64> rowOfFile_;
    // The file of the row being written, once its name is known.
    QString namedPath_;
};

RowOutcome RowWriter::write(const CsvRow& row)
{
    const QString context = QStringLiteral("%1 %2: ").arg(rowWord_).arg(row.line);
    namedPath_.clear();
    if (row.fields.size() != fieldCount_)
        return refuse(context, QStringLiteral("%1 fields where the header has %2.").arg(row.fields.size()).arg(fieldCount_));
    const FileNamePattern::FileName name = pattern_.fileNameFor(row.fields);
    if (!name.problem.isEmpty())
        return refuse(context, name.problem);
    namedPath_ = name.path;
    const QString absolute = QDir::cleanPath(QFileInfo(name.path).absoluteFilePath());
    if (const auto earlier = rowOfFile_.constFind(absolute); earlier != rowOfFile_.cend())
        return refuse(context, QStringLiteral("the file name \"%1\" is that of %2 %3.").arg(name.path, rowWord_).arg(*earlier));
    rowOfFile_.insert(absolute, row.line);
    if (const QString link = linkOnTheWay(name.folder, name.path); !link.isEmpty())
        return refuse(context, QStringLiteral("%1 is a symbolic link; no row writes through one.").arg(link));
    if (skipExisting_ && QFileInfo::exists(name.path)) {
        console_.print(context + QStringLiteral("kept ") + name.path + QStringLiteral(" (--skip-existing)"));
        return {RowStatus::Kept, name.path};
    }
    if (!choices_.overwrite && QFileInfo::exists(name.path))
        return refuse(context, name.path + QStringLiteral(": the file is there already; --overwrite replaces it, "
                                                          "--skip-existing keeps it."));

    Document document = template_;
    if (const QString problem = columns_.apply(row.fields, document); !problem.isEmpty())
        return refuse(context, problem);
    if (const QString problem = hashes_.apply(document); !problem.isEmpty())
        return refuse(context, problem);
    questions_.setContext(context);
    const QStringList values = Manifest::recordValues(template_, document);
    RowOutcome outcome = writeFile(document, name.path, context);
    outcome.path = name.path;
    outcome.values = values;
    if (outcome.status == RowStatus::Written)
        console_.print(context + QStringLiteral("wrote ") + name.path);
    return outcome;
}

RowOutcome RowWriter::writeFile(Document& document, const QString& path, const QString& context)
{
    SaveResult result = image_ ? prepareKeyData(document, choices_.sortOn, questions_)
                               : prepareSave(document, choices_.sortOn, questions_);
    if (!result.saved())
        return refuse(context, result.message);
    // Folders the pattern's columns name are made as the files need them.
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image_) {
        result = writeDocumentFile(document, path, questions_, choices_.format);
        if (result.status != SaveStatus::Refused)
            return {result.saved() ? RowStatus::Written : RowStatus::Refused, {}, result.saved() ? QString() : result.message};
        if (const std::optional<QString> reason = systemReason(result.message, path))
            return fail(context, path, *reason);
        return refuse(context, result.message);
    }
    const ImageOperationResult merged = writeKeyDataIntoImage(document, image_->path, path, image_->startAddress,
                                                              {.outside = image_->outside, .questions = nullptr, .progress = {}});
    if (merged.status == ImageOperationStatus::Failed && merged.message == kFileSaveErrorMessage)
        return fail(context, path, FileWriteTest(path));
    if (reportImageOperation(merged, image_->path, QString(), context, console_) != kExitSuccess) {
        // Reading the image fails for every row alike, as writing does.
        const std::optional<QString> reason = systemReason(merged.message, path);
        return reason ? RowOutcome{RowStatus::Failed, path, *reason} : RowOutcome{RowStatus::Refused, {}, merged.message};
    }
    printMergeNotes(merged.lines, context, console_);
    return {RowStatus::Written};
}

} // namespace

BatchCommand::BatchCommand(Console& console)
    : Command(console, QStringLiteral("batch"),
              QStringLiteral("Write one file per CSV row: a template with the row's data."))
{
    addPositional({QStringLiteral("TEMPLATE"), QStringLiteral("The template (.639) or KEY file every file starts from.")});
    addPositional({QStringLiteral("DEVICES.csv"),
                   QStringLiteral("A header line naming records by title (or \"#3\" for line 3) and any other "
                                  "columns, then one row per file (RFC 4180, UTF-8). HEX records take hex digits, ASCII "
                                  "records text; other records keep the template's data, every record its size. "
                                  "Left out with --count."),
                   false, true});
    addOption({{QStringLiteral("o"), kOutputOption},
               QStringLiteral("The file names, from the row's columns: out/{serial}.KEY (required). A .639 name "
                              "writes templates."),
               QStringLiteral("PATTERN")});
    addOption(keyFormatOption());
    addOption({kImageOption,
               QStringLiteral("Write each row's key data into a copy of this S-record, Intel HEX or binary image, "
                              "named by the pattern, instead of a KEY file."),
               QStringLiteral("IMAGE")});
    addOption(startAddressOption());
    addOption(allowOutsideOption());
    addOption({kIgnoreColumnOption,
               QStringLiteral("A CSV column that neither names a record nor is in the pattern, left unused; without "
                              "it such a column refuses the run, as a misspelt title would leave a key out. Repeatable."),
               QStringLiteral("NAME")});
    addOption({kUniqueOption,
               QStringLiteral("Columns whose values no two rows may share (HEX data compared as bytes); a repeat "
                              "refuses the run before any file is written. Repeatable."),
               QStringLiteral("COL[,COL...]")});
    addOption({kSkipExistingOption,
               QStringLiteral("Keep the rows' files that are there already, as after an interrupted run, and write "
                              "the others.")});
    addOption(countOption());
    addOption(setOption());
    addOption(stateOption());
    addOption(hashOption());
    addOption({kManifestOption,
               QStringLiteral("Record each row: its CSV line, the records' values, the file, its SHA-256 and the outcome; "
                              "CSV, or JSON Lines for a .json name. Kept as FILE.partial until the run ends."),
               QStringLiteral("FILE")});
    addOption(overwriteOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

ImageSetup BatchCommand::imageSetup(const QCommandLineParser& parser)
{
    if (!parser.isSet(kImageOption))
        return {};
    ImageChoice image{.path = parser.value(kImageOption), .startAddress = startAddressAnswer(parser),
                      .outside = keyBytesOutside(parser)};
    if (!readableOrMissing(image.path, console))
        return {.exitCode = kExitUsage};
    if (const QString misplaced = startOptionProblem(parser, image.path); !misplaced.isEmpty())
        return {.exitCode = usageError(misplaced)};
    // What every row would meet in the image is said once, before the rows.
    QString problem;
    if (!QFileInfo(image.path).isFile())
        problem = image.path + QStringLiteral(": ") + kObjectFileNotFoundMessage;
    else if (const ObjectFileRecognition seen = examineObjectFile(image.path); seen.damage)
        problem = damagedObjectFileText(image.path, *seen.damage);
    else if (seen.kind == ObjectFileKind::Binary) {
        const StartAddressReply start = askStartAddressOf(image.startAddress);
        problem = start.cancelled ? startAddressNeeded(image.path) : start.error;
    }
    if (!problem.isEmpty()) {
        console.message(problem);
        return {.exitCode = kExitRefused};
    }
    return {.image = std::move(image)};
}

std::optional<QList<CsvRow>> BatchCommand::readRows(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        console.message(path + QStringLiteral(": cannot be read: ") + file.errorString());
        return std::nullopt;
    }
    CsvReader reader(file);
    QList<CsvRow> rows;
    for (CsvRow row;;) {
        switch (reader.next(row)) {
        case CsvReader::Status::Row: rows.append(row); break;
        case CsvReader::Status::End: return rows;
        case CsvReader::Status::Error: console.message(path + QStringLiteral(": ") + reader.errorText()); return std::nullopt;
        }
    }
}

QString BatchCommand::columnsProblem(const QStringList& header, const RecordColumns& columns,
                                     const FileNamePattern& pattern, const QStringList& ignored,
                                     const QStringList& unique)
{
    QStringList problems;
    for (const QString& name : ignored + unique)
        if (!header.contains(name))
            problems << QStringLiteral("The CSV header has no column \"%1\".").arg(name);
    for (qsizetype column = 0; column < header.size(); ++column) {
        const QString& name = header.at(column);
        if (!columns.extraColumns().contains(name) || ignored.contains(name) || pattern.columnNames().contains(name))
            continue;
        problems << (name.isEmpty()
                         ? QStringLiteral("CSV column %1 has no name; --ignore-column \"\" leaves it unused.").arg(column + 1)
                         : QStringLiteral("The column \"%1\" names no record of the template and is not in the "
                                          "pattern; --ignore-column \"%1\" leaves it unused.")
                               .arg(name));
    }
    problems.removeDuplicates();
    return problems.join(QLatin1Char('\n'));
}

bool BatchCommand::allUnique(const QList<CsvRow>& rows, const QStringList& header, const QStringList& unique,
                             const RecordColumns& columns, const Document& templateDocument)
{
    bool distinct = true;
    for (const QString& name : unique) {
        const qsizetype column = header.indexOf(name);
        const bool hex = columns.isHexColumn(column, templateDocument);
        QHash<QString, qint64> lineOf;
        for (const CsvRow& row : rows) {
            // An empty value or a short row refuses its row on its own.
            if (column >= row.fields.size() || row.fields.at(column).isEmpty())
                continue;
            const QString& value = row.fields.at(column);
            const QString key = hex ? value.toUpper() : value;
            if (const auto earlier = lineOf.constFind(key); earlier != lineOf.cend()) {
                console.message(QStringLiteral("CSV line %1: the column \"%2\" repeats the value of CSV line %3: %4.")
                                    .arg(row.line)
                                    .arg(name)
                                    .arg(*earlier)
                                    .arg(shownValue(value)));
                distinct = false;
            } else {
                lineOf.insert(key, row.line);
            }
        }
    }
    return distinct;
}

int BatchCommand::run(const QCommandLineParser& parser)
{
    const QString templatePath = parser.positionalArguments().at(0);
    const QString csvPath = parser.positionalArguments().value(1);
    const bool counted = parser.isSet(countOption().names().constFirst());
    const qint64 count = parser.value(countOption().names().constFirst()).toLongLong();
    if (counted && !csvPath.isEmpty())
        return usageError(QStringLiteral("--count and DEVICES.csv exclude each other: the CSV's rows are the devices."));
    if (counted && (count < 1 || count > kMaxDevices))
        return usageError(QStringLiteral("--count takes a number of devices from 1 to %1.").arg(kMaxDevices));
    if (!counted && csvPath.isEmpty())
        return usageError(QStringLiteral("DEVICES.csv is missing; --count N runs N devices without one."));
    if (!parser.isSet(kOutputOption))
        return usageError(QStringLiteral("-o PATTERN is missing."));
    Parsed<FileNamePattern> pattern = FileNamePattern::parse(parser.value(kOutputOption));
    if (!pattern)
        return usageError(pattern.problem);
    const Parsed<SaveChoices> choices = saveChoices(parser);
    if (!choices)
        return usageError(choices.problem);
    if (const QString problem = keyFormatProblem(*choices, parser.value(kOutputOption), parser.isSet(kImageOption));
        !problem.isEmpty())
        return usageError(problem);
    const bool skipExisting = parser.isSet(kSkipExistingOption);
    if (skipExisting && choices->overwrite)
        return usageError(QStringLiteral("--skip-existing and --overwrite exclude each other."));
    const QStringList ignored = trimmedNames(parser.values(kIgnoreColumnOption));
    const QStringList unique = trimmedNames(parser.values(kUniqueOption).join(QLatin1Char(',')).split(QLatin1Char(',')));

    const InputDocument input = readInputDocument(templatePath, console);
    if (!input.document)
        return input.exitCode;
    Parsed<RecordHashes> hashes =
        RecordHashes::parse(parser.values(hashOption().names().constFirst()), *input.document, parser.isSet(kImageOption));
    if (!hashes)
        return usageError(hashes.problem);
    Parsed<ValueGenerators> generators =
        ValueGenerators::parse(parser.values(setOption().names().constFirst()), *input.document);
    if (!generators)
        return usageError(generators.problem);
    ImageSetup image = imageSetup(parser);
    if (image.exitCode != kExitSuccess)
        return image.exitCode;
    if (const QString problem = image.image ? hashes->readImage(image.image->path, image.image->startAddress) : QString();
        !problem.isEmpty()) {
        console.message(problem);
        return kExitRefused;
    }
    std::optional<QList<CsvRow>> rows = counted ? QList<CsvRow>{CsvRow{}} : readRows(csvPath);
    if (!rows)
        return kExitUsage;
    if (rows->isEmpty())
        return usageError(csvPath + QStringLiteral(" has no header line."));
    QStringList header = trimmedNames(rows->takeFirst().fields);
    for (qint64 device = 1; device <= (counted ? count : 0); ++device)
        rows->append(CsvRow{.fields = {}, .line = device});
    const QString statePath = parser.value(stateOption().names().constFirst());
    if (const QString problem = statePath.isEmpty() ? QString() : generators->useState(statePath); !problem.isEmpty())
        return usageError(problem);
    if (const QString problem = generators->runProblem(header, ignored, *input.document, rows->size()); !problem.isEmpty())
        return usageError(problem);
    if (const QString problem = statePath.isEmpty() ? QString() : generators->advanceState(statePath, rows->size());
        !problem.isEmpty())
        return usageError(problem);
    // Generated values are columns of every row, after the CSV's own.
    header += generators->names();
    for (qsizetype index = 0; index < rows->size(); ++index)
        (*rows)[index].fields += generators->valuesFor(index + 1);
    const Parsed<RecordColumns> columns = RecordColumns::fromHeader(header, *input.document, ignored);
    if (!columns)
        return usageError(columns.problem);
    if (const QString unbound = pattern->bind(header); !unbound.isEmpty())
        return usageError(unbound);
    if (const QString twice = hashes->columnProblem(header, ignored, *input.document); !twice.isEmpty())
        return usageError(twice);
    if (const QString problem =
            columnsProblem(header, *columns, *pattern, ignored, parser.isSet(kUniqueOption) ? unique : QStringList());
        !problem.isEmpty())
        return usageError(problem);
    if (rows->isEmpty()) {
        console.message(csvPath + QStringLiteral(": the header line is the only line; there is no row to write."));
        return kExitRefused;
    }
    if (parser.isSet(kUniqueOption) && !allUnique(*rows, header, unique, *columns, *input.document)) {
        console.message(QStringLiteral("No file was written: each device needs values of its own."));
        return kExitRefused;
    }

    std::unique_ptr<Manifest> manifest;
    if (parser.isSet(kManifestOption)) {
        manifest = Manifest::open(parser.value(kManifestOption), Manifest::recordNames(*input.document), choices->overwrite, console);
        if (!manifest)
            return kExitRefused;
    }
    RowWriter writer(console, *input.document, *columns, *pattern, *hashes, header.size(), *choices, skipExisting,
                     std::move(image.image), counted ? QStringLiteral("Device") : QStringLiteral("CSV line"));
    qsizetype refused = 0;
    int alike = 0;
    QString lastReason;
    for (const CsvRow& row : *rows) {
        const RowOutcome outcome = writer.write(row);
        if (manifest)
            manifest->add({.row = QStringLiteral("%1 %2").arg(writer.rowWord_).arg(row.line), .values = outcome.values,
                           .file = outcome.path, .outcome = statusName(outcome.status), .reason = outcome.reason});
        refused += outcome.status == RowStatus::Refused || outcome.status == RowStatus::Failed ? 1 : 0;
        if (outcome.status != RowStatus::Failed)
            alike = 0;
        else
            alike = alike > 0 && outcome.reason == lastReason ? alike + 1 : 1;
        lastReason = outcome.reason;
        if (alike == kAlikeFailuresToStop) {
            console.message(QStringLiteral("Stopped after %5 %1: %2 rows in a row could not be written (%3: %4); "
                                           "the rows after it were not tried.")
                                .arg(row.line)
                                .arg(kAlikeFailuresToStop)
                                .arg(outcome.path, outcome.reason, writer.rowWord_));
            if (manifest)
                (void)manifest->finish(console);
            return kExitUsage;
        }
    }
    if (manifest && !manifest->finish(console))
        return kExitUsage;
    if (refused == 0)
        return kExitSuccess;
    console.message(QStringLiteral("%1 of %2 rows were not written.").arg(refused).arg(rows->size()));
    return kExitRefused;
}

} // namespace quorvane::cli
