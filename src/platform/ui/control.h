#pragma once
// The base of every control: name, index in its control array, container, the common
// properties and events, and the entry points through which a host (or a test) feeds user
// actions in. Setting a property notifies the host; events the model raises itself (Click on
// Value, Change on Text...) are raised by the setters of the derived controls.
#include "platform/gdi/surface.h"
#include "platform/ui/observer.h"

#include <functional>
#include <string>

namespace plat {

class Form;

// Mouse buttons and shift states as the program tests them.
enum MouseButton : int { Button_Left = 1, Button_Right = 2, Button_Middle = 4 };
enum ShiftState : int { Shift_Shift = 1, Shift_Ctrl = 2, Shift_Alt = 4 };

// Key codes (vbKey...) the program uses.
enum KeyCode : int {
    Key_Back = 8, Key_Tab = 9, Key_Return = 13, Key_Shift = 16, Key_Control = 17, Key_Escape = 27,
    Key_Space = 32, Key_PageUp = 33, Key_PageDown = 34, Key_End = 35, Key_Home = 36, Key_Left = 37,
    Key_Up = 38, Key_Right = 39, Key_Down = 40, Key_Insert = 45, Key_Delete = 46,
    Key_A = 65, Key_Z = 90, Key_F1 = 112, Key_Add = 107, Key_Subtract = 109,
};

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

using Event = std::function<void()>;
using CancelEvent = std::function<void(bool& cancel)>;
using MouseEvent = std::function<void(int button, int shift, double x, double y)>;
using KeyEvent = std::function<void(int& key_code, int shift)>;
using KeyPressEvent = std::function<void(int& key_ascii)>;

class Control {
public:
    // Registers with the form; index >= 0 for an element of a control array.
    Control(Form& form, std::string name, Kind kind, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind GetKind() const { return kind_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    // "Opt_Lang(1)" for array elements, else the name.
    std::string FullName() const;
    Form& Parent() const { return *form_; }

    // The frame, picture box or tab strip it stands in; nullptr means the form itself.
    // For a tab strip, page is the tab it belongs to. Menus: the menu it is an entry of.
    Control* Container() const { return container_; }
    int ContainerPage() const { return page_; }
    void SetContainer(Control* container, int page = 0);

    bool Enabled() const { return common_.enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return common_.visible; }
    void SetVisible(bool visible);
    // Visible itself, and its containers (and tab page, and form) shown.
    bool Shown() const;
    // Enabled itself and all its containers enabled.
    bool EffectivelyEnabled() const;

    int Left() const { return common_.left; }
    int Top() const { return common_.top; }
    int Width() const { return common_.width; }
    int Height() const { return common_.height; }
    void SetLeft(int v) { Move(v, common_.top, common_.width, common_.height); }
    void SetTop(int v) { Move(common_.left, v, common_.width, common_.height); }
    void SetWidth(int v) { Move(common_.left, common_.top, v, common_.height); }
    void SetHeight(int v) { Move(common_.left, common_.top, common_.width, v); }
    virtual void Move(int left, int top, int width, int height);

    const std::string& ToolTipText() const { return common_.tool_tip; }
    void SetToolTipText(const std::string& text);
    Colour BackColor() const { return common_.back_color; }
    void SetBackColor(Colour c);
    Colour ForeColor() const { return common_.fore_color; }
    void SetForeColor(Colour c);
    const plat::Font& GetFont() const { return common_.font; }
    void SetFont(const plat::Font& font);
    int MousePointer() const { return common_.mouse_pointer; }
    void SetMousePointer(int pointer);

    std::string Tag;
    int TabIndex = 0;
    bool TabStop = true;
    bool CausesValidation = true;
    // The text a person reads on it (Caption or Text): snapshots and hosts use it.
    virtual std::string DisplayText() const { return {}; }
    // Can it take the focus at all (labels, frames, lines, timers cannot).
    virtual bool Focusable() const { return false; }

    // Moves the focus here (SetFocus): ignored when hidden, disabled or not focusable;
    // runs the old control's Validate (kept when cancelled) and LostFocus, then GotFocus.
    void SetFocus();
    bool HasFocus() const;

    // Common events.
    Event Click;
    Event DblClick;
    Event GotFocus;
    Event LostFocus;
    CancelEvent Validate;
    MouseEvent MouseDown;
    MouseEvent MouseUp;
    MouseEvent MouseMove;
    KeyEvent KeyDown;
    KeyEvent KeyUp;
    KeyPressEvent KeyPress;

    // User actions, as a host (or a test) feeds them in. They do nothing on a control that
    // is hidden or disabled, as a person cannot reach it.
    virtual void UserClick();
    void UserMouseDown(int button, int shift, double x, double y);
    void UserMouseUp(int button, int shift, double x, double y);   // MouseUp then Click
    // MouseUp alone: the release on a control whose own widget reports the Click (a button
    // pressed, a list entry chosen), so that it is not raised twice.
    void UserMouseRelease(int button, int shift, double x, double y);
    void UserMouseMove(int button, int shift, double x, double y);
    // The whole double click: MouseDown, MouseUp, Click, DblClick, MouseUp.
    void UserDoubleClick(int button, int shift, double x, double y);
    // The second press of a double click: DblClick (no MouseDown).
    void UserDoubleClickPress(int button, int shift, double x, double y);
    // Keys go to the form first when its KeyPreview is set; a key code set to 0 stops them.
    void UserKeyDown(int key_code, int shift);
    void UserKeyUp(int key_code, int shift);
    void UserKeyPress(int key_ascii);
    // A click or tab into the control by the user: the same focus move as SetFocus.
    void UserFocus() { SetFocus(); }

    // A person can reach it: form loaded, shown, enabled.
    bool Reachable() const;
    // The tab strip's current page (children on other pages are not shown).
    virtual int CurrentPage() const { return 0; }

    // Resets every property to its default (the form's Load then applies its design).
    virtual void ResetProperties();
    // Copies the properties of another control of the same type (Load of an array element).
    virtual void CopyPropertiesFrom(const Control& other);

protected:
    // Tells the host.
    void Notify(Change change);
    // The focus move of a click or a tab by the user: false when the control that had the
    // focus refused to be left (its Validate cancelled), and the action must not happen.
    bool TakeFocus();
    // True while events may run: form loaded and not applying its design.
    bool EventsOn() const;
    void Raise(const Event& e) { if (e && EventsOn()) e(); }
    void RaiseMouse(const MouseEvent& e, int b, int s, double x, double y) { if (e && EventsOn()) e(b, s, x, y); }
    virtual void OnKeyPress(int& key_ascii) { (void)key_ascii; }
    virtual void OnKeyDown(int& key_code, int shift) { (void)key_code; (void)shift; }
    // After ForeColor or BackColor changed (the picture box keeps its pen in step).
    virtual void ColoursChanged() {}
    // What a click does once the focus is there: Click, or toggling a check box first.
    virtual void ClickAction();

private:
    friend class Form;
    struct Common {
        bool enabled = true;
        bool visible = true;
        int left = 0, top = 0, width = 0, height = 0;
        std::string tool_tip;
        Colour back_color = RGB(0xF0, 0xF0, 0xF0);
        Colour fore_color = RGB(0, 0, 0);
        plat::Font font;
        int mouse_pointer = 0;
    };
    Form* form_;
    std::string name_;
    Kind kind_;
    int index_;
    Control* container_ = nullptr;
    int page_ = 0;
    Common common_;
    bool press_refused_ = false;   // the press could not take the focus: no Click
    bool second_press_ = false;    // the release after a double-click press: no Click
};

}  // namespace plat
