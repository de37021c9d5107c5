#pragma once
// Main-window globals shared by the layout, the view and the grid drawing.
#include <cstdint>

// 1 while the program itself sets the scroll bars: their change handlers then do nothing.
inline int16_t Scroll_Busy = 0;
// The grid colour dialog's option holding Grid_Colour (core/syst_draw.h).
inline int16_t Grid_Colour_Index = 2;

// Display switches: paint the map tiles, paint class cells with their textures, draw the grid.
inline int16_t Map_Shown = 0;
inline int16_t Textures_Shown = 0;
inline int16_t Grid_Shown = 1;
// Object modes of the main window; at most one is 1.
inline int16_t Mode_Lines = 0;
inline int16_t Mode_Lwm_Cells = 0;
inline int16_t Mode_Lod8_Cells = 0;
inline int16_t Mode_Excl_Cells = 0;
inline int16_t Mode_Land_Class = 0;
inline int16_t Mode_Water_Class = 0;
inline int16_t Mode_Images = 0;
inline int16_t Mode_Grid_Points = 0;
// A project is shown and the map reacts to the mouse.
inline int16_t Project_Displayed = 0;
// Twips per screen pixel, measured at start-up; places pop-ups next to a control.
inline double Twips_Per_Px_X = 15;
inline double Twips_Per_Px_Y = 15;

// Last mouse position over the map picture, picture pixels.
inline double Mouse_X = 0;
inline double Mouse_Y = 0;
// Map-bitmap pixel under the last mouse position, rounded; the cell dialogs take their cell from it.
inline int32_t Mouse_Col = 0;
inline int32_t Mouse_Row = 0;
// The texture image being edited (index in Image_Table) and the grid point under the mouse
// (index in Grid_Point_Table, 0 none).
inline int32_t Cur_Image = 0;
inline int32_t Cur_Grid_Point = 0;
