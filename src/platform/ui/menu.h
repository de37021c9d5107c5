#pragma once
// Menus: top-level menus have no container; an entry's container is its menu. A caption of
// "-" makes a separator. Entries keep the order in which the form declares them; a loaded
// array element goes right after the last element of its array.
#include "platform/ui/control.h"

#include <string>

namespace plat {

class Menu : public Control {
public:
    Menu(Form& form, std::string name, int index = -1);
    // An entry of parent.
    Menu(Form& form, std::string name, Menu& parent, int index = -1);

    const std::string& Caption() const { return p_.caption; }
    void SetCaption(const std::string& caption);
    bool IsSeparator() const { return p_.caption == "-"; }
    bool Checked() const { return p_.checked; }
    // "Ctrl+N", "Ctrl+S", "F1"... empty for none. The same in every language.
    const std::string& Shortcut() const { return p_.shortcut; }
    void SetShortcut(const std::string& shortcut);
    Menu* ParentMenu() const;

    std::string DisplayText() const override { return p_.caption; }
    // Refused for separators, disabled or hidden entries (or menus above them).
    void UserClick() override;
    void ResetProperties() override;
    void CopyPropertiesFrom(const Control& other) override;

private:
    struct Props {
        std::string caption;
        bool checked = false;
        std::string shortcut;
    } p_;
};

}  // namespace plat
