#pragma once
// One QApplication for the whole test program, on the offscreen platform unless told otherwise,
// with the program state reset and the Qt host installed for the running test.
#include "platform/ui/ui.h"
#include "qt/qt_host.h"
#include "support/program_state.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace qttest {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept to the end of the process: Qt's own globals must not outlive it at exit.
    static QApplication* app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return *app;
}

// The host for one test; the headless host comes back when it goes.
class HostScope {
public:
    HostScope() : host_((App(), std::make_unique<qthost::QtHost>())) {
        // The reset puts the headless host back: ours goes in after it.
        testenv::ResetProgramState();
        host_->SetInstanceKey("");
        plat::SetHost(host_.get());
    }
    ~HostScope() {
        plat::SetHost(nullptr);
        host_.reset();
        QApplication::processEvents();
    }
    qthost::QtHost& operator*() { return *host_; }
    qthost::QtHost* operator->() { return host_.get(); }

private:
    std::unique_ptr<qthost::QtHost> host_;
};

// Lets pending paints, queued work and deferred deletions happen.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

inline QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace qttest
