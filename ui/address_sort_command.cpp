#include "address_sort_command.h"

#include <QAction>
#include <QWidget>

namespace quorvane {

AddressSortCommand::AddressSortCommand(EditorContext& context, std::function<void(bool)> showSortOff)
    : context_(context), showSortOff_(std::move(showSortOff)),
      sortOn_(createAction(context, "DoSort", QStringLiteral("Address Sort On(&N)"))),
      sortOff_(createAction(context, "DoSort2", QStringLiteral("Address Sort Off(&F)")))
{
    sortOn_->setCheckable(true);
    sortOff_->setCheckable(true);
    QObject::connect(sortOn_, &QAction::triggered, &context_.window, [this] { setSortOn(true); });
    QObject::connect(sortOff_, &QAction::triggered, &context_.window, [this] { setSortOn(false); });
}

void AddressSortCommand::setSortOn(bool on)
{
    sortOn_->setChecked(on);
    sortOff_->setChecked(!on);
    showSortOff_(!on);
    context_.settings.SortOn = on ? 1 : 0;
}

} // namespace quorvane
