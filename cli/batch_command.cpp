#include "batch_command.h"

#include "batch_output.h"
#include "file_name_pattern.h"
#include "image_options.h"
#include "input_document.h"
#include "manifest.h"
#include "ordered_work.h"
#include "progress_line.h"
#include "record_columns.h"
#include "record_hashes.h"
#include "saving.h"
#include "value_generators.h"

#include "document/image_merge_operation.h"
#include "files/atomic_save.h"
#include "files/file_error.h"
#include "image/recognition.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");
const QString kImageOption = QStringLiteral("image");
const QString kIgnoreColumnOption = QStringLiteral("ignore-column");
const QString kUniqueOption = QStringLiteral("unique");
const QString kSkipExistingOption = QStringLiteral("skip-existing");
const QString kManifestOption = QStringLiteral("manifest");
const QString kSyncOption = QStringLiteral("sync");
const QString kJobsOption = QStringLiteral("jobs");

// More threads than this only wait on the disk.
constexpr int kMaxJobs = 64;

// Bounds --count to what a production lot can be, and the values made
// before the first file to what memory holds.
constexpr qint64 kMaxDevices = 1'000'000;

Parsed<bool> syncEachChoice(const QCommandLineParser& parser)
{
    const QString sync = parser.value(kSyncOption);
    if (parser.isSet(kSyncOption) && sync != QLatin1String("end") && sync != QLatin1String("each"))
        return Parsed<bool>::refused(QStringLiteral("--sync takes end or each, not \"%1\".").arg(sync));
    return {sync == QLatin1String("each")};
}

Parsed<int> jobsChoice(const QCommandLineParser& parser)
{
    // Each merged image is written out before its row ends, so its thread
    // waits on the disk for a good part of the time.
    if (!parser.isSet(kJobsOption))
        return {std::clamp(QThread::idealThreadCount() * (parser.isSet(kImageOption) ? 2 : 1), 1, kMaxJobs)};
    bool number = false;
    const int jobs = parser.value(kJobsOption).toInt(&number);
    if (!number || jobs < 1 || jobs > kMaxJobs)
        return Parsed<int>::refused(QStringLiteral("--jobs takes a number of rows from 1 to %1.").arg(kMaxJobs));
    return {jobs};
}

QStringList trimmedNames(const QStringList& header)
{
    QStringList names;
    for (const QString& name : header)
        names << name.trimmed();
    return names;
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
    addOption({kSyncOption,
               QStringLiteral("When the files reach the disk: end (the default) writes each under a temporary name "
                              "\".NAME.quorvane-XXXXXX\" beside its own, syncs once every 2000 files and at the end, "
                              "then gives the files their names; each syncs every file as it is written."),
               QStringLiteral("end|each")});
    addOption({kJobsOption,
               QStringLiteral("Rows written side by side (the default: one per processor core, two with --image, "
                              "whose rows wait on the disk); the files, the log and the manifest keep the rows' order. "
                              "1 writes one row after another."),
               QStringLiteral("N")});
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
    const Parsed<bool> syncEach = syncEachChoice(parser);
    if (!syncEach)
        return usageError(syncEach.problem);
    const Parsed<int> jobs = jobsChoice(parser);
    if (!jobs)
        return usageError(jobs.problem);
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
    RowWriter writer({.templateDocument = *input.document, .columns = *columns, .pattern = *pattern, .hashes = *hashes,
                      .fieldCount = header.size(), .choices = *choices, .skipExisting = skipExisting,
                      .image = std::move(image.image), .syncEach = *syncEach, .hashContent = manifest != nullptr,
                      .rowWord = counted ? QStringLiteral("Device") : QStringLiteral("CSV line")});
    BatchOutput output(console, manifest.get(),
                       {.syncEach = *syncEach, .overwrite = choices->overwrite, .skipExisting = skipExisting,
                        .rowWord = writer.rowWord()});
    writeRows(*rows, writer, output, *jobs);
    const bool finished = output.finish();
    if (manifest && !manifest->finish(console))
        return kExitUsage;
    if (output.stopped() || !finished)
        return kExitUsage;
    if (output.notWritten() == 0)
        return kExitSuccess;
    console.message(QStringLiteral("%1 of %2 rows were not written.").arg(output.notWritten()).arg(rows->size()));
    return kExitRefused;
}

void BatchCommand::writeRows(const QList<CsvRow>& rows, RowWriter& writer, BatchOutput& output, int jobs)
{
    ProgressLine progress(console, rows.size());
    // A few rows ahead of the output per thread: enough to keep every core
    // busy, few enough that memory holds only a handful of rows in flight.
    OrderedWork<RowOutcome> work(jobs, 2 * jobs);
    // Hands every outcome that is ready to the output; waits for the next
    // while as many rows as allowed are in flight, or for all at the end.
    const auto take = [&](bool toTheEnd) {
        while (std::optional<RowOutcome> outcome = work.next(toTheEnd || work.full())) {
            progress.rowDone();
            if (!output.add(std::move(*outcome)))
                return false;
        }
        return true;
    };
    for (const CsvRow& row : rows) {
        std::variant<RowOutcome, RowWork> checked = writer.check(row);
        if (RowOutcome* outcome = std::get_if<RowOutcome>(&checked))
            work.add(std::move(*outcome));
        else
            work.submit([&writer, rowWork = std::get<RowWork>(std::move(checked))] { return writer.write(rowWork); });
        if (!take(false))
            break;
    }
    if (!output.stopped())
        (void)take(true);
    for (const RowOutcome& outcome : work.cancel())
        BatchOutput::discard(outcome);
}

} // namespace quorvane::cli
