#pragma once
// The world's grid in map pixels, and drawn shapes cut at its edges: nothing that lies beyond
// 90 N/S or 180 E/W reaches a writer, and no writer names a cell that does not exist.
#include <cstdint>
#include <vector>

#include "generation/concave_split.h"
#include "generation/work_tables.h"

// The world (latitudes -90..90, longitudes -180..180) in map pixels; West < East, North < South
// whatever the calibration's orientation.
struct World_Box {
    double West = 0, East = 0, North = 0, South = 0;
    bool Holds(double x, double y) const { return x >= West && x <= East && y >= North && y <= South; }
};
World_Box World_Pixel_Box();

// True for LOD8 columns 0..767 and rows 0..511 with LOD13 columns and rows 0..31.
bool World_Has_Area(int32_t lod8_col, int32_t lod8_row, int32_t lod13_col = 0, int32_t lod13_row = 0);

// True when every point of work record `rec` lies in the given area (its LOD13 area when
// `lod13`, else the LOD8 cell) or within one local unit of it. A piece the grid cut did not reach
// (it lies beyond the map's grid lines) spans more, and its clamped positions would draw a shape
// that is not the author's.
bool Work_Record_Fits_Area(const Work_Poly_Rec& rec, int32_t lod8_col, int32_t lod8_row, int32_t lod13_col,
                           int32_t lod13_row, bool lod13);

// A closed ring cut to the box; the ring itself when it lies inside, fewer than three points
// when nothing of it does.
std::vector<Plane_Point> World_Clip_Ring(const std::vector<Plane_Point>& ring, const World_Box& box);

// An open line cut to the box: its parts inside, in order, none of no length. A point made at
// the edge carries flag 2, like a point of a grid cut.
std::vector<std::vector<Work_Point_Rec>> World_Clip_Line(const std::vector<Work_Point_Rec>& line,
                                                         const World_Box& box);
