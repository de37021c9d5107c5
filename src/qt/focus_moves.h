#pragma once
// Focus moves between Qt and the control model: Qt's focus handed to the model, taken back
// where a Validate refused it, and a press finished that a box interrupted. A box shown while
// Qt moves the focus (a value checked as its box is left) runs its own event loop in the middle
// of the press that moved it: the release goes to the box, and the window is left inactive.
#include <QFocusEvent>
#include <QWidget>

namespace plat {
class Control;
}

namespace qthost {

// Qt's focus back on the control that has the model's, once the event under way is done: a
// cancelled Validate keeps the focus where it was.
void Return_Focus(plat::Control& control, QWidget* widget);
// Qt's focus, moved by the mouse, Tab or a shortcut, given to the model. False when the model
// refused it (a Validate elsewhere cancelled); Qt's focus then goes back.
bool Feed_Focus(plat::Control& control, QWidget* widget, QFocusEvent* event);

// Counts the boxes and dialogs the host has run, so that a handler can tell one ran meanwhile.
void Note_Modal_Run();
int Modal_Runs();

// The press that brought the focus to `control` after a box: it counts as the click of a
// button, a check box or an option, and the window becomes active again with Qt's focus on
// `widget`, so that the next key goes there.
void Finish_Press_After_Box(plat::Control& control, QWidget* widget);

}  // namespace qthost
