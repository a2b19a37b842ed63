#include "start_address_dialog.h"

#include "core/hex_digits.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

namespace {

constexpr int kStartAddressDigits = 8;


} // namespace

StartAddressDialog::StartAddressDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Extract KEY Data"));
    setWindowModality(Qt::ApplicationModal);

    auto* prompt = new QLabel(QStringLiteral("Input Start Address(HEX)"), this);
    addressField_ = new QLineEdit(this);
    addressField_->setObjectName(QStringLiteral("Text_StartAddress"));
    addressField_->setMaxLength(kStartAddressDigits);
    addressField_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Only typed hex digits may enter: no paste from a context menu either.
    addressField_->setContextMenuPolicy(Qt::NoContextMenu);
    addressField_->installEventFilter(this);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("btn_InputOK"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("btn_InputCancel"));
    connect(okButton_, &QPushButton::clicked, this, &StartAddressDialog::acceptTypedAddress);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(addressField_);
    layout->addLayout(buttons);
}

// The field's key filter: hex digits pass (a-f as A-F), editing and dialog
// keys pass, every other character and the paste shortcuts are dropped.
bool StartAddressDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != addressField_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString text = key->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return false;
    const char16_t typed = text.at(0).unicode();
    if (!isHexDigit(typed))
        return true;
    if (isLowerHexLetter(typed)) {
        addressField_->insert(QString(QChar(upperHexDigit(typed))));
        return true;
    }
    return false;
}

void StartAddressDialog::acceptTypedAddress()
{
    startAddress_ = addressField_->text();
    accepted_ = true;
    accept();
}

} // namespace quorvane
