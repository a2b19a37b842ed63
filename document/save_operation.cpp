#include "save_operation.h"

#include "document_files.h"

#include "checks/address_sort.h"
#include "checks/save_sequence.h"
#include "files/atomic_save.h"
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

SaveResult prepareKeyData(Document& document, bool sortOn, Questions& questions)
{
    if (SaveResult result = prepareSave(document, sortOn, questions); !result.saved())
        return result;
    return fitDataSizes(document, false, questions);
}

SaveResult writeDocumentFile(Document& document, const QString& path, Questions& questions)
{
    const bool templateFile = isTemplateFileName(path);
    if (SaveResult result = fitDataSizes(document, templateFile, questions); !result.saved())
        return result;
    if (!FileWriteTest(path).isEmpty())
        return {SaveStatus::Refused, kFileSaveErrorMessage};
    const QString error = templateFile ? FormatSave(path, document) : SRecodeSave(path, document);
    if (!error.isEmpty())
        return {SaveStatus::Refused, error};
    return {};
}

SaveResult saveDocument(Document& document, const QString& path, bool sortOn, Questions& questions)
{
    if (SaveResult result = prepareSave(document, sortOn, questions); !result.saved())
        return result;
    return writeDocumentFile(document, path, questions);
}

} // namespace quorvane
