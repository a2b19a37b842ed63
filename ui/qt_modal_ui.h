#pragma once

#include "modal_ui.h"

#include <QProgressDialog>
#include <QStringList>

#include <memory>

namespace quorvane {

// The modal questions as real Qt dialogs, modal to the whole application and
// parented to the active window. File dialogs are Qt's own (not the desktop's)
// so that they look and behave the same everywhere.
class QtModalUi final : public ModalUi {
public:
    [[nodiscard]] MessageResult messageBox(const MessageRequest& request) override;
    [[nodiscard]] FileDialogResult fileDialog(const FileDialogRequest& request) override;
    [[nodiscard]] std::optional<QString> startAddress() override;
    [[nodiscard]] std::optional<QString> askText(const TextRequest& request) override;
    [[nodiscard]] bool progress(const QString& label, qint64 done, qint64 total) override;
    void progressFinished() override;

private:
    std::unique_ptr<QProgressDialog> progress_;
};

// "Desc|pattern|Desc|pattern" as Qt name filters, one per entry, in order.
// Letter patterns also match their lower-case form, because file names on
// this platform are case-sensitive and a "*.KEY" filter would hide "a.key".
[[nodiscard]] QStringList qtNameFilters(const QString& filter);

} // namespace quorvane
