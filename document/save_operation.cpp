#include "save_operation.h"

#include "document_files.h"

#include "checks/address_sort.h"
#include "checks/save_sequence.h"
#include "files/atomic_save.h"
#include "files/intel_hex_writer.h"
#include "files/srecord_writer.h"
#include "files/template_file.h"

namespace quorvane {

namespace {

SaveResult fromStep(const SaveStepResult& step)
{
    switch (step.status) {
    case SaveStepStatus::Continue: return {};
    case SaveStepStatus::Error: return {SaveStatus::Refused, step.errorText};
    case SaveStepStatus::Cancelled: return {SaveStatus::Cancelled, {}};
    }
    return {};
}

ConfirmWarning askingThrough(Questions& questions)
{
    return [&questions](const QString& text) { return questions.confirmWarning(text); };
}

} // namespace

SaveResult prepareSave(Document& document, bool sortOn, Questions& questions)
{
    const AddressSize size = document.mode.current();
    if (SaveResult result = fromStep(runPreSaveSteps(document.table, size, askingThrough(questions))); !result.saved())
        return result;
    if (sortOn) {
        const CollisionReport collisions = Sort_AddressCheck(document.table, size);
        if (collisions.found)
            return {SaveStatus::Refused, collisions.message};
    }
    return {};
}

SaveResult fitDataSizes(Document& document, bool templateFile, Questions& questions)
{
    return fromStep(runDataSizeStep(document.table, templateFile, askingThrough(questions)));
}

namespace {

// The writer the name and the asked format choose.
QString writeFileAs(const QString& path, const Document& document, KeyFileFormat format)
{
    if (isTemplateFileName(path))
        return FormatSave(path, document);
    if (format == KeyFileFormat::ByName)
        format = isIntelHexFileName(path) ? KeyFileFormat::IntelHex : KeyFileFormat::SRecord;
    return format == KeyFileFormat::IntelHex ? IntelHexSave(path, document) : SRecodeSave(path, document);
}

QString writeDeviceAs(QIODevice& output, const QString& path, const Document& document, KeyFileFormat format)
{
    if (isTemplateFileName(path))
        return FormatSave(output, document);
    if (format == KeyFileFormat::ByName)
        format = isIntelHexFileName(path) ? KeyFileFormat::IntelHex : KeyFileFormat::SRecord;
    return format == KeyFileFormat::IntelHex ? IntelHexSave(output, document) : SRecodeSave(output, document);
}

} // namespace

SaveResult prepareKeyData(Document& document, bool sortOn, Questions& questions)
{
    if (SaveResult result = prepareSave(document, sortOn, questions); !result.saved())
        return result;
    return fitDataSizes(document, false, questions);
}

SaveResult writeDocumentFile(Document& document, const QString& path, Questions& questions, KeyFileFormat format)
{
    const bool templateFile = isTemplateFileName(path);
    if (SaveResult result = fitDataSizes(document, templateFile, questions); !result.saved())
        return result;
    if (!FileWriteTest(path).isEmpty())
        return {SaveStatus::Refused, kFileSaveErrorMessage};
    const QString error = writeFileAs(path, document, format);
    if (!error.isEmpty())
        return {SaveStatus::Refused, error};
    return {};
}

SaveResult writeDocumentFile(Document& document, const QString& path, QIODevice& output, Questions& questions,
                             KeyFileFormat format)
{
    if (SaveResult result = fitDataSizes(document, isTemplateFileName(path), questions); !result.saved())
        return result;
    if (const QString error = writeDeviceAs(output, path, document, format); !error.isEmpty())
        return {SaveStatus::Refused, error};
    return {};
}

SaveResult saveDocument(Document& document, const QString& path, bool sortOn, Questions& questions, KeyFileFormat format)
{
    if (SaveResult result = prepareSave(document, sortOn, questions); !result.saved())
        return result;
    return writeDocumentFile(document, path, questions, format);
}

} // namespace quorvane
