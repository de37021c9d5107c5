// Turn direction, convexity tests, the diagonal test, and a chain cut off as a new piece.
#include "generation/concave_split.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/geometry.h"
#include "generation/work_tables.h"

namespace {

Plane_Point Work_Pt(int32_t index) {
    const Work_Point_Rec& p = Work_Point_Table(index);
    return {p.X, p.Y};
}

// Cyclic neighbours inside one work polygon.
int32_t Next_In(const Work_Poly_Rec& poly, int32_t v) { return v >= poly.Last_Point ? poly.First_Point : v + 1; }
int32_t Prev_In(const Work_Poly_Rec& poly, int32_t v) { return v <= poly.First_Point ? poly.Last_Point : v - 1; }

bool Same(const Plane_Point& p, const Plane_Point& q) { return p.X == q.X && p.Y == q.Y; }
double Cross(const Plane_Point& p, const Plane_Point& q, const Plane_Point& r) {
    return SYST_Cross_Product(p.X, p.Y, q.X, q.Y, r.X, r.Y);
}

}  // namespace

int16_t API_Turn_Direction(double ax, double ay, double bx, double by, double cx, double cy) {
    if (ax == bx) {
        if (cx == ax) return 0;
        if (by >= ay) return cx > ax ? 1 : 2;
        return cx > ax ? 2 : 1;
    }
    if (ay == by) {
        if (cy == ay) return 0;
        if (bx >= ax) return cy > ay ? 2 : 1;
        return cy > ay ? 1 : 2;
    }
    if (bx == cx) {
        if (cx == ax) return 0;
        if (cy >= by) return ax > cx ? 1 : 2;
        return ax > cx ? 2 : 1;
    }
    if (by == cy) {
        if (cy == ay) return 0;
        if (cx >= bx) return ay < cy ? 1 : 2;
        return ay > cy ? 1 : 2;
    }
    // Any other slope: the sign of the cross product. Going through the line's slope and
    // intercept loses the side of points near a steep line (the intercept grows with the slope).
    const double cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    if (cross == 0) return 0;
    return cross < 0 ? 1 : 2;
}

int16_t API_Turn_Direction(const Plane_Point& a, const Plane_Point& b, const Plane_Point& c) {
    return API_Turn_Direction(a.X, a.Y, b.X, b.Y, c.X, c.Y);
}

void API_Is_Convex(int32_t first, int32_t last, int16_t& is_convex) {
    is_convex = 1;
    for (int32_t v = first; v <= last; ++v) {
        int32_t prev = v == first ? last : v - 1;
        int32_t next = v == last ? first : v + 1;
        if (API_Turn_Direction(Work_Pt(prev), Work_Pt(v), Work_Pt(next)) == 1) {
            is_convex = 0;
            return;
        }
    }
}

void API_Chain_Is_Convex(int32_t polygon, int32_t a, int32_t b, int16_t& is_convex) {
    const Work_Poly_Rec& poly = Work_Poly_Table(polygon);
    is_convex = 1;
    int32_t c = a;
    // A chain never holds more vertices than its polygon: the bound keeps a vertex b outside
    // the polygon from walking for ever.
    for (int32_t step = 0; step < poly.Nb_Points; ++step) {
        int32_t prev = c == a ? b : Prev_In(poly, c);
        int32_t next = c == b ? a : Next_In(poly, c);
        if (API_Turn_Direction(Work_Pt(prev), Work_Pt(c), Work_Pt(next)) == 1) {
            is_convex = 0;
            return;
        }
        if (c == b) return;
        c = Next_In(poly, c);
    }
}

// By the signs of the turns: an intersection point worked out through slopes is too coarse for
// sides a fraction of a pixel apart.
bool API_Chord_Meets_Side(const Plane_Point& a, const Plane_Point& b, const Plane_Point& s, const Plane_Point& e) {
    const auto sign = [](double v) { return (v > 0) - (v < 0); };
    const int d1 = sign(Cross(a, b, s));
    const int d2 = sign(Cross(a, b, e));
    const int d3 = sign(Cross(s, e, a));
    const int d4 = sign(Cross(s, e, b));
    if (d1 * d2 > 0 || d3 * d4 > 0) return false;
    if (d1 == 0 && d2 == 0) {
        // Along one line (or the chord is a point): they meet where their boxes do, unless that
        // is only at an end of the chord.
        const double lx = std::max(std::min(a.X, b.X), std::min(s.X, e.X));
        const double hx = std::min(std::max(a.X, b.X), std::max(s.X, e.X));
        const double ly = std::max(std::min(a.Y, b.Y), std::min(s.Y, e.Y));
        const double hy = std::min(std::max(a.Y, b.Y), std::max(s.Y, e.Y));
        if (lx > hx || ly > hy) return false;
        if (lx < hx || ly < hy) return true;
        return !Same({lx, ly}, a) && !Same({lx, ly}, b);
    }
    // Meeting only at an end of the chord is the chord's own vertex.
    if ((d1 == 0 && (Same(s, a) || Same(s, b))) || (d2 == 0 && (Same(e, a) || Same(e, b)))) return false;
    return true;
}

bool API_Chord_Leaves_Inside(const Plane_Point& prev, const Plane_Point& v, const Plane_Point& next,
                             const Plane_Point& b) {
    // A repeated point has no corner to leave.
    if (Same(prev, v) || Same(next, v)) return true;
    if (Cross(prev, v, next) >= 0) return Cross(v, b, prev) > 0 && Cross(b, v, next) > 0;
    return !(Cross(v, b, next) >= 0 && Cross(b, v, prev) >= 0);
}

int16_t API_Diagonal_Crosses_Chain(int32_t polygon, int32_t a, int32_t b) {
    const Work_Poly_Rec& poly = Work_Poly_Table(polygon);
    Plane_Point pa = Work_Pt(a), pb = Work_Pt(b);
    int32_t s = b;
    for (int32_t step = 0; step < poly.Nb_Points && s != a; ++step) {
        int32_t e = Next_In(poly, s);
        if (s != a && s != b && e != a && e != b) {
            Plane_Point ps = Work_Pt(s), pe = Work_Pt(e);
            if (API_Chord_Meets_Side(pa, pb, ps, pe)) return 1;
        }
        s = e;
    }
    return 0;
}

void API_Split_Off_Chain(int32_t polygon, int32_t a, int32_t b) {
    const int32_t n = Work_Poly_Table(polygon).Nb_Points;
    const int32_t first = Work_Poly_Table(polygon).First_Point;
    int32_t m = a < b ? b - a + 1 : n - (a - b) + 1;
    if (n < 3 || m < 3 || m > n) return;  // no chain worth cutting off

    std::vector<Work_Point_Rec> scratch;
    scratch.reserve(static_cast<size_t>(n));
    int32_t v = a;
    for (int32_t i = 0; i < n; ++i) {
        scratch.push_back(Work_Point_Table(v));
        v = v >= first + n - 1 ? first : v + 1;
    }

    Cut_Tables_Append(Work_Poly_Table(polygon), m, m, [&](int32_t i) { return scratch[static_cast<size_t>(i)]; });

    Work_Poly_Rec& rest = Work_Poly_Table(polygon);
    int32_t slot = first;
    Work_Point_Table(slot++) = scratch[0];
    for (int32_t i = m - 1; i < n; ++i) Work_Point_Table(slot++) = scratch[static_cast<size_t>(i)];
    rest.Nb_Points = n - m + 2;
    rest.Last_Point = first + rest.Nb_Points - 1;
}

void API_Add_Split_Piece(int32_t polygon, int32_t start, int32_t count) {
    const Work_Poly_Rec& src = Work_Poly_Table(polygon);
    const int32_t n = src.Nb_Points;
    if (n <= 0 || start < 1 || count < 0 || start + count - 1 > n) return;
    int32_t closing = (start == 1 || count == 1) ? count + 1 : 1;
    if (closing < 1 || closing > n) closing = 1;

    Cut_Tables_Append(src, count + 1, count + 1, [&](int32_t i) {
        return Work_Point_Table(src.First_Point + (i < count ? start + i : closing) - 1);
    });
}
