#pragma once
// Where the map tests start: the main window shown with a project open, its map shown whole at
// zoom 1 in a picture as large as the map, so that a picture pixel is a map pixel.
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "editor/pinit_layout.h"
#include "editor/project_commands.h"

#include <cstdint>

// A `width` x `height` map whose calibrated corners are (0, 0) and (east, south), in map pixels.
inline void Open_Map_Whole(Frm& f, int32_t width, int32_t height, double east, double south) {
    f.Show();
    f.Pic.SetVisible(true);
    Pinit_Set_No_Project();
    Pinit_Set_Project_Open();
    Project_Open = 1;
    Pinit_Init_Scrollbars();
    f.Pic.Move(0, 21, width, height);
    Map_Width_Px = width;
    Map_Height_Px = height;
    Map_Px_West = Map_Px_North = 0;
    Map_Px_East = east;
    Map_Px_South = south;
    Map_Shown = 0;
    PSais_Init_View();
    Project_Displayed = 1;
}
