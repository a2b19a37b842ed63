#include "main_window.h"

#include "program_icon.h"
#include "version_box.h"

#include "files/settings_file.h"
#include "grid/grid_view.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QAction* addMenuAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

MainWindow::MainWindow(ModalUi& modal, const QString& applicationFolder, QWidget* parent)
    : QMainWindow(parent), modal_(modal), applicationFolder_(applicationFolder)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramCaption);
    setWindowIcon(programIcon());

    grid_ = new GridView(document_, state_, [this] { updateCaption(); }, this);
    grid_->setObjectName(QStringLiteral("grid"));
    context_ = std::make_unique<EditorContext>(EditorContext{
        *this, modal_, document_, state_, settings_, *grid_, [this] { updateCaption(); },
        [this](const QString& name) { showFileName(name); }});
    addressSizeCommand_ = std::make_unique<AddressSizeCommand>(*context_);
    saveCommand_ = std::make_unique<SaveCommand>(*context_);
    openCommand_ = std::make_unique<OpenCommand>(*context_, *saveCommand_);
    newCommand_ = std::make_unique<NewCommand>(*context_, *saveCommand_, [this] { Initialize(); });
    endCommand_ = std::make_unique<EndCommand>(*context_, *saveCommand_, [this] { (void)writeSettings(); });
    extractCommand_ = std::make_unique<ExtractCommand>(*context_);
    mergeImageCommand_ = std::make_unique<MergeImageCommand>(*context_);

    createMenus();
    createLayout();
    document_.mode.addListener([this](AddressSize size) { showAddressSize(size); });

    grid_->prepareRows();
    Initialize();
    loadSettings();
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    auto addMenu = [this](const char* name, const QString& caption) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        // Every command sees the table as the grid shows it.
        connect(menu, &QMenu::aboutToShow, grid_, &GridView::CommitGrid);
        return menu;
    };

    fileMenu_ = addMenu("FILE", QStringLiteral("File(&F)"));
    newAction_ = addMenuAction(fileMenu_, "new", QStringLiteral("New(&N)"));
    fileMenu_->addSeparator();
    openAction_ = addMenuAction(fileMenu_, "FileOpen", QStringLiteral("File Open(&O)..."));
    saveAction_ = addMenuAction(fileMenu_, "FileSave", QStringLiteral("File Save(&S)..."));
    fileMenu_->addSeparator();
    extractAction_ = addMenuAction(fileMenu_, "KEY_extract", QStringLiteral("Extract KEY Data(&E)..."));
    mergeImageAction_ = addMenuAction(fileMenu_, "KEY_merge", QStringLiteral("Write KEY Data into Image..."));
    fileMenu_->addSeparator();
    endAction_ = addMenuAction(fileMenu_, "END", QStringLiteral("End(&X)"));
    newAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    endAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connectCommand(newAction_, [this] { newCommand_->run(); });
    connectCommand(openAction_, [this] { openCommand_->run(); });
    connectCommand(saveAction_, [this] { (void)saveCommand_->run(); });
    connectCommand(endAction_, [this] { endProgram(); });
    connectCommand(extractAction_, [this] { extractCommand_->run(); });
    connectCommand(mergeImageAction_, [this] { mergeImageCommand_->run(); });

    addressSizeMenu_ = addMenu("addresssize", QStringLiteral("AddressSize(&A)"));
    addr16Action_ = addMenuAction(addressSizeMenu_, "addr16", QStringLiteral("16bit(&1)"));
    addr24Action_ = addMenuAction(addressSizeMenu_, "addr24", QStringLiteral("24bit(&2)"));
    addr32Action_ = addMenuAction(addressSizeMenu_, "addr32", QStringLiteral("32bit(&3)"));
    const std::pair<QAction*, AddressSize> sizes[] = {
        {addr16Action_, AddressSize::Bits16}, {addr24Action_, AddressSize::Bits24}, {addr32Action_, AddressSize::Bits32}};
    for (const auto& [action, size] : sizes) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, size = size] {
            // Choosing a checkable item has already flipped its mark; the
            // marks show the mode and nothing else, whatever the user answers.
            showAddressSize(document_.mode.current());
            addressSizeCommand_->choose(size);
        });
    }

    optionMenu_ = addMenu("option", QStringLiteral("Option(&O)"));
    sortOnAction_ = addMenuAction(optionMenu_, "DoSort", QStringLiteral("Address Sort On(&N)"));
    sortOffAction_ = addMenuAction(optionMenu_, "DoSort2", QStringLiteral("Address Sort Off(&F)"));
    sortOnAction_->setCheckable(true);
    sortOffAction_->setCheckable(true);
    connect(sortOnAction_, &QAction::triggered, this, [this] { setAddressSortOn(true); });
    connect(sortOffAction_, &QAction::triggered, this, [this] { setAddressSortOn(false); });

    helpMenu_ = addMenu("help", QStringLiteral("Help(&H)"));
    versionAction_ = addMenuAction(helpMenu_, "version", QStringLiteral("Version(&V)..."));
    connect(versionAction_, &QAction::triggered, this, &MainWindow::showVersion);
}

void MainWindow::connectCommand(QAction* action, std::function<void()> command)
{
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
        grid_->CommitGrid();
        command();
    });
}

void MainWindow::endProgram()
{
    if (endCommand_->run()) {
        ended_ = true;
        emit programEnded();
    }
}

void MainWindow::openFile(const QString& path)
{
    openCommand_->openFile(path);
}

void MainWindow::dropData(const QMimeData* data)
{
    grid_->CommitGrid();
    extractCommand_->drop(data);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != dropLabel_)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        drop->acceptProposedAction();
        dropData(drop->mimeData());
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::createLayout()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));

    programLabel_ = new QLabel(kProgramCaption, central);
    programLabel_->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = programLabel_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    programLabel_->setFont(titleFont);

    fileLabel_ = new QLabel(QStringLiteral("File:"), central);
    fileLabel_->setObjectName(QStringLiteral("Label_file"));
    fileNameField_ = new QLineEdit(central);
    fileNameField_->setObjectName(QStringLiteral("Text_filename"));
    // It names the document's file; only open and save change it.
    fileNameField_->setReadOnly(true);
    fileNameField_->setFocusPolicy(Qt::ClickFocus);
    fileLabel_->setBuddy(fileNameField_);

    sortOffLabel_ = new QLabel(QStringLiteral("Address Sort Off"), central);
    sortOffLabel_->setObjectName(QStringLiteral("Label8"));
    sortOffLabel_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    // Its place stays when it is hidden, so the file-name field does not jump.
    QSizePolicy keepPlace = sortOffLabel_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    sortOffLabel_->setSizePolicy(keepPlace);

    dropLabel_ = new QLabel(QStringLiteral("Drop an object file here\nto extract KEY data"), central);
    dropLabel_->setObjectName(QStringLiteral("Label_Drop"));
    dropLabel_->setAlignment(Qt::AlignCenter);
    dropLabel_->setFrameShape(QFrame::StyledPanel);
    dropLabel_->setFrameShadow(QFrame::Sunken);
    dropLabel_->setMinimumWidth(220);
    dropLabel_->setStyleSheet(QStringLiteral("QLabel { padding: 4px; }"));
    dropLabel_->setAcceptDrops(true);
    dropLabel_->installEventFilter(this);
    grid_->setFileDropHandler([this](const QMimeData* data) { dropData(data); });

    // The heading stands in the grid's own heading row, over the numbers.
    lineNumberHeading_ = new QLabel(QStringLiteral("No."), grid_);
    lineNumberHeading_->setObjectName(QStringLiteral("Text0"));
    lineNumberHeading_->setAlignment(Qt::AlignCenter);
    lineNumberHeading_->setGeometry(grid_->lineNumberHeadingRect());

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel_);
    fileRow->addWidget(fileNameField_, 1);

    auto* headerLeft = new QVBoxLayout;
    headerLeft->addWidget(programLabel_);
    headerLeft->addLayout(fileRow);

    auto* header = new QHBoxLayout;
    header->addLayout(headerLeft, 1);
    header->addSpacing(16);
    header->addWidget(sortOffLabel_, 0, Qt::AlignBottom);
    header->addSpacing(16);
    header->addWidget(dropLabel_);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(header);
    layout->addSpacing(6);
    layout->addWidget(grid_, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    setCentralWidget(central);
}

void MainWindow::loadSettings()
{
    settingsPath_ = settingsFilePath(applicationFolder_,
                                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    // A missing, short or damaged file leaves the start values (sort on,
    // filter index 1, no last path) for whatever could not be read; the
    // filter index comes back clamped to 1..4.
    settings_ = readSettingsFile(settingsPath_, Settings{});
    setAddressSortOn(settings_.SortOn != 0);
}

void MainWindow::Initialize()
{
    document_.table.BlankSet();
    // The save dialog keeps no file name of its own between uses (each save
    // starts from LastPath), so a new document has nothing to forget there.
    showFileName(QString());
    grid_->clearDataMaxLengths();
    document_.mode.SetAddr32();
    state_.Modified = false;
    grid_->resetView();
    updateCaption();
}

void MainWindow::updateCaption()
{
    if (const auto caption = captionFor(grid_->view().TableReady, state_.Modified))
        setWindowTitle(*caption);
}

void MainWindow::showFileName(const QString& name)
{
    state_.fileName = name;
    fileNameField_->setText(name);
}

void MainWindow::setAddressSortOn(bool on)
{
    sortOnAction_->setChecked(on);
    sortOffAction_->setChecked(!on);
    sortOffLabel_->setVisible(!on);
    settings_.SortOn = on ? 1 : 0;
}

void MainWindow::showAddressSize(AddressSize size)
{
    addr16Action_->setChecked(size == AddressSize::Bits16);
    addr24Action_->setChecked(size == AddressSize::Bits24);
    addr32Action_->setChecked(size == AddressSize::Bits32);
    grid_->setAddressMaxLength(addressDigits(size));
}

void MainWindow::showVersion()
{
    VersionBox box(this);
    box.exec();
}

QString MainWindow::writeSettings() const
{
    return writeSettingsFile(settingsPath_, settings_);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Once End has run to its end, the program is going away: whatever asks
    // the window to close then must not ask the user a second time.
    if (ended_) {
        event->accept();
        return;
    }
    event->ignore();
    grid_->CommitGrid();
    endProgram();
}

} // namespace quorvane
