#pragma once

#include "editor_context.h"
#include "modal_ui.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;

namespace quorvane {

class AddressSizeCommand;
class AddressSortCommand;
class EndCommand;
class DocumentHistory;
class ExtractionCommand;
class GridView;
class MergeImageCommand;
class NavigationCommand;
class NewCommand;
class OpenCommand;
class RecentFilesCommand;
class RowCommands;
class SaveCommand;
class UndoCommand;
class VersionCommand;
class WindowCommand;

// The main window (Form1): menus, the file-name field, the indicators and
// the grid over the session's one document. The commands are small units
// of their own over an EditorContext, each with its menu items; the window
// builds the controls, places the items in its menus and keeps caption,
// file name and labels in step.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `applicationFolder` is where the settings file lives: the executable's
    // folder in the program, a scratch folder in tests.
    MainWindow(ModalUi& modal, EditorSession& session, const QString& applicationFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens `path` as File Open does once a file is chosen (a file named on
    // the command line).
    void openFile(const QString& path);

signals:
    // End has run to its end: the settings are written and the program is
    // to stop now. The window never closes by itself.
    void programEnded();

protected:
    // The drop label takes whatever is dropped on it, as the data cells do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box is a request for End (Form_QueryUnload): the window
    // stays open unless End runs to its end.
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSettings(); // Form_Load
    void createCommands();
    void createMenus();
    void createLayout();
    // Resets the editor to an empty, unmodified 32-bit document.
    void Initialize();
    // The caption follows the modified flag (not while the grid is redrawn).
    void updateCaption(); // TitileSet
    // The one place that names the document's file (empty for a new one),
    // marks it unmodified and sets the caption; a file File Open reads back
    // goes to the top of Open Recent, one it would refuse leaves it.
    void setCurrentFile(const QString& name, bool opensAgain);
    // What a drop onto the drop label or a data cell hands over (DragDrop).
    void dropData(const QMimeData* data);
    // What End does once the document may go: the settings file, then the
    // end of the program.
    void endProgram();

    ModalUi& modal_;
    EditorSession& session_;
    QString applicationFolder_;
    QString settingsPath_;
    bool ended_ = false;

    GridView* grid_ = nullptr;
    std::unique_ptr<DocumentHistory> history_;
    std::unique_ptr<EditorContext> context_;
    std::unique_ptr<SaveCommand> saveCommand_;
    std::unique_ptr<NewCommand> newCommand_;
    std::unique_ptr<OpenCommand> openCommand_;
    std::unique_ptr<RecentFilesCommand> recentFilesCommand_;
    std::unique_ptr<ExtractionCommand> extractionCommand_;
    std::unique_ptr<MergeImageCommand> mergeImageCommand_;
    std::unique_ptr<NavigationCommand> navigationCommand_;
    std::unique_ptr<EndCommand> endCommand_;
    std::unique_ptr<AddressSizeCommand> addressSizeCommand_;
    std::unique_ptr<AddressSortCommand> addressSortCommand_;
    std::unique_ptr<VersionCommand> versionCommand_;
    std::unique_ptr<UndoCommand> undoCommand_;
    std::unique_ptr<RowCommands> rowCommands_;

    QLabel* programLabel_ = nullptr;    // Label2
    QLabel* sortOffLabel_ = nullptr;    // Label8
    QLabel* dropLabel_ = nullptr;       // Label_Drop
    QLabel* lineNumberHeading_ = nullptr; // Text0
    QLabel* fileLabel_ = nullptr;       // Label_file
    QLineEdit* fileNameField_ = nullptr; // Text_filename
};

} // namespace quorvane
