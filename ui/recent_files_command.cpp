#include "recent_files_command.h"

#include "open_command.h"
#include "unsaved_changes_prompt.h"

#include "files/recent_files.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>

namespace quorvane {

namespace {

QString recentFilesStore()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("recent-files.txt"));
}

} // namespace

RecentFilesCommand::RecentFilesCommand(EditorContext& context, SaveCommand& save, OpenCommand& open)
    : context_(context), save_(save), open_(open), storePath_(recentFilesStore()),
      menu_(new QMenu(QStringLiteral("Open Recent(&R)"), &context.window))
{
    menu_->setObjectName(QStringLiteral("OpenRecentMenu"));
    menu_->menuAction()->setObjectName(QStringLiteral("OpenRecent"));
    // Another editor may have opened or saved files since.
    QObject::connect(menu_, &QMenu::aboutToShow, menu_, [this] { rebuildMenu(); });
    rebuildMenu();
}

QList<QAction*> RecentFilesCommand::actions() const
{
    return {menu_->menuAction()};
}

void RecentFilesCommand::remember(const QString& path)
{
    if (!storePath_.isEmpty())
        change(withRecentFile(readRecentFiles(storePath_), path));
}

void RecentFilesCommand::forget(const QString& path)
{
    if (!storePath_.isEmpty())
        change(withoutRecentFile(readRecentFiles(storePath_), path));
}

void RecentFilesCommand::change(const QStringList& list)
{
    // The list is a convenience: a store that cannot be written costs the
    // user nothing but the list.
    (void)writeRecentFiles(storePath_, list);
    rebuildMenu();
}

void RecentFilesCommand::rebuildMenu()
{
    // The item being chosen may be among these: it goes once its signal is over.
    for (QAction* item : menu_->actions()) {
        menu_->removeAction(item);
        item->deleteLater();
    }
    const QStringList list = storePath_.isEmpty() ? QStringList() : readRecentFiles(storePath_);
    for (qsizetype i = 0; i < list.size(); ++i) {
        QString shown = QDir::toNativeSeparators(list.at(i));
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QByteArray name = "OpenRecent_" + QByteArray::number(i + 1);
        QAction* item = createAction(context_, name.constData(), QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        menu_->addAction(item);
        runOnShownTable(context_, item, [this, path = list.at(i)] { open(path); });
    }
    menu_->menuAction()->setEnabled(!list.isEmpty());
}

void RecentFilesCommand::open(const QString& path)
{
    if (!mayGiveUpDocument(context_, save_))
        return;
    if (open_.openFile(path) == OpenStatus::FileNotFound)
        forget(path);
}

} // namespace quorvane
