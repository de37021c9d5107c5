#pragma once
// The coastline stage: the coastlines (shore option 3), lines drawn between land and sea, are cut
// into chords of each LOD13 area; each area's water, made from the faces its chords cut it into,
// is written as pieces with their points on the area's 0..255 grid, in Coast_Piece_Table /
// Coast_Piece_Points / Coast_Count (generation_services.h).
#include <cstdint>
#include <vector>

#include "generation/work_tables.h"

// Collects, checks, cuts, closes and indexes the coastlines (declared in generation_services.h
// as well, for the mask writer).
void API_Make_Coastlines();

// Cleaning of a point list: consecutive equal points (exact) go, then middle points of three on
// one line. `ring`: the list is closed, the last point's successor is the first, so the triples
// across the end are tested too; an open line keeps its ends.
void Coast_Clean_Points(std::vector<Work_Point_Rec>& pts, bool ring);
