// Registered messages, peer windows and global atoms, all kept inside this process.
#include "platform/atoms.h"

#include <map>
#include <utility>

#include "platform/text.h"

namespace plat {
namespace {

struct PeerWindow {
    std::string class_name;
    std::string title;
    MessageHandler handler;
};

struct Atom {
    std::string name;
    int references = 0;
};

struct Tables {
    std::map<std::string, uint32_t> messages;       // upper-cased name -> number
    std::map<WindowHandle, PeerWindow> windows;
    WindowHandle next_window = 1;
    std::map<uint16_t, Atom> atoms;
};

Tables& T() {
    static Tables tables;
    return tables;
}

constexpr uint32_t kFirstNumber = 0xC000;

// 0 when no atom has the name.
uint16_t AtomNamed(const std::string& name) {
    for (const auto& [n, a] : T().atoms)
        if (EqualsNoCase(a.name, name)) return n;
    return 0;
}

}  // namespace

uint32_t RegisterWindowMessage(const std::string& name) {
    if (name.empty()) return 0;
    auto& m = T().messages;
    const std::string key = UCase(name);
    const auto it = m.find(key);
    if (it != m.end()) return it->second;
    const auto number = kFirstNumber + static_cast<uint32_t>(m.size());
    m[key] = number;
    return number;
}

WindowHandle RegisterPeerWindow(const std::string& class_name, const std::string& title, MessageHandler handler) {
    const WindowHandle h = T().next_window++;
    T().windows[h] = PeerWindow{class_name, title, std::move(handler)};
    return h;
}

void UnregisterPeerWindow(WindowHandle window) { T().windows.erase(window); }

WindowHandle FindWindow(const std::string& class_name, const std::string& title) {
    for (const auto& [h, w] : T().windows) {
        if (!class_name.empty() && !EqualsNoCase(w.class_name, class_name)) continue;
        if (!title.empty() && !EqualsNoCase(w.title, title)) continue;
        return h;
    }
    return 0;
}

int64_t SendMessage(WindowHandle window, uint32_t message, int64_t wparam, int64_t lparam) {
    const auto it = T().windows.find(window);
    if (it == T().windows.end() || !it->second.handler) return 0;
    // A copy, so a handler may unregister its own window.
    MessageHandler handler = it->second.handler;
    return handler(message, wparam, lparam);
}

uint16_t GlobalAddAtom(const std::string& name) {
    if (const uint16_t found = AtomNamed(name)) {
        ++T().atoms[found].references;
        return found;
    }
    uint16_t number = static_cast<uint16_t>(kFirstNumber);
    while (T().atoms.count(number) != 0) {
        if (number == 0xFFFF) return 0;
        ++number;
    }
    T().atoms[number] = Atom{name, 1};
    return number;
}

std::string GlobalGetAtomName(uint16_t atom) {
    const auto it = T().atoms.find(atom);
    return it == T().atoms.end() ? std::string() : it->second.name;
}

void GlobalDeleteAtom(uint16_t atom) {
    const auto it = T().atoms.find(atom);
    if (it != T().atoms.end() && --it->second.references <= 0) T().atoms.erase(it);
}

void ResetAtoms() { T() = Tables{}; }

}  // namespace plat
