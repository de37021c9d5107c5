#pragma once
// The line tools of the line mode: new line, extend from an end point, select a line, select
// and move a point, insert a point; delete, Tab and Esc; the attribute edit of the selected
// line. Each tool is a small state machine in the 16-bit flags below and in editor_globals.h:
// a double-click picks the object, a single click acts. Positions given to the tables are
// map-bitmap pixels; every hit test is made in picture pixels.
#include <cstdint>
#include <functional>

class Frm;

// Mouse state of the last press on the map: button (1 left), shift state, picture position
// clamped to the calibrated map, and that position in map-bitmap pixels.
inline int16_t Mouse_Button = 0;
inline int16_t Mouse_Shift = 0;
inline double Mouse_Down_Map_X = 0;
inline double Mouse_Down_Map_Y = 0;
// An extension is under way: each click adds a point.
inline int16_t Extend_Running = 0;
// The chosen pair of the insert tool is (first, last): the new point goes before the first.
inline int16_t Insert_Before_First = 0;

// The attribute dialog of lines and polygons (Frm_Route; tests put their own in). It is shown
// modally with Route_Dlg_Cancelled at 1 and clears the flag on OK, leaving its result in
// Route_Attrib_Result; an empty hook counts as a dialog closed without OK.
struct Line_Tool_Windows {
    std::function<void()> Show_Route_Attributes;   // Frm_Route
};
extern Line_Tool_Windows Line_Tool_Dialogs;

// Tool buttons (and their Alt keys).
void Frm_Cmd_New_Route_Click();
void Frm_Cmd_Extr_Pt_Route_Click();
void Frm_Cmd_Sel_Route_Click();
void Frm_Cmd_Sel_Pt_Route_Click();
void Frm_Cmd_Ins_Pt_Route_Click();
void Frm_Cmd_Sup_Route_Ou_Pt_Click();
void Frm_Cmd_Tabul_Click();

// Every tool flag, the red line and the line and point selection cleared.
void PSais_Reset_Edit_State();
// The tool flags cleared; the selection and the red line stay.
void PSais_Reset_Edit_Step();
// Esc: backs out of the current step of the running tool.
void PSais_End_Edit_Step();
// Two Esc steps (the whole tool), then the red line back to its type colour.
void PSais_Finish_Line_Edit();
// In the line mode the running tool is ended; in every mode the edit state is cleared.
void PSais_Cancel_Line_Tool();

// The map picture's mouse press (picture pixels) and keys (Esc, Delete).
void Frm_Pic_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
void Frm_Pic_KeyDown(int16_t KeyCode, int16_t Shift);
// The line mode's part of the map's double-click: the armed tool picks at Mouse_Down_X/Y.
void PSais_Line_Tool_DblClick();

// Connects the tool buttons and the map's mouse press and keys to their handlers.
void Line_Tools_Connect(Frm& f);

// Start values of this module's globals, the real dialog in the hook (tests).
void Line_Tools_Reset();
