// One piece against one grid line: where the line meets its edges, and the two parts it makes of
// a piece it crosses twice (or of a two-point line it crosses once). After this stage each part
// lies on one side of the line, touching it at most at its cut points; a piece met three times
// or more is left to the caller as abnormal.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/geometry.h"
#include "generation/debug_draw.h"
#include "generation/grid_cut.h"
#include "generation/grid_cut_pieces.h"
#include "generation/work_tables.h"

void API_Cross_Grid_Line(bool horizontal, double x1, double y1, double x2, double y2, double at, double tolerance,
                         int16_t& code, double& px, double& py) {
    px = py = 0;
    const double a1 = horizontal ? y1 : x1;  // the ends across the line
    const double a2 = horizontal ? y2 : x2;
    if (a1 == a2) {
        code = 0;
        return;
    }
    if (at >= a1 - tolerance && at <= a1 + tolerance) {
        code = 3;
        px = x1;
        py = y1;
        return;
    }
    if (at >= a2 - tolerance && at <= a2 + tolerance) {
        code = 3;
        px = x2;
        py = y2;
        return;
    }
    int16_t flag = 0;
    if (horizontal)
        SYST_Segment_Intersection(x1, y1, x2, y2, -100, at, 100, at, flag, px, py);
    else
        SYST_Segment_Intersection(x1, y1, x2, y2, at, -100, at, 100, flag, px, py);
    code = (at > std::min(a1, a2) && at < std::max(a1, a2)) ? 2 : 1;
}

void API_Cross_Horizontal_Line(double x1, double y1, double x2, double y2, double line_y, double tolerance,
                               int16_t& code, double& px, double& py) {
    API_Cross_Grid_Line(true, x1, y1, x2, y2, line_y, tolerance, code, px, py);
}

void API_Cross_Vertical_Line(double x1, double y1, double x2, double y2, double line_x, double tolerance,
                             int16_t& code, double& px, double& py) {
    API_Cross_Grid_Line(false, x1, y1, x2, y2, line_x, tolerance, code, px, py);
}

namespace grid_cut {
namespace {

// The debug drawing of a new piece of the grid cut, which keeps its pieces out of the cut
// tables until the end: the piece is put there alone for the drawing.
void Draw_Piece(const Work_Point_Rec* pts, int32_t n) {
    if (Debug_Draw == 0) return;
    Cut_Tables_Size(1, n + 1);
    Append_Cut_Record(Work_Poly_Rec{}, pts, n);
    Draw_Last_Cut();
    Cut_Poly_Count = 0;
    Cut_Point_Count = 0;
}

// The two records (first point, X) and (X, last point), appended to `out`; returns their
// starts there. `pts` may lie in `out`.
void Split_Line_Points(const Work_Point_Rec* pts, int32_t n, const Grid_Crossing& crossing, Point_Pool& out,
                       std::vector<size_t>& starts) {
    const Work_Point_Rec front = pts[0], back = pts[n - 1];
    const Work_Point_Rec x{crossing.X, crossing.Y, 2};
    starts.clear();
    starts.push_back(out.size());
    out.push_back(front);
    out.push_back(x);
    starts.push_back(out.size());
    out.push_back(x);
    out.push_back(back);
}

// The two polygons on either side of two crossings whose edge starts are 0-based positions in
// `pts`, appended to `out` (their starts in `starts`); none when they do not fit the polygon,
// and the text of the box to show is returned. `pts` may lie in `out`: it is read whole into
// `scratch` first.
const char* Split_Polygon_Points(const Work_Point_Rec* pts, int32_t n, const Grid_Crossing& a, const Grid_Crossing& b,
                                 std::vector<Work_Point_Rec>& scratch, Point_Pool& out, std::vector<size_t>& starts) {
    const Grid_Crossing& c1 = b.Edge_Start < a.Edge_Start ? b : a;
    const Grid_Crossing& c2 = b.Edge_Start < a.Edge_Start ? a : b;
    const int32_t last = n - 1;
    starts.clear();

    scratch.clear();
    size_t p1 = 0, p2 = 0;  // 1-based positions of the two crossing points in the scratch list
    if (c1.Edge_Start == last && c2.Edge_Start == last) return "Anormal 2 Dec_2Poly";
    for (int32_t v = 0; v <= last; ++v) {
        scratch.push_back(pts[v]);
        if (p1 == 0 && v == c1.Edge_Start) {
            scratch.push_back({c1.X, c1.Y, 0});
            p1 = scratch.size();
        } else if (p1 != 0 && p2 == 0 && v == c2.Edge_Start) {
            scratch.push_back({c2.X, c2.Y, 0});
            p2 = scratch.size();
        }
    }
    if (p1 == 0) return "Anormal 1 Dec_2Poly";
    if (p2 == 0) return "Anormal 3 Dec_2Poly";
    starts.push_back(out.size());
    out.insert(out.end(), scratch.begin() + static_cast<long>(p1 - 1), scratch.begin() + static_cast<long>(p2));
    starts.push_back(out.size());
    out.insert(out.end(), scratch.begin() + static_cast<long>(p2 - 1), scratch.end());
    out.insert(out.end(), scratch.begin(), scratch.begin() + static_cast<long>(p1));
    return nullptr;
}

// part(first, count) for each part a split left in `pool` from `starts` on.
template <class Part>
void For_Each_Part(const Point_Pool& pool, const std::vector<size_t>& starts, Part part) {
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : pool.size();
        part(starts[k], static_cast<int32_t>(end - starts[k]));
    }
}

// Crossings of one piece with the grid line `at` (map y of a latitude line when `horizontal`,
// else map x), recorded as Grid_Crossing entries with 0-based edge positions; the count of all
// recorded crossings goes to `crossings` (the list keeps the first four).
void Find_Crossings(const Work_Point_Rec* pts, int32_t n, bool horizontal, double at, double along_tol,
                    double dup_tol, Crossing_Scratch& scratch, int32_t& crossings) {
    std::vector<Grid_Crossing>& list = scratch.list;
    list.clear();
    crossings = 0;
    // Consecutive vertices within the tolerance of the line form one run: the line touches or
    // crosses the polygon there once, however many of them it passes near.
    std::vector<int32_t>& run = scratch.run;
    run.assign(static_cast<size_t>(n), 0);
    {
        int32_t id = 0;
        bool in_run = false;
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = pts[i];
            double d = horizontal ? p.Y - at : p.X - at;
            bool near = d >= -along_tol && d <= along_tol;
            if (near && !in_run) ++id;
            in_run = near;
            run[static_cast<size_t>(i)] = near ? id : 0;
        }
        // A run through the last and the first vertex of a ring is one run.
        if (n > 2 && run.front() != 0 && run.back() != 0) {
            const int32_t last_id = run.back();
            for (int32_t& r_id : run)
                if (r_id == last_id) r_id = run.front();
        }
    }
    auto run_of = [&](double px, double py, int32_t s_pt, int32_t t_pt) {
        const Work_Point_Rec& a = pts[s_pt];
        int32_t v = (a.X == px && a.Y == py) ? s_pt : t_pt;
        return run[static_cast<size_t>(v)];
    };
    std::vector<int32_t>& list_runs = scratch.list_runs;
    list_runs.clear();

    const int32_t edges = n == 2 ? 1 : n;
    for (int32_t s = 0; s < edges; ++s) {
        int32_t t = s + 1 < n ? s + 1 : 0;
        const Work_Point_Rec& p1 = pts[s];
        const Work_Point_Rec& p2 = pts[t];
        int16_t code = 0;
        double px = 0, py = 0;
        API_Cross_Grid_Line(horizontal, p1.X, p1.Y, p2.X, p2.Y, at, along_tol, code, px, py);
        if (code != 2 && code != 3) continue;
        if (code == 3) {
            bool seen = false;
            for (const Grid_Crossing& c : list) {
                bool shares = c.Edge_Start == s || c.Edge_Start == t || c.Edge_End == s || c.Edge_End == t;
                double d = horizontal ? std::fabs(c.X - px) : std::fabs(c.Y - py);
                if (shares && d <= dup_tol) {
                    seen = true;
                    break;
                }
            }
            const int32_t this_run = run_of(px, py, s, t);
            if (!seen && this_run != 0)
                seen = std::find(list_runs.begin(), list_runs.end(), this_run) != list_runs.end();
            if (seen) continue;
            list_runs.push_back(this_run);
        } else {
            list_runs.push_back(0);
        }
        ++crossings;
        if (list.size() < 4) list.push_back({s, t, code, px, py});
    }
}

}  // namespace

Piece_Cut Cut_Piece(const Piece& piece, Point_Pool& pool, bool horizontal, double at, double tx, double ty,
                    bool draw, Crossing_Scratch& scratch, std::vector<Piece>& out, const char*& failure) {
    const double along_tol = horizontal ? ty : tx;  // tolerance across the line
    const double dup_tol = horizontal ? tx : ty;    // duplicates judged along the line
    const int32_t n = piece.Count;
    const double lo = horizontal ? piece.Bounds.Min_Y : piece.Bounds.Min_X;
    const double hi = horizontal ? piece.Bounds.Max_Y : piece.Bounds.Max_X;
    // A piece wholly off the line (beyond the tolerance) meets it nowhere.
    if (at < lo - 2 * along_tol || at > hi + 2 * along_tol) return Piece_Cut::Kept;

    int32_t crossings = 0;
    const Work_Point_Rec* pts = pool.data() + piece.First;
    Find_Crossings(pts, n, horizontal, at, along_tol, dup_tol, scratch, crossings);
    const std::vector<Grid_Crossing>& list = scratch.list;
    if (crossings == 0 || (crossings == 1 && (n != 2 || list[0].Code == 3))) return Piece_Cut::Kept;
    if (crossings > 2) return Piece_Cut::Abnormal;
    failure = nullptr;
    if (crossings == 1)
        Split_Line_Points(pts, n, list[0], pool, scratch.starts);
    else
        failure = Split_Polygon_Points(pts, n, list[0], list[1], scratch.split, pool, scratch.starts);
    For_Each_Part(pool, scratch.starts, [&](size_t first, int32_t count) {
        const Piece part = Span_Piece(piece.Source, pool.data(), first, count);
        if (draw) Draw_Piece(pool.data() + part.First, part.Count);
        out.push_back(part);
    });
    return Piece_Cut::Replaced;
}

}  // namespace grid_cut
