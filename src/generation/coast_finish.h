#pragma once
// The coastline stage's end: each area's water, split into convex pieces, written to
// Coast_Piece_Table / Coast_Piece_Points / Coast_Count in area order. The rings keep their
// 0..255 places to the end, so a piece's places are those of its water.
#include <vector>

#include "generation/coast_faces.h"

void Coast_Write_Pieces(const std::vector<Coast_Water>& water);
