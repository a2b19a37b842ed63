#pragma once

#include "modal_ui.h"

#include "core/document.h"
#include "core/editor_state.h"
#include "core/settings.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace quorvane {

class GridView;

// The main window: menus, the file-name field, the indicators and the grid
// over the one document. Commands are written as the handlers of the menu
// items they belong to; every modal question goes through `modal`.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // `applicationFolder` is where the settings file lives: the executable's
    // folder in the program, a scratch folder in tests.
    Form1(ModalUi& modal, const QString& applicationFolder, QWidget* parent = nullptr);

    // Resets the editor to an empty, unmodified 32-bit document.
    void Initialize();
    // The caption follows the modified flag (not while the grid is redrawn).
    void TitileSet();

    void DoSort_Click();
    void DoSort2_Click();
    void version_Click();

    // The address-size commands. Going to a smaller data limit asks first
    // and then cuts every record to the new limit.
    void addr16_Click();
    void addr24_Click();
    void addr32_Click();
    // The OK/Cancel warning before such a change: 1 OK, 2 Cancel.
    [[nodiscard]] qint16 AddressSizeWarning();
    // Cuts every record to the data limit of the current mode and redraws.
    void TrimToSrecordLimit();

    // Writes the settings file; returns the system's description of a
    // failure, or an empty text. Ending the program calls it.
    [[nodiscard]] QString writeSettings() const;

    [[nodiscard]] Document& document() { return document_; }
    [[nodiscard]] const EditorState& state() const { return state_; }
    [[nodiscard]] const Settings& settings() const { return settings_; }
    [[nodiscard]] GridView& grid() { return *grid_; }

protected:
    // Until End exists, closing the window ends the program; it still keeps
    // the settings (last path, filter index, sort option) as End will.
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void createMenus();
    void createLayout();
    void showAddressSize(AddressSize size);
    void changeAddressSize(AddressSize requested);
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& caption);

    ModalUi& modal_;
    QString applicationFolder_;
    Document document_;
    EditorState state_;
    Settings settings_;
    QString iniPath_;

    GridView* grid_ = nullptr;
    QMenu* FILE = nullptr;
    QMenu* addresssize = nullptr;
    QMenu* option = nullptr;
    QMenu* help = nullptr;
    QAction* new_ = nullptr;
    QAction* FileOpen = nullptr;
    QAction* FileSave = nullptr;
    QAction* KEY_extract = nullptr;
    QAction* END = nullptr;
    QAction* addr16 = nullptr;
    QAction* addr24 = nullptr;
    QAction* addr32 = nullptr;
    QAction* DoSort = nullptr;
    QAction* DoSort2 = nullptr;
    QAction* version = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label_Drop = nullptr;
    QLabel* Text0 = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLineEdit* Text_filename = nullptr;
};

} // namespace quorvane
