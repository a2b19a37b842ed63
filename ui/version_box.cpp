#include "version_box.h"

#include "program_icon.h"
#include "version_info.h"

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

Form3::Form3(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Quorvane Version"));
    setWindowModality(Qt::ApplicationModal);

    Picture1 = namedLabel("Picture1", this);
    Picture1->setPixmap(programPixmap(kPictureSize));
    Picture1->setFixedSize(kPictureSize, kPictureSize);
    Label1 = namedLabel("Label1", this);
    Label2 = namedLabel("Label2", this);
    Label3 = namedLabel("Label3", this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label1);
    texts->addWidget(Label2);
    texts->addWidget(Label3);
    auto* top = new QHBoxLayout;
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void Form3::Form_Load()
{
    const VersionInfo& info = programVersion();
    Label1->setText(versionLine(info));
    Label2->setText(info.copyright);
    Label3->setText(info.companyName);
}

void Form3::Command1_Click()
{
    accept();
}

} // namespace quorvane
