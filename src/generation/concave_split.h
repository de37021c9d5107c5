#pragma once
// Primitives the convex re-split is built from: the turn of three points, convexity of a work
// polygon and of one of its chains, the diagonal test, cutting a chain off along a diagonal, and
// appending a point range as a new piece. Vertices are indexes into Work_Point_Table; a work
// polygon's vertices first..last are consecutive and the last one's successor is the first.
#include <cstdint>

struct Plane_Point {
    double X = 0;
    double Y = 0;
};

// 0 C on the line through A and B; 1 C on the side where (B - A) x (C - A) < 0; 2 the other side.
int16_t API_Turn_Direction(const Plane_Point& a, const Plane_Point& b, const Plane_Point& c);
int16_t API_Turn_Direction(double ax, double ay, double bx, double by, double cx, double cy);

// is_convex := 1 when no corner of the ring first..last turns negative.
void API_Is_Convex(int32_t first, int32_t last, int16_t& is_convex);
// is_convex := 1 when the chain a..b of work polygon `polygon`, closed by the diagonal b -> a,
// has no negative corner.
void API_Chain_Is_Convex(int32_t polygon, int32_t a, int32_t b, int16_t& is_convex);
// Whether the chord a-b meets the side s-e anywhere but at the chord's own ends: a side it only
// grazes at a vertex, or lies along, takes it outside as well.
bool API_Chord_Meets_Side(const Plane_Point& a, const Plane_Point& b, const Plane_Point& s, const Plane_Point& e);
// Whether the chord from corner v (its ring neighbours prev and next, the inside on the left)
// to b leaves v inside the ring. A chord that crosses no side can still lie outside, round a
// hook that its piece would then swallow.
bool API_Chord_Leaves_Inside(const Plane_Point& prev, const Plane_Point& v, const Plane_Point& next,
                             const Plane_Point& b);
// 1 when the segment a-b meets an edge of the chain from b forward to a that ends at
// neither a nor b.
int16_t API_Diagonal_Crosses_Chain(int32_t polygon, int32_t a, int32_t b);
// Appends the chain a..b as a new cut record and rewrites the work polygon in place as
// a, b, ..., the vertex before a.
void API_Split_Off_Chain(int32_t polygon, int32_t a, int32_t b);
// Appends a copy of the work record with its points at positions start..start + count - 1
// (1 = the first point) and one closing point: position count + 1 when start or count is 1,
// otherwise the first point. (polygon, 1, point count - 1) copies the polygon whole.
void API_Add_Split_Piece(int32_t polygon, int32_t start, int32_t count);

// The names the coastline and re-split stages use.
inline int16_t API_Intersect_Segments(double x1, double y1, double x2, double y2, double x3,
                                      double y3) {
    return API_Turn_Direction(x1, y1, x2, y2, x3, y3);
}
inline void API_Test_Diagonal(int32_t first, int32_t last, int16_t& is_convex) {
    API_Is_Convex(first, last, is_convex);
}
inline int16_t API_Make_Split_Piece(int32_t polygon, int32_t p, int32_t q) {
    return API_Diagonal_Crosses_Chain(polygon, p, q);
}
