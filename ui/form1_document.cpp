#include "form1.h"

#include "version_box.h"

#include "files/settings_file.h"
#include "grid/grid_view.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace quorvane {

void Form1::Form_Load()
{
    settings_ = Settings{}; // sort on, filter index 1, no last path

    grid_->prepareRows();
    Initialize();

    iniPath_ = applicationFolder_ + QLatin1Char('/') + kSettingsFileName;
    // A missing, short or damaged file leaves the start values for whatever
    // could not be read; the filter index comes back clamped to 1..4.
    settings_ = readSettingsFile(iniPath_, settings_);

    if (settings_.SortOn != 0)
        DoSort_Click();
    else
        DoSort2_Click();
}

void Form1::Initialize()
{
    document_.table.BlankSet();
    // The save dialog keeps no file name of its own between uses (each save
    // starts from LastPath), so a new document has nothing to forget there.
    Text_filename->setText(QString());
    grid_->clearDataMaxLengths();
    document_.mode.SetAddr32();

    state_.Modified = false;
    grid_->resetView();
    TitileSet();
}

void Form1::TitileSet()
{
    if (const auto caption = captionFor(grid_->view().TableReady, state_.Modified))
        setWindowTitle(*caption);
}

void Form1::DoSort_Click()
{
    DoSort->setChecked(true);
    DoSort2->setChecked(false);
    Label8->hide();
    settings_.SortOn = 1;
}

void Form1::DoSort2_Click()
{
    DoSort->setChecked(false);
    DoSort2->setChecked(true);
    Label8->show();
    settings_.SortOn = 0;
}

void Form1::version_Click()
{
    Form3 box(this);
    box.exec();
}

QString Form1::writeSettings() const
{
    return writeSettingsFile(iniPath_, settings_);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // A settings file that cannot be written is no reason to keep running.
    (void)writeSettings();
    QMainWindow::closeEvent(event);
}

} // namespace quorvane
