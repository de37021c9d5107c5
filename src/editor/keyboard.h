#pragma once
// Keyboard commands of the main window, seen before its controls: Alt with a letter or a
// keypad sign presses a tool-bar button (and, for the line tools, picks at the mouse), and
// Shift, Ctrl or Alt with an arrow moves the selected line.
#include <cstdint>

// KeyCode and Shift as the window system gives them (Shift: 1 Shift, 2 Ctrl, 4 Alt, summed).
void Frm_Form_KeyDown(int16_t KeyCode, int16_t Shift);
