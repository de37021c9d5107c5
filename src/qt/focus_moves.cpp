// Focus moves between Qt and the control model.
#include "qt/focus_moves.h"

#include <QPointer>
#include <QVariant>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace qthost {

namespace {
int modal_runs = 0;
}  // namespace

void Return_Focus(plat::Control& control, QWidget* widget) {
    plat::Control* active = control.Parent().ActiveControl();
    QWidget* window = widget->window();
    QMetaObject::invokeMethod(window, [window, active] {
        if (!active) return;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->property("tess_control").value<quintptr>() == reinterpret_cast<quintptr>(active)) {
                w->setFocus(Qt::OtherFocusReason);
                return;
            }
    }, Qt::QueuedConnection);
}

bool Feed_Focus(plat::Control& control, QWidget* widget, QFocusEvent* event) {
    const Qt::FocusReason r = event->reason();
    if (r != Qt::MouseFocusReason && r != Qt::TabFocusReason && r != Qt::BacktabFocusReason && r != Qt::ShortcutFocusReason) return true;
    control.UserFocus();
    // A control the model never gives the focus (a picture) keeps Qt's, for its keys.
    if (control.HasFocus() || !control.Focusable()) return true;
    Return_Focus(control, widget);
    return false;
}

void Note_Modal_Run() { ++modal_runs; }
int Modal_Runs() { return modal_runs; }

void Finish_Press_After_Box(plat::Control& control, QWidget* widget) {
    QPointer<QWidget> target(widget);
    if (QWidget* window = widget->window()) window->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    // The release that would have made the click went to the box.
    if (dynamic_cast<plat::OptionButton*>(&control) || dynamic_cast<plat::CheckBox*>(&control) ||
        dynamic_cast<plat::CommandButton*>(&control))
        control.UserClick();
    // The window manager hands the activation back when the event loop turns; Qt's focus follows.
    if (target) QMetaObject::invokeMethod(target, [target] {
        if (target && target->isVisible()) target->setFocus(Qt::OtherFocusReason);
    }, Qt::QueuedConnection);
}

}  // namespace qthost
