#pragma once
// Mouse tracking over the map picture: the mouse position that the keyboard commands, the
// pop-ups and the cell dialogs use, the status row (pixel, latitude and longitude, cell and
// area, custom bitmap name), the rubber bands of the line tools and the altitude tip of the
// grid-point mode. It changes no table.
#include "editor/editor_globals.h"

#include <cstdint>
#include <string>

// Mouse_X, Mouse_Y, Mouse_Col, Mouse_Row and the line-tool state are in editor_globals.h.

// The map picture's mouse events. X and Y are picture pixels.
void Frm_Pic_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
// Releasing a button over the map changes nothing.
void Frm_Pic_MouseUp(int16_t Button, int16_t Shift, float X, float Y);

// Empties the seven labels that tell where the mouse stands (no project, or outside the map).
void Mouse_Status_Clear_Labels();

// The latitude or longitude as the decimal status labels show it: rounded down to 7 decimals.
std::string Mouse_Decimal_Degrees(double value);
