#pragma once
// A control array: one name, several indices. The form declares its designed indices; Load
// creates further ones at run time as copies of the lowest element (hidden, as designed
// controls are copied), Unload removes them again. The form unloads run-time elements when it
// is unloaded.
#include "platform/ui/control.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class ControlArrayBase {
public:
    ControlArrayBase(Form& form, std::string name);
    virtual ~ControlArrayBase();
    ControlArrayBase(const ControlArrayBase&) = delete;
    ControlArrayBase& operator=(const ControlArrayBase&) = delete;
    const std::string& Name() const { return name_; }
    virtual void UnloadRunTimeElements() = 0;

protected:
    Form& form_;
    std::string name_;
    // Orders a new element right after the array's last one in the form's control list.
    void PlaceAfter(Control& element, Control* last);
};

template <class T>
class ControlArray : public ControlArrayBase {
public:
    // T must be constructible as T(Form&, std::string name, int index). For menu entries,
    // use the overload with the parent menu.
    ControlArray(Form& form, std::string name, std::vector<int> designed)
        : ControlArrayBase(form, std::move(name)) {
        for (int i : designed) elements_[i] = Make(i);
    }
    template <class Parent>
    ControlArray(Form& form, std::string name, Parent& parent, std::vector<int> designed)
        : ControlArrayBase(form, std::move(name)) {
        make_ = [this, &parent](int i) { return std::make_unique<T>(form_, name_, parent, i); };
        for (int i : designed) elements_[i] = Make(i);
    }

    // Called for every element when it is created (designed or loaded): wire its events here,
    // e.g. [this](OptionButton& o, int i) { o.Click = [this, i] { Frm_X_Opt_Y_Click(i); }; }.
    // Setting Wire wires the existing elements too.
    void SetWire(std::function<void(T&, int)> wire) {
        wire_ = std::move(wire);
        for (auto& [i, e] : elements_) wire_(*e, i);
    }

    bool Exists(int index) const { return elements_.count(index) != 0; }
    int Count() const { return static_cast<int>(elements_.size()); }
    int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }
    std::vector<int> Indices() const {
        std::vector<int> v;
        for (auto& [i, e] : elements_) v.push_back(i);
        return v;
    }

    // A missing element is a UiError; the user gets a detached stand-in that nothing shows.
    T& operator()(int index) {
        auto it = elements_.find(index);
        if (it != elements_.end()) return *it->second;
        UiError("control array element " + name_ + "(" + std::to_string(index) + ") does not exist");
        if (!stand_in_) {
            stand_in_ = Make(index);
            stand_in_->SetVisible(false);
        }
        return *stand_in_;
    }
    T& operator[](int index) { return (*this)(index); }

    // Load Ctl(index): a copy of the lowest element, hidden. An existing index is a UiError.
    T& Load(int index) {
        if (Exists(index)) {
            UiError("control array element " + name_ + "(" + std::to_string(index) + ") already loaded");
            return *elements_[index];
        }
        Control* last = elements_.empty() ? nullptr : elements_.rbegin()->second.get();
        auto element = Make(index);
        if (!elements_.empty()) element->CopyPropertiesFrom(*elements_.begin()->second);
        element->SetVisible(false);
        T& ref = *element;
        elements_[index] = std::move(element);
        runtime_.push_back(index);
        PlaceAfter(ref, last);
        return ref;
    }
    // Unload Ctl(index): only elements loaded at run time can go; others are a UiError.
    void Unload(int index) {
        auto pos = std::find(runtime_.begin(), runtime_.end(), index);
        if (pos == runtime_.end()) {
            UiError("control array element " + name_ + "(" + std::to_string(index) +
                    (Exists(index) ? ") was designed and cannot be unloaded" : ") is not loaded"));
            return;
        }
        runtime_.erase(pos);
        elements_.erase(index);
    }
    void UnloadRunTimeElements() override {
        for (int i : std::vector<int>(runtime_)) Unload(i);
    }

private:
    std::unique_ptr<T> Make(int index) {
        std::unique_ptr<T> e = make_ ? make_(index) : std::make_unique<T>(form_, name_, index);
        if (wire_) wire_(*e, index);
        return e;
    }
    std::function<std::unique_ptr<T>(int)> make_;
    std::function<void(T&, int)> wire_;
    std::map<int, std::unique_ptr<T>> elements_;
    std::vector<int> runtime_;
    std::unique_ptr<T> stand_in_;
};

}  // namespace plat
