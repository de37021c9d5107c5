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
// Object modes of the main window: at most one flag is 1. The flags are read-only views of
// storage that only PSais_Set_Mode writes, so that no writer can leave two modes set.
enum class Object_Mode { None, Lines, Lwm_Cells, Lod8_Cells, Excl_Cells, Land_Class, Water_Class, Images, Grid_Points };
namespace mode_storage {
inline int16_t Flags[8] = {};
}
inline const int16_t& Mode_Lines = mode_storage::Flags[0];
inline const int16_t& Mode_Lwm_Cells = mode_storage::Flags[1];
inline const int16_t& Mode_Lod8_Cells = mode_storage::Flags[2];
inline const int16_t& Mode_Excl_Cells = mode_storage::Flags[3];
inline const int16_t& Mode_Land_Class = mode_storage::Flags[4];
inline const int16_t& Mode_Water_Class = mode_storage::Flags[5];
inline const int16_t& Mode_Images = mode_storage::Flags[6];
inline const int16_t& Mode_Grid_Points = mode_storage::Flags[7];
// Sets the flag of `mode` and clears the seven others (None clears all eight).
inline void PSais_Set_Mode(Object_Mode mode) {
    for (int i = 0; i < 8; ++i) mode_storage::Flags[i] = static_cast<int>(mode) == i + 1 ? 1 : 0;
}
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

// Start values of every global above (tests).
inline void Editor_Globals_Reset() {
    Scroll_Busy = 0;
    Grid_Colour_Index = 2;
    Map_Shown = 0;
    Textures_Shown = 0;
    Grid_Shown = 1;
    PSais_Set_Mode(Object_Mode::None);
    Project_Displayed = 0;
    Twips_Per_Px_X = Twips_Per_Px_Y = 15;
    Mouse_X = Mouse_Y = 0;
    Mouse_Col = Mouse_Row = 0;
    Cur_Image = Cur_Grid_Point = 0;
}
