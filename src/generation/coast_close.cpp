// Each trimmed coastline piece closed into a polygon: points snapped to the area grid, then a
// path round the enclosing rectangle on the piece's right-hand side.
#include "generation/coast_close.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "core/erreur.h"
#include "core/geometry.h"
#include "core/grid.h"
#include "generation/coast_ring.h"
#include "generation/grid_cut.h"
#include "generation/work_tables.h"

Vb_Array<Coast_Cell_Point> Coast_Cell_Points;

namespace {

constexpr int16_t Msg_Coast_Not_Closed = 132;
constexpr int16_t Last_Sub_Cell = 31;
constexpr double Tol_X = Lod13_Width / 512;
constexpr double Tol_Y = Lod13_Height / 512;

int Compare(double a, double b, double tolerance) {
    if (std::fabs(a - b) <= tolerance) return 0;
    return a < b ? -1 : 1;
}
int Cmp_X(double a, double b) { return Compare(a, b, Tol_X); }
int Cmp_Y(double a, double b) { return Compare(a, b, Tol_Y); }
bool Same_Point(const Coast_Cell_Point& a, const Coast_Cell_Point& b) {
    return Coast_Grid_Of(a) == Coast_Grid_Of(b) || (Cmp_X(a.X, b.X) == 0 && Cmp_Y(a.Y, b.Y) == 0);
}
// A leg's end: the place of p moved along its grid line onto the row (column) of a corner.
void Take_Row(Coast_Cell_Point& p, const Coast_Cell_Point& corner) {
    p.Lod8_Row = corner.Lod8_Row;
    p.Lod13_Row = corner.Lod13_Row;
    p.Pos_Y = corner.Pos_Y;
    p.Y = corner.Y;
}
void Take_Col(Coast_Cell_Point& p, const Coast_Cell_Point& corner) {
    p.Lod8_Col = corner.Lod8_Col;
    p.Lod13_Col = corner.Lod13_Col;
    p.Pos_X = corner.Pos_X;
    p.X = corner.X;
}
bool On_Grid_X(const Coast_Cell_Point& p) { return p.Pos_X == 0 || p.Pos_X == Lod13_Local_Max; }
bool On_Grid_Y(const Coast_Cell_Point& p) { return p.Pos_Y == 0 || p.Pos_Y == Lod13_Local_Max; }

// One sub-cell along a column or a row (d is 1 or -1), carried into the LOD8 cell past either end.
void Step_Sub_Cell(int16_t& sub_cell, int16_t& cell, int d) {
    sub_cell = static_cast<int16_t>(sub_cell + d);
    if (sub_cell > Last_Sub_Cell) {
        sub_cell = 0;
        ++cell;
    } else if (sub_cell < 0) {
        sub_cell = Last_Sub_Cell;
        --cell;
    }
}
void Step_Col(Coast_Cell_Point& p, int d) { Step_Sub_Cell(p.Lod13_Col, p.Lod8_Col, d); }
void Step_Row(Coast_Cell_Point& p, int d) { Step_Sub_Cell(p.Lod13_Row, p.Lod8_Row, d); }

// Lexicographic keys of the extreme points.
auto West_Key(const Coast_Cell_Point& p) { return std::tuple(p.Lod8_Col, p.Lod13_Col, p.Pos_X); }
auto North_Key(const Coast_Cell_Point& p) { return std::tuple(p.Lod8_Row, p.Lod13_Row, p.Pos_Y); }

int64_t Orient(const Coast_Grid_Pos& a, const Coast_Grid_Pos& b, const Coast_Grid_Pos& c) {
    return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}
int Sign(int64_t v) { return (v > 0) - (v < 0); }
bool Within(const Coast_Grid_Pos& a, const Coast_Grid_Pos& b, const Coast_Grid_Pos& p) {
    return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
           p.Y <= std::max(a.Y, b.Y);
}

// Whether the snapped segments a-b and c-d cross or touch, end points and overlaps included.
// Judged on the whole positions: a meeting point from the slope formula may land a hair beyond
// a vertex that lies exactly on the other segment.
bool Segments_Meet(const Coast_Cell_Point& pa, const Coast_Cell_Point& pb, const Coast_Cell_Point& pc,
                   const Coast_Cell_Point& pd) {
    const Coast_Grid_Pos a = Coast_Grid_Of(pa), b = Coast_Grid_Of(pb), c = Coast_Grid_Of(pc), d = Coast_Grid_Of(pd);
    const int o1 = Sign(Orient(a, b, c)), o2 = Sign(Orient(a, b, d));
    const int o3 = Sign(Orient(c, d, a)), o4 = Sign(Orient(c, d, b));
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return (o1 == 0 && Within(a, b, c)) || (o2 == 0 && Within(a, b, d)) || (o3 == 0 && Within(c, d, a)) ||
           (o4 == 0 && Within(c, d, b));
}

// b goes back along the way it came from a: a spike of no width.
bool Folds(const Coast_Cell_Point& pa, const Coast_Cell_Point& pb, const Coast_Cell_Point& pc) {
    const Coast_Grid_Pos a = Coast_Grid_Of(pa), b = Coast_Grid_Of(pb), c = Coast_Grid_Of(pc);
    if (a == c) return true;
    return Orient(a, b, c) == 0 && (b.X - a.X) * (c.X - b.X) + (b.Y - a.Y) * (c.Y - b.Y) < 0;
}

// The snap can put neighbours on one place, and both sides of an inlet narrower than a
// position onto the same places: such repeats and spikes go, the piece's ends stay.
std::vector<Coast_Cell_Point> Unfolded(int32_t f, int32_t l) {
    std::vector<Coast_Cell_Point> out;
    for (int32_t k = f; k <= l; ++k) {
        const Coast_Cell_Point& p = Coast_Cell_Points(k);
        if (!out.empty() && Coast_Grid_Of(out.back()) == Coast_Grid_Of(p)) {
            if (out.size() > 1) out.back() = p;  // the later keeps its area: it may be the end
            continue;
        }
        out.push_back(p);
        while (out.size() >= 3 && Folds(out[out.size() - 3], out[out.size() - 2], out.back())) {
            out.erase(out.end() - 2);
            if (Coast_Grid_Of(out[out.size() - 2]) == Coast_Grid_Of(out.back())) {
                if (out.size() == 2) {
                    out.pop_back();
                } else {
                    out.erase(out.end() - 2);
                }
            }
        }
    }
    return out;
}

class Piece_Closer {
public:
    explicit Piece_Closer(std::vector<Coast_Cell_Point> pts)
        : pts_(std::move(pts)), f_(0), l_(static_cast<int32_t>(pts_.size()) - 1) {}

    // Appends the closed polygon to the cut tables; false when the piece cannot be closed.
    bool Close(int32_t record);

private:
    const Coast_Cell_Point& P(int32_t k) const { return pts_[static_cast<size_t>(k)]; }
    bool Same_Border() const;
    void Rectangle();
    void Add_Piece(int32_t record) const {
        const int32_t n = l_ + 1;
        Cut_Tables_Append(Work_Poly_Table(record), n, n + 6,
                          [&](int32_t i) { return Work_Point_Rec{P(i).X, P(i).Y, 0}; });
    }
    void Add_Path(const Coast_Cell_Point& p);
    // Side i's line: y of its corner for sides 1 and 3, x for sides 2 and 4.
    bool On_Side(const Coast_Cell_Point& p, int side) const {
        return side % 2 == 1 ? Cmp_Y(p.Y, c_[static_cast<size_t>(side - 1)].Y) == 0
                             : Cmp_X(p.X, c_[static_cast<size_t>(side - 1)].X) == 0;
    }
    // a ahead of b walking along side i (east, south, west, north; reversed after four corners).
    bool Ahead(const Coast_Cell_Point& a, const Coast_Cell_Point& b, int side, bool reversed) const {
        int c = 0;
        switch (side) {
            case 1: c = Cmp_X(a.X, b.X); break;
            case 2: c = Cmp_Y(a.Y, b.Y); break;
            case 3: c = -Cmp_X(a.X, b.X); break;
            default: c = -Cmp_Y(a.Y, b.Y); break;
        }
        return reversed ? c < 0 : c > 0;
    }
    bool Start_Leg(int& side, Coast_Cell_Point& at);
    bool End_Leg(int side, const Coast_Cell_Point& start, bool reversed);

    std::vector<Coast_Cell_Point> pts_;
    int32_t f_, l_;
    std::array<Coast_Cell_Point, 5> c_{};
};

// Only ends on one border close along it by themselves: ends on two facing borders at the same
// height are a crossing, and their chord would leave most of the area uncovered.
bool Piece_Closer::Same_Border() const {
    if (l_ - f_ + 1 < 3) return false;
    const Coast_Cell_Point& a = P(f_);
    const Coast_Cell_Point& b = P(l_);
    if (Cmp_Y(a.Y, b.Y) == 0 && On_Grid_Y(a) && On_Grid_Y(b)) {
        const int want = a.X < b.X ? -1 : 1;
        bool all = true;
        for (int32_t k = f_ + 1; k < l_ && all; ++k) all = Cmp_Y(P(k).Y, a.Y) == want;
        if (all) return true;
    }
    if (Cmp_X(a.X, b.X) == 0 && On_Grid_X(a) && On_Grid_X(b)) {
        const int want = a.Y < b.Y ? 1 : -1;
        bool all = true;
        for (int32_t k = f_ + 1; k < l_ && all; ++k) all = Cmp_X(P(k).X, a.X) == want;
        if (all) return true;
    }
    return false;
}

void Piece_Closer::Rectangle() {
    Coast_Cell_Point w, e, n, s;
    w.Lod8_Col = w.Lod13_Col = n.Lod8_Row = n.Lod13_Row = 16000;
    w.Pos_X = n.Pos_Y = 999;
    e.Lod8_Col = e.Lod13_Col = s.Lod8_Row = s.Lod13_Row = -16000;
    e.Pos_X = s.Pos_Y = -999;
    for (int32_t k = f_; k <= l_; ++k) {
        const Coast_Cell_Point& p = P(k);
        if (West_Key(p) < West_Key(w)) w = p;
        if (West_Key(p) > West_Key(e)) e = p;
        if (North_Key(p) < North_Key(n)) n = p;
        if (North_Key(p) > North_Key(s)) s = p;
    }
    // A point on the far border of its area belongs to the next area for the rectangle.
    if (w.Pos_X == Lod13_Local_Max) Step_Col(w, 1);
    if (n.Pos_Y == Lod13_Local_Max) Step_Row(n, 1);
    if (e.Pos_X == 0) Step_Col(e, -1);
    if (s.Pos_Y == 0) Step_Row(s, -1);
    auto corner = [](const Coast_Cell_Point& cols, int16_t x, const Coast_Cell_Point& rows, int16_t y) {
        Coast_Cell_Point c;
        c.Lod8_Col = cols.Lod8_Col;
        c.Lod13_Col = cols.Lod13_Col;
        c.Pos_X = x;
        c.Lod8_Row = rows.Lod8_Row;
        c.Lod13_Row = rows.Lod13_Row;
        c.Pos_Y = y;
        return c;
    };
    c_[0] = corner(w, 0, n, 0);
    c_[1] = corner(e, Lod13_Local_Max, n, 0);
    c_[2] = corner(e, Lod13_Local_Max, s, Lod13_Local_Max);
    c_[3] = corner(w, 0, s, Lod13_Local_Max);
    API_Diagonal_Neighbours(c_);
    for (size_t i = 0; i < 4; ++i) Coast_Cell_To_Pixel(c_[i]);
    c_[4] = c_[0];
}

void Piece_Closer::Add_Path(const Coast_Cell_Point& p) {
    if (Cut_Point_Count + 1 >= Cut_Point_Capacity) Cut_Tables_Reserve(50);
    Cut_Point_Table(++Cut_Point_Count) = Work_Point_Rec{p.X, p.Y, 0};
    Work_Poly_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec.Last_Point = Cut_Point_Count;
    ++rec.Nb_Points;
}

bool Piece_Closer::Start_Leg(int& side, Coast_Cell_Point& at) {
    const Coast_Cell_Point& last = P(l_);
    for (int k = 1; k <= 4; ++k) {
        Coast_Cell_Point cand = last;
        const Coast_Cell_Point& corner = c_[static_cast<size_t>(k - 1)];
        if (k % 2 == 1) {
            if (!On_Grid_X(last)) continue;
            Take_Row(cand, corner);
        } else {
            if (!On_Grid_Y(last)) continue;
            Take_Col(cand, corner);
        }
        bool rejected = false;
        for (int32_t j = f_; j < l_ && !rejected; ++j) rejected = Same_Point(cand, P(j));
        for (int32_t j = f_; j + 1 < l_ && !rejected; ++j) rejected = Segments_Meet(last, cand, P(j), P(j + 1));
        if (rejected) continue;
        side = k;
        at = cand;
        return true;
    }
    return false;
}

bool Piece_Closer::End_Leg(int side, const Coast_Cell_Point& start, bool reversed) {
    const Coast_Cell_Point& first = P(f_);
    const Coast_Cell_Point& last = P(l_);
    const Coast_Cell_Point& corner = c_[static_cast<size_t>(side - 1)];
    Coast_Cell_Point cand = first;
    if (side % 2 == 1) {
        if (!On_Grid_X(first)) return false;
        Take_Row(cand, corner);
    } else {
        if (!On_Grid_Y(first)) return false;
        Take_Col(cand, corner);
    }
    if (!Same_Point(last, start) && Segments_Meet(cand, first, last, start)) return false;
    for (int32_t j = f_ + 1; j + 1 < l_; ++j)
        if (Segments_Meet(cand, first, P(j), P(j + 1))) return false;
    for (int32_t j = f_ + 1; j < l_; ++j)
        if (Same_Point(cand, P(j))) return false;
    if (On_Side(start, side) && !Ahead(cand, start, side, reversed)) return false;
    Add_Path(cand);
    return true;
}

bool Piece_Closer::Close(int32_t record) {
    if (l_ < 1) return true;  // folded onto one place: nothing to cover
    if (Coast_Grid_Of(P(f_)) == Coast_Grid_Of(P(l_))) return Coast_Close_Ring(Work_Poly_Table(record), pts_);
    if (Same_Border()) {
        Add_Piece(record);
        return true;
    }
    Rectangle();
    const Coast_Cell_Point& first = P(f_);
    const Coast_Cell_Point& last = P(l_);
    if (!(On_Grid_X(first) || On_Grid_Y(first)) || !(On_Grid_X(last) || On_Grid_Y(last))) return false;
    Add_Piece(record);

    int side = 0;
    for (int i = 1; i <= 4 && side == 0; ++i) {
        const Coast_Cell_Point& ci = c_[static_cast<size_t>(i - 1)];
        const Coast_Cell_Point& next = c_[static_cast<size_t>(i)];
        if (i % 2 == 1) {
            if (Cmp_Y(last.Y, ci.Y) == 0) side = Cmp_X(last.X, next.X) == 0 ? i % 4 + 1 : i;
        } else {
            if (Cmp_X(last.X, ci.X) == 0) side = Cmp_Y(last.Y, next.Y) == 0 ? i % 4 + 1 : i;
        }
    }
    Coast_Cell_Point current = last;
    if (side == 0) {
        if (!Start_Leg(side, current)) return false;
        Add_Path(current);
    }
    const Coast_Cell_Point start = current;

    int corners = 0;
    bool direct = true;
    while (true) {
        const bool reversed = corners >= 4;
        if (direct && !(On_Side(current, side) && On_Side(first, side))) direct = false;
        if (direct) {
            if (Ahead(first, current, side, reversed)) return true;
        } else if (End_Leg(side, start, reversed)) {
            return true;
        }
        if (corners == 4) return false;  // a fifth corner: the path goes round for ever
        ++corners;
        current = c_[static_cast<size_t>(side)];
        Add_Path(current);
        side = side % 4 + 1;
    }
}

}  // namespace

void Coast_Cell_To_Pixel(Coast_Cell_Point& p) {
    const double lat = 90 - (p.Lod8_Row * Lod8_Height + p.Lod13_Row * Lod13_Height + p.Pos_Y * Lod13_Height / 255);
    const double lon = p.Lod8_Col * Lod8_Width + p.Lod13_Col * Lod13_Width + p.Pos_X * Lod13_Width / 255 - 180;
    Com_LatLon_To_Pixel(lat, lon, p.X, p.Y);
}

Coast_Grid_Pos Coast_Grid_Of(const Coast_Cell_Point& p) {
    return {(int64_t{p.Lod8_Col} * (Last_Sub_Cell + 1) + p.Lod13_Col) * Lod13_Local_Max + p.Pos_X,
            (int64_t{p.Lod8_Row} * (Last_Sub_Cell + 1) + p.Lod13_Row) * Lod13_Local_Max + p.Pos_Y};
}

Coast_Cell_Point Coast_Cell_At(Coast_Grid_Pos g, int64_t col, int64_t row) {
    constexpr int64_t per = Last_Sub_Cell + 1;
    Coast_Cell_Point p;
    p.Lod8_Col = static_cast<int16_t>(col / per);
    p.Lod13_Col = static_cast<int16_t>(col % per);
    p.Lod8_Row = static_cast<int16_t>(row / per);
    p.Lod13_Row = static_cast<int16_t>(row % per);
    p.Pos_X = static_cast<int16_t>(g.X - col * Lod13_Local_Max);
    p.Pos_Y = static_cast<int16_t>(g.Y - row * Lod13_Local_Max);
    Coast_Cell_To_Pixel(p);
    return p;
}

void API_Diagonal_Neighbours(std::array<Coast_Cell_Point, 5>& corners) {
    Step_Row(corners[0], -1);
    Step_Col(corners[0], -1);
    Step_Row(corners[1], -1);
    Step_Col(corners[1], 1);
    Step_Row(corners[2], 1);
    Step_Col(corners[2], 1);
    Step_Row(corners[3], 1);
    Step_Col(corners[3], -1);
}

void API_Close_Coast_Cells() {
    Coast_Cell_Points.ReDim(Work_Point_Count);
    bool failed = false;
    for (int32_t r = 1; r <= Work_Poly_Count && !failed; ++r) {
        const Work_Poly_Rec rec = Work_Poly_Table(r);
        const int32_t f = rec.First_Point;
        const int32_t l = rec.Last_Point;
        if (rec.Nb_Points < 2) continue;
        for (int32_t k = f; k <= l; ++k) {
            const int32_t other = k < l ? k + 1 : l - 1;
            const Work_Point_Rec a = Work_Point_Table(k);
            const Work_Point_Rec b = Work_Point_Table(other);
            Coast_Cell_Point& c = Coast_Cell_Points(k);
            int16_t px = 0, py = 0;
            Com_Pixel_To_Sub_Pos_Clamped((a.X + b.X) / 2, (a.Y + b.Y) / 2, c.Lod8_Col, c.Lod8_Row, c.Lod13_Col,
                                         c.Lod13_Row, px, py);
            Com_Pixel_To_Sub_Pos_Rounded(a.X, a.Y, c.Lod8_Col, c.Lod8_Row, c.Lod13_Col, c.Lod13_Row, c.Pos_X,
                                         c.Pos_Y);
            Coast_Cell_To_Pixel(c);
        }
        failed = !Piece_Closer(Unfolded(f, l)).Close(r);
    }
    if (failed) {
        Msg_Answer = ERREUR_Show_Message(Msg_Coast_Not_Closed);
        Work_Poly_Count = 0;
        Cut_Tables_Erase();
        Coast_Cell_Points.Erase();
        return;
    }
    API_Commit_Cut_Tables();
    Coast_Cell_Points.Erase();
}
