#pragma once

#include "window_command.h"

class QMenu;

namespace quorvane {

class OpenCommand;
class SaveCommand;

// "Open Recent(&R)": the last files opened or saved, most recent first,
// numbered &1 to &8. Choosing one opens it as File Open does once its
// dialog has chosen the file, after the same unsaved-changes prompt; a file
// that is gone is reported as File Open reports it and leaves the list.
// The list lives in the user's configuration folder, apart from the
// settings file.
class RecentFilesCommand final : public WindowCommand {
public:
    RecentFilesCommand(EditorContext& context, SaveCommand& save, OpenCommand& open);

    [[nodiscard]] QList<QAction*> actions() const override;

    // The document now is the file `path`: it goes to the front of the list.
    void remember(const QString& path);
    // `path` now holds what File Open does not read: it leaves the list.
    void forget(const QString& path);

private:
    void change(const QStringList& list);
    void rebuildMenu();
    void open(const QString& path);

    EditorContext& context_;
    SaveCommand& save_;
    OpenCommand& open_;
    QString storePath_; // empty when the system names no configuration folder
    QMenu* menu_;       // OpenRecentMenu
};

} // namespace quorvane
