#include "main_window.h"

#include "address_size_command.h"
#include "address_sort_command.h"
#include "end_command.h"
#include "extraction_command.h"
#include "merge_image_command.h"
#include "navigation_command.h"
#include "new_command.h"
#include "open_command.h"
#include "program_icon.h"
#include "recent_files_command.h"
#include "record_range_status.h"
#include "row_commands.h"
#include "save_command.h"
#include "undo_command.h"
#include "version_command.h"
#include "window_caption.h"

#include "document/document_history.h"
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

MainWindow::MainWindow(ModalUi& modal, EditorSession& session, const QString& applicationFolder, QWidget* parent)
    : QMainWindow(parent), modal_(modal), session_(session), applicationFolder_(applicationFolder)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramCaption);
    setWindowIcon(programIcon());

    grid_ = new GridView(session_.document, session_.state, [this] { updateCaption(); }, this);
    grid_->setObjectName(QStringLiteral("grid"));
    history_ = std::make_unique<DocumentHistory>(session_.document);
    context_ = std::make_unique<EditorContext>(EditorContext{
        *this, modal_, session_.document, session_.state, session_.settings, *grid_, [this] { updateCaption(); },
        [this](const QString& name, bool opensAgain) { setCurrentFile(name, opensAgain); }, *history_});
    createLayout();
    createCommands();
    createMenus();
    session_.document.mode.addListener(
        [this](AddressSize size) { grid_->setAddressMaxLength(addressDigits(size)); });

    grid_->prepareRows();
    Initialize();
    loadSettings();
}

MainWindow::~MainWindow() = default;

void MainWindow::createCommands()
{
    saveCommand_ = std::make_unique<SaveCommand>(*context_);
    newCommand_ = std::make_unique<NewCommand>(*context_, *saveCommand_, [this] { Initialize(); });
    openCommand_ = std::make_unique<OpenCommand>(*context_, *saveCommand_);
    recentFilesCommand_ = std::make_unique<RecentFilesCommand>(*context_, *saveCommand_, *openCommand_);
    new RecordRangeStatus(*context_, *this);
    extractionCommand_ = std::make_unique<ExtractionCommand>(*context_);
    mergeImageCommand_ = std::make_unique<MergeImageCommand>(*context_);
    navigationCommand_ = std::make_unique<NavigationCommand>(*context_);
    endCommand_ = std::make_unique<EndCommand>(*context_, *saveCommand_, [this] { endProgram(); });
    addressSizeCommand_ = std::make_unique<AddressSizeCommand>(*context_);
    addressSortCommand_ =
        std::make_unique<AddressSortCommand>(*context_, [this](bool sortOff) { sortOffLabel_->setVisible(sortOff); });
    versionCommand_ = std::make_unique<VersionCommand>(*context_);
    undoCommand_ = std::make_unique<UndoCommand>(*context_);
    rowCommands_ = std::make_unique<RowCommands>(*context_);
}

void MainWindow::createMenus()
{
    auto addMenu = [this](const char* name, const QString& caption, bool commits = true) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        // Every command sees the table as the grid shows it.
        if (commits)
            connect(menu, &QMenu::aboutToShow, grid_, &GridView::CommitGrid);
        return menu;
    };
    // Each group is one run of items between separators.
    auto place = [](QMenu* menu, std::initializer_list<std::initializer_list<const WindowCommand*>> groups) {
        for (const auto& group : groups) {
            if (!menu->isEmpty())
                menu->addSeparator();
            for (const WindowCommand* command : group)
                menu->addActions(command->actions());
        }
    };
    place(addMenu("FILE", QStringLiteral("File(&F)")),
          {{newCommand_.get()},
           {openCommand_.get(), recentFilesCommand_.get(), saveCommand_.get()},
           {extractionCommand_.get(), mergeImageCommand_.get()},
           {endCommand_.get()}});
    // The write-back would cut a record whose data runs past its size (as a
    // file may hold it) in the state an undo has just brought back, and the
    // next undo would take back only that cut: the row commands write the
    // grid back themselves, undo and redo need not.
    place(addMenu("edit", QStringLiteral("Edit(&E)"), false),
          {{undoCommand_.get()}, {rowCommands_.get()}, {navigationCommand_.get()}});
    place(addMenu("addresssize", QStringLiteral("AddressSize(&A)")), {{addressSizeCommand_.get()}});
    place(addMenu("option", QStringLiteral("Option(&O)")), {{addressSortCommand_.get()}});
    place(addMenu("help", QStringLiteral("Help(&H)")), {{versionCommand_.get()}});
}

void MainWindow::endProgram()
{
    (void)writeSettingsFile(settingsPath_, session_.settings);
    ended_ = true;
    emit programEnded();
}

void MainWindow::openFile(const QString& path)
{
    openCommand_->openFile(path);
}

void MainWindow::dropData(const QMimeData* data)
{
    grid_->CommitGrid();
    extractionCommand_->drop(data);
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
    layout->addWidget(grid_); // as wide as the window: the titles take the room
    layout->addStretch(1);
    setCentralWidget(central);
}

void MainWindow::loadSettings()
{
    settingsPath_ = settingsFilePath(applicationFolder_,
                                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    // A missing, short or damaged file leaves the start values (sort on,
    // filter index 1, no last path) for whatever could not be read; the
    // filter index comes back clamped to 1..5.
    session_.settings = readSettingsFile(settingsPath_, Settings{});
    addressSortCommand_->setSortOn(session_.settings.SortOn != 0);
}

void MainWindow::Initialize()
{
    session_.document.table.BlankSet();
    grid_->clearDataMaxLengths();
    session_.document.mode.SetAddr32();
    grid_->resetView();
    history_->clear();
    // The save dialog keeps no file name of its own between uses (each save
    // starts from LastPath), so a new document has nothing to forget there.
    setCurrentFile(QString(), false);
}

void MainWindow::setCurrentFile(const QString& name, bool opensAgain)
{
    session_.state.fileName = name;
    fileNameField_->setText(name);
    setWindowFilePath(name);
    if (!name.isEmpty() && opensAgain)
        recentFilesCommand_->remember(name);
    else if (!name.isEmpty())
        recentFilesCommand_->forget(name);
    session_.state.Modified = false;
    history_->markSaved();
    updateCaption();
}

void MainWindow::updateCaption()
{
    if (const auto caption = captionFor(grid_->view().TableReady, session_.state.Modified))
        setWindowTitle(*caption);
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
    (void)endCommand_->run();
}

} // namespace quorvane
