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

Form2::Form2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Extract KEY Data"));
    setWindowModality(Qt::ApplicationModal);

    auto* prompt = new QLabel(QStringLiteral("Input Start Address(HEX)"), this);
    Text_StartAddress = new QLineEdit(this);
    Text_StartAddress->setObjectName(QStringLiteral("Text_StartAddress"));
    Text_StartAddress->setMaxLength(kStartAddressDigits);
    Text_StartAddress->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Only typed hex digits may enter: no paste from a context menu either.
    Text_StartAddress->setContextMenuPolicy(Qt::NoContextMenu);
    Text_StartAddress->installEventFilter(this);

    btn_InputOK = new QPushButton(QStringLiteral("OK"), this);
    btn_InputOK->setObjectName(QStringLiteral("btn_InputOK"));
    btn_InputOK->setDefault(true);
    btn_InputCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btn_InputCancel->setObjectName(QStringLiteral("btn_InputCancel"));
    connect(btn_InputOK, &QPushButton::clicked, this, &Form2::btn_InputOK_Click);
    connect(btn_InputCancel, &QPushButton::clicked, this, &Form2::btn_InputCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_InputOK);
    buttons->addWidget(btn_InputCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(Text_StartAddress);
    layout->addLayout(buttons);
}

// The field's key filter: hex digits pass (a-f as A-F), editing and dialog
// keys pass, every other character and the paste shortcuts are dropped.
bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Text_StartAddress || event->type() != QEvent::KeyPress)
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
        Text_StartAddress->insert(QString(QChar(upperHexDigit(typed))));
        return true;
    }
    return false;
}

void Form2::btn_InputOK_Click()
{
    startAddress_ = Text_StartAddress->text();
    startAddressOk_ = true;
    accept();
}

void Form2::btn_InputCancel_Click()
{
    reject();
}

} // namespace quorvane
