// The standard controls' properties and the events setting them raises.
#include "platform/ui/controls.h"

#include "platform/ui/form.h"

#include <algorithm>

namespace plat {

// ---- CommandButton

void CommandButton::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void CommandButton::SetStyle(int style) {
    if (p_.style == style) return;
    p_.style = style;
    Notify(Change::Style);
}

void CommandButton::SetPicture(const Surface& picture) {
    p_.picture = picture;
    Notify(Change::Picture);
}

void CommandButton::SetValue(bool value) {
    if (value) Raise(Click);
}

void CommandButton::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    Default = false;
    Cancel = false;
}

void CommandButton::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const CommandButton*>(&other)) {
        p_ = o->p_;
        Notify(Change::Caption);
        Notify(Change::Picture);
    }
}

// ---- Label

void Label::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void Label::SetAlignment(int alignment) {
    if (p_.alignment == alignment) return;
    p_.alignment = alignment;
    Notify(Change::Style);
}

void Label::SetBorderStyle(int style) {
    if (p_.border_style == style) return;
    p_.border_style = style;
    Notify(Change::Style);
}

void Label::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    WordWrap = false;
    AutoSize = false;
}

void Label::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const Label*>(&other)) {
        p_ = o->p_;
        WordWrap = o->WordWrap;
        AutoSize = o->AutoSize;
        Notify(Change::Caption);
    }
}

// ---- TextBox

TextBox::TextBox(Form& form, std::string name, int index) : Control(form, std::move(name), Kind::TextBox, index) {
    SetBackColor(RGB(255, 255, 255));
}

void TextBox::SetText(const std::string& text) {
    if (p_.text == text) return;
    p_.text = text;
    SelStart = static_cast<int>(text.size());
    SelLength = 0;
    Notify(Change::Text);
    Raise(Change);
}

void TextBox::UserType(const std::string& text) {
    if (!Reachable() || p_.locked) return;
    std::string t = text;
    if (MaxLength > 0 && static_cast<int>(t.size()) > MaxLength) t.resize(MaxLength);
    SetText(t);
}

void TextBox::ResetProperties() {
    Control::ResetProperties();
    SetBackColor(RGB(255, 255, 255));
    p_ = Props{};
    MaxLength = 0;
    SelStart = 0;
    SelLength = 0;
}

void TextBox::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const TextBox*>(&other)) {
        p_ = o->p_;
        MaxLength = o->MaxLength;
        Notify(Change::Text);
    }
}

// ---- CheckBox

void CheckBox::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void CheckBox::SetValue(int value) {
    if (value < Unchecked || value > Grayed) {
        UiError("check box " + FullName() + ": value " + std::to_string(value) + " is not 0, 1 or 2");
        return;
    }
    if (p_.value == value) return;
    p_.value = value;
    Notify(Change::Value);
    Raise(Click);
}

void CheckBox::ClickAction() { SetValue(p_.value == Checked ? Unchecked : Checked); }

void CheckBox::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
}

void CheckBox::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const CheckBox*>(&other)) {
        p_ = o->p_;
        Notify(Change::Caption);
        Notify(Change::Value);
    }
}

// ---- OptionButton

void OptionButton::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void OptionButton::SetValue(bool value) {
    if (!value) {
        if (p_.value) {
            p_.value = false;
            Notify(Change::Value);
        }
        return;
    }
    if (p_.value) return;
    for (Control* c : Parent().Controls()) {
        if (c == this || c->GetKind() != Kind::OptionButton || c->Container() != Container()) continue;
        auto* o = static_cast<OptionButton*>(c);
        if (o->p_.value) {
            o->p_.value = false;
            o->Notify(Change::Value);
        }
    }
    p_.value = true;
    Notify(Change::Value);
    Raise(Click);
}

void OptionButton::ClickAction() { SetValue(true); }

void OptionButton::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    Style = 0;
}

void OptionButton::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const OptionButton*>(&other)) {
        // A copy starts unselected, so a group never has two set.
        p_.caption = o->p_.caption;
        p_.value = false;
        Style = o->Style;
        Notify(Change::Caption);
    }
}

// ---- Frame

void Frame::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void Frame::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
    BorderStyle = 1;
}

void Frame::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const Frame*>(&other)) {
        p_ = o->p_;
        Notify(Change::Caption);
    }
}

// ---- ScrollBar

void ScrollBar::SetMin(int v) {
    if (p_.min == v) return;
    p_.min = v;
    Notify(Change::Range);
}

void ScrollBar::SetMax(int v) {
    if (p_.max == v) return;
    p_.max = v;
    Notify(Change::Range);
}

void ScrollBar::SetValue(int v) {
    int lo = std::min(p_.min, p_.max);
    int hi = std::max(p_.min, p_.max);
    if (v < lo || v > hi) {
        UiError("scroll bar " + FullName() + ": value " + std::to_string(v) + " outside " +
                std::to_string(p_.min) + ".." + std::to_string(p_.max));
        return;
    }
    if (p_.value == v) return;
    p_.value = v;
    Notify(Change::Value);
    Raise(Change);
}

void ScrollBar::SetSmallChange(int v) {
    if (p_.small_change == v) return;
    p_.small_change = v;
    Notify(Change::Range);
}

void ScrollBar::SetLargeChange(int v) {
    if (p_.large_change == v) return;
    p_.large_change = v;
    Notify(Change::Range);
}

void ScrollBar::UserScroll(int value) {
    if (!Reachable()) return;
    int lo = std::min(p_.min, p_.max);
    int hi = std::max(p_.min, p_.max);
    SetValue(std::clamp(value, lo, hi));
}

void ScrollBar::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
}

void ScrollBar::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const ScrollBar*>(&other)) {
        p_ = o->p_;
        Notify(Change::Range);
        Notify(Change::Value);
    }
}

// ---- Timer

Timer::Timer(Form& form, std::string name, int index) : Control(form, std::move(name), Kind::Timer, index) {}

void Timer::SetInterval(int milliseconds) {
    if (milliseconds < 0) {
        UiError("timer " + FullName() + ": negative interval");
        return;
    }
    if (interval_ == milliseconds) return;
    interval_ = milliseconds;
    Notify(Change::Interval);
}

bool Timer::ParentLoaded() const { return Parent().Loaded(); }

void Timer::UserTick() {
    if (Running()) Raise(Tick);
}

void Timer::ResetProperties() {
    Control::ResetProperties();
    interval_ = 0;
}

// ---- TabStrip

bool TabStrip::ValidTab(int tab) const {
    if (tab >= 0 && tab < Tabs()) return true;
    UiError("tab strip " + FullName() + ": no tab " + std::to_string(tab));
    return false;
}

void TabStrip::SetTabs(int count) {
    if (count < 1) {
        UiError("tab strip " + FullName() + ": needs at least one tab");
        return;
    }
    pages_.resize(count);
    if (current_ >= count) current_ = count - 1;
    Notify(Change::Tab);
}

void TabStrip::SetTab(int tab) {
    if (!ValidTab(tab) || tab == current_) return;
    int previous = current_;
    current_ = tab;
    Notify(Change::Tab);
    if (TabClick && EventsOn()) TabClick(previous);
}

std::string TabStrip::TabCaption(int tab) const {
    return tab >= 0 && tab < Tabs() ? pages_[tab].caption : std::string();
}

void TabStrip::SetTabCaption(int tab, const std::string& caption) {
    if (!ValidTab(tab) || pages_[tab].caption == caption) return;
    pages_[tab].caption = caption;
    Notify(Change::Tab);
}

bool TabStrip::TabEnabled(int tab) const { return tab >= 0 && tab < Tabs() && pages_[tab].enabled; }

void TabStrip::SetTabEnabled(int tab, bool enabled) {
    if (!ValidTab(tab) || pages_[tab].enabled == enabled) return;
    pages_[tab].enabled = enabled;
    Notify(Change::Tab);
}

bool TabStrip::TabVisible(int tab) const { return tab >= 0 && tab < Tabs() && pages_[tab].visible; }

void TabStrip::UserSelectTab(int tab) {
    if (!Reachable() || tab < 0 || tab >= Tabs() || !pages_[tab].enabled || !pages_[tab].visible) return;
    // A box that refuses its value keeps the focus and the page it stands on, so that the
    // author sees what was refused and can correct it.
    if (!TakeFocus()) return;
    SetTab(tab);
}

void TabStrip::ResetProperties() {
    Control::ResetProperties();
    pages_.assign(1, Page{});
    current_ = 0;
}

void TabStrip::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const TabStrip*>(&other)) {
        pages_ = o->pages_;
        current_ = o->current_;
        Notify(Change::Tab);
    }
}

}  // namespace plat
