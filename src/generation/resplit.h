#pragma once
// The "Concave/convexe" stage: every work polygon is cut into convex pieces along inside chords,
// and convex polygons of too many points into fans, in two passes.
#include <cstdint>
#include <vector>

#include "generation/work_tables.h"

// Replaces the work polygons by their pieces; convex polygons of `max_points` points or more are
// fanned. Ends on every input: a polygon whose chord search finds no way on is kept as it stands
// (one box per run says which line).
void API_Split_Concave(int32_t& max_points);
// The work polygons in parts of a few polygons each, in their order, for the split below; the
// work tables are left empty.
std::vector<Work_Part> API_Concave_Input_Parts();

// The split a part at a time: a polygon's pieces depend on it alone, and the second pass takes
// the pieces in the order the first made them, so the parts' pieces one after another are those
// of API_Split_Concave. End shows the box of the first stuck polygon, as API_Split_Concave.
class Concave_Part_Split {
public:
    explicit Concave_Part_Split(int32_t max_points);
    Work_Part Split(Work_Part&& part);
    void End();

private:
    int32_t max_points_;
    int32_t stuck_first_ = 0, stuck_second_ = 0;
};

// For the sub-ring a..b of work polygon `poly`, closed by the chord b -> a: is_outside := 0 when
// the vertical through vertex v meets it both above and below v; range_count := the number of
// vertices from a to b.
void API_Test_Vertex_Inside(int32_t poly, int32_t a, int32_t b, int32_t v, int16_t& is_outside,
                            int32_t& range_count);
