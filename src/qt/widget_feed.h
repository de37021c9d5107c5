#pragma once
// The way between a widget and its control: what a person does with a widget (mouse, keys,
// focus) fed to the control model as its user actions, and the model's own writes into the
// widgets told apart from them.
#include <QObject>
#include <QWidget>

class QMouseEvent;

namespace plat {
class Control;
}

namespace qthost {

// True while the host writes model state into widgets: their signals are then not user actions.
bool Syncing();
class SyncScope {
public:
    SyncScope();
    ~SyncScope();
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;
};

// How a widget's mouse events reach its control.
enum class MouseFeed {
    None,         // keys and focus only
    Own,          // the model alone answers the mouse (pictures, labels, frames)
    Beside,       // the widget keeps its mouse behaviour and reports its own Click
    BesideClick,  // the widget keeps its mouse behaviour; a press and release is the Click (text boxes)
};

// Feeds mouse, key and focus events of a widget (or of a part of it, such as a list's viewport)
// into its control; positions are given in the control's own widget.
class EventFeeder : public QObject {
public:
    EventFeeder(plat::Control& control, MouseFeed feed, QWidget* owner);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Also feeds the mouse events of a part of the owner (a viewport, an editable combo's field).
    void Watch(QWidget* part);

private:
    bool FeedMouse(QWidget* widget, QMouseEvent* event);
    plat::Control& control_;
    MouseFeed feed_;
    QWidget* owner_;
    bool press_refused_ = false;
    bool focus_refused_ = false;   // the last focus Qt gave was refused by the model
    bool box_on_focus_ = false;    // a box ran while the model took the last focus Qt gave
};

// Set on a widget whose control is gone: the events still under way stop at the filter.
inline constexpr const char* kDroppedProperty = "tess_dropped";

}  // namespace qthost
