#pragma once
// One QApplication for the whole test program, on the offscreen platform unless told otherwise,
// with the program state reset and the Qt host installed for the running test.
#include "platform/ui/ui.h"
#include "qt/qt_host.h"
#include "support/program_state.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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

// How long a test waits for anything: a window to come, a modal window, box or menu to be done.
inline constexpr int kPatienceMs = 30000;

// Keeps a test from hanging on a window nobody answers: a modal window, box, menu or nested
// event loop open longer than kPatienceMs fails the test, naming it and what the test waited
// for, and is closed. After that the test has failed: whatever opens next is closed at once,
// and a loop that will not end even so stops the program rather than the test run's clock.
class Watchdog {
public:
    static Watchdog& Get() {
        static Watchdog* dog = new Watchdog;   // as the application, kept to the end
        return *dog;
    }

    // A wait of the running test (qttest::WhenReady), its timer deleted with the test.
    int Await(const std::string& what, QTimer* timer) {
        waits_.push_back({++last_id_, what, timer});
        return last_id_;
    }
    void Done(int id) {
        for (auto it = waits_.begin(); it != waits_.end(); ++it)
            if (it->id == id) {
                it->timer->stop();
                it->timer->deleteLater();
                waits_.erase(it);
                return;
            }
    }
    bool GaveUp() const { return gave_up_; }
    // Fails the test and closes what holds it.
    void GiveUp(const std::string& why) {
        gave_up_ = true;
        ADD_FAILURE() << "gave up after " << kPatienceMs / 1000 << " s " << why;
        if (QWidget* w = Open()) Close(*w);
    }

    void Start() {
        gave_up_ = false;
        stretch_.invalidate();
        timer_.start();
    }
    void Stop() {
        timer_.stop();
        for (const Wait& w : waits_) {
            ADD_FAILURE() << "the test ended still waiting for " << w.what;
            delete w.timer;
        }
        waits_.clear();
        while (QWidget* w = Open()) {
            ADD_FAILURE() << "the test left " << Describe(*w) << " open";
            Close(*w);
            QApplication::processEvents();
            if (Open() == w) break;
        }
    }

private:
    struct Wait {
        int id;
        std::string what;
        QTimer* timer;
    };

    Watchdog() {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    }

    static QWidget* Open() {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        QWidget* modal = QApplication::activeModalWidget();
        return modal && modal->isVisible() ? modal : nullptr;
    }
    static std::string Describe(QWidget& w) {
        std::string text = w.metaObject()->className();
        if (!w.windowTitle().isEmpty()) text += " \"" + w.windowTitle().toStdString() + "\"";
        if (auto* box = qobject_cast<QMessageBox*>(&w)) text += " saying \"" + box->text().toStdString() + "\"";
        return text;
    }
    // A box without a Cancel ignores its close box: a dialog is rejected instead.
    static void Close(QWidget& w) {
        if (auto* dialog = qobject_cast<QDialog*>(&w)) dialog->reject();
        else w.close();
    }

    void Tick() {
        QWidget* open = Open();
        if (!open && QThread::currentThread()->loopLevel() == 0) {
            stretch_.invalidate();
            return;
        }
        if (!stretch_.isValid()) stretch_.start();
        if (gave_up_) {
            if (stretch_.elapsed() > 2 * kPatienceMs) {
                std::fprintf(stderr, "test_qt: %s still open after the test gave up on it; stopping\n",
                             open ? Describe(*open).c_str() : "an event loop");
                std::abort();
            }
            if (open) Close(*open);
            return;
        }
        if (stretch_.elapsed() < kPatienceMs) return;
        std::string why = "on " + (open ? Describe(*open) : std::string("an event loop with no window")) + " left open";
        if (waits_.empty()) why += ", with nothing waiting for it";
        for (std::size_t i = 0; i < waits_.size(); ++i) why += (i ? "; " : ", while waiting for ") + waits_[i].what;
        GiveUp(why);
    }

    QTimer timer_;
    QElapsedTimer stretch_;   // since something has been holding the test
    std::vector<Wait> waits_;
    int last_id_ = 0;
    bool gave_up_ = false;
};

// The host for one test, with the watchdog on; the headless host comes back when it goes.
class HostScope {
public:
    HostScope() : host_((App(), std::make_unique<qthost::QtHost>())) {
        // The reset puts the headless host back: ours goes in after it.
        testenv::ResetProgramState();
        host_->SetInstanceKey("");
        plat::SetHost(host_.get());
        Watchdog::Get().Start();
    }
    ~HostScope() {
        Watchdog::Get().Stop();
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
