#pragma once
// The map geometry of a calibration: the latitudes and longitudes of the bitmap's edges, the
// terrain-grid cells of its corners, the grid frame one LOD13 cell outside them, and the
// frame's edges in degrees and in bitmap pixels. The three calibration windows compute it on
// OK; the map view, the grid drawings and the generators read the results (project.h).
#include <cstdint>

// One calibration: two points with their bitmap pixel and their latitude and longitude, and the
// size of the bitmap they lie on.
struct Cad_Frame_Input {
    double Lat_NW = 0, Lon_NW = 0, Lat_SE = 0, Lon_SE = 0;
    int32_t Px_NW_X = 0, Px_NW_Y = 0, Px_SE_X = 0, Px_SE_Y = 0;
    int32_t Width = 0, Height = 0;
};

// The working calibration of the project parameters window (Cad_* of setup_services.h).
Cad_Frame_Input Cad_Working_Input();
// The working calibration's pixel points and their set flags := the project's own.
void Cad_Take_Project_Points();

// 0 when the NW point lies north and west of the SE point, else message 7.
int16_t Cad_Check_Order(const Cad_Frame_Input& in);
// 0 when the pixel points can carry a calibration (NW left of and above SE, neither off the
// bitmap's top-left), else message 7.
int16_t Cad_Check_Pixels(const Cad_Frame_Input& in);

// The latitudes and longitudes of the bitmap's edges, extrapolated from the two points.
struct Cad_Map_Edges {
    double Top_Lat = 0, Left_Lon = 0, Bottom_Lat = 0, Right_Lon = 0;
};
Cad_Map_Edges Cad_Edges_Of(const Cad_Frame_Input& in);
// Map_Top_Lat, Map_Bottom_Lat, Map_Left_Lon, Map_Right_Lon := Cad_Edges_Of(in).
void Cad_Compute_Map_Edges(const Cad_Frame_Input& in);

// True when the bitmap, and so its grid frame, lies inside the terrain grid. Otherwise a box
// says so in the user's language and false is returned: the points must pass both checks.
bool Cad_Check_Inside_Grid(const Cad_Frame_Input& in);
// The calibration windows' OK: the pixel and order checks (message 7 when either fails), then
// the inside-grid check with its box. True when the calibration may be taken; on false the
// window stays open for a correction.
bool Cad_Accept(const Cad_Frame_Input& in);
// From the edges already in Map_Top_Lat.. and the points: Grid_Corner_Cells, Grid_Frame_Cells,
// Map_Lat_North, Map_Lon_West, Map_Lat_South, Map_Lon_East and Map_Px_West, Map_Px_North,
// Map_Px_East, Map_Px_South. The points must pass both checks.
void Cad_Compute_Map_Frame(const Cad_Frame_Input& in);
