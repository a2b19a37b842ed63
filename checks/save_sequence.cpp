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
    // Before the address sort cuts the high digits a narrower size hides,
    // and whether or not it runs: both writers put only the size's digits in
    // the file, and an S-record line cannot reach past the size's top.
    if (const std::vector<Slot> hits = recordsBeyondAddressSize(table, AddressSize::Bits32); !hits.empty())
        return error(addressOverflowErrorText(table, hits));
    if (const std::vector<Slot> hits = recordsBeyondAddressSize(table, size); !hits.empty()) {
        if (!confirm(addressMoveWarningText(table, hits)))
            return cancelled();
    }
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
