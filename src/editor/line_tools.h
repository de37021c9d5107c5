#pragma once
// The line tools of the line mode: new line, extend from an end point, select a line, select
// and move a point, insert a point; delete, Tab and Esc; the attribute edit of the selected
// line. Each tool is a small state machine in the flags below: a double-click picks the object,
// a single click acts. Positions given to the tables are map-bitmap pixels; every hit test is
// made in picture pixels. The selected line and point (Line_Selected, Cur_Line, Point_Selected,
// Cur_Point) are in core/project.h, beside the tables whose initialisation clears them and which
// the simulator link also fills.
#include <cstdint>
#include <functional>

class Frm;

// The tools of the line mode; at most one is armed at a time.
enum class Line_Tool { None, New_Line, Sel_Line, Insert, Extend, Sel_Point };
// The armed tool's phase: waiting for its picking double-click; a selected point ready to be
// lifted (0 once lifted, while it follows the mouse); an extension under way, where each click
// adds a point (the extend tool only).
struct Line_Tool_Phase {
    int16_t Waiting = 0;
    int16_t Lift_Ready = 0;
    int16_t Running = 0;
};
// The tool flags, the tools' whole state, are read-only views of storage that only
// PSais_Set_Line_Tool writes, so that no writer can arm two tools or leave a phase behind.
// New_Line_Armed: the new-line tool waits for its first click; the line dialog then starts a
// new line. Sel_Line_Armed: the select-line tool waits for its picking double-click.
namespace line_tool_storage {
inline int16_t Flags[8] = {};
}
inline const int16_t& New_Line_Armed = line_tool_storage::Flags[0];
inline const int16_t& Sel_Line_Armed = line_tool_storage::Flags[1];
inline const int16_t& Insert_Tool = line_tool_storage::Flags[2];
inline const int16_t& Extend_Tool = line_tool_storage::Flags[3];
inline const int16_t& Sel_Point_Armed = line_tool_storage::Flags[4];
inline const int16_t& Tool_Waiting = line_tool_storage::Flags[5];
inline const int16_t& Point_Lift_Ready = line_tool_storage::Flags[6];
inline const int16_t& Extend_Running = line_tool_storage::Flags[7];
// Arms `tool` (None: no tool) with `phase`; every other tool flag cleared.
inline void PSais_Set_Line_Tool(Line_Tool tool, Line_Tool_Phase phase = {}) {
    for (int i = 0; i < 5; ++i) line_tool_storage::Flags[i] = static_cast<int>(tool) == i + 1 ? 1 : 0;
    line_tool_storage::Flags[5] = phase.Waiting;
    line_tool_storage::Flags[6] = phase.Lift_Ready;
    line_tool_storage::Flags[7] = phase.Running;
}
// The armed tool, None when no tool flag is set.
inline Line_Tool PSais_Line_Tool() {
    for (int i = 0; i < 5; ++i)
        if (line_tool_storage::Flags[i] == 1) return static_cast<Line_Tool>(i + 1);
    return Line_Tool::None;
}
// The chosen pair of the insert tool is (first, last): the new point goes before the first.
inline int16_t Insert_Before_First = 0;
inline int32_t Neighbour_Point = 0;    // other end of the segment chosen for an insertion
inline int32_t Moved_Point_Next = 0;   // neighbours of a lifted point
inline int32_t Moved_Point_Prev = 0;
// The line last drawn in red, put back in its type colour when its tool ends.
inline int16_t Red_Line_Shown = 0;
inline int32_t Red_Line_Index = 0;
// Pen mode of the red redraws (13: copy pen).
inline int16_t Edit_Draw_Mode = 13;

// Mouse state of the last press on the map: button (1 left), shift state, picture position
// clamped to the calibrated map (where a picking double-click or an Alt key picks too), and that
// position in map-bitmap pixels.
inline int16_t Mouse_Button = 0;
inline int16_t Mouse_Shift = 0;
inline double Mouse_Down_X = 0;
inline double Mouse_Down_Y = 0;
inline double Mouse_Down_Map_X = 0;
inline double Mouse_Down_Map_Y = 0;

// The attribute dialog of lines and polygons (Frm_Route, wired at start-up; tests put their own
// in). It is shown modally with Route_Dlg_Cancelled at 1 and clears the flag on OK, leaving its
// result in Route_Attrib_Result; an empty hook counts as a dialog closed without OK.
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
// The whole tool ended and the red line put back, then no tool flag set and no line red.
void PSais_Leave_Line_Edit();
// In the line mode the running tool is ended; in every mode the edit state is cleared.
void PSais_Cancel_Line_Tool();

// The line mode's part of the map's mouse press (after the common steps) and of its
// double-click, where the armed tool picks at Mouse_Down_X/Y.
void PSais_Line_Tool_Press();
void PSais_Line_Tool_DblClick();
// The map's Esc: the running tool backs out of its step, the map redrawn and focused.
void PSais_Line_Tool_Escape();
// The map's Delete in the line mode: the selected point or line, the map focused.
void PSais_Line_Tool_Delete();

// Connects the tool buttons to their handlers.
void Line_Tools_Connect(Frm& f);

// Start values of every global above, the dialog hook empty (tests).
void Line_Tools_Reset();
