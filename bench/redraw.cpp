// Full redraw of the map picture (not a test): a fixed-seed project of lines spread over a
// 40 000 x 25 000 pixel map, redrawn in a 1600 x 1000 picture at several zooms, in line mode and
// in the LOD8 cell mode, with the map bitmap hidden; on request also in the grid-point mode at the
// finest re-mesh level. Prints the best of several redraws in milliseconds and each zoom's time
// over that of zoom 0.04 (where the whole map is in view).
//   bench_redraw [runs] [lines|lod8|grid]   (the second argument runs one mode only)
#include "core/grid.h"
#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr int kMapWidth = 40000, kMapHeight = 25000;
constexpr int kPicWidth = 1600, kPicHeight = 1000;
constexpr double kZooms[] = {0.04, 1, 4, 16};

// 128 x 80 LOD13 cells over the whole map, with the map centred in the picture.
void Set_Up_View() {
    Frm& f = Frm_Window();
    f.Load();
    f.Pic.Move(0, 21, kPicWidth, kPicHeight);
    Map_Width_Px = kMapWidth;
    Map_Height_Px = kMapHeight;
    Map_Lat_North = Proj_Lat_NW = 90 - 100 * Lod8_Height;
    Map_Lon_West = Proj_Lon_NW = 400 * Lod8_Width - 180;
    Map_Lat_South = Proj_Lat_SE = Map_Lat_North - 80 * Lod13_Height;
    Map_Lon_East = Proj_Lon_SE = Map_Lon_West + 128 * Lod13_Width;
    Map_Px_West = Map_Px_North = 0;
    Map_Px_East = kMapWidth;
    Map_Px_South = kMapHeight;
    Proj_Px_NW_X = Proj_Px_NW_Y = 0;
    Proj_Px_SE_X = kMapWidth;
    Proj_Px_SE_Y = kMapHeight;
    Pic_Centre_X = kPicWidth / 2.0;
    Pic_Centre_Y = kPicHeight / 2.0;
    View_Offset_X = View_Offset_Y = 0;
    Map_Shown = 0;
    Grid_Shown = 1;
    Mesh_Lod_Index = 0;   // the grid-point mode's finest sub-grid
}

// Lines of random walks of up to 150 map pixels a step, starting anywhere on the map.
void Make_Project(int lines, int points) {
    PSais_Init_Arrays();
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> start_x(0, kMapWidth), start_y(0, kMapHeight), step(-150, 150);
    Route_Attrib attr;
    for (int i = 0; i < lines; ++i) {
        const int32_t line = Project_Append_Line(attr);
        double x = start_x(rng), y = start_y(rng);
        for (int k = 0; k < points; ++k) {
            Project_Append_Point(line, x, y);
            x = std::clamp(x + step(rng), 0.0, kMapWidth - 1.0);
            y = std::clamp(y + step(rng), 0.0, kMapHeight - 1.0);
        }
    }
    // A few marked LOD8 cells, so the cell mode hatches something.
    for (int16_t k = 0; k < 4; ++k) {
        Table_Grow_If_Full(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, 20);
        ++Lod8_Cell_Count;
        Lod8_Cell_Rec& r = Lod8_Cell_Table(Lod8_Cell_Count);
        r.Lod8_Col = static_cast<int16_t>(400 + k);
        r.Lod8_Row = static_cast<int16_t>(100 + k / 2);
        r.Attrib = static_cast<uint8_t>(k % 2);
    }
}

double Best_Redraw_Ms(int runs) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        PSais_Redraw_Map();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, ms);
    }
    return best;
}

void Run(const char* mode, int lines, int points, int runs) {
    if (std::string(mode) == "lines")
        PSais_Set_Mode(Object_Mode::Lines);
    else if (std::string(mode) == "lod8")
        PSais_Set_Mode(Object_Mode::Lod8_Cells);
    else
        PSais_Set_Mode(Object_Mode::Grid_Points);
    double base = 0;
    for (double zoom : kZooms) {
        View_Zoom = zoom;
        const double ms = Best_Redraw_Ms(runs);
        if (zoom == kZooms[0]) base = ms;
        std::printf("%-5s %6d lines x %2d points  zoom %5.2f  %9.2f ms  ratio %5.2f\n", mode, lines, points, zoom,
                    ms, base > 0 ? ms / base : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string only = argc > 2 ? argv[2] : "";
    Set_Up_View();
    for (int lines : {20000, 2000}) {
        Make_Project(lines, 50);
        for (const char* mode : {"lines", "lod8", "grid"})
            if (only == mode || (only.empty() && std::string(mode) != "grid")) Run(mode, lines, 50, runs);
    }
    return 0;
}
