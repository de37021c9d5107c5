#pragma once
// Window messages between programs, kept inside this process: a peer (a simulator, or a test's
// fake of one) registers a window under a class and a title and answers the messages sent to it.
#include <cstdint>
#include <functional>
#include <string>

namespace plat {

using WindowHandle = int64_t;    // 0 = none
using MessageHandler = std::function<int64_t(uint32_t message, int64_t wparam, int64_t lparam)>;

// The same name always gives the same number (0xC000 and up); names compare case-insensitively.
uint32_t RegisterWindowMessage(const std::string& name);

WindowHandle RegisterPeerWindow(const std::string& class_name, const std::string& title, MessageHandler handler);
void UnregisterPeerWindow(WindowHandle window);
// By class and/or title (empty = any); 0 when no such window.
WindowHandle FindWindow(const std::string& class_name, const std::string& title);
// The peer's answer; 0 when the window does not exist.
int64_t SendMessage(WindowHandle window, uint32_t message, int64_t wparam, int64_t lparam);

// Global atoms: a name <-> number table (0xC000 and up), reference-counted by GlobalAddAtom.
uint16_t GlobalAddAtom(const std::string& name);
std::string GlobalGetAtomName(uint16_t atom);
void GlobalDeleteAtom(uint16_t atom);

// Forgets every window, message and atom (tests).
void ResetAtoms();

}  // namespace plat
