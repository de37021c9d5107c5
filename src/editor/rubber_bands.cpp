// The rubber bands of the line tools: which points the bands start from for the running tool.
#include "editor/rubber_bands.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/line_display.h"
#include "editor/line_tools.h"

Rubber_Band_Anchors PSais_Rubber_Band_Anchors() {
    Rubber_Band_Anchors b;
    if (Insert_Tool == 1) return {true, true, false, Cur_Point, Neighbour_Point};
    if (Extend_Tool == 1) return {true, false, false, Cur_Point, 0};
    if (Sel_Point_Armed != 1 || !Project_Valid_Line(Cur_Line)) return b;
    const Line_Rec& line = Line_Table(Cur_Line);
    if (line.Nb_Points == 1) return {true, false, true, Cur_Point, 0};
    if (Cur_Point == line.First_Point) return {true, false, false, Moved_Point_Next, 0};
    if (Cur_Point == line.Last_Point) return {true, false, false, Moved_Point_Prev, 0};
    return {true, true, false, Moved_Point_Prev, Moved_Point_Next};
}

void PSais_Follow_Rubber_Bands() {
    if (Tool_Waiting == 1) return;
    // A selected point's bands follow only once it is lifted.
    if (Insert_Tool != 1 && Extend_Tool != 1 && Point_Lift_Ready != 0) return;
    PSais_Show_Rubber_Bands(PSais_Rubber_Band_Anchors(), Mouse_X, Mouse_Y);
}

void PSais_Show_Rubber_Bands(const Rubber_Band_Anchors& b, double x, double y) {
    if (!b.Has_First) return;
    if (b.Lone)
        PSais_Show_Sel_Segment3(b.First, x, y);
    else
        PSais_Show_Sel_Segment1(b.First, x, y);
    if (b.Has_Second) PSais_Show_Sel_Segment2(b.Second, x, y);
}
