#pragma once
// Preparation of the drawn polygons of one output kind for a polygon writer: copied out of the
// project's tables into the work tables, cleaned, given one winding, checked, grouped by nesting
// and numbered ring by ring, split into convex pieces and cut along the terrain grid.
#include <cstdint>
#include <vector>

#include "generation/concave_split.h"

// 0 LWM polygons, 1 VTP1 polygons, 2 VTP2 polygons. Afterwards Touch_Groups_Found or
// Line_Groups_Numbered is 1 when the work tables hold pieces ready for indexing; both are 0
// after a refused check or an abandoned cut (then no piece of the run may be written).
void API_Prepare_Polygons(int16_t mode);
// The preparation, then the piece index (API_Index_Pieces) of what it leaves, the work tables
// emptied either way; false, with no piece indexed, when the run's polygons were refused.
bool API_Prepare_Pieces(int16_t mode);

// 1 when the closed point list turns positively at its vertex of smallest x.
uint8_t API_Get_Polygon_Winding(const std::vector<Plane_Point>& points, int32_t count);

// Numbers the rings of every nesting group into the work records.
void API_Order_Touching_Polys();
void API_Build_Ring_Tree();
void API_Number_Rings();
void API_Number_Ring_Tree();

// Numbers the work polygons with a nesting text run by run (first three characters equal) after
// ordering them by that text; sets Line_Groups_Numbered when there is at least one.
void API_Number_Line_Groups();
