#pragma once
// The object modes of the main window's map and their tool-bar buttons: the reset of the tool
// bar on every mode change, the ending of the running tool, the check that refuses editing while
// a polygon linked to a texture image leaves that image, the map picture's mouse press,
// double-click and keys handed to the current mode's own handler, and the double-click of the
// cell modes that opens the clicked cell's dialog. The mode flags are in editor/editor_globals.h.
#include <cstdint>
#include <functional>

class Frm;

// 1 after the link check found a linked polygon leaving its image: the mode buttons then
// change nothing. Cleared at the start of every check.
inline int16_t Edit_Refused = 0;
// The texture-image tool's state (1 creation armed, 2 modification); the image mode cannot be
// entered, so only the tool's cancel touches it.
inline int16_t New_Image_Armed = 0;

// Modal dialogs of other modules that the modes show. Each shows its dialog and returns when
// it is closed; an empty one counts as a dialog closed without OK. The cell dialogs find the
// clicked cell from Mouse_Col / Mouse_Row.
struct Object_Mode_Windows {
    std::function<void()> Show_Remesh_Level;   // Frm_Mesh: sets Mesh_Lod_Chosen on OK
    std::function<void()> Show_Excl_Area;      // Frm_Excl: clears Excl_Dlg_Cancelled
    std::function<void()> Show_Lwm_Area;       // Frm_LOD: clears Area_Dlg_Cancelled
    std::function<void()> Show_Lod8_Cell;      // Frm_LOD8: clears Area_Dlg_Cancelled
    std::function<void()> Show_Land_Class;     // Frm_LC: clears Lc_Dlg_Cancelled
    std::function<void()> Show_Water_Class;    // Frm_WC: clears Wc_Dlg_Cancelled
};
extern Object_Mode_Windows Object_Mode_Dialogs;

// Mode buttons (and their Alt keys, while the button is enabled).
void Frm_Cmd_Saisie_Routes_Click();
void Frm_Cmd_TrtArea_Click();
void Frm_Cmd_TrtCell_Click();
void Frm_Cmd_Excl_Areas_Click();
void Frm_Cmd_LandClass_Click();
void Frm_Cmd_WaterClass_Click();
void Frm_Cmd_TrtMesh_Click();

// Every mode button enabled, every tool of a mode disabled, no mode, altitude tip hidden.
void PSais_Enable_Tool_Buttons();
// The line mode's buttons: its mode button disabled, its seven tools enabled in tool-bar order.
void PSais_Enable_Line_Tools();
// Ends whatever tool is running, runs the link check, hides the altitude tip.
void PSais_Cancel_Tool();
// The link check; when it passes, the image tool is ended and the map pointer is the cross.
void PSais_Cancel_Image_Tool();

// The map picture's mouse press (picture pixels): the press position recorded, clamped to the
// calibrated map, then the image tool, the line tools or the grid-point tool.
void Frm_Pic_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
// Double-click on the map: in a cell mode the clicked cell's dialog, with a redraw when it
// changed something; in the line mode the armed line tool's pick.
void Frm_Pic_DblClick();
// The map picture's keys: Esc for the line tools, Delete for the line or grid-point mode.
void Frm_Pic_KeyDown(int16_t KeyCode, int16_t Shift);

// Connects the mode buttons and the map picture's mouse press, double-click and keys.
void Object_Modes_Connect(Frm& f);

// Start values of this module's globals and hooks (tests).
void Object_Modes_Reset();
