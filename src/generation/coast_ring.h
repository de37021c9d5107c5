#pragma once
// Closing a coastline piece that comes back to its own first place (an island or a lake drawn as
// a closed coastline): the water on its right-hand side, area by area.
#include <vector>

#include "generation/coast_close.h"
#include "generation/work_tables.h"

// Appends to the cut tables, for every LOD13 area the ring passes through, the polygons of the
// area that lie on the ring's right (each a copy of `src` but for its points). `ring`: snapped
// points, the last one on the first's place. False when the ring cannot be closed so.
bool Coast_Close_Ring(const Work_Poly_Rec& src, const std::vector<Coast_Cell_Point>& ring);
