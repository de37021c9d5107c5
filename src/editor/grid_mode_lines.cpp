// The lines drawn as a plain red overlay beneath the grid points and over the cell modes.
#include "editor/grid_mode_lines.h"

#include "core/project.h"
#include "core/syst_draw.h"
#include "editor/frm.h"
#include "editor/line_display.h"

#include <vector>

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
