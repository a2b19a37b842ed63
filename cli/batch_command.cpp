#include "batch_command.h"

#include "console_questions.h"
#include "file_name_pattern.h"
#include "image_options.h"
#include "input_document.h"
#include "record_columns.h"
#include "saving.h"

#include "document/image_merge_operation.h"
#include "files/object_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

const QString kOutputOption = QStringLiteral("output");
const QString kImageOption = QStringLiteral("image");

QStringList trimmedNames(const QStringList& header)
{
    QStringList names;
    for (const QString& name : header)
        names << name.trimmed();
    return names;
}

// Writes the files of the rows one by one; a row that fails writes nothing
// and the next one goes on.
class RowWriter {
public:
    RowWriter(Console& console, const Document& templ, const RecordColumns& columns, const FileNamePattern& pattern,
              qsizetype fieldCount, SaveChoices choices, std::optional<ImageChoice> image)
        : console_(console), template_(templ), columns_(columns), pattern_(pattern), fieldCount_(fieldCount),
          choices_(choices), image_(std::move(image)), questions_(console, choices.answerYes)
    {
    }

    // False when the row was refused (and reported).
    [[nodiscard]] bool write(const CsvRow& row);

private:
    [[nodiscard]] bool refuse(const QString& context, const QString& why)
    {
        console_.message(context + why);
        return false;
    }

    // The row's file: the document saved, or its key data in the image.
    [[nodiscard]] bool writeFile(Document& document, const QString& path, const QString& context);

    Console& console_;
    const Document& template_;
    const RecordColumns& columns_;
    const FileNamePattern& pattern_;
    const qsizetype fieldCount_;
    const SaveChoices choices_;
    const std::optional<ImageChoice> image_;
    ConsoleQuestions questions_;
    // Each file is written by one row only: a serial twice in the list is
    // a mistake that must not silently replace the first device's file.
    QHash<QString, qint64> rowOfFile_;
};

bool RowWriter::write(const CsvRow& row)
{
    const QString context = QStringLiteral("CSV line %1: ").arg(row.line);
    if (row.fields.size() != fieldCount_)
        return refuse(context, QStringLiteral("%1 fields where the header has %2.").arg(row.fields.size()).arg(fieldCount_));
    const FileNamePattern::FileName name = pattern_.fileNameFor(row.fields);
    if (!name.problem.isEmpty())
        return refuse(context, name.problem);
    const QString absolute = QDir::cleanPath(QFileInfo(name.path).absoluteFilePath());
    if (const auto earlier = rowOfFile_.constFind(absolute); earlier != rowOfFile_.cend())
        return refuse(context, QStringLiteral("the file name \"%1\" is that of CSV line %2.").arg(name.path).arg(*earlier));
    rowOfFile_.insert(absolute, row.line);

    Document document = template_;
    if (const QString problem = columns_.apply(row.fields, document); !problem.isEmpty())
        return refuse(context, problem);
    questions_.setContext(context);
    if (!writeFile(document, name.path, context))
        return false;
    console_.print(context + QStringLiteral("wrote ") + name.path);
    return true;
}

bool RowWriter::writeFile(Document& document, const QString& path, const QString& context)
{
    SaveResult result = image_ ? prepareKeyData(document, choices_.sortOn, questions_)
                               : prepareSave(document, choices_.sortOn, questions_);
    if (!result.saved())
        return reportSave(result, context, console_) == kExitSuccess;
    // Folders the pattern's columns name are made as the files need them.
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image_)
        return reportSave(writeDocumentFile(document, path, questions_), context, console_) == kExitSuccess;
    const ImageOperationResult merged = writeKeyDataIntoImage(document, image_->path, path, image_->startAddress,
                                                              {.outside = image_->outside, .questions = nullptr, .progress = {}});
    if (reportImageOperation(merged, image_->path, QString(), context, console_) != kExitSuccess)
        return false;
    printMergeNotes(merged.lines, context, console_);
    return true;
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
                                  "records text; other records keep the template's data, every record its size.")});
    addOption({{QStringLiteral("o"), kOutputOption},
               QStringLiteral("The file names, from the row's columns: out/{serial}.KEY (required). A .639 name "
                              "writes templates."),
               QStringLiteral("PATTERN")});
    addOption({kImageOption,
               QStringLiteral("Write each row's key data into a copy of this S-record, Intel HEX or binary image, "
                              "named by the pattern, instead of a KEY file."),
               QStringLiteral("IMAGE")});
    addOption(startAddressOption());
    addOption(allowOutsideOption());
    for (const QCommandLineOption& option : saveOptions())
        addOption(option);
}

std::optional<ImageChoice> BatchCommand::imageChoice(const QCommandLineParser& parser, int& exitCode)
{
    exitCode = kExitSuccess;
    if (!parser.isSet(kImageOption))
        return std::nullopt;
    ImageChoice image{.path = parser.value(kImageOption), .startAddress = startAddressAnswer(parser),
                      .outside = keyBytesOutside(parser)};
    if (!readableOrMissing(image.path, console)) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    if (const QString misplaced = startOptionProblem(parser, image.path); !misplaced.isEmpty()) {
        exitCode = usageError(misplaced);
        return std::nullopt;
    }
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
        exitCode = kExitRefused;
        return std::nullopt;
    }
    return image;
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

int BatchCommand::run(const QCommandLineParser& parser)
{
    const QString templatePath = parser.positionalArguments().at(0);
    const QString csvPath = parser.positionalArguments().at(1);
    if (!parser.isSet(kOutputOption))
        return usageError(QStringLiteral("-o PATTERN is missing."));
    QString problem;
    std::optional<FileNamePattern> pattern = FileNamePattern::parse(parser.value(kOutputOption), problem);
    if (!pattern)
        return usageError(problem);
    const std::optional<SaveChoices> choices = saveChoices(parser, problem);
    if (!choices)
        return usageError(problem);

    const InputDocument input = readInputDocument(templatePath, console);
    if (!input.document)
        return input.exitCode;
    int exitCode = kExitSuccess;
    std::optional<ImageChoice> image = imageChoice(parser, exitCode);
    if (exitCode != kExitSuccess)
        return exitCode;
    const std::optional<QList<CsvRow>> rows = readRows(csvPath);
    if (!rows)
        return kExitUsage;
    if (rows->isEmpty())
        return usageError(csvPath + QStringLiteral(" has no header line."));
    const QStringList header = rows->constFirst().fields;
    const std::optional<RecordColumns> columns = RecordColumns::fromHeader(header, *input.document, problem);
    if (!columns)
        return usageError(problem);
    if (!pattern->bind(trimmedNames(header), problem))
        return usageError(problem);
    for (const QString& extra : columns->extraColumns())
        if (!extra.isEmpty() && !pattern->columnNames().contains(extra))
            console.message(QStringLiteral("Note: the column \"%1\" names no record of the template and is not in "
                                           "the pattern; it is not used.")
                                .arg(extra));

    RowWriter writer(console, *input.document, *columns, *pattern, header.size(), *choices, std::move(image));
    qsizetype refused = 0;
    for (qsizetype i = 1; i < rows->size(); ++i)
        refused += writer.write(rows->at(i)) ? 0 : 1;
    if (refused == 0)
        return kExitSuccess;
    console.message(QStringLiteral("%1 of %2 rows were not written.").arg(refused).arg(rows->size() - 1));
    return kExitRefused;
}

} // namespace quorvane::cli
