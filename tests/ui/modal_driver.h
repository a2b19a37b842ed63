#pragma once

// Drives Qt's real modal dialogs from a test: the action runs once the
// dialog has become the active modal widget, inside the dialog's own loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace quorvane::test {

// When no modal widget of type T appears within a few seconds, whatever
// modal widget is open instead is closed, so that the test fails, not hangs.
template <typename T>
void whenModalShown(std::function<void(T*)> action)
{
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action] {
        T* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (widget == nullptr && clock->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (widget != nullptr)
            return action(widget);
        if (QWidget* other = QApplication::activeModalWidget())
            other->close();
        QFAIL("the expected dialog did not appear");
    });
    timer->start(10);
}

} // namespace quorvane::test
