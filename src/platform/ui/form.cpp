// Forms: load, show (modal or modeless), hide, unload, focus moves and key preview; control arrays.
#include "platform/ui/form.h"

#include "platform/host.h"
#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/menu.h"

#include <algorithm>

namespace plat {

namespace {
int maximized_width = 1024;
int maximized_height = 700;
}  // namespace

void Form::SetMaximizedSize(int width, int height) {
    maximized_width = width;
    maximized_height = height;
}

Form::Form(std::string name) : Control(*this, std::move(name), Kind::Form) {
    common_.visible = false;
    caption_ = Name();
    Notify(Change::Created);
}

Form::~Form() {
    destroying_ = true;
    Notify(Change::Destroyed);
}

void Form::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Change::Caption);
}

void Form::SetWindowState(int state) {
    if (window_state_ == state) return;
    window_state_ = state;
    Notify(Change::Style);
    if (state == Window_Maximized) Move(0, 0, maximized_width, maximized_height);
    if (EventsOn()) Raise(Form_Resize);
}

void Form::Load() {
    if (loaded_) return;
    designing_ = true;
    ResetProperties();
    caption_ = Name();
    window_state_ = Window_Normal;
    KeyPreview = false;
    for (Control* c : controls_) c->ResetProperties();
    Design();
    designing_ = false;
    loaded_ = true;
    Notify(Change::Loaded);
    Raise(Form_Load);
}

void Form::Show(int mode) {
    Load();
    if (!loaded_) return;
    if (modal_) {
        UiError("form " + Name() + " is already shown modally");
        return;
    }
    if (!common_.visible) {
        common_.visible = true;
        Notify(Change::Visible);
    }
    Raise(Form_Activate);
    if (mode == Modal) {
        // Cleared even when a test host throws out of the modal run.
        struct Modal_Scope {
            bool& flag;
            ~Modal_Scope() { flag = false; }
        } scope{modal_};
        modal_ = true;
        CurrentHost().RunModal(*this);
    }
}

void Form::Hide() {
    if (!common_.visible) return;
    common_.visible = false;
    Notify(Change::Visible);
}

bool Form::Unload(int mode) {
    if (!loaded_) {
        UiError("form " + Name() + " is not loaded");
        return false;
    }
    bool cancel = false;
    if (Form_QueryUnload) Form_QueryUnload(cancel, mode);
    if (cancel) return false;
    if (Form_Unload) Form_Unload(cancel);
    if (cancel) return false;
    Hide();
    for (ControlArrayBase* a : arrays_) a->UnloadRunTimeElements();
    active_ = nullptr;
    loaded_ = false;
    Notify(Change::Unloaded);
    return true;
}

void Form::ForceUnload() {
    if (!loaded_) return;
    Hide();
    for (ControlArrayBase* a : arrays_) a->UnloadRunTimeElements();
    active_ = nullptr;
    loaded_ = false;
    modal_ = false;
    Notify(Change::Unloaded);
}

Control* Form::Find(const std::string& name, int index) const {
    for (Control* c : controls_)
        if (c->Name() == name && c->Index() == index) return c;
    return nullptr;
}

std::vector<Menu*> Form::MenuBar() const {
    std::vector<Menu*> bar;
    for (Control* c : controls_)
        if (c->GetKind() == Kind::Menu && c->Container() == nullptr) bar.push_back(static_cast<Menu*>(c));
    return bar;
}

void Form::Register(Control* c) { controls_.push_back(c); }

void Form::Unregister(Control* c) {
    std::erase(controls_, c);
    if (active_ == c) active_ = nullptr;
}

void Form::RegisterArray(ControlArrayBase* a) { arrays_.push_back(a); }
void Form::UnregisterArray(ControlArrayBase* a) { std::erase(arrays_, a); }

void Form::PlaceAfter(Control* c, Control* last) {
    if (!last) return;
    auto self = std::find(controls_.begin(), controls_.end(), c);
    if (self == controls_.end()) return;
    controls_.erase(self);
    auto after = std::find(controls_.begin(), controls_.end(), last);
    controls_.insert(after == controls_.end() ? controls_.end() : after + 1, c);
}

bool Form::MoveFocus(Control* target) {
    if (!target->Focusable() || !target->Shown() || !target->EffectivelyEnabled() || !loaded_) return false;
    if (active_ == target) return true;
    if (active_ && target->CausesValidation && active_->Validate && EventsOn()) {
        bool cancel = false;
        active_->Validate(cancel);
        if (cancel) return false;
    }
    Control* old = active_;
    active_ = target;
    if (old) old->Raise(old->LostFocus);
    target->Notify(Change::Focus);
    target->Raise(target->GotFocus);
    return true;
}

void Form::ClearFocusIf(Control* c) {
    if (active_ == c) active_ = nullptr;
}

bool Form::PreviewKeyDown(int& key_code, int shift) {
    if (KeyPreview && KeyDown && EventsOn()) KeyDown(key_code, shift);
    return key_code != 0;
}

bool Form::PreviewKeyUp(int& key_code, int shift) {
    if (KeyPreview && KeyUp && EventsOn()) KeyUp(key_code, shift);
    return key_code != 0;
}

bool Form::PreviewKeyPress(int& key_ascii) {
    if (KeyPreview && KeyPress && EventsOn()) KeyPress(key_ascii);
    return key_ascii != 0;
}

void Form::DefaultCancelKeys(Control& from, int key_code) {
    if (key_code != Key_Return && key_code != Key_Escape) return;
    if (key_code == Key_Return && from.GetKind() == Kind::CommandButton) {
        from.UserClick();
        return;
    }
    if (key_code == Key_Return && from.GetKind() == Kind::TextBox && static_cast<TextBox&>(from).MultiLine()) return;
    for (Control* c : controls_) {
        if (c->GetKind() != Kind::CommandButton) continue;
        auto* b = static_cast<CommandButton*>(c);
        if ((key_code == Key_Return && b->Default) || (key_code == Key_Escape && b->Cancel)) {
            // The focus stays where it is, as with the keyboard's default button.
            if (b->Reachable()) b->ClickAction();
            return;
        }
    }
}

ControlArrayBase::ControlArrayBase(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form_.RegisterArray(this);
}

ControlArrayBase::~ControlArrayBase() { form_.UnregisterArray(this); }

void ControlArrayBase::PlaceAfter(Control& element, Control* last) { form_.PlaceAfter(&element, last); }

}  // namespace plat
