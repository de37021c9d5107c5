// The rubber bands of the line tools: which points the bands start from for the running tool.
#include "editor/rubber_bands.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/line_display.h"
#include "editor/line_tools.h"

void PSais_Follow_Rubber_Bands() {
    const double x = Mouse_X, y = Mouse_Y;
    if (Insert_Tool == 1) {
        if (Tool_Waiting == 1) return;
        PSais_Show_Sel_Segment2(Neighbour_Point, x, y);
        PSais_Show_Sel_Segment1(Cur_Point, x, y);
        return;
    }
    if (Extend_Tool == 1) {
        if (Tool_Waiting != 1) PSais_Show_Sel_Segment1(Cur_Point, x, y);
        return;
    }
    if (Sel_Point_Armed != 1 || Tool_Waiting == 1 || Point_Lift_Ready != 0) return;
    if (!Project_Valid_Line(Cur_Line)) return;
    const Line_Rec& line = Line_Table(Cur_Line);
    if (line.Nb_Points == 1) {
        PSais_Show_Sel_Segment3(Cur_Point, x, y);
    } else if (Cur_Point == line.First_Point) {
        PSais_Show_Sel_Segment1(Moved_Point_Next, x, y);
    } else if (Cur_Point == line.Last_Point) {
        PSais_Show_Sel_Segment1(Moved_Point_Prev, x, y);
    } else {
        PSais_Show_Sel_Segment1(Moved_Point_Prev, x, y);
        PSais_Show_Sel_Segment2(Moved_Point_Next, x, y);
    }
}
