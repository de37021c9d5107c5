#pragma once
// The coastline stage: the coastlines (shore option 3), lines drawn between land and sea, are cut
// into chords of each LOD13 area; each area's water, made from the faces its chords cut it into,
// is written as pieces with their points on the area's 0..255 grid, in the piece tables below.
#include <cstdint>
#include <vector>

#include "core/vb_array.h"
#include "generation/work_tables.h"

// Coastline polygons, one record per polygon and LOD13 area, those of one area together; their
// points carry the LOD13-local position 0..255. Filled by API_Make_Coastlines, released by the
// mask writer after use.
inline Vb_Array<Cut_Piece_Record> Coast_Piece_Table;
inline Vb_Array<Cut_Piece_Point> Coast_Piece_Points;
// Number of coastline polygons; 0 when there are none or they were refused.
inline int32_t Coast_Count = 0;

// Start values of the coastline pieces (tests).
inline void Coast_Pieces_Reset() {
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
}

// Collects, checks, cuts, closes and indexes the coastlines into the piece tables; the mask
// writer's step.
void API_Make_Coastlines();

// Cleaning of a point list: consecutive equal points (exact) go, then middle points of three on
// one line. `ring`: the list is closed, the last point's successor is the first, so the triples
// across the end are tested too; an open line keeps its ends.
void Coast_Clean_Points(std::vector<Work_Point_Rec>& pts, bool ring);
