// The line tools' buttons and steps: arming a tool, ending and resetting it, Tab, Esc and Delete.
#include "editor/line_tools.h"

#include "core/erreur.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/line_tools_internal.h"
#include "editor/map_view.h"
#include "platform/host.h"

Line_Tool_Windows Line_Tool_Dialogs;

namespace line_tools {

Line_Rec* Current_Line() { return Project_Valid_Line(Cur_Line) ? &Line_Table(Cur_Line) : nullptr; }

void Red_Around_Point(const Line_Rec& line, int32_t id) {
    if (line.Nb_Points == 1) {
        PSais_Draw_Red_Point(id);
    } else if (id == line.First_Point) {
        PSais_Draw_Red_Segment(id, Moved_Point_Next);
    } else if (id == line.Last_Point) {
        PSais_Draw_Red_Segment(id, Moved_Point_Prev);
    } else {
        PSais_Draw_Red_Segment(id, Moved_Point_Next);
        PSais_Draw_Red_Segment(id, Moved_Point_Prev);
    }
}

}  // namespace line_tools

using namespace line_tools;

namespace {

// Two Esc steps end whatever tool is running, at any step.
void End_Whole_Tool() {
    PSais_End_Edit_Step();
    PSais_End_Edit_Step();
}

// The picture position of a point, for the test whether it is in view.
bool In_View(int32_t id) {
    if (!Project_Valid_Point(id)) return true;
    double px = 0, py = 0;
    PSais_Map_To_Picture(Point_Table(id).X, Point_Table(id).Y, px, py);
    const plat::PictureBox& pic = Frm_Window().Pic;
    return px >= 0 && px < pic.Width() && py >= 0 && py < pic.Height();
}

void Delete_Current_Line() {
    Project_Delete_Line(Cur_Line);
    Line_Selected = 0;
    PSais_Reset_Edit_Step();
    // The deleted line's point must not stay selected: Tab and Delete would act on it
    // through whatever line now sits at the old index.
    Point_Selected = 0;
    Cur_Point = 0;
    Red_Line_Shown = 0;
    Red_Line_Index = 0;
    PSais_Redraw_Map();
}

// Tab with a selected point: the next point of the line, the first after the last.
void Select_Next_Point(const Line_Rec& line) {
    if (line.Nb_Points <= 1) return;
    int32_t next = Project_Valid_Point(Cur_Point) ? Point_Table(Cur_Point).Next_Point : 0;
    if (Cur_Point == line.Last_Point || !Project_Valid_Point(next)) next = line.First_Point;
    End_Whole_Tool();
    PSais_Set_Line_Tool(Line_Tool::Sel_Point, {.Lift_Ready = 1});
    Point_Selected = 1;
    Cur_Point = next;
    if (!In_View(Cur_Point)) PSais_Scroll_To_Point(Cur_Point);
    PSais_Redraw_Map();
    PSais_Show_Point_Mark(Cur_Point);
    Focus_Map();
}

// Tab without a selected point: the next line that has a point, wrapping to line 2.
void Select_Next_Line() {
    if (Line_Count <= 1) return;
    int32_t start = 2;
    if (Line_Selected == 1 && Cur_Line >= 1 && Cur_Line < Line_Count) start = Cur_Line + 1;
    int32_t found = 0;
    for (int32_t n = 0, i = start; n < Line_Count - 1; ++n, i = i >= Line_Count ? 2 : i + 1) {
        if (Project_Valid_Line(i) && Line_Table(i).Nb_Points >= 1) {
            found = i;
            break;
        }
    }
    if (found == 0) return;
    // The running tool ends first: left waiting, it would go on with a point of the old line.
    // An armed new line has no point yet, so it stays armed for the next click.
    const bool new_line_armed = New_Line_Armed == 1;
    End_Whole_Tool();
    PSais_Set_Line_Tool(new_line_armed ? Line_Tool::New_Line : Line_Tool::None);
    Line_Selected = 1;
    Cur_Line = found;
    Point_Selected = 0;
    Red_Line_Shown = 1;
    Red_Line_Index = found;
    PSais_Scroll_To_Point(Line_Table(found).First_Point);
    PSais_Redraw_Map();
    Focus_Map();
}

}  // namespace

void PSais_Reset_Edit_Step() { PSais_Set_Line_Tool(Line_Tool::None); }

void PSais_Reset_Edit_State() {
    PSais_Reset_Edit_Step();
    Red_Line_Shown = 0;
    Line_Selected = 0;
    Point_Selected = 0;
}

void PSais_End_Edit_Step() {
    if (Project_Displayed != 1) return;
    if (New_Line_Armed == 1) {
        PSais_Set_Line_Tool(Line_Tool::None);
        return;
    }
    if (Line_Selected != 1) return;
    Frm& f = Frm_Window();
    const Line_Rec* line = Current_Line();

    if (Extend_Tool == 1) {
        if (Tool_Waiting == 1) {
            PSais_Reset_Edit_Step();
            return;
        }
        f.Ln1.SetVisible(false);
        f.Cercle.SetVisible(false);
        PSais_Set_Line_Tool(Line_Tool::None);
        if (line && line->Nb_Points == 1) PSais_Draw_Red_Point(Cur_Point);
        // The end point stays selected for the point tool.
        Point_Selected = 1;
        PSais_Set_Line_Tool(Line_Tool::Sel_Point, {.Lift_Ready = 1});
        PSais_Show_Point_Mark(Cur_Point);
    } else if (Insert_Tool == 1) {
        if (Tool_Waiting == 1) {
            PSais_Reset_Edit_Step();
            return;
        }
        f.Ln1.SetVisible(false);
        f.Ln2.SetVisible(false);
        if (Insert_Before_First == 0) PSais_Draw_Red_Segment(Cur_Point, Neighbour_Point);
        PSais_Set_Line_Tool(Line_Tool::Insert, {.Waiting = 1});
        Insert_Before_First = 0;
    } else if (Sel_Point_Armed == 1) {
        if (Tool_Waiting != 1) {
            if (Point_Lift_Ready == 1) {
                f.Cercle.SetVisible(false);
            } else {
                // The lifted point was never moved: its segments come back where they were.
                f.Ln1.SetVisible(false);
                f.Ln2.SetVisible(false);
                if (line) Red_Around_Point(*line, Cur_Point);
            }
        }
        PSais_Set_Line_Tool(Line_Tool::None);
    }
}

void PSais_Finish_Line_Edit() {
    End_Whole_Tool();
    PSais_Restore_Red_Line();
}

void PSais_Cancel_Line_Tool() {
    if (Mode_Lines == 1) {
        End_Whole_Tool();
    }
    PSais_Reset_Edit_State();
}

void PSais_Leave_Line_Edit() {
    PSais_Finish_Line_Edit();
    PSais_Reset_Edit_Step();
    Red_Line_Shown = 0;
    Red_Line_Index = 0;
}

void Frm_Cmd_New_Route_Click() {
    PSais_Leave_Line_Edit();
    PSais_Set_Line_Tool(Line_Tool::New_Line);
}

void Frm_Cmd_Sel_Route_Click() {
    PSais_Leave_Line_Edit();
    PSais_Set_Line_Tool(Line_Tool::Sel_Line, {.Waiting = 1});
    Line_Selected = 0;
}

void Frm_Cmd_Sel_Pt_Route_Click() {
    End_Whole_Tool();
    PSais_Reset_Edit_Step();
    if (Line_Selected != 1) return;
    PSais_Set_Line_Tool(Line_Tool::Sel_Point, {.Waiting = 1, .Lift_Ready = 1});
    Point_Selected = 0;
}

void Frm_Cmd_Ins_Pt_Route_Click() {
    End_Whole_Tool();
    PSais_Reset_Edit_Step();
    const Line_Rec* line = Current_Line();
    if (Line_Selected != 1 || !line || line->Nb_Points <= 1) return;
    PSais_Set_Line_Tool(Line_Tool::Insert, {.Waiting = 1});
}

void Frm_Cmd_Extr_Pt_Route_Click() {
    End_Whole_Tool();
    PSais_Reset_Edit_Step();
    if (Line_Selected != 1) return;
    PSais_Set_Line_Tool(Line_Tool::Extend, {.Waiting = 1});
}

void Frm_Cmd_Sup_Route_Ou_Pt_Click() {
    if (Mode_Lines != 1 || Line_Selected != 1) return;
    const Line_Rec* line = Current_Line();
    if (!line) return;
    if (Point_Selected == 1) {
        End_Whole_Tool();
        if (line->Nb_Points > 1) {
            Project_Unlink_Point(Cur_Line, Cur_Point);
            Point_Selected = 0;
            Cur_Point = 0;
            PSais_Reset_Edit_Step();
            PSais_Redraw_Map();
            return;
        }
        // The line's only point: deleting it deletes the line, after the question.
        Msg_Answer = ERREUR_Show_Message(20);
        if (Msg_Answer == plat::ID_NO) {
            PSais_Redraw_Map();
            return;
        }
        Delete_Current_Line();
        return;
    }
    Msg_Answer = ERREUR_Show_Message(20);
    if (Msg_Answer == plat::ID_NO) return;
    Delete_Current_Line();
}

void Frm_Cmd_Tabul_Click() {
    if (Project_Displayed != 1 || Mode_Lines != 1) return;
    const Line_Rec* line = Current_Line();
    if (Point_Selected == 1 && Line_Selected == 1 && line) {
        Select_Next_Point(*line);
        return;
    }
    Select_Next_Line();
}

void PSais_Line_Tool_Escape() {
    PSais_End_Edit_Step();
    PSais_Redraw_Map();
    Focus_Map();
}

void PSais_Line_Tool_Delete() {
    Frm_Cmd_Sup_Route_Ou_Pt_Click();
    Focus_Map();
}

void Line_Tools_Connect(Frm& f) {
    f.Cmd_New_Route.Click = [] { Frm_Cmd_New_Route_Click(); };
    f.Cmd_Extr_Pt_Route.Click = [] { Frm_Cmd_Extr_Pt_Route_Click(); };
    f.Cmd_Sel_Route.Click = [] { Frm_Cmd_Sel_Route_Click(); };
    f.Cmd_Sel_Pt_Route.Click = [] { Frm_Cmd_Sel_Pt_Route_Click(); };
    f.Cmd_Ins_Pt_Route.Click = [] { Frm_Cmd_Ins_Pt_Route_Click(); };
    f.Cmd_Sup_Route_Ou_Pt.Click = [] { Frm_Cmd_Sup_Route_Ou_Pt_Click(); };
    f.Cmd_Tabul.Click = [] { Frm_Cmd_Tabul_Click(); };
}

void Line_Tools_Reset() {
    PSais_Set_Line_Tool(Line_Tool::None);
    Insert_Before_First = 0;
    Neighbour_Point = Moved_Point_Next = Moved_Point_Prev = 0;
    Red_Line_Shown = 0;
    Red_Line_Index = 0;
    Edit_Draw_Mode = 13;
    Mouse_Button = Mouse_Shift = 0;
    Mouse_Down_X = Mouse_Down_Y = 0;
    Mouse_Down_Map_X = Mouse_Down_Map_Y = 0;
    Line_Tool_Dialogs = Line_Tool_Windows{};
}
