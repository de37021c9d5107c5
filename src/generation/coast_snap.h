#pragma once
// An area's water rounded to its 0..255 places without changing its shape beyond the rounding:
// every side is led through each place it passes within half a position of, where a corner or
// another side also lies, so that sides meet only at places. Two sides that the rounding lays
// on one another, one each way, enclose nothing and go: a part narrower than a position there
// vanishes and a neck narrower than a position parts the water in two, touching at one place.
#include <cstdint>
#include <vector>

#include "generation/coast_chords.h"

// `parts`: rings of water without holes, turned positively (Coast_Twice_Area > 0), no two
// overlapping, whose sides meet only at their points. For each part, the rings it rounds to:
// simple, with no repeated place and no three places in a row on one line; a positive ring is
// water, a negative one a hole in that part's water (the rounding can close a bay).
// The work is about 2 x 256 tests for each side, plus sorting what each side passes.
// With `led`, one entry per part: a part marked 0 whose sides pass no other part's place is not
// walked, as its corners rounded alone are already what the snap makes of it; it stays 0 with no
// rings. Every other part is marked 1.
std::vector<std::vector<std::vector<Coast_Pos>>> Coast_Snap_Parts(const std::vector<std::vector<Coast_Fine>>& parts,
                                                                  std::vector<char>* led = nullptr);

// The place a point rounds to, as the snap takes it.
Coast_Pos Coast_Round(const Coast_Fine& p);

// Twice the area of a ring, positive clockwise on the map.
int64_t Coast_Twice_Area(const std::vector<Coast_Pos>& ring);
double Coast_Twice_Area(const std::vector<Coast_Fine>& ring);
