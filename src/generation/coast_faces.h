#pragma once
// The water of each LOD13 area from the chords that cross it. The chords cut the area into
// faces; a face is water when the lines along its border have it on their water side (where
// they disagree, the longer run along the face decides): for lines round one body of water
// their intersection, round one body of land their union.
#include <cstdint>
#include <vector>

#include "generation/coast_chords.h"
#include "generation/coast_snap.h"

struct Coast_Water {
    int64_t Col = 0;
    int64_t Row = 0;
    int32_t Line = 0;  // the coastline whose attributes its pieces take
    // Simple polygons without holes, clockwise on the map (y southward), no two overlapping.
    std::vector<std::vector<Coast_Pos>> Rings;
};

// Areas grouped in grid order; an area that comes out all water or all land is left out, as
// a piece filling its area is.
std::vector<Coast_Water> Coast_Area_Water(std::vector<Coast_Chord> chords);
