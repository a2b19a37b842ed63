#include "version_box.h"

#include "program_icon.h"
#include "core/version_info.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quorvane {

namespace {

constexpr int kPictureSize = 48;

QLabel* namedLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

VersionBox::VersionBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Quorvane Version"));
    setWindowModality(Qt::ApplicationModal);

    icon_ = namedLabel("Picture1", this);
    icon_->setPixmap(programPixmap(kPictureSize));
    icon_->setFixedSize(kPictureSize, kPictureSize);
    versionLabel_ = namedLabel("Label1", this);
    copyrightLabel_ = namedLabel("Label2", this);
    companyLabel_ = namedLabel("Label3", this);
    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(versionLabel_);
    texts->addWidget(copyrightLabel_);
    texts->addWidget(companyLabel_);
    auto* top = new QHBoxLayout;
    top->addWidget(icon_, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    showVersion();
}

void VersionBox::showVersion()
{
    const VersionInfo& info = programVersion();
    versionLabel_->setText(versionLine(info));
    copyrightLabel_->setText(info.copyright);
    companyLabel_->setText(info.companyName);
}

} // namespace quorvane
