#pragma once
// Keyboard commands of the main window, seen before its controls: Alt with a letter or a
// keypad sign presses a tool-bar button (and, for the line tools, picks at the mouse), and
// Shift, Ctrl or Alt with an arrow moves the selected line.
#include <cstdint>

// The picture position a picking double-click works on (the map's mouse press sets it too).
inline double Mouse_Down_X = 0;
inline double Mouse_Down_Y = 0;
// The select-line tool waits for its picking double-click.
inline int16_t Sel_Line_Armed = 0;

// KeyCode and Shift as the window system gives them (Shift: 1 Shift, 2 Ctrl, 4 Alt, summed).
void Frm_Form_KeyDown(int16_t KeyCode, int16_t Shift);

// Start values of the globals above (tests).
void Keyboard_Reset();
