#pragma once
// What a host learns about the controls: every creation, destruction and property change.
// The Qt host mirrors these into widgets; the headless host records them.
#include <string>

namespace plat {

class Control;

enum class Kind {
    Form, CommandButton, Label, TextBox, CheckBox, OptionButton, Frame, ComboBox, ListBox,
    DriveListBox, DirListBox, FileListBox, PictureBox, Line, Shape, HScrollBar, VScrollBar,
    Timer, Menu, TabStrip, CommonDialog,
};

enum class Change {
    Created,      // the control exists (design element or array element loaded); a form's
                  // own Created comes before its controls exist: build widgets on Loaded
    Destroyed,    // the control is about to go (array element unloaded, form destroyed)
    Loaded,       // form: loaded (its controls hold their designed values)
    Unloaded,     // form: unloaded
    Caption, Text, Enabled, Visible, Geometry, ToolTip, Colours, Font, Value,
    List,         // items added, removed, changed or cleared
    ListIndex,
    Range,        // scroll Min/Max/SmallChange/LargeChange
    Picture,      // button picture or picture box Picture replaced
    Pixels,       // picture box surface drawn on (hosts repaint on Refresh or idle)
    Refresh,      // picture box or form: Refresh called
    Overlay,      // Line / Shape geometry or style
    Container,
    Focus,        // this control received the focus
    Interval,     // timer interval or enabled state
    Tab,          // tab strip: current page, page captions or page states
    Style,        // any other look property (alignment, border, graphical style, multiline)
    MousePointer,
};

class UiObserver {
public:
    virtual ~UiObserver() = default;
    virtual void ControlChanged(Control& control, Change change) { (void)control; (void)change; }
};

// A misuse of the model (a scroll value out of range, a missing array element, unloading an
// unloaded form). Reported to the host: the headless host fails the test, the Qt host logs it.
void UiError(const std::string& message);

}  // namespace plat
