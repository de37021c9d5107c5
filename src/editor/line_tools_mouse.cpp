// The line tools' mouse: the press on the map (new line, extend, insert, lift and drop,
// attribute edit) and the picking double-clicks.
#include "core/project.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/line_tools.h"
#include "editor/line_tools_internal.h"
#include "editor/map_view.h"

#include <cmath>
#include <vector>

using namespace line_tools;

namespace {

constexpr int32_t kRed = 255;

void Show_Route_Dialog() {
    Route_Dlg_Cancelled = 1;
    if (Line_Tool_Dialogs.Show_Route_Attributes) Line_Tool_Dialogs.Show_Route_Attributes();
}

double Squared_Distance_To(int32_t id, double x, double y) {
    double px = 0, py = 0;
    PSais_Map_To_Picture(Point_Table(id).X, Point_Table(id).Y, px, py);
    return (px - x) * (px - x) + (py - y) * (py - y);
}

// The point of the chain nearest to (x, y) in the picture; the first on a tie.
int32_t Nearest_Point(const std::vector<int32_t>& ids, double x, double y, double& best) {
    int32_t found = 0;
    best = HUGE_VAL;
    for (int32_t id : ids) {
        const double d = Squared_Distance_To(id, x, y);
        if (d < best) {
            best = d;
            found = id;
        }
    }
    return found;
}

// The pair nearest to the mouse by `distance` (-1: not measurable); pairs.size() when none.
size_t Nearest_Pair(const std::vector<std::pair<int32_t, int32_t>>& pairs,
                    double (*distance)(int32_t, int32_t, double, double)) {
    size_t chosen = pairs.size();
    double best = HUGE_VAL;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const double d = distance(pairs[i].first, pairs[i].second, Mouse_Down_X, Mouse_Down_Y);
        if (d != -1 && d < best) {
            best = d;
            chosen = i;
        }
    }
    return chosen;
}

void New_Line() {
    Show_Route_Dialog();
    if (Route_Dlg_Cancelled == 1) {
        PSais_Set_Line_Tool(Line_Tool::None);
        return;
    }
    Cur_Line = Project_Append_Line(Route_Attrib_Result);
    Line_Selected = 1;
    Cur_Point = Project_Append_Point(Cur_Line, Mouse_Down_Map_X, Mouse_Down_Map_Y);
    Point_Selected = 1;
    PSais_Show_Point_Mark(Cur_Point);
    // The new line goes on as an extension from its first point.
    PSais_Set_Line_Tool(Line_Tool::Extend, {.Running = 1});
    Red_Line_Shown = 1;
    Red_Line_Index = Cur_Line;
}

void Extend_Click() {
    Line_Rec* line = Current_Line();
    if (Line_Selected != 1 || !line || !Project_Valid_Point(Cur_Point)) return;
    const bool prepend = Cur_Point == line->First_Point && line->Nb_Points > 1;
    // Only an end of the line can be extended.
    if (!prepend && Cur_Point != line->Last_Point) return;

    Frm& f = Frm_Window();
    f.Ln1.SetVisible(false);
    f.Cercle.SetVisible(false);
    if (Extend_Running == 1) {
        double px = 0, py = 0;
        PSais_Map_To_Picture(Point_Table(Cur_Point).X, Point_Table(Cur_Point).Y, px, py);
        const PSais_Stroke_Pen pen(2);
        PSais_Draw_Picture_Segment(px, py, Mouse_Down_X, Mouse_Down_Y, kRed);
    }
    PSais_Set_Line_Tool(Line_Tool::Extend, {.Running = 1});
    const int32_t id = prepend ? Project_Prepend_Point(Cur_Line, Mouse_Down_Map_X, Mouse_Down_Map_Y)
                               : Project_Append_Point(Cur_Line, Mouse_Down_Map_X, Mouse_Down_Map_Y);
    if (id == 0) return;
    Point_Selected = 1;
    Cur_Point = id;
    PSais_Show_Point_Mark(id);
}

void Insert_Click() {
    Line_Rec* line = Current_Line();
    if (!line || !Project_Valid_Point(Cur_Point) || !Project_Valid_Point(Neighbour_Point)) return;
    Frm& f = Frm_Window();
    f.Ln1.SetVisible(false);
    f.Ln2.SetVisible(false);
    // The closing segment (last, first) gets its new point at the front of the chain.
    const int32_t id = Insert_Before_First == 1
                           ? Project_Prepend_Point(Cur_Line, Mouse_Down_Map_X, Mouse_Down_Map_Y)
                           : Project_Insert_Point(Cur_Line, Cur_Point, Mouse_Down_Map_X, Mouse_Down_Map_Y);
    if (id == 0) return;
    PSais_Set_Line_Tool(Line_Tool::Sel_Point, {.Lift_Ready = 1});
    Point_Selected = 1;
    Cur_Point = id;
    PSais_Redraw_Map();
    PSais_Show_Point_Mark(id);
}

void Lift_Point(const Line_Rec& line) {
    Frm& f = Frm_Window();
    PSais_Set_Line_Tool(Line_Tool::Sel_Point);
    f.Cercle.SetVisible(false);
    const Point_Rec& p = Point_Table(Cur_Point);
    if (line.Nb_Points == 1) {
        PSais_Draw_Red_Point(Cur_Point);
        PSais_Show_Sel_Segment3(Cur_Point, Mouse_Down_X, Mouse_Down_Y);
    } else if (Cur_Point == line.First_Point) {
        Moved_Point_Next = p.Next_Point;
        Moved_Point_Prev = line.Last_Point;
        Red_Around_Point(line, Cur_Point);
        PSais_Show_Sel_Segment1(Moved_Point_Next, Mouse_Down_X, Mouse_Down_Y);
    } else if (Cur_Point == line.Last_Point) {
        Moved_Point_Prev = p.Prev_Point;
        Moved_Point_Next = line.First_Point;
        Red_Around_Point(line, Cur_Point);
        PSais_Show_Sel_Segment1(Moved_Point_Prev, Mouse_Down_X, Mouse_Down_Y);
    } else {
        Moved_Point_Next = p.Next_Point;
        Moved_Point_Prev = p.Prev_Point;
        Red_Around_Point(line, Cur_Point);
        PSais_Show_Sel_Segment1(Moved_Point_Prev, Mouse_Down_X, Mouse_Down_Y);
        PSais_Show_Sel_Segment2(Moved_Point_Next, Mouse_Down_X, Mouse_Down_Y);
    }
}

void Drop_Point() {
    Frm& f = Frm_Window();
    Point_Rec& p = Point_Table(Cur_Point);
    p.X = Mouse_Down_Map_X;
    p.Y = Mouse_Down_Map_Y;
    f.Ln1.SetVisible(false);
    f.Ln2.SetVisible(false);
    PSais_Set_Line_Tool(Line_Tool::Sel_Point, {.Lift_Ready = 1});
    PSais_Redraw_Map();
    PSais_Show_Point_Mark(Cur_Point);
}

void Lift_Or_Drop() {
    const Line_Rec* line = Current_Line();
    if (Line_Selected != 1 || Point_Selected != 1 || !line || !Project_Valid_Point(Cur_Point)) return;
    if (Point_Lift_Ready == 1)
        Lift_Point(*line);
    else
        Drop_Point();
}

void Edit_Attributes() {
    Line_Rec* line = Current_Line();
    if (!line) return;
    Route_Attrib_Result = line->Attr;
    Show_Route_Dialog();
    if (Route_Dlg_Cancelled != 1) Current_Line()->Attr = Route_Attrib_Result;
}

void Pick_Line() {
    if (Line_Count <= 1) return;
    double best = HUGE_VAL;
    bool found = false;
    for (int32_t i = 2; i <= Line_Count && Line_Table.In_Range(i); ++i) {
        const std::vector<int32_t> ids = Project_Line_Points(i);
        if (ids.empty()) continue;
        double own = 0;
        Nearest_Point(ids, Mouse_Down_X, Mouse_Down_Y, own);
        // A line is always found once one has a point, however far away it lies.
        if (!found || own < best) {
            best = own;
            Line_Selected = 1;
            Cur_Line = i;
        }
        found = true;
    }
    if (!found) return;
    PSais_Set_Line_Tool(Line_Tool::None);
    PSais_Draw_Line_Selected(Cur_Line);
    Point_Selected = 0;
    Red_Line_Shown = 1;
    Red_Line_Index = Cur_Line;
}

void Pick_End_Point(const Line_Rec& line) {
    if (line.Nb_Points <= 0 || !Project_Valid_Point(line.First_Point) || !Project_Valid_Point(line.Last_Point)) return;
    int32_t id = line.Last_Point;
    if (line.Nb_Points == 1) {
        id = line.First_Point;
    } else {
        const double to_first = Squared_Distance_To(line.First_Point, Mouse_Down_X, Mouse_Down_Y);
        const double to_last = Squared_Distance_To(line.Last_Point, Mouse_Down_X, Mouse_Down_Y);
        if (to_first < to_last) id = line.First_Point;
    }
    PSais_Set_Line_Tool(Line_Tool::Extend, {.Running = 1});
    Point_Selected = 1;
    Cur_Point = id;
    PSais_Show_Point_Mark(id);
    PSais_Show_Sel_Segment1(id, Mouse_Down_X, Mouse_Down_Y);
}

void Pick_Point(const Line_Rec& line) {
    const std::vector<int32_t> ids = Project_Line_Points(Cur_Line);
    if (line.Nb_Points <= 0 || ids.empty()) return;
    double best = 0;
    Cur_Point = line.Nb_Points == 1 ? ids.front() : Nearest_Point(ids, Mouse_Down_X, Mouse_Down_Y, best);
    PSais_Set_Line_Tool(PSais_Line_Tool(), {.Lift_Ready = 1});
    Point_Selected = 1;
    PSais_Show_Point_Mark(Cur_Point);
}

// The segment nearest to the mouse: the consecutive pairs, then the pair (last, first).
void Pick_Segment(const Line_Rec& line) {
    const std::vector<int32_t> ids = Project_Line_Points(Cur_Line);
    if (ids.size() < 2) return;
    Point_Selected = 1;
    bool closing = false;
    if (ids.size() == 2) {
        // The two points' only segment: the new point goes between them.
        Cur_Point = ids[0];
        Neighbour_Point = ids[1];
    } else {
        std::vector<std::pair<int32_t, int32_t>> pairs;
        for (size_t i = 1; i < ids.size(); ++i) pairs.emplace_back(ids[i - 1], ids[i]);
        pairs.emplace_back(ids.front(), ids.back());
        // By the perpendicular where its foot falls on a segment, else by the mean distance.
        size_t chosen = Nearest_Pair(pairs, PSais_Point_Segment_Distance);
        if (chosen == pairs.size()) chosen = Nearest_Pair(pairs, PSais_Point_Distance);
        if (chosen == pairs.size()) return;
        Cur_Point = pairs[chosen].first;
        Neighbour_Point = pairs[chosen].second;
        closing = chosen == pairs.size() - 1;
    }
    (void)line;
    PSais_Set_Line_Tool(Line_Tool::Insert);
    Insert_Before_First = 0;
    if (closing)
        Insert_Before_First = 1;
    else
        PSais_Draw_Red_Segment(Cur_Point, Neighbour_Point);
    PSais_Show_Sel_Segment1(Cur_Point, Mouse_Down_X, Mouse_Down_Y);
    PSais_Show_Sel_Segment2(Neighbour_Point, Mouse_Down_X, Mouse_Down_Y);
}

}  // namespace

void PSais_Line_Tool_Press() {
    // Every press starts from the resting pen.
    SYST_Rest_Pen(Frm_Window().Pic);
    if (Mouse_Button == plat::Button_Left) {
        if (New_Line_Armed == 1)
            New_Line();
        else if (Insert_Tool == 1) {
            if (Tool_Waiting == 0) Insert_Click();
        } else if (Extend_Tool == 1) {
            if (Tool_Waiting == 0) Extend_Click();
        } else if (Sel_Point_Armed == 1) {
            if (Tool_Waiting == 0) Lift_Or_Drop();
        }
        return;
    }
    if (New_Line_Armed == 1)
        New_Line();
    else if (Line_Selected == 1)
        Edit_Attributes();
}

void PSais_Line_Tool_DblClick() {
    if (Project_Displayed != 1 || Mode_Lines != 1) return;
    if (Sel_Line_Armed == 1) {
        if (Tool_Waiting == 1) Pick_Line();
        return;
    }
    const Line_Rec* line = Current_Line();
    if (Line_Selected != 1 || Tool_Waiting != 1 || !line) return;
    if (Extend_Tool == 1)
        Pick_End_Point(*line);
    else if (Insert_Tool == 1)
        Pick_Segment(*line);
    else
        Pick_Point(*line);
}
