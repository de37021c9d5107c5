#pragma once
// The dialogs' result flags and the state of the tool that showed a dialog, which the editor
// shares with the windows above it (set-up, dialogs, simulator link). For anything else a window
// includes the editor's header that owns it (frm.h, map_view.h, editor_globals.h...). The editor
// includes no window: what it needs of one is a hook of its module, wired at start-up
// (app/window_hooks.h).
#include <cstdint>

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

