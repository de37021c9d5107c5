// Mouse, key and focus events of the widgets, fed to their controls.
#include "qt/widget_feed.h"

#include "platform/ui/control.h"
#include "qt/focus_moves.h"
#include "qt/qt_convert.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <utility>

namespace qthost {

namespace {
int sync_depth = 0;

// The key event the model was given last. Qt hands a key the widget ignored on to its parents;
// a modal window that the key's handler ran can leave the form's window without the focus
// widget it had (hidden or disabled meanwhile), and the window must not then take the same key
// as its own. Several window-system events can be delivered from one place in memory before the
// event loop turns, so the event is told by what it says as well.
struct KeySeen {
    const QEvent* event = nullptr;
    QEvent::Type type = QEvent::None;
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    quint64 timestamp = 0;
    bool operator==(const KeySeen&) const = default;
};
KeySeen key_fed;

KeySeen SeenOf(const QKeyEvent& k) { return {&k, k.type(), k.key(), k.modifiers(), k.timestamp()}; }

}  // namespace

bool Syncing() { return sync_depth > 0; }
SyncScope::SyncScope() { ++sync_depth; }
SyncScope::~SyncScope() { --sync_depth; }

EventFeeder::EventFeeder(plat::Control& control, MouseFeed feed, QWidget* owner)
    : QObject(owner), control_(control), feed_(feed), owner_(owner) {
    owner->installEventFilter(this);
    if (feed == MouseFeed::Beside || feed == MouseFeed::BesideClick) {
        owner->setMouseTracking(true);
        // What the widget leaves of a press is not the container's: it stays with the control.
        owner->setAttribute(Qt::WA_NoMousePropagation);
    }
}

void EventFeeder::Watch(QWidget* part) {
    part->installEventFilter(this);
    part->setMouseTracking(true);
    part->setAttribute(Qt::WA_NoMousePropagation);
}

bool EventFeeder::FeedMouse(QWidget* widget, QMouseEvent* m) {
    if (feed_ == MouseFeed::None) return false;
    const bool own = feed_ == MouseFeed::Own;
    const QPointF at = widget == owner_ ? m->position() : QPointF(widget->mapTo(owner_, m->position().toPoint()));
    const double x = at.x(), y = at.y();
    const int shift = ShiftOf(m->modifiers());
    // A handler may run a modal form that unloads this control: then nothing more of the
    // event may reach the widget.
    QPointer<QObject> self(this);
    QPointer<QWidget> target(widget), owner(owner_);
    auto gone = [&] { return !self || !target || !owner || owner->property(kDroppedProperty).toBool(); };
    const QEvent::Type type = m->type();
    if (type == QEvent::MouseMove) {
        control_.UserMouseMove(ButtonsOf(m->buttons()), shift, x, y);
        return gone() || own;
    }
    const int button = ButtonOf(m->button());
    if (button == 0) return own;
    if (type == QEvent::MouseButtonPress) {
        if (own) {
            if (widget->focusPolicy() != Qt::NoFocus) widget->setFocus(Qt::MouseFocusReason);
            control_.UserMouseDown(button, shift, x, y);
            return true;
        }
        // The box that the focus brought took the release: this press is the whole click.
        if (std::exchange(box_on_focus_, false)) {
            press_refused_ = true;
            Finish_Press_After_Box(control_, widget);
            return true;
        }
        // Qt has moved its focus here already; a Validate that refused it refuses the press.
        press_refused_ = std::exchange(focus_refused_, false) && !control_.HasFocus();
        if (!press_refused_) {
            control_.UserMouseDown(button, shift, x, y);
            if (gone()) return true;
            // In a window not yet active again (a message box just closed) Qt moves its focus
            // without a word, and the model refuses it only here.
            if (control_.Focusable() && !control_.HasFocus()) {
                press_refused_ = true;
                Return_Focus(control_, widget);
            }
        }
        // A refused press does nothing to the widget either: no button held down, no list opened.
        return press_refused_;
    }
    if (type == QEvent::MouseButtonRelease) {
        const bool refused = std::exchange(press_refused_, false);
        if (own || feed_ == MouseFeed::BesideClick) {
            if (!refused) control_.UserMouseUp(button, shift, x, y);
            else control_.UserMouseRelease(button, shift, x, y);
        } else {
            control_.UserMouseRelease(button, shift, x, y);
        }
        return gone() || own;
    }
    control_.UserDoubleClickPress(button, shift, x, y);
    return gone() || own;
}

bool EventFeeder::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return FeedMouse(widget, static_cast<QMouseEvent*>(event));
        default:
            break;
    }
    if (widget != owner_) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(event);
            // Only the first delivery, to the widget that Qt gives the window's keys (its focus
            // widget, else the window itself): an ignored key travels on to the parent widgets.
            if (SeenOf(*k) == key_fed) return false;
            const QWidget* focus = widget->window()->focusWidget();
            if (focus ? focus != widget : !widget->isWindow()) return false;
            const int code = KeyCodeOf(*k);
            const int shift = ShiftOf(k->modifiers());
            if (event->type() == QEvent::KeyPress) {
                if (code) control_.UserKeyDown(code, shift);
                if (const int ascii = KeyAsciiOf(*k)) control_.UserKeyPress(ascii);
            } else if (code && !k->isAutoRepeat()) {
                control_.UserKeyUp(code, shift);
            }
            // Marked once the handlers are done (their modal loops included), and forgotten when
            // the event loop next turns: by then Qt has finished handing this event on.
            key_fed = SeenOf(*k);
            QMetaObject::invokeMethod(QCoreApplication::instance(), [seen = key_fed] {
                if (key_fed == seen) key_fed = {};
            }, Qt::QueuedConnection);
            return false;
        }
        case QEvent::FocusIn: {
            const int runs = Modal_Runs();
            focus_refused_ = !Feed_Focus(control_, widget, static_cast<QFocusEvent*>(event));
            box_on_focus_ = !focus_refused_ && Modal_Runs() != runs && static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            // The answers are for the press that brought the focus: a refusal by Tab refuses no later one.
            QMetaObject::invokeMethod(this, [this] { focus_refused_ = box_on_focus_ = false; }, Qt::QueuedConnection);
            return false;
        }
        default:
            return false;
    }
}

}  // namespace qthost
