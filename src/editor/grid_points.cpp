// The grid-point mode: editing a grid point from a click, and deleting it.
#include "editor/grid_points.h"

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/editor_services.h"
#include "editor/frm.h"
#include "editor/map_view.h"

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

void Grid_Points_Reset() {
    Grid_Point_Dialogs = Grid_Point_Windows{};
}
