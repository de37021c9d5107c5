#include "generation/resplit.h"

#include <string>

#include "core/geometry.h"
#include "core/project.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/debug_draw.h"
#include "generation/grid_cut.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"

namespace {

struct Ring {
    int32_t First, Last;
    int32_t Next(int32_t k) const { return k >= Last ? First : k + 1; }
    int32_t Prev(int32_t k) const { return k <= First ? Last : k - 1; }
};

Ring Ring_Of(int32_t w) {
    const Line_Rec& rec = Work_Poly_Table(w);
    return {rec.First_Point, rec.First_Point + rec.Nb_Points - 1};
}

int16_t Side3(int32_t p, int32_t k, int32_t m) {
    const Work_Point_Rec& a = Work_Point_Table(p);
    const Work_Point_Rec& b = Work_Point_Table(k);
    const Work_Point_Rec& c = Work_Point_Table(m);
    return API_Intersect_Segments(a.X, a.Y, b.X, b.Y, c.X, c.Y);
}

int16_t Side(const Ring& r, int32_t k) { return Side3(r.Prev(k), k, r.Next(k)); }

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

enum class Chord { Found, Stuck };

// One chord of concave polygon w that cuts a convex piece off; a and b its ends.
Chord Find_Chord(int32_t w, int32_t& a, int32_t& b) {
    const Ring r = Ring_Of(w);
    const int32_t n = r.Last - r.First + 1;
    // Every walk below moves one vertex a step; this many steps without a chord means the
    // search has come round without finding a way on.
    int64_t budget = 4 * static_cast<int64_t>(n) * n + 16;

    int32_t k = r.First;
    bool first_scan = true;
    for (;;) {
        // Step 1: a reflex vertex, scanning upward; later scans go round the ring.
        int32_t scanned = 0;
        while (Side(r, k) != 1) {
            if (first_scan && k >= r.Last) return Chord::Stuck;
            k = r.Next(k);
            if (++scanned > n || --budget < 0) return Chord::Stuck;
        }
        first_scan = false;
        k = r.Next(k);
        // Steps 3 and 4: the first convex vertex after it whose ear is not crossed.
        for (;;) {
            scanned = 0;
            while (Side(r, k) == 1) {
                k = r.Next(k);
                if (++scanned > n || --budget < 0) return Chord::Stuck;
            }
            if (API_Make_Split_Piece(w, r.Prev(k), r.Next(k)) == 1) {
                k = r.Next(k);
                if (--budget < 0) return Chord::Stuck;
                continue;
            }
            break;
        }
        // Step 5: grow the piece from a while it stays convex and uncrossed.
        a = r.Prev(k);
        for (;;) {
            if (--budget < 0) return Chord::Stuck;
            int32_t p = k;
            k = r.Next(p);
            int32_t m = r.Next(k);
            if (m == a) return Chord::Stuck;  // the piece would be the whole polygon
            if (Side3(p, k, m) == 1) {
                b = k;
                return Chord::Found;
            }
            if (API_Make_Split_Piece(w, a, m) == 1) {
                b = k;
                return Chord::Found;
            }
            int16_t convex = 0;
            API_Test_Split_Inside(w, a, m, convex);
            if (convex == 1) continue;
            int16_t outside = 0;
            int32_t count = 0;
            API_Test_Vertex_Inside(w, a, k, m, outside, count);
            if (outside == 1 || count > 3) {
                b = k;
                return Chord::Found;
            }
            break;  // back to the scan of step 1, from the current k
        }
    }
}

}  // namespace

void API_Test_Vertex_Inside(int32_t poly, int32_t a, int32_t b, int32_t v, int16_t& is_outside,
                            int32_t& range_count) {
    const Ring r = Ring_Of(poly);
    const int32_t n = r.Last - r.First + 1;
    range_count = a < b ? b - a + 1 : n - (a - b) + 1;
    is_outside = 1;
    bool above = false, below = false;
    const Work_Point_Rec pv = Work_Point_Table(v);
    int32_t i = a;
    for (int32_t step = 0; step < n; ++step) {
        int32_t next = i == b ? a : r.Next(i);
        const Work_Point_Rec& p = Work_Point_Table(i);
        const Work_Point_Rec& q = Work_Point_Table(next);
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
    if (above && below) is_outside = 0;
}

void API_Split_Concave(int32_t& max_points) {
    Gen_Set_Compile_Name("Concave/convexe");
    Gen_Repaint();
    Progress = 0;
    int32_t stuck_line = 0;

    for (int pass = 1; pass <= 2; ++pass) {
        Cut_Tables_Size(Work_Poly_Count + 10, SYST_Round(Work_Point_Capacity * 1.2));
        const int32_t polygons = Work_Poly_Count;
        for (int32_t w = 1; w <= polygons; ++w) {
            // Each cut takes at least one vertex off w, so this ends after n rounds.
            for (;;) {
                Show_Progress();
                const Line_Rec& rec = Work_Poly_Table(w);
                const int32_t n = rec.Nb_Points;
                if (n <= 0) break;
                if (n < 4) {
                    API_Add_Split_Piece(w, 1, n - 1);
                    break;
                }
                int16_t convex = 0;
                API_Test_Diagonal(rec.First_Point, rec.First_Point + n - 1, convex);
                if (convex == 1) {
                    if (n < max_points)
                        API_Add_Split_Piece(w, 1, n - 1);
                    else
                        Fan_Split(w, n, max_points);
                    break;
                }
                int32_t a = 0, b = 0;
                if (Find_Chord(w, a, b) == Chord::Stuck) {
                    if (stuck_line == 0) stuck_line = rec.Line_Id;
                    API_Add_Split_Piece(w, 1, n - 1);
                    break;
                }
                API_Draw_Debug_Diagonal(w, a, b);
                API_Copy_Vertex_Range(w, a, b);
                if (Work_Poly_Table(w).Nb_Points >= n) {  // no vertex came off: never again
                    if (stuck_line == 0) stuck_line = Work_Poly_Table(w).Line_Id;
                    API_Add_Split_Piece(w, 1, Work_Poly_Table(w).Nb_Points - 1);
                    break;
                }
            }
        }
        API_Commit_Cut_Tables();
    }
    Cut_Tables_Erase();

    if (stuck_line != 0) {
        std::string id = std::to_string(stuck_line);
        Gen_Show_Failure(Language == "US"
                             ? "Concave/convex: the polygon of line " + id +
                                   " could not be cut into convex pieces; it is kept as it stands."
                             : "Concave/convexe : le polygone de la ligne " + id +
                                   " n'a pas pu être découpé en morceaux convexes ; il est gardé tel quel.");
    }
}
