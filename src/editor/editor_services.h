#pragma once
// What the windows above the editor (set-up, dialogs, simulator link) read of it and call back;
// they include no other header of the editor. The editor in turn includes no window: what it
// needs of one it names as a hook of its module, and the program's start-up wires the hooks
// (app/window_hooks.h).
#include <cstdint>

#include "editor/editor_globals.h"   // the mouse position and cell, the current image and grid
                                     // point, the object modes
#include "editor/frm.h"              // the main window: its map picture, crosses and visibility

// What the editor's dialog hooks exchange: the editor sets a dialog's flag to 1 before it shows
// the dialog, and the dialog clears it when it changed something.
inline int16_t Route_Dlg_Cancelled = 0;   // line/polygon attributes (result in Route_Attrib_Result)
inline int16_t Area_Dlg_Cancelled = 0;    // LOD13 area and LOD8 cell
inline int16_t Excl_Dlg_Cancelled = 0;    // exclusion area
inline int16_t Lc_Dlg_Cancelled = 0;      // land class cell
inline int16_t Wc_Dlg_Cancelled = 0;      // water class cell
inline int16_t Ima_Dlg_Cancelled = 0;     // texture image
inline int16_t Grid_Dlg_Cancelled = 0;    // grid-point altitude
// Start values of the flags above (tests).
inline void Editor_Services_Reset() {
    Route_Dlg_Cancelled = Area_Dlg_Cancelled = Excl_Dlg_Cancelled = 0;
    Lc_Dlg_Cancelled = Wc_Dlg_Cancelled = Ima_Dlg_Cancelled = Grid_Dlg_Cancelled = 0;
}

// The tool that showed the dialog: the new-line tool (the line dialog then starts a new line),
// the new-image tool (the image dialog then creates an image).
bool PSais_New_Line_Armed();
bool PSais_New_Image_Armed();

// Callbacks (declared with their modules: map_view.h, object_modes.h, pinit_texts.h).
// The full redraw of the map picture.
void PSais_Redraw_Map();
// Picture pixels to map-bitmap pixels and back.
void PSais_Picture_To_Map(double px, double py, double& X, double& Y);
void PSais_Map_To_Picture(double X, double Y, double& px, double& py);
// The line mode's buttons: its mode button disabled, its tools enabled.
void PSais_Enable_Line_Tools();
// The main window's menu captions and tool tips in the language of `Language`.
void Pinit_Set_Main_Texts();
