// List boxes, combo boxes and the drive, folder and file lists.
#include "platform/files.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

#include <algorithm>
#include <cctype>

namespace plat {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool WildMatch(const char* p, const char* s) {
    for (; *p; ++p, ++s) {
        if (*p == '*') {
            for (const char* t = s;; ++t) {
                if (WildMatch(p + 1, t)) return true;
                if (!*t) return false;
            }
        }
        if (!*s || (*p != '?' && *p != *s)) return false;
    }
    return *s == 0;
}

// "*.bmp;*.BMP": any of the patterns, case-insensitively; "*.*" also takes names without a dot.
bool PatternMatch(const std::string& pattern, const std::string& name) {
    std::string n = Lower(name);
    size_t start = 0;
    while (start <= pattern.size()) {
        size_t end = pattern.find(';', start);
        if (end == std::string::npos) end = pattern.size();
        std::string one = Lower(pattern.substr(start, end - start));
        if (one == "*.*" || one == "*" || (!one.empty() && WildMatch(one.c_str(), n.c_str()))) return true;
        start = end + 1;
    }
    return false;
}

// The lists show and hand back the folder as this system names it: absolute, "/" between the
// names, no closing "/" except on the root. A drive letter the program carries names no drive here.
std::string NormalFolder(const std::string& path) {
    std::string p = NativePath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The file system's one root, the only entry of a drive list.
constexpr const char* kRoot = "/";

}  // namespace

// ---- ListControl

std::string ListControl::List(int index) const {
    if (index < 0 || index >= ListCount()) {
        if (index != -1) UiError(FullName() + ": no list item " + std::to_string(index));
        return {};
    }
    return items_[index].text;
}

void ListControl::AddItem(const std::string& text, int index) {
    if (index > ListCount()) {
        UiError(FullName() + ": cannot insert at " + std::to_string(index));
        return;
    }
    if (index < 0) {
        index = ListCount();
        if (Sorted) {
            std::string key = Lower(text);
            index = static_cast<int>(std::upper_bound(items_.begin(), items_.end(), key,
                                                      [](const std::string& k, const Item& it) { return k < Lower(it.text); }) -
                                     items_.begin());
        }
    }
    items_.insert(items_.begin() + index, Item{text});
    new_index_ = index;
    if (list_index_ >= index) ++list_index_;
    Notify(Change::List);
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) {
        UiError(FullName() + ": list index " + std::to_string(index) + " outside -1.." + std::to_string(ListCount() - 1));
        return;
    }
    if (index == list_index_) return;
    list_index_ = index;
    Notify(Change::ListIndex);
    Raise(Click);
}

void ListControl::UserSelect(int index) {
    if (!Reachable() || index < 0 || index >= ListCount()) return;
    if (!Parent().ActiveControl() || Parent().ActiveControl() != this) {
        SetFocus();
        if (!HasFocus()) return;
    }
    if (index == list_index_)
        Raise(Click);
    else
        SetListIndex(index);
}

void ListControl::ResetProperties() {
    Control::ResetProperties();
    SetBackColor(RGB(255, 255, 255));
    items_.clear();
    list_index_ = -1;
    new_index_ = -1;
    Sorted = false;
}

void ListControl::CopyPropertiesFrom(const Control& other) {
    Control::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const ListControl*>(&other)) {
        items_ = o->items_;
        Sorted = o->Sorted;
        list_index_ = -1;
        Notify(Change::List);
    }
}

// ---- ComboBox

void ComboBox::SetStyle(int style) {
    if (style_ == style) return;
    style_ = style;
    Notify(Change::Style);
}

void ComboBox::SetText(const std::string& text) {
    if (style_ == Combo_DropDownList) {
        for (int i = 0; i < ListCount(); ++i) {
            if (items_[i].text == text) {
                SetListIndex(i);
                return;
            }
        }
        UiError(FullName() + ": \"" + text + "\" is not an item of the list");
        return;
    }
    if (text_ == text) return;
    text_ = text;
    Notify(Change::Text);
    Raise(Change);
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) {
        ListControl::SetListIndex(index);   // reports it
        return;
    }
    if (index == list_index_) return;
    std::string t = index >= 0 ? items_[index].text : std::string();
    if (t != text_) {
        text_ = t;
        Notify(Change::Text);
    }
    ListControl::SetListIndex(index);
}

void ComboBox::UserType(const std::string& text) {
    if (!Reachable() || style_ == Combo_DropDownList) return;
    SetText(text);
}

void ComboBox::ResetProperties() {
    ListControl::ResetProperties();
    style_ = Combo_DropDown;
    text_.clear();
}

void ComboBox::CopyPropertiesFrom(const Control& other) {
    ListControl::CopyPropertiesFrom(other);
    if (auto* o = dynamic_cast<const ComboBox*>(&other)) {
        style_ = o->style_;
        text_ = o->text_;
        Notify(Change::Text);
    }
}

bool RootedPath(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return true;
    return !path.empty() && (path[0] == '\\' || path[0] == '/');
}

// ---- DriveListBox

DriveListBox::DriveListBox(Form& form, std::string name, int index)
    : ListControl(form, std::move(name), Kind::DriveListBox, index) {
    ResetProperties();
}

void DriveListBox::SetListIndex(int index) {
    if (index < 0 || index >= ListCount()) {
        ListControl::SetListIndex(index);
        return;
    }
    bool changed = items_[index].text != drive_;
    drive_ = items_[index].text;
    ListControl::SetListIndex(index);
    if (changed) {
        Notify(Change::Text);
        Raise(Change);
    }
}

void DriveListBox::ResetProperties() {
    ListControl::ResetProperties();
    items_.push_back(Item{kRoot});
    list_index_ = 0;
    drive_ = kRoot;
}

// ---- DirListBox

bool DirListBox::SetPath(const std::string& path) {
    std::string p = NormalFolder(path);
    if (!FolderExists(p)) return false;
    chain_.clear();
    size_t pos = 0;
    while (pos <= p.size()) {
        size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        const std::string head = next == 0 ? std::string(kRoot) : p.substr(0, next);
        if (chain_.empty() || chain_.back() != head) chain_.push_back(head);
        pos = next + 1;
    }
    items_.clear();
    for (const std::string& name : ListFolder(p, true)) items_.push_back(Item{JoinFolder(p, name)});
    list_index_ = -1;
    bool changed = p != path_;
    path_ = p;
    Notify(Change::List);
    if (changed) {
        Notify(Change::Text);
        Raise(Change);
    }
    return true;
}

std::string DirListBox::List(int index) const {
    if (index < 0) {
        int n = ParentCount();
        if (index < -n) {
            UiError(FullName() + ": no folder " + std::to_string(index));
            return {};
        }
        return chain_[n + index];
    }
    return ListControl::List(index);
}

void DirListBox::ResetProperties() {
    ListControl::ResetProperties();
    path_.clear();
    chain_.clear();
}

// ---- FileListBox

bool FileListBox::SetPath(const std::string& path) {
    std::string p = NormalFolder(path);
    if (!FolderExists(p)) return false;
    bool changed = p != path_;
    path_ = p;
    Refresh();
    if (changed) {
        Notify(Change::Text);
        Raise(PathChange);
    }
    return true;
}

void FileListBox::SetPattern(const std::string& pattern) {
    if (pattern_ == pattern) return;
    pattern_ = pattern;
    Refresh();
    Raise(PatternChange);
}

void FileListBox::Refresh() {
    items_.clear();
    list_index_ = -1;
    if (!path_.empty()) {
        for (const std::string& name : ListFolder(path_)) {
            if (FolderExists(JoinFolder(path_, name))) continue;
            if (PatternMatch(pattern_, name)) items_.push_back(Item{name});
        }
    }
    Notify(Change::List);
}

void FileListBox::ResetProperties() {
    ListControl::ResetProperties();
    path_.clear();
    pattern_ = "*.*";
}

}  // namespace plat
