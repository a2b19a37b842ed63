#pragma once

#include "core/address_size.h"
#include "core/record_table.h"

#include <QString>

#include <functional>

// The checks and steps a save runs before the file is chosen, and the data
// fitting it runs after, in their fixed order, for the window's save command
// and any other program that writes KEY or template files.
namespace quorvane {

// Asks the user an OK/Cancel question; true for OK.
using ConfirmWarning = std::function<bool(const QString& text)>;

enum class SaveStepStatus {
    Continue,  // go on with the save
    Error,     // a check failed: show `errorText` as an error and stop
    Cancelled, // the user declined a warning: stop silently
};

struct SaveStepResult {
    SaveStepStatus status = SaveStepStatus::Continue;
    QString errorText;
};

// Records without an address or with illegal HEX data stop the save; missing
// sizes are filled in; oversized records are reported through `confirm` and
// cut on OK; odd HEX data is made whole bytes. Then key data that runs past
// FFFFFFFF stops the save, and key data the address size cannot hold (high
// digits it does not show, a last byte above its top) is reported through
// `confirm`: on OK it is saved in the size's digits. What the steps changed
// stays in the table even when the save stops. `confirm` is called with the
// table already holding the filled-in sizes, so the window can redraw first.
[[nodiscard]] SaveStepResult runPreSaveSteps(RecordTable& table, AddressSize size, const ConfirmWarning& confirm);

// Reports sizes that disagree with their data (for a template file only
// missing ones) through `confirm` and fits the data on OK.
[[nodiscard]] SaveStepResult runDataSizeStep(RecordTable& table, bool templateFile, const ConfirmWarning& confirm);

} // namespace quorvane
