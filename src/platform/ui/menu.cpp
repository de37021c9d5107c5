// Menus and their entries.
#include "platform/ui/menu.h"

#include "platform/ui/form.h"

namespace plat {

Menu::Menu(Form& form, std::string name, int index) : Control(form, std::move(name), Kind::Menu, index) {}

Menu::Menu(Form& form, std::string name, Menu& parent, int index) : Control(form, std::move(name), Kind::Menu, index) {
    SetContainer(&parent);
}

void Menu::SetCaption(const std::string& caption) {
    if (p_.caption == caption) return;
    p_.caption = caption;
    Notify(Change::Caption);
}

void Menu::SetShortcut(const std::string& shortcut) {
    if (p_.shortcut == shortcut) return;
    p_.shortcut = shortcut;
    Notify(Change::Style);
}

Menu* Menu::ParentMenu() const {
    return Container() && Container()->GetKind() == Kind::Menu ? static_cast<Menu*>(Container()) : nullptr;
}

void Menu::UserClick() {
    if (IsSeparator() || !Parent().Loaded() || !Parent().Visible()) return;
    for (const Menu* m = this; m; m = m->ParentMenu())
        if (!m->Enabled() || !m->Visible()) return;
    Raise(Click);
}

void Menu::ResetProperties() {
    Control::ResetProperties();
    p_ = Props{};
}

void Menu::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const Menu*>(&other)) {
        p_.caption = o->p_.caption;
        p_.checked = false;
        Notify(Change::Caption);
    }
}

}  // namespace plat
