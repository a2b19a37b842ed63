#pragma once

#include "address_size_command.h"
#include "file_commands.h"
#include "new_end_commands.h"
#include "editor_context.h"
#include "extract_command.h"
#include "merge_image_command.h"
#include "modal_ui.h"

#include "core/document.h"
#include "core/editor_state.h"
#include "core/settings.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMimeData;

namespace quorvane {

class GridView;

// The main window (Form1): menus, the file-name field, the indicators and
// the grid over the one document. The commands are small units of their
// own over an EditorContext; the window builds the controls, routes the
// menu items to the commands and keeps caption, marks and labels in step.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `applicationFolder` is where the settings file lives: the executable's
    // folder in the program, a scratch folder in tests.
    MainWindow(ModalUi& modal, const QString& applicationFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Resets the editor to an empty, unmodified 32-bit document.
    void Initialize();
    // The caption follows the modified flag (not while the grid is redrawn).
    void updateCaption();

    // The address-sort option (DoSort_Click / DoSort2_Click); sorts nothing now.
    void setAddressSortOn(bool on);

    // Writes the settings file; returns the system's description of a
    // failure, or an empty text. Ending the program calls it.
    [[nodiscard]] QString writeSettings() const;
    [[nodiscard]] const QString& settingsPath() const { return settingsPath_; }

    // Opens `path` as File Open does once a file is chosen (a file named on
    // the command line).
    void openFile(const QString& path);
    // What a drop onto the drop label or a data cell hands over (DragDrop).
    void dropData(const QMimeData* data);

signals:
    // End has run to its end: the settings are written and the program is
    // to stop now. The window never closes by itself.
    void programEnded();

public:
    [[nodiscard]] Document& document() { return document_; }
    [[nodiscard]] const EditorState& state() const { return state_; }
    [[nodiscard]] const Settings& settings() const { return settings_; }
    [[nodiscard]] GridView& grid() { return *grid_; }

protected:
    // The drop label takes whatever is dropped on it, as the data cells do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The close box is a request for End (Form_QueryUnload): the window
    // stays open unless End runs to its end.
    void closeEvent(QCloseEvent* event) override;

private:
    void loadSettings(); // Form_Load
    void createMenus();
    void createLayout();
    void showAddressSize(AddressSize size);
    void showVersion();
    void showFileName(const QString& name);
    // Menu items and shortcuts alike see the table as the grid shows it.
    void connectCommand(QAction* action, std::function<void()> command);
    void endProgram();

    ModalUi& modal_;
    QString applicationFolder_;
    QString settingsPath_;
    bool ended_ = false;
    Document document_;
    EditorState state_;
    Settings settings_;

    GridView* grid_ = nullptr;
    std::unique_ptr<EditorContext> context_;
    std::unique_ptr<AddressSizeCommand> addressSizeCommand_;
    std::unique_ptr<SaveCommand> saveCommand_;
    std::unique_ptr<OpenCommand> openCommand_;
    std::unique_ptr<NewCommand> newCommand_;
    std::unique_ptr<EndCommand> endCommand_;
    std::unique_ptr<ExtractCommand> extractCommand_;
    std::unique_ptr<MergeImageCommand> mergeImageCommand_;

    QMenu* fileMenu_ = nullptr;         // FILE
    QMenu* addressSizeMenu_ = nullptr;  // addresssize
    QMenu* optionMenu_ = nullptr;       // option
    QMenu* helpMenu_ = nullptr;         // help
    QAction* newAction_ = nullptr;      // new
    QAction* openAction_ = nullptr;     // FileOpen
    QAction* saveAction_ = nullptr;     // FileSave
    QAction* extractAction_ = nullptr;  // KEY_extract
    QAction* mergeImageAction_ = nullptr; // KEY_merge
    QAction* endAction_ = nullptr;      // END
    QAction* addr16Action_ = nullptr;   // addr16
    QAction* addr24Action_ = nullptr;   // addr24
    QAction* addr32Action_ = nullptr;   // addr32
    QAction* sortOnAction_ = nullptr;   // DoSort
    QAction* sortOffAction_ = nullptr;  // DoSort2
    QAction* versionAction_ = nullptr;  // version
    QLabel* programLabel_ = nullptr;    // Label2
    QLabel* sortOffLabel_ = nullptr;    // Label8
    QLabel* dropLabel_ = nullptr;       // Label_Drop
    QLabel* lineNumberHeading_ = nullptr; // Text0
    QLabel* fileLabel_ = nullptr;       // Label_file
    QLineEdit* fileNameField_ = nullptr; // Text_filename
};

} // namespace quorvane
