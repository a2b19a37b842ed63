#include "address_size_command.h"

#include "document/address_size_change.h"
#include "document/document_history.h"
#include "grid/grid_view.h"

#include <QAction>
#include <QWidget>

namespace quorvane {

AddressSizeCommand::AddressSizeCommand(EditorContext& context)
    : context_(context), bits16_(createAction(context, "addr16", QStringLiteral("16bit(&1)"))),
      bits24_(createAction(context, "addr24", QStringLiteral("24bit(&2)"))),
      bits32_(createAction(context, "addr32", QStringLiteral("32bit(&3)")))
{
    const std::pair<QAction*, AddressSize> sizes[] = {
        {bits16_, AddressSize::Bits16}, {bits24_, AddressSize::Bits24}, {bits32_, AddressSize::Bits32}};
    for (const auto& [action, size] : sizes) {
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, &context_.window, [this, size = size] {
            // Choosing a checkable item has already flipped its mark; the
            // marks show the mode, whatever the user answers.
            showMode(context_.document.mode.current());
            choose(size);
        });
    }
    context_.document.mode.addListener([this](AddressSize size) { showMode(size); });
}

QList<QAction*> AddressSizeCommand::actions() const
{
    return {bits16_, bits24_, bits32_};
}

void AddressSizeCommand::choose(AddressSize requested)
{
    ModalQuestions questions(context_);
    if (changeAddressSize(context_.document, requested, questions)) {
        (void)context_.history.record(QStringLiteral("Address size %1 bit").arg(int(requested)));
        context_.grid.redraw();
    }
}

void AddressSizeCommand::showMode(AddressSize current)
{
    bits16_->setChecked(current == AddressSize::Bits16);
    bits24_->setChecked(current == AddressSize::Bits24);
    bits32_->setChecked(current == AddressSize::Bits32);
}

} // namespace quorvane
