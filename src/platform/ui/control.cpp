// The control base: names, containers, common properties, notifications and the user-action entry
// points.
#include "platform/ui/control.h"

#include "platform/host.h"
#include "platform/ui/form.h"

namespace plat {

Control::Control(Form& form, std::string name, Kind kind, int index)
    : form_(&form), name_(std::move(name)), kind_(kind), index_(index) {
    // The form announces itself once its own members exist.
    if (kind_ != Kind::Form) {
        form_->Register(this);
        Notify(Change::Created);
    }
}

Control::~Control() {
    if (kind_ != Kind::Form) {
        Notify(Change::Destroyed);
        form_->Unregister(this);
    }
}

std::string Control::FullName() const {
    return index_ >= 0 ? name_ + "(" + std::to_string(index_) + ")" : name_;
}

void Control::Notify(Change change) {
    if (HostAvailable()) CurrentHost().ControlChanged(*this, change);
}

bool Control::EventsOn() const { return form_->loaded_ && !form_->designing_; }

void Control::SetContainer(Control* container, int page) {
    if (container == this) {
        UiError(FullName() + " cannot contain itself");
        return;
    }
    if (container_ == container && page_ == page) return;
    container_ = container;
    page_ = page;
    Notify(Change::Container);
}

void Control::SetEnabled(bool enabled) {
    if (common_.enabled == enabled) return;
    common_.enabled = enabled;
    Notify(Change::Enabled);
    if (!enabled) form_->ClearFocusIf(this);
}

void Control::SetVisible(bool visible) {
    // Showing a form that is not loaded loads it first, as Show does.
    if (kind_ == Kind::Form && visible && !form_->loaded_) form_->Load();
    if (common_.visible == visible) return;
    common_.visible = visible;
    Notify(Change::Visible);
    if (!visible && kind_ != Kind::Form) form_->ClearFocusIf(this);
}

bool Control::Shown() const {
    if (!common_.visible) return false;
    if (kind_ == Kind::Form) return true;
    if (container_) {
        if (!container_->Shown()) return false;
        if (container_->kind_ == Kind::TabStrip && container_->CurrentPage() != page_) return false;
        return true;
    }
    return form_->common_.visible;
}

bool Control::EffectivelyEnabled() const {
    if (!common_.enabled) return false;
    if (kind_ == Kind::Form) return true;
    if (container_) return container_->EffectivelyEnabled();
    return form_->common_.enabled;
}

void Control::Move(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (common_.left == left && common_.top == top && common_.width == width && common_.height == height) return;
    common_.left = left;
    common_.top = top;
    common_.width = width;
    common_.height = height;
    Notify(Change::Geometry);
}

void Control::SetToolTipText(const std::string& text) {
    if (common_.tool_tip == text) return;
    common_.tool_tip = text;
    Notify(Change::ToolTip);
}

void Control::SetBackColor(Colour c) {
    if (common_.back_color == c) return;
    common_.back_color = c;
    ColoursChanged();
    Notify(Change::Colours);
}

void Control::SetForeColor(Colour c) {
    if (common_.fore_color == c) return;
    common_.fore_color = c;
    ColoursChanged();
    Notify(Change::Colours);
}

void Control::SetFont(const plat::Font& font) {
    if (common_.font == font) return;
    common_.font = font;
    Notify(Change::Font);
}

void Control::SetMousePointer(int pointer) {
    if (common_.mouse_pointer == pointer) return;
    common_.mouse_pointer = pointer;
    Notify(Change::MousePointer);
}

void Control::SetFocus() { form_->MoveFocus(this); }

bool Control::TakeFocus() { return form_->MoveFocus(this); }

bool Control::HasFocus() const { return form_->active_ == this; }

bool Control::Reachable() const { return form_->loaded_ && Shown() && EffectivelyEnabled(); }

void Control::UserClick() {
    if (!Reachable()) return;
    if (Focusable() && !form_->MoveFocus(this)) return;
    ClickAction();
}

void Control::ClickAction() { Raise(Click); }

void Control::UserMouseDown(int button, int shift, double x, double y) {
    if (!Reachable()) return;
    press_refused_ = Focusable() && !form_->MoveFocus(this);
    second_press_ = false;
    RaiseMouse(MouseDown, button, shift, x, y);
}

void Control::UserMouseUp(int button, int shift, double x, double y) {
    if (!Reachable()) return;
    RaiseMouse(MouseUp, button, shift, x, y);
    bool click = !second_press_ && !press_refused_;
    second_press_ = false;
    press_refused_ = false;
    if (click && Reachable()) ClickAction();
}

void Control::UserMouseRelease(int button, int shift, double x, double y) {
    second_press_ = false;
    press_refused_ = false;
    if (!Reachable()) return;
    RaiseMouse(MouseUp, button, shift, x, y);
}

void Control::UserMouseMove(int button, int shift, double x, double y) {
    if (!Reachable()) return;
    RaiseMouse(MouseMove, button, shift, x, y);
}

void Control::UserDoubleClickPress(int button, int shift, double x, double y) {
    (void)button;
    (void)shift;
    (void)x;
    (void)y;
    if (!Reachable()) return;
    second_press_ = true;
    Raise(DblClick);
}

void Control::UserDoubleClick(int button, int shift, double x, double y) {
    UserMouseDown(button, shift, x, y);
    UserMouseUp(button, shift, x, y);
    UserDoubleClickPress(button, shift, x, y);
    UserMouseUp(button, shift, x, y);
}

void Control::UserKeyDown(int key_code, int shift) {
    if (!Reachable()) return;
    if (kind_ != Kind::Form && !form_->PreviewKeyDown(key_code, shift)) return;
    if (KeyDown && EventsOn()) KeyDown(key_code, shift);
    if (key_code == 0) return;
    OnKeyDown(key_code, shift);
    if (key_code != 0 && kind_ != Kind::Form) form_->DefaultCancelKeys(*this, key_code);
}

void Control::UserKeyUp(int key_code, int shift) {
    if (!Reachable()) return;
    if (kind_ != Kind::Form && !form_->PreviewKeyUp(key_code, shift)) return;
    if (KeyUp && EventsOn()) KeyUp(key_code, shift);
}

void Control::UserKeyPress(int key_ascii) {
    if (!Reachable()) return;
    if (kind_ != Kind::Form && !form_->PreviewKeyPress(key_ascii)) return;
    if (KeyPress && EventsOn()) KeyPress(key_ascii);
    if (key_ascii == 0) return;
    OnKeyPress(key_ascii);
}

void Control::ResetProperties() {
    bool was_visible = common_.visible;
    common_ = Common{};
    if (kind_ == Kind::Form) common_.visible = was_visible;
    Tag.clear();
    TabIndex = 0;
    TabStop = true;
    CausesValidation = true;
}

void Control::CopyPropertiesFrom(const Control& other) {
    common_ = other.common_;
    container_ = other.container_;
    page_ = other.page_;
    Tag = other.Tag;
    TabStop = other.TabStop;
    CausesValidation = other.CausesValidation;
    Notify(Change::Geometry);
    Notify(Change::Container);
}

}  // namespace plat
