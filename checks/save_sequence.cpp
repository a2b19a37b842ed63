#include "save_sequence.h"

#include "save_checks.h"
#include "save_messages.h"
#include "srecord_limit.h"

namespace quorvane {

namespace {

SaveStepResult error(QString text) { return {SaveStepStatus::Error, std::move(text)}; }
SaveStepResult cancelled() { return {SaveStepStatus::Cancelled, {}}; }
SaveStepResult carryOn() { return {}; }

} // namespace

SaveStepResult runPreSaveSteps(RecordTable& table, AddressSize size, const ConfirmWarning& confirm)
{
    if (const QString list = AddressEmptyCheck(table); !list.isEmpty())
        return error(noAddressMessage(list));
    if (const QString list = CheckHEXData(table); !list.isEmpty())
        return error(illegalHexDataMessage(list));
    FillMissingSizes(table);
    if (const QString list = CheckSrecordTotalSize(table, size); !list.isEmpty()) {
        if (!confirm(srecordSizeExceededMessage(list)))
            return cancelled();
        TrimToSrecordLimit(table, size);
    }
    PadOddHexData(table);
    return carryOn();
}

SaveStepResult runDataSizeStep(RecordTable& table, bool templateFile, const ConfirmWarning& confirm)
{
    if (const QString list = CheckDataSize(table, templateFile); !list.isEmpty()) {
        if (!confirm(dataSizeDifferentMessage(list)))
            return cancelled();
        FitDataToSize(table);
    }
    return carryOn();
}

} // namespace quorvane
