#include "ui/form1.h"
#include "ui/program_icon.h"
#include "ui/qt_modal_ui.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setWindowIcon(quorvane::programIcon());

    quorvane::QtModalUi modal;
    quorvane::Form1 window(modal, QApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
