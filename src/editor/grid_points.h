#pragma once
// The grid-point mode of the map: the click that edits the grid point under the mouse or
// starts a new one through the altitude popup, the Delete key, the fine sub-grid of the chosen
// re-mesh level, the red crosses of the defined grid points and the altitude tip that follows
// the mouse.
#include <cstdint>
#include <functional>
#include <string>

// The altitude popup of grid point Cur_Grid_Point. It is shown modally with
// Grid_Dlg_Cancelled at 1 and clears the flag when it stored an altitude; an empty hook counts
// as a popup closed without a value.
struct Grid_Point_Windows {
    std::function<void()> Show_Altitude;   // Frm_PtGrid
};
extern Grid_Point_Windows Grid_Point_Dialogs;

// A press on the map in the grid-point mode (after the common mouse-press steps).
void PSais_Grid_Point_Click();
// The Delete key in the grid-point mode: the point under the mouse becomes undefined.
void PSais_Delete_Grid_Point();

// The sub-grid of the re-mesh level over the LOD13 cells in view; nothing while Grid_Shown is 0.
void PSais_Draw_Grid_Point_Mode();
// The red cross of grid point n.
void PSais_Draw_Grid_Point(int32_t& n);
// The crosses of every defined grid point; the picture refreshed and focused.
void PSais_Draw_Grid_Points();
// LPtGrid beside the mouse with the altitude of the grid point under it, which becomes
// Cur_Grid_Point (0 when there is none).
void PSais_Show_Altitude_Tip();
// An altitude as the tip shows it: the single-precision value's digits, user's separator.
std::string Grid_Altitude_Text(float altitude);

// Empties the popup hook (tests).
void Grid_Points_Reset();
