#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/qt_modal_ui.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(quorvane::programIcon());

    quorvane::QtModalUi modal;
    quorvane::MainWindow window(modal, QApplication::applicationDirPath());
    window.show();
    // Without a window manager (a kiosk or a virtual display) nothing would
    // make the window active, and the grid's focus rules would never run.
    window.activateWindow();
    return QApplication::exec();
}
