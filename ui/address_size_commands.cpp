#include "form1.h"

#include "checks/srecord_limit.h"
#include "grid/grid_view.h"

namespace quorvane {

void Form1::addr16_Click()
{
    changeAddressSize(AddressSize::Bits16);
}

void Form1::addr24_Click()
{
    changeAddressSize(AddressSize::Bits24);
}

void Form1::addr32_Click()
{
    changeAddressSize(AddressSize::Bits32);
}

// The warning comes whenever the limit falls, whether or not a record is
// actually too large: the user decides before anything is cut. 16-bit has
// the largest limit, so choosing it never cuts.
void Form1::changeAddressSize(AddressSize requested)
{
    // Choosing a checkable item has already flipped its mark; the marks show
    // the mode and nothing else, whatever the user answers below.
    showAddressSize(document_.mode.current());
    if (needsAddressSizeWarning(document_.mode.current(), requested)
        && AddressSizeWarning() == qint16(MessageResult::Cancel))
        return;
    document_.mode.set(requested);
    if (requested != AddressSize::Bits16)
        TrimToSrecordLimit(); // redraws
    else
        grid_->redraw();
}

qint16 Form1::AddressSizeWarning()
{
    MessageRequest request;
    request.text = addressSizeWarningText();
    request.title = QStringLiteral("WARNING");
    request.buttons = MessageButtons::OkCancel;
    request.icon = MessageIcon::Exclamation;
    request.defaultButton = MessageResult::Ok;
    return qint16(modal_.messageBox(request));
}

void Form1::TrimToSrecordLimit()
{
    quorvane::TrimToSrecordLimit(document_.table, document_.mode.current());
    grid_->redraw();
}

} // namespace quorvane
