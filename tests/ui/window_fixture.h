#pragma once

// A fresh main window per test: its own settings folder, scripted answers to
// every modal question, and helpers that reach controls by their names.

#include "ui/form1.h"
#include "ui/scripted_modal_ui.h"

#include "grid/grid_view.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace quorvane::test {

class WindowFixture {
public:
    // Settings for the next window, written before it starts.
    void writeSettingsFile(const QByteArray& contents)
    {
        QFile file(settingsPath());
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write the test settings file");
    }

    [[nodiscard]] QString settingsPath() const { return folder_.filePath(QStringLiteral("Quorvane.ini")); }
    [[nodiscard]] QString folder() const { return folder_.path(); }

    Form1& start()
    {
        window_ = std::make_unique<Form1>(modal_, folder_.path());
        window_->show();
        if (!QTest::qWaitForWindowExposed(window_.get()))
            qWarning("window not exposed");
        return *window_;
    }

    void stop() { window_.reset(); }

    [[nodiscard]] Form1& window() { return *window_; }
    [[nodiscard]] ScriptedModalUi& modal() { return modal_; }

    template <typename T>
    [[nodiscard]] T* named(const QString& name) const
    {
        return window_->findChild<T*>(name);
    }

    // A control of a grid row or a data cell: "Text_address", 3 -> Text_address_3.
    template <typename T>
    [[nodiscard]] T* indexed(const char* base, int index) const
    {
        return named<T>(QStringLiteral("%1_%2").arg(QLatin1String(base)).arg(index));
    }

    [[nodiscard]] QAction* action(const char* name) const { return named<QAction>(QLatin1String(name)); }

    // Finds a menu item by name, checks that it can be chosen, and chooses it.
    [[nodiscard]] bool triggerAction(const char* name) const
    {
        QAction* item = action(name);
        if (item == nullptr) {
            qWarning("no action %s", name);
            return false;
        }
        if (!item->isEnabled()) {
            qWarning("action %s is disabled", name);
            return false;
        }
        item->trigger();
        return true;
    }

    // Opens a top-level menu as a click on its title would, then closes it.
    [[nodiscard]] bool openMenu(const char* name) const
    {
        auto* menu = named<QMenu>(QLatin1String(name));
        if (menu == nullptr)
            return false;
        menu->popup(window_->mapToGlobal(QPoint(10, 10)));
        const bool shown = QTest::qWaitFor([menu] { return menu->isVisible(); });
        menu->hide();
        return shown;
    }

private:
    QTemporaryDir folder_;
    ScriptedModalUi modal_;
    std::unique_ptr<Form1> window_;
};

// The 13-line settings file with the given path and last line.
[[nodiscard]] inline QByteArray settingsFile(const QByteArray& path, const QByteArray& lastLine)
{
    QByteArray contents = '"' + path + "\"\r\n";
    for (int i = 0; i < 11; ++i)
        contents += "\"\"\r\n";
    return contents + lastLine + "\r\n";
}

} // namespace quorvane::test
