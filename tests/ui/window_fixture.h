#pragma once

// The base of the window tests: every test function gets a fresh settings
// folder and fresh scripted answers to the modal questions, and starts the
// window itself, so that it can write a settings file first. Controls are
// reached by their object names.

#include "ui/main_window.h"
#include "tests/support/scripted_modal_ui.h"

#include "grid/grid_view.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace quorvane::test {

// The 13-line settings file with the given path and last line.
inline QByteArray settingsFile(const QByteArray& path, const QByteArray& lastLine)
{
    return '"' + path + "\"\r\n" + QByteArray("\"\"\r\n").repeated(11) + lastLine + "\r\n";
}

// The window with the session it edits in reach, and the grid and the drop
// label found as the user sees them.
class TestedWindow : public MainWindow {
public:
    TestedWindow(ModalUi& modal, EditorSession& session, const QString& folder)
        : MainWindow(modal, session, folder), session_(session)
    {
    }
    [[nodiscard]] Document& document() { return session_.document; }
    [[nodiscard]] const EditorState& state() const { return session_.state; }
    [[nodiscard]] const Settings& settings() const { return session_.settings; }
    [[nodiscard]] GridView& grid() { return *findChild<GridView*>(QStringLiteral("grid")); }
    // Drags `data` onto the drop label and drops it there.
    void dropData(const QMimeData* data)
    {
        auto* label = findChild<QLabel*>(QStringLiteral("Label_Drop"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &drop);
    }

private:
    EditorSession& session_;
};

class WindowTest : public QObject {
    Q_OBJECT
protected:
    TestedWindow& start()
    {
        window_ = std::make_unique<TestedWindow>(*modal_, *session_, folder_->path());
        window_->show();
        window_->activateWindow(); // typed keys must reach the focused field
        if (!QTest::qWaitForWindowActive(window_.get()))
            qWarning("window not active");
        return *window_;
    }

    [[nodiscard]] QString settingsPath() const { return folder_->filePath(QStringLiteral("Quorvane.ini")); }
    [[nodiscard]] TestedWindow& window() { return *window_; }
    [[nodiscard]] ScriptedModalUi& modal() { return *modal_; }
    [[nodiscard]] RecordTable& table() { return window_->document().table; }

    template <typename T = QLineEdit>
    [[nodiscard]] T* named(const QString& name) const
    {
        return window_->findChild<T*>(name);
    }
    // A control of a grid row or a data cell: "Text_address", 3 -> Text_address_3.
    template <typename T = QLineEdit>
    [[nodiscard]] T* indexed(const char* base, int index) const
    {
        return named<T>(QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(index));
    }
    [[nodiscard]] bool checked(const QString& action) const { return named<QAction>(action)->isChecked(); }
    [[nodiscard]] bool sortIndicatorShown() const { return named<QLabel>(QStringLiteral("Label8"))->isVisible(); }

    // Chooses a menu item as the user can: only when it exists and is enabled.
    [[nodiscard]] bool trigger(const QString& name) const
    {
        auto* item = named<QAction>(name);
        if (item == nullptr || !item->isEnabled())
            return false;
        item->trigger();
        return true;
    }

    // Opens a top-level menu as a click on its title would, then closes it.
    void openMenu(const QString& name) const
    {
        named<QMenu>(name)->popup(window_->mapToGlobal(QPoint(10, 10)));
        named<QMenu>(name)->hide();
    }

    void type(QWidget* field, const QString& keys)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, keys);
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        // The user's configuration folder (the recent files) is the test's own too.
        qputenv("XDG_CONFIG_HOME", folder_->filePath(QStringLiteral("config")).toLocal8Bit());
        modal_ = std::make_unique<ScriptedModalUi>();
        session_ = std::make_unique<EditorSession>();
    }
    void cleanup() { window_.reset(); }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ScriptedModalUi> modal_;
    std::unique_ptr<EditorSession> session_;
    std::unique_ptr<TestedWindow> window_;
};

} // namespace quorvane::test
