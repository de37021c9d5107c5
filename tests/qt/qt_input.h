#pragma once
// Real input for the widget tests: clicks and keys go in through the window, as the window
// system delivers them (a double click is press, release, double-click, release), so the widget
// under the point gets them with Qt's own focus handling.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "qt_test_app.h"

#include <functional>
#include <string>

namespace qttest {

inline void Click(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* top = w.window();
    QTest::mouseClick(top->windowHandle(), button, {}, w.mapTo(top, at));
}
inline void Click(QWidget& w) { Click(w, w.rect().center()); }

inline void DoubleClick(QWidget& w, QPoint at) {
    QWidget* top = w.window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w.mapTo(top, at));
}
inline void DoubleClick(QWidget& w) { DoubleClick(w, w.rect().center()); }

inline void MoveOver(QWidget& w, QPoint at) {
    QWidget* top = w.window();
    QTest::mouseMove(top->windowHandle(), w.mapTo(top, at));
}

// Runs `act` once `ready` holds, from the event loop: the way to answer a modal window that
// the code under test opens. `what` names the moment: the test fails with it when it has not
// come within kPatienceMs, or not before the test ended.
inline void WhenReady(std::string what, std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    const int id = Watchdog::Get().Await(what, timer);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [id, what = std::move(what), clock, ready = std::move(ready), act = std::move(act)] {
        Watchdog& dog = Watchdog::Get();
        const bool go = !dog.GaveUp() && ready();
        if (!go && !dog.GaveUp() && clock.elapsed() < kPatienceMs) return;
        // The timer, and this lambda with it, may go in the events `act` lets happen.
        const std::function<void()> run = act;
        const std::string awaited = what;
        dog.Done(id);
        if (go) run();
        else dog.GiveUp("waiting for " + awaited);
    });
    timer->start(20);
}

}  // namespace qttest
