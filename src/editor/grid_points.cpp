// The grid-point mode: editing a grid point from a click, deleting it, and the lines drawn
// beneath the points.
#include "editor/grid_points.h"

#include "core/project.h"
#include "dialogs/dialog_services.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_display.h"
#include "editor/map_view.h"

#include <vector>

Grid_Point_Windows Grid_Point_Dialogs;

void PSais_Grid_Point_Click() {
    Grid_Point_Busy = 1;
    if (!Project_Valid_Grid_Point(Cur_Grid_Point)) Cur_Grid_Point = 0;
    if (Cur_Grid_Point == 0) {
        Table_Grow_If_Full(Grid_Point_Table, Grid_Point_Count, Grid_Point_Capacity, Grid_Point_Growth);
        ++Grid_Point_Count;
        Grid_Point_Table(Grid_Point_Count) = Grid_Point_Rec{};
        Cur_Grid_Point = Grid_Point_Count;
    }
    Grid_Dlg_Cancelled = 1;
    if (Grid_Point_Dialogs.Show_Altitude) Grid_Point_Dialogs.Show_Altitude();
    if (Grid_Dlg_Cancelled == 0 && Project_Valid_Grid_Point(Cur_Grid_Point)) {
        PSais_Draw_Grid_Point(Cur_Grid_Point);
        Frm_Window().Pic.Refresh();
    }
    Grid_Point_Busy = 0;
}

void PSais_Delete_Grid_Point() {
    if (!Project_Valid_Grid_Point(Cur_Grid_Point)) return;
    // The record stays; only defined points are drawn and saved.
    Grid_Point_Table(Cur_Grid_Point).Defined = 0;
    PSais_Redraw_Map();
    Focus_Map();
}

void PSais_Draw_Segment_Grid_Mode(int32_t point_a, int32_t point_b) {
    if (!Project_Valid_Point(point_a) || !Project_Valid_Point(point_b)) return;
    // In the pen mode it finds; the resting copy pen comes back after it.
    PSais_Draw_Points_Segment(point_a, point_b, 255, 2);
    SYST_Rest_Pen(Frm_Window().Pic);
}

void PSais_Draw_Line_Grid_Mode(int32_t line_index) {
    if (!Project_Valid_Line(line_index)) return;
    if (Line_Table(line_index).Nb_Points < 2) return;
    size_t from = 0;
    // Only the first segment goes through a pen mode left by someone else; the rest copy. The
    // segment leaves the copy pen behind, so this is the first line of a redraw at most.
    if (Frm_Window().Pic.DrawMode() != plat::DM_CopyPen) {
        const std::vector<int32_t> ids = Project_Line_Points(line_index);
        if (ids.size() < 2) return;
        PSais_Draw_Segment_Grid_Mode(ids[0], ids[1]);
        from = 1;
    }
    const PSais_Stroke_Pen pen(2, plat::DM_CopyPen);
    PSais_Draw_Line_Chain(line_index, from, 255, 2);
}

void PSais_Draw_Lines_Grid_Mode() {
    for (int32_t i = 2; i <= Line_Count && Line_Table.In_Range(i); ++i) PSais_Draw_Line_Grid_Mode(i);
}

void Grid_Points_Reset() {
    Cur_Grid_Point = 0;
    Grid_Point_Dialogs = Grid_Point_Windows{};
}
