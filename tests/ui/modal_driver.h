#pragma once

// Drives Qt's real modal dialogs from a test: the action runs once the
// dialog has become the active modal widget, inside the dialog's own loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace quorvane::test {

// Polls until a modal widget of type T is active, then runs `action` on it.
// When none appears within a few seconds, whatever modal widget is open
// instead is closed so that the test fails rather than hangs.
template <typename T>
void whenModalShown(std::function<void(T*)> action)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
        T* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool expired = clock->elapsed() > 5000;
        if (widget == nullptr && !expired)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (widget != nullptr) {
            action(widget);
            return;
        }
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
        QFAIL("the expected dialog did not appear");
    });
    timer->start();
}

} // namespace quorvane::test
