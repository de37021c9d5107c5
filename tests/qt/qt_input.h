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

#include <functional>

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
// the code under test opens. Gives up after a few seconds so that a test fails rather than hangs.
inline void WhenReady(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, ready = std::move(ready), act = std::move(act)] {
        const bool go = ready();
        if (!go && clock->elapsed() < 5000) return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (go) act();
        else if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    timer->start(20);
}

}  // namespace qttest
