#pragma once
// Closing the trimmed coastline pieces: every point snapped to its LOD13 area's 0..255 grid, and
// each piece closed into a polygon by a path round a rectangle of areas one area larger on every
// side than the piece, so that the polygon covers the right-hand side of the piece.
#include <array>
#include <cstdint>

#include "core/vb_array.h"

// A point of a piece, a corner of its rectangle or a point of the closing path: its LOD13 area,
// its place in it and the pixel of that place.
struct Coast_Cell_Point {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;   // 0..31
    int16_t Lod13_Row = 0;
    int16_t Pos_X = 0;       // 0..255, 0 the west border
    int16_t Pos_Y = 0;       // 0..255, 0 the north border
    double X = 0;            // map-bitmap pixels of the snapped place
    double Y = 0;
};

// One record per work point while the pieces are closed.
extern Vb_Array<Coast_Cell_Point> Coast_Cell_Points;

// Work lines -> closed polygons (in the work tables). On failure message 132 has been shown and
// the work polygon count is 0.
void API_Close_Coast_Cells();

// Corner 1 one area north-west, 2 north-east, 3 south-east, 4 south-west, across LOD8 borders.
void API_Diagonal_Neighbours(std::array<Coast_Cell_Point, 5>& corners);

// The pixel of a place in an LOD13 area.
void Coast_Cell_To_Pixel(Coast_Cell_Point& p);

// A place as whole positions over the whole grid: 255 per LOD13 area, so that position 255 of an
// area and 0 of the next are one place. Exact, where pixels carry rounding.
struct Coast_Grid_Pos {
    int64_t X = 0;   // eastward
    int64_t Y = 0;   // southward
    bool operator==(const Coast_Grid_Pos&) const = default;
};
Coast_Grid_Pos Coast_Grid_Of(const Coast_Cell_Point& p);
// The place at grid position g given as a position in area (column, row) of the whole grid.
Coast_Cell_Point Coast_Cell_At(Coast_Grid_Pos g, int64_t col, int64_t row);
