#include "image_options.h"

#include "console_questions.h"
#include "exit_codes.h"
#include "input_document.h"

#include "document/save_operation.h"
#include "image/recognition.h"

#include <QFile>
#include <QFileInfo>

namespace quorvane::cli {

namespace {

const QString kStart = QStringLiteral("start");

} // namespace

QCommandLineOption startAddressOption()
{
    return {kStart,
            QStringLiteral("The address of the first byte when the image is a raw binary file (1 to 8 hex digits); "
                           "S-record and Intel HEX files carry their own addresses."),
            QStringLiteral("HEX")};
}

std::optional<QString> startAddressText(const QCommandLineParser& parser)
{
    if (!parser.isSet(kStart))
        return std::nullopt;
    return parser.value(kStart);
}

QString startAddressNeeded(const QString& imagePath)
{
    return QStringLiteral("%1: neither S-records nor Intel HEX, so a binary image: --start HEX must give the address "
                          "of its first byte.")
        .arg(imagePath);
}

QString startOptionProblem(const QCommandLineParser& parser, const QString& imagePath)
{
    if (!parser.isSet(kStart) || !QFileInfo(imagePath).isFile())
        return {};
    const ObjectFileKind kind = recognizeObjectFile(imagePath);
    if (kind != ObjectFileKind::Srecord && kind != ObjectFileKind::IntelHex)
        return {};
    return QStringLiteral("--start is only for a binary image; %1 is an %2 file, which carries its own addresses.")
        .arg(imagePath, formatName(kind));
}

bool readableOrMissing(const QString& path, Console& console)
{
    if (!QFileInfo(path).isFile())
        return true;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return true;
    console.message(path + QStringLiteral(": cannot be read: ") + file.errorString());
    return false;
}

StartAddressQuestion startAddressAnswer(const QCommandLineParser& parser)
{
    return [start = startAddressText(parser)] { return start; };
}

int prepareKeyDataForImage(Document& document, const SaveChoices& choices, Console& console)
{
    ConsoleQuestions questions(console, choices.answerYes);
    return reportSave(prepareKeyData(document, choices.sortOn, questions), QString(), console);
}

void reportImageFailure(const QString& message, const QString& imagePath, const QString& context, Console& console)
{
    console.message(context + message);
    // The editor's text names no file; a script's log must.
    if (message == kObjectFileNotFoundMessage)
        console.message(context + QStringLiteral("FILE: ") + imagePath);
}

int reportImageOperation(const ImageOperationResult& result, const QString& imagePath, const QString& keysPath,
                         const QString& context, Console& console)
{
    switch (result.status) {
    case ImageOperationStatus::Done:
    case ImageOperationStatus::Differs:
        return kExitSuccess;
    case ImageOperationStatus::NothingToDo:
        console.message(context + keysPath + QStringLiteral(": no record has data; there is nothing to put into an image."));
        break;
    case ImageOperationStatus::Cancelled:
        // Nothing else is asked: only the start address can be missing.
        console.message(context + startAddressNeeded(imagePath));
        break;
    case ImageOperationStatus::Failed:
        reportImageFailure(result.message, imagePath, context, console);
        break;
    case ImageOperationStatus::OutsideData:
        console.message(context + result.message);
        console.message(context + QStringLiteral("Nothing written; --allow-outside adds them as new data lines."));
        break;
    }
    return kExitRefused;
}

QCommandLineOption allowOutsideOption()
{
    return {QStringLiteral("allow-outside"),
            QStringLiteral("Add key data that lies where an S-record or Intel HEX image has no data as new data "
                           "lines, with a note, instead of refusing it.")};
}

KeyBytesOutside keyBytesOutside(const QCommandLineParser& parser)
{
    return parser.isSet(allowOutsideOption()) ? KeyBytesOutside::Add : KeyBytesOutside::Refuse;
}

void printMergeNotes(const QStringList& notes, const QString& context, Console& console)
{
    for (const QString& note : notes)
        console.message(context + QStringLiteral("Note: ") + note + QStringLiteral(" Added as new data lines."));
}

} // namespace quorvane::cli
