#include "ui/main_window.h"
#include "ui/program_icon.h"
#include "ui/qt_modal_ui.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(quorvane::programIcon());

    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Editor of key data for device programming"));
    arguments.addHelpOption();
    arguments.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A KEY file or template (.639) to open."));
    arguments.process(app);

    quorvane::QtModalUi modal;
    quorvane::EditorSession session;
    quorvane::MainWindow window(modal, session, QApplication::applicationDirPath());
    // exit(), not quit(): quit() would first ask every window to close, and
    // the close box of this one means End, which has just run.
    QObject::connect(&window, &quorvane::MainWindow::programEnded, &app, [] { QApplication::exit(0); },
                     Qt::QueuedConnection);
    window.show();
    // Without a window manager (a kiosk or a virtual display) nothing would
    // make the window active, and the grid's focus rules would never run.
    window.activateWindow();
    // As a file manager passes it; opened after the settings are read, with
    // File Open's messages.
    if (const QStringList files = arguments.positionalArguments(); !files.isEmpty())
        window.openFile(files.first());
    return QApplication::exec();
}
