#pragma once
// The last steps of the coastline stage: the closed coast polygons cleaned, given one winding,
// split into convex pieces and cut at the grid lines; then each piece placed in its LOD13 area,
// the pieces sorted by area, and the pieces of each area kept unless together they fill it.
#include <cstdint>

// Work polygons -> convex pieces cut at LOD13 lines (mode 0) in the work tables.
void API_Join_Coast_Polygons(int16_t mode);
// Work pieces -> Coast_Piece_Table / Coast_Piece_Points / Coast_Count; the work tables are
// emptied.
void API_Index_Coast_Pieces(int16_t mode);
