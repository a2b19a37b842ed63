#include "form1.h"

#include "program_icon.h"

#include "grid/grid_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace quorvane {

Form1::Form1(ModalUi& modal, const QString& applicationFolder, QWidget* parent)
    : QMainWindow(parent), modal_(modal), applicationFolder_(applicationFolder)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramCaption);
    setWindowIcon(programIcon());

    grid_ = new GridView(document_, state_, [this] { TitileSet(); }, this);
    grid_->setObjectName(QStringLiteral("grid"));
    createMenus();
    createLayout();
    document_.mode.addListener([this](AddressSize size) { showAddressSize(size); });

    Form_Load();
}

QAction* Form1::addMenuAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void Form1::createMenus()
{
    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        // Every command sees the table as the grid shows it.
        connect(menu, &QMenu::aboutToShow, grid_, &GridView::CommitGrid);
        return menu;
    };

    FILE = addMenu("FILE", QStringLiteral("File(&F)"));
    new_ = addMenuAction(FILE, "new", QStringLiteral("New(&N)"));
    FILE->addSeparator();
    FileOpen = addMenuAction(FILE, "FileOpen", QStringLiteral("File Open(&O)..."));
    FileSave = addMenuAction(FILE, "FileSave", QStringLiteral("File Save(&S)..."));
    FILE->addSeparator();
    KEY_extract = addMenuAction(FILE, "KEY_extract", QStringLiteral("Extract KEY Data(&E)..."));
    FILE->addSeparator();
    END = addMenuAction(FILE, "END", QStringLiteral("End(&X)"));
    // Their commands are not part of the editor yet.
    for (QAction* pending : {new_, FileOpen, FileSave, KEY_extract, END})
        pending->setEnabled(false);

    addresssize = addMenu("addresssize", QStringLiteral("AddressSize(&A)"));
    addr16 = addMenuAction(addresssize, "addr16", QStringLiteral("16bit(&1)"));
    addr24 = addMenuAction(addresssize, "addr24", QStringLiteral("24bit(&2)"));
    addr32 = addMenuAction(addresssize, "addr32", QStringLiteral("32bit(&3)"));
    for (QAction* size : {addr16, addr24, addr32})
        size->setCheckable(true);
    connect(addr16, &QAction::triggered, this, &Form1::addr16_Click);
    connect(addr24, &QAction::triggered, this, &Form1::addr24_Click);
    connect(addr32, &QAction::triggered, this, &Form1::addr32_Click);

    option = addMenu("option", QStringLiteral("Option(&O)"));
    DoSort = addMenuAction(option, "DoSort", QStringLiteral("Address Sort On(&N)"));
    DoSort2 = addMenuAction(option, "DoSort2", QStringLiteral("Address Sort Off(&F)"));
    DoSort->setCheckable(true);
    DoSort2->setCheckable(true);
    connect(DoSort, &QAction::triggered, this, &Form1::DoSort_Click);
    connect(DoSort2, &QAction::triggered, this, &Form1::DoSort2_Click);

    help = addMenu("help", QStringLiteral("Help(&H)"));
    version = addMenuAction(help, "version", QStringLiteral("Version(&V)..."));
    connect(version, &QAction::triggered, this, &Form1::version_Click);
}

void Form1::createLayout()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));

    Label2 = new QLabel(kProgramCaption, central);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = Label2->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    Label2->setFont(titleFont);

    fileLabel_ = new QLabel(QStringLiteral("File:"), central);
    fileLabel_->setObjectName(QStringLiteral("Label_file"));
    Text_filename = new QLineEdit(central);
    Text_filename->setObjectName(QStringLiteral("Text_filename"));
    // It names the document's file; only open and save change it.
    Text_filename->setReadOnly(true);
    Text_filename->setFocusPolicy(Qt::ClickFocus);
    fileLabel_->setBuddy(Text_filename);

    Label8 = new QLabel(QStringLiteral("Address Sort Off"), central);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    // Its place stays when it is hidden, so the file-name field does not jump.
    QSizePolicy keepPlace = Label8->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Label8->setSizePolicy(keepPlace);

    Label_Drop = new QLabel(QStringLiteral("Drop an object file here\nto extract KEY data"), central);
    Label_Drop->setObjectName(QStringLiteral("Label_Drop"));
    Label_Drop->setAlignment(Qt::AlignCenter);
    Label_Drop->setFrameShape(QFrame::StyledPanel);
    Label_Drop->setFrameShadow(QFrame::Sunken);
    Label_Drop->setMinimumWidth(220);
    Label_Drop->setStyleSheet(QStringLiteral("QLabel { padding: 4px; }"));
    // Extraction from a dropped file is not built yet: the target is shown
    // greyed and takes no drops, rather than ignoring them silently.
    Label_Drop->setEnabled(false);

    // The heading stands in the grid's own heading row, over the numbers.
    Text0 = new QLabel(QStringLiteral("No."), grid_);
    Text0->setObjectName(QStringLiteral("Text0"));
    Text0->setAlignment(Qt::AlignCenter);
    Text0->setGeometry(grid_->lineNumberHeadingRect());

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel_);
    fileRow->addWidget(Text_filename, 1);

    auto* headerLeft = new QVBoxLayout;
    headerLeft->addWidget(Label2);
    headerLeft->addLayout(fileRow);

    auto* header = new QHBoxLayout;
    header->addLayout(headerLeft, 1);
    header->addSpacing(16);
    header->addWidget(Label8, 0, Qt::AlignBottom);
    header->addSpacing(16);
    header->addWidget(Label_Drop);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(header);
    layout->addSpacing(6);
    layout->addWidget(grid_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    setCentralWidget(central);
}

void Form1::showAddressSize(AddressSize size)
{
    addr16->setChecked(size == AddressSize::Bits16);
    addr24->setChecked(size == AddressSize::Bits24);
    addr32->setChecked(size == AddressSize::Bits32);
    grid_->setAddressMaxLength(addressDigits(size));
}

} // namespace quorvane
