// Work polygons cut into convex pieces along inside chords, and large convex ones fanned.
#include "generation/resplit.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/project.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/debug_draw.h"
#include "generation/fenwick.h"
#include "generation/grid_cut.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "platform/memory.h"

namespace {

struct Ring {
    int32_t First, Last;
    int32_t Next(int32_t k) const { return k >= Last ? First : k + 1; }
};

Ring Ring_Of(int32_t w) {
    const Work_Poly_Rec& rec = Work_Poly_Table(w);
    return {rec.First_Point, rec.First_Point + rec.Nb_Points - 1};
}

int32_t Progress = 0;

void Show_Progress() {
    ++Progress;
    Gen_Set_Compile_Step(std::to_string(Progress));
    Gen_Repaint();
}

void Fan_Split(int32_t w, int32_t n, int32_t max_points) {
    int32_t q = max_points / 2 - 5;
    if (q < 1) q = 1;  // limits below 12 would divide by zero
    int32_t j = n / q;
    if (n - q * j != 0) ++j;
    int32_t per = n / j;
    int32_t rem = n - j * per;
    int32_t start = 1;
    for (int32_t piece = 1; piece <= j; ++piece) {
        int32_t length;
        if (piece == 1 && rem > 0 && rem < 3)
            length = 2;
        else if (piece == j)
            length = n - start + 1;
        else
            length = per;
        // The first piece ends at its own last point: closed one point further (the rule for
        // whole copies) it would overlap the second piece.
        if (start != 1)
            API_Add_Split_Piece(w, start, length);
        else if (length >= 3)
            API_Add_Split_Piece(w, 1, length - 1);
        start += length - 1;
    }
}

// Whether the vertical through `pv` meets the sub-ring a..b of a ring of `n` vertices, closed
// by the chord b -> a, both above and below pv.
template <class Point_At, class Next_Of>
bool Vertical_Meets_Both_Sides(int32_t a, int32_t b, int32_t n, const Work_Point_Rec& pv, Point_At point,
                               Next_Of next_of) {
    bool above = false, below = false;
    int32_t i = a;
    for (int32_t step = 0; step < n; ++step) {
        const int32_t next = i == b ? a : next_of(i);
        const Work_Point_Rec& p = point(i);
        const Work_Point_Rec& q = point(next);
        int16_t code = 0;
        double x = 0, y = 0;
        SYST_Classify_Segments(p.X, p.Y, q.X, q.Y, pv.X, -50000, pv.X, 50000, code, x, y);
        if (code == 2 || code == 3) {
            if (y > pv.Y) above = true;
            else if (y < pv.Y) below = true;
        }
        if (i == b) break;
        i = next;
    }
    return above && below;
}

struct Edge_Box {
    double Min_X = 1, Min_Y = 1, Max_X = 0, Max_Y = 0;  // empty while Min_X > Max_X
    bool Empty() const { return Min_X > Max_X; }
    bool Meets(const Edge_Box& o) const {
        return !Empty() && !o.Empty() && Min_X <= o.Max_X && o.Min_X <= Max_X && Min_Y <= o.Max_Y && o.Min_Y <= Max_Y;
    }
    static Edge_Box Of(double x1, double y1, double x2, double y2) {
        return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    }
    void Join(const Edge_Box& o) {
        if (o.Empty()) return;
        if (Empty()) {
            *this = o;
            return;
        }
        Min_X = std::min(Min_X, o.Min_X);
        Min_Y = std::min(Min_Y, o.Min_Y);
        Max_X = std::max(Max_X, o.Max_X);
        Max_Y = std::max(Max_Y, o.Max_Y);
    }
};

// One work polygon while convex pieces are cut off it. The vertices keep the slots 0..n-1 they
// had when the polygon was taken up and stay in that cyclic order as pieces go, so the ring is a
// linked list over the slots; counts over slots give distances along the ring. The table copy
// is written back only when the polygon is handed on whole, fanned or drawn.
//
// It answers every question of the chord search as the table walks do, from kept turn values
// and a tree of edge boxes: a chord can cross only an edge whose box meets its own.
class Ring_Splitter {
public:
    explicit Ring_Splitter(int32_t w)
        : w_(w), base_(Work_Poly_Table(w).First_Point), n0_(Work_Poly_Table(w).Nb_Points),
          alive_(static_cast<size_t>(n0_)), reflex_(static_cast<size_t>(n0_)), convex_(static_cast<size_t>(n0_)) {
        pts_.reserve(static_cast<size_t>(n0_));
        for (int32_t i = 0; i < n0_; ++i) pts_.push_back(Work_Point_Table(base_ + i));
        next_.resize(static_cast<size_t>(n0_));
        prev_.resize(static_cast<size_t>(n0_));
        for (int32_t i = 0; i < n0_; ++i) {
            next_[static_cast<size_t>(i)] = i + 1 < n0_ ? i + 1 : 0;
            prev_[static_cast<size_t>(i)] = i > 0 ? i - 1 : n0_ - 1;
        }
        count_ = n0_;
        side_.assign(static_cast<size_t>(n0_), 0);
        for (int32_t i = 0; i < n0_; ++i) {
            alive_.Add(static_cast<size_t>(i), 1);
            side_[static_cast<size_t>(i)] = Turn_At(i);
            (side_[static_cast<size_t>(i)] == 1 ? reflex_ : convex_).Add(static_cast<size_t>(i), 1);
        }
        leaves_ = 1;
        while (leaves_ < n0_) leaves_ *= 2;
        boxes_.assign(2 * static_cast<size_t>(leaves_), Edge_Box{});
        for (int32_t i = 0; i < n0_; ++i) boxes_[static_cast<size_t>(leaves_ + i)] = Box_Of_Edge(i);
        for (int32_t i = leaves_ - 1; i >= 1; --i) {
            Edge_Box b = boxes_[2 * static_cast<size_t>(i)];
            b.Join(boxes_[2 * static_cast<size_t>(i) + 1]);
            boxes_[static_cast<size_t>(i)] = b;
        }
    }

    int32_t Count() const { return count_; }
    bool Convex() const { return reflex_.Total() == 0; }

    // The table copy of the polygon, from its first vertex on, as the in-place rewrites leave it.
    void Write_Back() const {
        Work_Poly_Rec& rec = Work_Poly_Table(w_);
        int32_t v = first_;
        for (int32_t i = 0; i < count_; ++i, v = Next(v)) Work_Point_Table(base_ + i) = pts_[static_cast<size_t>(v)];
        rec.Nb_Points = count_;
        rec.Last_Point = base_ + count_ - 1;
    }
    int32_t Slot_Of(int32_t v) const { return base_ + Distance(first_, v); }

    enum class Chord { Found, Stuck };

    // The chord search of the stage (steps 1 to 5), a and b its ends.
    Chord Find_Chord(int32_t& a, int32_t& b) const {
        const int32_t n = count_;
        const int32_t last = Prev(first_);
        // Every walk moves one vertex a step; this many steps without a chord means the search
        // has come round without finding a way on.
        int64_t budget = 4 * static_cast<int64_t>(n) * n + 16;
        int32_t k = first_;
        bool first_scan = true;
        for (;;) {
            // Step 1: a reflex vertex, scanning upward; later scans go round the ring. The
            // first scan reaches the last vertex only when that one is reflex.
            const std::optional<size_t> next_reflex = reflex_.Next_From(static_cast<size_t>(k));
            if (!next_reflex) return Chord::Stuck;
            const int32_t reflex = static_cast<int32_t>(*next_reflex);
            const int32_t steps = Distance(k, reflex);
            if (first_scan && steps > Distance(k, last)) return Chord::Stuck;
            if (budget < steps) return Chord::Stuck;
            budget -= steps;
            k = reflex;
            first_scan = false;
            k = Next(k);
            // Steps 3 and 4: the first convex vertex after it whose ear is not crossed.
            for (;;) {
                const std::optional<size_t> next_convex = convex_.Next_From(static_cast<size_t>(k));
                if (!next_convex) return Chord::Stuck;  // the walk would pass n vertices
                const int32_t convex = static_cast<int32_t>(*next_convex);
                const int32_t skip = Distance(k, convex);
                if (budget < skip) return Chord::Stuck;
                budget -= skip;
                k = convex;
                if (!Chord_Cuts(Prev(k), Next(k))) {
                    k = Next(k);
                    if (--budget < 0) return Chord::Stuck;
                    continue;
                }
                break;
            }
            // Step 5: grow the piece from a while it stays convex and uncrossed. Every vertex
            // between a and k has passed the turn test, so the piece a..m is convex when its
            // two corners at the chord are.
            a = Prev(k);
            for (;;) {
                if (--budget < 0) return Chord::Stuck;
                const int32_t p = k;
                k = Next(p);
                const int32_t m = Next(k);
                if (m == a) return Chord::Stuck;  // the piece would be the whole polygon
                if (side_[static_cast<size_t>(k)] == 1 || !Chord_Cuts(a, m)) {
                    b = k;
                    return Chord::Found;
                }
                if (Turn(m, a, Next(a)) != 1 && Turn(k, m, a) != 1) continue;
                int16_t outside = 0;
                int32_t range = 0;
                Vertex_Inside(a, k, m, outside, range);
                if (outside == 1 || range > 3) {
                    b = k;
                    return Chord::Found;
                }
                break;  // back to the scan of step 1, from the current k
            }
        }
    }

    // Cuts the chain a..b off as a new cut record; the polygon keeps a, b, ..., the vertex
    // before a, starting at a. False when there is no chain worth cutting off.
    bool Cut(int32_t a, int32_t b) {
        const int32_t n = count_;
        const int32_t m = Distance(a, b) + 1;
        if (n < 3 || m < 3 || m > n || a == b) return false;
        int32_t v = a;
        Cut_Tables_Append(Work_Poly_Table(w_), m, m, [&](int32_t) {
            const Work_Point_Rec& p = pts_[static_cast<size_t>(v)];
            v = Next(v);
            return p;
        });

        for (v = Next(a); v != b;) {
            const int32_t after = Next(v);
            alive_.Add(static_cast<size_t>(v), -1);
            (side_[static_cast<size_t>(v)] == 1 ? reflex_ : convex_).Add(static_cast<size_t>(v), -1);
            Set_Box(v, Edge_Box{});
            v = after;
        }
        next_[static_cast<size_t>(a)] = b;
        prev_[static_cast<size_t>(b)] = a;
        first_ = a;
        count_ = n - m + 2;
        Retake_Turn(a);
        Retake_Turn(b);
        Set_Box(a, Box_Of_Edge(a));
        return true;
    }

private:
    int32_t Next(int32_t v) const { return next_[static_cast<size_t>(v)]; }
    int32_t Prev(int32_t v) const { return prev_[static_cast<size_t>(v)]; }
    // Steps forward round the ring from u to v.
    int32_t Distance(int32_t u, int32_t v) const {
        const int32_t d = alive_.Prefix(static_cast<size_t>(v)) - alive_.Prefix(static_cast<size_t>(u));
        return d >= 0 ? d : d + count_;
    }
    int16_t Turn(int32_t p, int32_t k, int32_t m) const {
        const Work_Point_Rec& a = pts_[static_cast<size_t>(p)];
        const Work_Point_Rec& b = pts_[static_cast<size_t>(k)];
        const Work_Point_Rec& c = pts_[static_cast<size_t>(m)];
        return API_Intersect_Segments(a.X, a.Y, b.X, b.Y, c.X, c.Y);
    }
    int16_t Turn_At(int32_t v) const { return Turn(Prev(v), v, Next(v)); }
    void Retake_Turn(int32_t v) {
        const int16_t now = Turn_At(v);
        int16_t& kept = side_[static_cast<size_t>(v)];
        if ((kept == 1) != (now == 1)) {
            (kept == 1 ? reflex_ : convex_).Add(static_cast<size_t>(v), -1);
            (now == 1 ? reflex_ : convex_).Add(static_cast<size_t>(v), 1);
        }
        kept = now;
    }
    Edge_Box Box_Of_Edge(int32_t v) const {
        const Work_Point_Rec& p = pts_[static_cast<size_t>(v)];
        const Work_Point_Rec& q = pts_[static_cast<size_t>(Next(v))];
        return Edge_Box::Of(p.X, p.Y, q.X, q.Y);
    }
    void Set_Box(int32_t v, const Edge_Box& box) {
        size_t i = static_cast<size_t>(leaves_ + v);
        boxes_[i] = box;
        for (i /= 2; i >= 1; i /= 2) {
            Edge_Box b = boxes_[2 * i];
            b.Join(boxes_[2 * i + 1]);
            boxes_[i] = b;
        }
    }

    // Whether the chord p-q can cut the ring: it leaves both ends inside and crosses no side.
    bool Chord_Cuts(int32_t p, int32_t q) const {
        const auto at = [&](int32_t v) {
            const Work_Point_Rec& r = pts_[static_cast<size_t>(v)];
            return Plane_Point{r.X, r.Y};
        };
        return API_Chord_Leaves_Inside(at(Prev(p)), at(p), at(Next(p)), at(q)) &&
               API_Chord_Leaves_Inside(at(Prev(q)), at(q), at(Next(q)), at(p)) && !Chord_Crosses(p, q);
    }

    // 1 when the chord p-q properly crosses an edge of the chain from q forward to p that ends
    // at neither: the edges starting strictly between q and the vertex before p.
    bool Chord_Crosses(int32_t p, int32_t q) const {
        const int32_t before_p = Prev(p);
        if (q == before_p || Next(q) == before_p) return false;
        const Work_Point_Rec& pa = pts_[static_cast<size_t>(p)];
        const Work_Point_Rec& pb = pts_[static_cast<size_t>(q)];
        const Edge_Box chord = Edge_Box::Of(pa.X, pa.Y, pb.X, pb.Y);
        // Slots strictly between q and before_p, going round.
        const int32_t lo = q + 1, hi = before_p - 1;
        if (q < before_p) return Crosses_In(1, 0, leaves_ - 1, lo, hi, chord, pa, pb);
        return Crosses_In(1, 0, leaves_ - 1, lo, n0_ - 1, chord, pa, pb) ||
               Crosses_In(1, 0, leaves_ - 1, 0, hi, chord, pa, pb);
    }
    bool Crosses_In(size_t node, int32_t node_lo, int32_t node_hi, int32_t lo, int32_t hi, const Edge_Box& chord,
                    const Work_Point_Rec& pa, const Work_Point_Rec& pb) const {
        if (lo > hi || hi < node_lo || node_hi < lo || !boxes_[node].Meets(chord)) return false;
        if (node_lo == node_hi) {
            const Work_Point_Rec& ps = pts_[static_cast<size_t>(node_lo)];
            const Work_Point_Rec& pe = pts_[static_cast<size_t>(Next(node_lo))];
            return API_Chord_Meets_Side({pa.X, pa.Y}, {pb.X, pb.Y}, {ps.X, ps.Y}, {pe.X, pe.Y});
        }
        const int32_t mid = node_lo + (node_hi - node_lo) / 2;
        return Crosses_In(2 * node, node_lo, mid, lo, hi, chord, pa, pb) ||
               Crosses_In(2 * node + 1, mid + 1, node_hi, lo, hi, chord, pa, pb);
    }

    // API_Test_Vertex_Inside on the ring as it stands.
    void Vertex_Inside(int32_t a, int32_t b, int32_t v, int16_t& is_outside, int32_t& range_count) const {
        range_count = Distance(a, b) + 1;
        const bool inside = Vertical_Meets_Both_Sides(
            a, b, count_, pts_[static_cast<size_t>(v)],
            [&](int32_t i) -> const Work_Point_Rec& { return pts_[static_cast<size_t>(i)]; },
            [&](int32_t i) { return Next(i); });
        is_outside = inside ? 0 : 1;
    }

    int32_t w_ = 0;
    int32_t base_ = 0;
    int32_t n0_ = 0;
    std::vector<Work_Point_Rec> pts_;
    std::vector<int32_t> next_, prev_;
    std::vector<int16_t> side_;
    int32_t first_ = 0;
    int32_t count_ = 0;
    Fenwick alive_;
    Fenwick reflex_;   // live vertices that turn the wrong way
    Fenwick convex_;   // the other live vertices
    int32_t leaves_ = 1;
    std::vector<Edge_Box> boxes_;   // tree of edge boxes over the slots, leaves from leaves_
};

}  // namespace

void API_Test_Vertex_Inside(int32_t poly, int32_t a, int32_t b, int32_t v, int16_t& is_outside,
                            int32_t& range_count) {
    const Ring r = Ring_Of(poly);
    const int32_t n = r.Last - r.First + 1;
    range_count = a < b ? b - a + 1 : n - (a - b) + 1;
    const bool inside = Vertical_Meets_Both_Sides(
        a, b, n, Work_Point_Table(v), [](int32_t i) -> const Work_Point_Rec& { return Work_Point_Table(i); },
        [&](int32_t i) { return r.Next(i); });
    is_outside = inside ? 0 : 1;
}

namespace {

// One pass over the work polygons into the cut tables, which then become the work tables; the
// line of the first polygon with no way on goes to `stuck_line` if it holds none yet.
void Split_Pass(int32_t max_points, int32_t& stuck_line) {
    Cut_Tables_Size(Work_Poly_Count + 10, SYST_Round(Work_Point_Capacity * 1.2));
    const int32_t polygons = Work_Poly_Count;
    for (int32_t w = 1; w <= polygons; ++w) {
        if (Work_Poly_Table(w).Nb_Points < 4) {
            Show_Progress();
            const int32_t n = Work_Poly_Table(w).Nb_Points;
            if (n > 0) API_Add_Split_Piece(w, 1, n - 1);
            continue;
        }
        {
            // Most polygons are convex from the start (all of them in the second pass): they
            // need none of the splitter's bookkeeping.
            Work_Poly_Rec& rec = Work_Poly_Table(w);
            const int32_t n = rec.Nb_Points;
            int16_t convex = 0;
            API_Is_Convex(rec.First_Point, rec.First_Point + n - 1, convex);
            if (convex == 1) {
                Show_Progress();
                rec.Last_Point = rec.First_Point + n - 1;
                if (n < max_points)
                    API_Add_Split_Piece(w, 1, n - 1);
                else
                    Fan_Split(w, n, max_points);
                continue;
            }
        }
        // Each cut takes at least one vertex off w, so this ends after n rounds.
        Ring_Splitter ring(w);
        for (;;) {
            Show_Progress();
            const int32_t n = ring.Count();
            if (n < 4) {
                ring.Write_Back();
                API_Add_Split_Piece(w, 1, n - 1);
                break;
            }
            if (ring.Convex()) {
                ring.Write_Back();
                if (n < max_points)
                    API_Add_Split_Piece(w, 1, n - 1);
                else
                    Fan_Split(w, n, max_points);
                break;
            }
            int32_t a = 0, b = 0;
            const bool found = ring.Find_Chord(a, b) == Ring_Splitter::Chord::Found;
            if (found && Debug_Draw != 0) {
                ring.Write_Back();
                API_Draw_Debug_Diagonal(w, ring.Slot_Of(a), ring.Slot_Of(b));
            }
            if (!found || !ring.Cut(a, b)) {  // no way on, or no vertex would come off
                if (stuck_line == 0) stuck_line = Work_Poly_Table(w).Line_Id;
                ring.Write_Back();
                API_Add_Split_Piece(w, 1, ring.Count() - 1);
                break;
            }
        }
    }
    API_Commit_Cut_Tables();
}

void Show_Stuck(int32_t stuck_line) {
    if (stuck_line == 0) return;
    std::string id = std::to_string(stuck_line);
    Gen_Show_Failure(Language == "US"
                         ? "Concave/convex: the polygon of line " + id +
                               " could not be cut into convex pieces; it is kept as it stands."
                         : "Concave/convexe : le polygone de la ligne " + id +
                               " n'a pas pu être découpé en morceaux convexes ; il est gardé tel quel.");
}

}  // namespace

void API_Split_Concave(int32_t& max_points) {
    Gen_Set_Compile_Name("Concave/convexe");
    Gen_Repaint();
    Progress = 0;
    int32_t stuck_line = 0;
    for (int pass = 1; pass <= 2; ++pass) Split_Pass(max_points, stuck_line);
    Cut_Tables_Erase();
    Show_Stuck(stuck_line);
}

std::vector<Work_Part> API_Concave_Input_Parts() {
    constexpr int64_t Part_Points = 1 << 17;
    std::vector<Work_Part> parts;
    // Moved out of the work tables, which are left empty; the whole table goes once cut into
    // parts.
    Vb_Array<Work_Poly_Rec> polys;
    Vb_Array<Work_Point_Rec> points;
    std::swap(polys, Work_Poly_Table);
    std::swap(points, Work_Point_Table);
    const int32_t count = Work_Poly_Count;
    Work_Tables_Erase();
    for (int32_t first = 1; first <= count;) {
        int32_t last = first;
        int64_t held = std::max(polys(first).Nb_Points, 0);
        while (last < count && held + std::max(polys(last + 1).Nb_Points, 0) <= Part_Points)
            held += std::max(polys(++last).Nb_Points, 0);
        Work_Part& part = parts.emplace_back();
        part.Polys.reserve(static_cast<size_t>(last - first + 1));
        part.Points.reserve(static_cast<size_t>(held));
        for (int32_t r = first; r <= last; ++r) {
            // Each record over its own points, numbered from 1 in the part.
            Work_Poly_Rec& rec = polys(r);
            const int32_t from = rec.First_Point;
            const int32_t first_point = static_cast<int32_t>(part.Points.size()) + 1;
            for (int32_t i = 0; i < rec.Nb_Points; ++i) part.Points.push_back(points(from + i));
            rec.Last_Point = first_point + (rec.Last_Point - from);
            rec.First_Point = first_point;
            part.Polys.push_back(std::move(rec));
        }
        first = last + 1;
    }
    polys.Erase();
    points.Erase();
    plat::Release_Free_Memory();
    return parts;
}

Concave_Part_Split::Concave_Part_Split(int32_t max_points) : max_points_(max_points) { Progress = 0; }

Work_Part Concave_Part_Split::Split(Work_Part&& part) {
    Gen_Set_Compile_Name("Concave/convexe");
    Gen_Repaint();
    Work_Tables_Adopt_Part(std::move(part));
    Split_Pass(max_points_, stuck_first_);
    Split_Pass(max_points_, stuck_second_);
    // The cut tables keep their storage for the next part.
    Work_Part pieces = Work_Tables_Take_Part();
    Work_Tables_Erase();
    return pieces;
}

void Concave_Part_Split::End() {
    Cut_Tables_Erase();
    Show_Stuck(stuck_first_ != 0 ? stuck_first_ : stuck_second_);
}
