#include "generation/grid_cut.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/grid.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/debug_draw.h"
#include "generation/exchange_sort.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"

namespace {

struct Box {
    double Min_X = 0, Min_Y = 0, Max_X = 0, Max_Y = 0;
};

template <class Point_At>
Box Points_Box(int32_t n, Point_At point) {
    Box b{1e300, 1e300, -1e300, -1e300};
    for (int32_t i = 0; i < n; ++i) {
        const Work_Point_Rec& p = point(i);
        b.Min_X = std::min(b.Min_X, p.X);
        b.Max_X = std::max(b.Max_X, p.X);
        b.Min_Y = std::min(b.Min_Y, p.Y);
        b.Max_Y = std::max(b.Max_Y, p.Y);
    }
    return b;
}

// The points of a cut pass's pieces, one piece after another: a piece is a span of its pool,
// so cutting makes no allocation of its own per piece.
using Point_Pool = std::vector<Work_Point_Rec>;

// One polygon or line of a cut pass: the work record it came from (all its fields but the
// points) and its points in the pass's pool. The cut writes the work tables once at the end.
struct Piece {
    int32_t Source = 0;
    size_t First = 0;
    int32_t Count = 0;
    Box Bounds;
};

// The piece of `source` made of the `count` points from `first` on.
Piece Span_Piece(int32_t source, const Work_Point_Rec* points, size_t first, int32_t count) {
    Piece p{source, first, count, {}};
    p.Bounds = Points_Box(count, [&](int32_t i) -> const Work_Point_Rec& { return points[first + static_cast<size_t>(i)]; });
    return p;
}

// A copy of `p` (its points among `from`) whose points are appended to `to`.
Piece Copy_Piece(const Piece& p, const Work_Point_Rec* from, Point_Pool& to) {
    Piece copy = p;
    copy.First = to.size();
    to.insert(to.end(), from + p.First, from + p.First + p.Count);
    return copy;
}

void Append_Cut_Record(const Line_Rec& src, const Work_Point_Rec* pts, int32_t n) {
    Cut_Tables_Reserve(n);
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = src;
    rec.First_Point = Cut_Point_Count + 1;
    for (int32_t i = 0; i < n; ++i) Cut_Point_Table(++Cut_Point_Count) = pts[i];
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = n;
}

void Draw_Last_Cut() {
    int32_t last = Cut_Poly_Count;
    API_Draw_Debug_Poly(last);
}

// The debug drawing of a new piece of the grid cut, which keeps its pieces out of the cut
// tables until the end: the piece is put there alone for the drawing.
void Draw_Piece(const Work_Point_Rec* pts, int32_t n) {
    if (Debug_Draw == 0) return;
    Cut_Tables_Size(1, n + 1);
    Append_Cut_Record(Line_Rec{}, pts, n);
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

// Crossings of one piece with the grid line `at` (map y of a latitude line when `horizontal`,
// else map x), recorded as Grid_Crossing entries with 0-based edge positions; the count of all
// recorded crossings goes to `crossings` (the list keeps the first four).
struct Crossing_Scratch {
    std::vector<Grid_Crossing> list;
    std::vector<int32_t> run;
    std::vector<int32_t> list_runs;
    std::vector<Work_Point_Rec> split;
    std::vector<size_t> starts;
};

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
        if (horizontal)
            API_Cross_Horizontal_Line(p1.X, p1.Y, p2.X, p2.Y, at, along_tol, code, px, py);
        else
            API_Cross_Vertical_Line(p1.X, p1.Y, p2.X, p2.Y, at, along_tol, code, px, py);
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

enum class Piece_Cut { Kept, Replaced, Abnormal };

// One piece against one grid line: kept whole, replaced by its parts in `out` (their points
// appended to `pool`; none when the two-way split failed, whose box text goes to `failure`), or
// abnormal (three crossings or more).
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
    const std::vector<size_t>& starts = scratch.starts;
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : pool.size();
        Piece part{piece.Source, starts[k], static_cast<int32_t>(end - starts[k]), {}};
        part.Bounds = Points_Box(part.Count, [&](int32_t i) -> const Work_Point_Rec& {
            return pool[part.First + static_cast<size_t>(i)];
        });
        if (draw) Draw_Piece(pool.data() + part.First, part.Count);
        out.push_back(part);
    }
    return Piece_Cut::Replaced;
}

// Where in the cut a piece was met: grid line, group, place in the group at that line. The
// order of these is the order in which a pass over the whole table per line meets the pieces.
struct Cut_Place {
    size_t Line = SIZE_MAX, Group = 0, Piece = 0;
    auto operator<=>(const Cut_Place&) const = default;
};

// Scratch of one direction of the cut, kept from one group to the next.
struct Group_Scratch {
    Point_Pool pool, spare;            // the points of the group being cut
    std::vector<Piece> now, next, parts;
    Crossing_Scratch crossings;
    std::vector<std::pair<Cut_Place, const char*>> failures;  // split boxes not shown yet
};

// Every input piece and what it is cut into (its group) goes through the grid lines it meets
// among lines[0, limit) in order. A group's pieces never meet another group's, so cutting group
// by group gives the pieces, in the order, that a pass over the whole table per line would.
// Returns where the first piece met a line three times or more (the output is then incomplete);
// its Line is SIZE_MAX when none did. With `first_run`, the new pieces are drawn and the split
// boxes kept in `g.failures`.
Cut_Place Cut_Groups(bool horizontal, const std::vector<double>& lines, size_t limit, double tx, double ty,
                     bool first_run, const std::vector<Piece>& in, const Work_Point_Rec* in_points, std::vector<Piece>& out,
                     Point_Pool& out_pool, Group_Scratch& g) {
    const double along_tol = horizontal ? ty : tx;
    auto line_range = [&](const Box& b, size_t& first, size_t& last) {
        const double lo = horizontal ? b.Min_Y : b.Min_X;
        const double hi = horizontal ? b.Max_Y : b.Max_X;
        // Lines that pass the piece's "wholly off" test; the lines are in ascending order.
        auto begin = std::lower_bound(lines.begin(), lines.end(), lo, [&](double at, double low) {
            return at < low - 2 * along_tol;
        });
        auto end = std::upper_bound(lines.begin(), lines.end(), hi, [&](double high, double at) {
            return at > high + 2 * along_tol;
        });
        first = static_cast<size_t>(begin - lines.begin());
        if (end == lines.begin()) return false;
        last = static_cast<size_t>(end - lines.begin()) - 1;
        return first <= last;
    };
    Cut_Place abnormal;
    for (size_t group = 0; group < in.size(); ++group) {
        const Piece& input = in[group];
        size_t first = 0, last = 0;
        if (!line_range(input.Bounds, first, last) || first >= limit) {
            out.push_back(Copy_Piece(input, in_points, out_pool));
            continue;
        }
        g.pool.clear();
        g.now.clear();
        g.now.push_back(Copy_Piece(input, in_points, g.pool));
        for (size_t i = first; i <= last && i < limit; ++i) {
            g.next.clear();
            size_t live = 0;
            for (size_t k = 0; k < g.now.size(); ++k) {
                const Piece& piece = g.now[k];
                g.parts.clear();
                const char* failure = nullptr;
                const Piece_Cut cut =
                    Cut_Piece(piece, g.pool, horizontal, lines[i], tx, ty, first_run, g.crossings, g.parts, failure);
                if (cut == Piece_Cut::Abnormal) {
                    // No later group needs to go as far; this one stops here.
                    abnormal = {i, group, k};
                    limit = i;
                    break;
                }
                if (failure && first_run) g.failures.push_back({{i, group, k}, failure});
                if (cut == Piece_Cut::Kept) {
                    g.next.push_back(piece);
                    live += static_cast<size_t>(piece.Count);
                    continue;
                }
                for (const Piece& part : g.parts) {
                    // Parts lie within their piece across the line; should one reach further,
                    // its group stays in play for the lines it meets.
                    size_t part_first = 0, part_last = 0;
                    if (line_range(part.Bounds, part_first, part_last)) last = std::max(last, part_last);
                    g.next.push_back(part);
                    live += static_cast<size_t>(part.Count);
                }
            }
            std::swap(g.now, g.next);
            // Replaced pieces leave their points behind; the pool is packed once they outweigh
            // the live ones, so it stays within a few times the group's points.
            if (g.pool.size() > 4 * live + 1024) {
                g.spare.clear();
                for (Piece& piece : g.now) piece = Copy_Piece(piece, g.pool.data(), g.spare);
                std::swap(g.pool, g.spare);
            }
        }
        for (const Piece& piece : g.now) out.push_back(Copy_Piece(piece, g.pool.data(), out_pool));
    }
    return abnormal;
}

// One direction of the cut: every grid line of `lines` in order over `pieces` (their `count`
// points among `points`); the pieces it makes replace them, their points in `out_pool`. On an
// abnormal piece, `pieces` is left as the last whole line made it and `lines_done` says how
// many lines were whole.
bool Cut_Direction(bool horizontal, const std::vector<double>& lines, double tx, double ty,
                   std::vector<Piece>& pieces, const Work_Point_Rec* points, size_t count, Point_Pool& out_pool,
                   size_t& lines_done) {
    std::vector<Piece> out;
    out.reserve(pieces.size());
    out_pool.clear();
    out_pool.reserve(count + count / 2);
    Group_Scratch scratch;
    const Cut_Place abnormal =
        Cut_Groups(horizontal, lines, lines.size(), tx, ty, true, pieces, points, out, out_pool, scratch);
    // The boxes of the splits met before the abnormal piece, in the order they were met.
    std::stable_sort(scratch.failures.begin(), scratch.failures.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [place, text] : scratch.failures)
        if (place < abnormal) Gen_Show_Failure(text);
    const bool whole = abnormal.Line == SIZE_MAX;
    if (!whole) {
        // Once more up to the line that could not be cut whole; no group fails before it.
        out.clear();
        out_pool.clear();
        Cut_Groups(horizontal, lines, abnormal.Line, tx, ty, false, pieces, points, out, out_pool, scratch);
    }
    lines_done = whole ? lines.size() : abnormal.Line;
    pieces.swap(out);
    return whole;
}

// Pieces back into the work tables, each record a copy of its source record.
void Store_Pieces(const std::vector<Piece>& pieces, const Point_Pool& pool) {
    // Room for the spare point the append rule keeps and the spare record of the hand-over, so
    // the tables are sized once and never grow while the pieces go in.
    Cut_Tables_Size(static_cast<int32_t>(std::min<size_t>(pieces.size() + 1, INT32_MAX)),
                    static_cast<int32_t>(std::min<size_t>(pool.size() + 2, INT32_MAX)));
    for (const Piece& p : pieces) Append_Cut_Record(Work_Poly_Table(p.Source), pool.data() + p.First, p.Count);
    API_Commit_Cut_Tables();
}

void Abandon_Cut(const char* message) {
    Cut_Tables_Erase();
    Polygon_Cut_Aborted = 1;
    Gen_Show_Failure(message);
}

}  // namespace

void API_Cross_Horizontal_Line(double x1, double y1, double x2, double y2, double line_y,
                               double tolerance, int16_t& code, double& px, double& py) {
    px = py = 0;
    if (y1 == y2) {
        code = 0;
        return;
    }
    if (line_y >= y1 - tolerance && line_y <= y1 + tolerance) {
        code = 3;
        px = x1;
        py = y1;
        return;
    }
    if (line_y >= y2 - tolerance && line_y <= y2 + tolerance) {
        code = 3;
        px = x2;
        py = y2;
        return;
    }
    int16_t flag = 0;
    SYST_Segment_Intersection(x1, y1, x2, y2, -100, line_y, 100, line_y, flag, px, py);
    code = (line_y > std::min(y1, y2) && line_y < std::max(y1, y2)) ? 2 : 1;
}

void API_Cross_Vertical_Line(double x1, double y1, double x2, double y2, double line_x,
                             double tolerance, int16_t& code, double& px, double& py) {
    px = py = 0;
    if (x1 == x2) {
        code = 0;
        return;
    }
    if (line_x >= x1 - tolerance && line_x <= x1 + tolerance) {
        code = 3;
        px = x1;
        py = y1;
        return;
    }
    if (line_x >= x2 - tolerance && line_x <= x2 + tolerance) {
        code = 3;
        px = x2;
        py = y2;
        return;
    }
    int16_t flag = 0;
    SYST_Segment_Intersection(x1, y1, x2, y2, line_x, -100, line_x, 100, flag, px, py);
    code = (line_x > std::min(x1, x2) && line_x < std::max(x1, x2)) ? 2 : 1;
}

namespace {

Point_Pool Record_Points(const Line_Rec& rec) {
    Point_Pool pts;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) pts.push_back(Work_Point_Table(rec.First_Point + i));
    return pts;
}

// The parts a split left in `parts` (their starts in `starts`) as new cut records of `record`.
void Append_Parts(int32_t record, const Point_Pool& parts, const std::vector<size_t>& starts) {
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t end = k + 1 < starts.size() ? starts[k + 1] : parts.size();
        Append_Cut_Record(Work_Poly_Table(record), parts.data() + starts[k], static_cast<int32_t>(end - starts[k]));
        Draw_Last_Cut();
    }
}

Grid_Crossing Local(Grid_Crossing c, int32_t first) {
    c.Edge_Start -= first;
    c.Edge_End -= first;
    return c;
}

}  // namespace

void API_Split_Line_At(int32_t record, const Grid_Crossing& crossing) {
    const Point_Pool pts = Record_Points(Work_Poly_Table(record));
    if (pts.empty()) return;
    Point_Pool parts;
    std::vector<size_t> starts;
    Split_Line_Points(pts.data(), static_cast<int32_t>(pts.size()), crossing, parts, starts);
    Append_Parts(record, parts, starts);
}

bool API_Split_Polygon_Two(int32_t record, const Grid_Crossing& a, const Grid_Crossing& b) {
    const int32_t first = Work_Poly_Table(record).First_Point;
    const Point_Pool pts = Record_Points(Work_Poly_Table(record));
    Point_Pool parts, scratch;
    std::vector<size_t> starts;
    const char* failure = Split_Polygon_Points(pts.data(), static_cast<int32_t>(pts.size()), Local(a, first),
                                               Local(b, first), scratch, parts, starts);
    if (failure) Gen_Show_Failure(failure);
    Append_Parts(record, parts, starts);
    return !starts.empty();
}

void API_Commit_Cut_Tables() { Work_Tables_Take_Cut_Tables(); }

bool API_Cut_Polygons_Cells(int16_t mode) {
    Polygon_Cut_Aborted = 0;
    Gen_Set_Compile_Name("Lod8/13 cut");
    Gen_Repaint();

    const double lat_step = mode == 2 ? Lod8_Height : Lod13_Height;
    const double lon_step = mode == 2 ? Lod8_Width : Lod13_Width;
    const double divisor = mode == 2 ? 16321.1 : 512.1;
    const double h = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * lat_step;
    const double w = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * lon_step;
    const double tx = w / divisor;
    const double ty = h / divisor;

    // Cells without a size (an uncalibrated or inverted frame) would step for ever.
    auto lines_needed = [](double from, double to, double step) {
        return (to - from) / step + 3;
    };
    if (!(h > 0) || !(w > 0) || !std::isfinite(h) || !std::isfinite(w)) {
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }

    int32_t r0 = SYST_Truncate((90 - Map_Lat_North) / lat_step) - 3;
    if (r0 < 0) r0 = 0;
    double lat0 = 90 - r0 * lat_step;
    double y = Map_Px_North - (lat0 - Map_Lat_North) * h / lat_step;
    double max_lines = lines_needed(y, Map_Px_South + h, h);
    if (!(max_lines < 1e7)) {
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }
    std::vector<double> lat_lines;
    for (int64_t line = 0; line <= static_cast<int64_t>(max_lines); ++line) {
        lat_lines.push_back(y);
        if (y >= Map_Px_South + h) break;
        y += h;
    }

    int32_t c0 = SYST_Truncate((Map_Lon_West + 180) / lon_step) - 3;
    if (c0 < 0) c0 = 0;
    double lon0 = c0 * lon_step - 180;
    double x = Map_Px_West - std::fabs(lon0 - Map_Lon_West) * w / lon_step;
    max_lines = lines_needed(x, Map_Px_East + w, w);
    std::vector<double> lon_lines;
    if (max_lines < 1e7) {
        for (int64_t line = 0; line <= static_cast<int64_t>(max_lines); ++line) {
            lon_lines.push_back(x);
            if (x >= Map_Px_East + w) break;
            x += w;
        }
    }

    // The latitude lines read the work points where they are; records without points do not
    // outlive the first line.
    const Work_Point_Rec* work_points = Work_Point_Table.Empty() ? nullptr : &*Work_Point_Table.begin();
    std::vector<Piece> pieces;
    pieces.reserve(static_cast<size_t>(std::max(Work_Poly_Count, 0)));
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Line_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points <= 0) continue;
        pieces.push_back(Span_Piece(r, work_points, static_cast<size_t>(rec.First_Point - 1), rec.Nb_Points));
    }

    size_t done = 0;
    Point_Pool across, along;  // the points of the pieces after each direction
    if (!Cut_Direction(true, lat_lines, tx, ty, pieces, work_points, static_cast<size_t>(std::max(Work_Point_Count, 0)),
                       across, done)) {
        if (done > 0) Store_Pieces(pieces, across);
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }
    if (!(max_lines < 1e7)) {
        Store_Pieces(pieces, across);
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    const bool whole = Cut_Direction(false, lon_lines, tx, ty, pieces, across.data(), across.size(), along, done);
    across = Point_Pool();  // not needed while the tables fill
    Store_Pieces(pieces, along);
    if (!whole) {
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    return true;
}

namespace {

struct Piece_Key {
    int16_t Lod8_Row, Lod8_Col, Lod13_Row, Lod13_Col;
    int32_t Group_Id, Ring_Number;
};

Piece_Key Key_Of(const Cut_Piece_Record& p) {
    return {p.Lod8_Row, p.Lod8_Col, p.Lod13_Row, p.Lod13_Col, p.Group_Id, p.Ring_Number};
}

// True when `l` must stand before `k`.
bool Comes_First(const Piece_Key& l, const Piece_Key& k) {
    if (l.Lod8_Row != k.Lod8_Row) return l.Lod8_Row < k.Lod8_Row;
    if (l.Lod8_Col != k.Lod8_Col) return l.Lod8_Col < k.Lod8_Col;
    if (l.Lod13_Row != k.Lod13_Row) return l.Lod13_Row < k.Lod13_Row;
    if (l.Lod13_Col != k.Lod13_Col) return l.Lod13_Col < k.Lod13_Col;
    if (l.Group_Id != k.Group_Id) return l.Group_Id < k.Group_Id;
    return l.Ring_Number > k.Ring_Number;
}

// For each place of the sorted table, the entry (0-based) that goes there.
std::vector<int32_t> Piece_Order(const std::vector<Piece_Key>& keys) {
    return Exchange_Sort_Order(Exchange_Sort_Ranks(keys, Comes_First), false);
}

}  // namespace

void API_Sort_Cut_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    std::vector<Piece_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) keys.push_back(Key_Of(Cut_Piece_Table(i)));
    std::vector<int32_t> order = Piece_Order(keys);
    // The records go to their places cycle by cycle, in the table itself: a sorted copy of a
    // table this size would be as big again.
    for (int32_t start = 0; start < n; ++start) {
        if (order[static_cast<size_t>(start)] == start) continue;
        Cut_Piece_Record held = std::move(Cut_Piece_Table(start + 1));
        int32_t at = start;
        for (int32_t step = 0; step < n; ++step) {
            const int32_t from = order[static_cast<size_t>(at)];
            order[static_cast<size_t>(at)] = at;
            if (from == start) break;
            Cut_Piece_Table(at + 1) = std::move(Cut_Piece_Table(from + 1));
            at = from;
        }
        Cut_Piece_Table(at + 1) = std::move(held);
    }
}

void API_Index_Pieces(int16_t mode) {
    Cut_Piece_Count = 0;
    Cut_Piece_Point_Count = 0;
    Cut_Piece_Capacity = Work_Poly_Count + 1;
    Cut_Piece_Point_Capacity = Work_Point_Count + 1;
    Cut_Piece_Points.ReDim(Cut_Piece_Point_Capacity);

    // The points go in as the pieces come; the records are written once the order is known,
    // each straight into its sorted place.
    struct Indexed {
        int32_t Record;
        int32_t First_Point;
        int16_t Nb_Points;
        Piece_Key Key;
    };
    std::vector<Indexed> indexed;
    indexed.reserve(static_cast<size_t>(std::max(Work_Poly_Count, 0)));
    std::vector<Cut_Piece_Point> scratch;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Line_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        double min_x = 9999999999999, min_y = 9999999999999;
        double max_x = -9999999999999, max_y = -9999999999999;
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
            min_x = std::min(min_x, p.X);
            max_x = std::max(max_x, p.X);
            min_y = std::min(min_y, p.Y);
            max_y = std::max(max_y, p.Y);
        }
        int16_t c8 = 0, r8 = 0, c13 = 0, r13 = 0, px = 0, py = 0;
        Com_Pixel_To_Sub_Pos_Clamped((min_x + max_x) / 2, (min_y + max_y) / 2, c8, r8, c13, r13, px, py);

        scratch.clear();
        for (int32_t i = 0; i < n; ++i) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + i);
            int16_t lx = 0, ly = 0;
            if (mode == 2)
                Com_Pixel_To_Cell_Pos_Clamped(p.X, p.Y, c8, r8, lx, ly);
            else
                Com_Pixel_To_Sub_Pos_Rounded(p.X, p.Y, c8, r8, c13, r13, lx, ly);
            scratch.push_back({p.X, p.Y, lx, ly});
        }
        scratch.push_back(scratch.front());
        // Consecutive points that fall on one local position: the first of each pair goes.
        for (size_t i = 0; i + 1 < scratch.size(); ++i) {
            if (scratch[i].Local_X == scratch[i + 1].Local_X && scratch[i].Local_Y == scratch[i + 1].Local_Y)
                scratch.erase(scratch.begin() + static_cast<long>(i));
        }
        const size_t kept = scratch.size() - 1;  // the closing copy is not stored
        const size_t needed = n == 2 ? 2 : 3;
        if (kept < needed || kept > INT16_MAX) continue;

        if (Cut_Piece_Count + 1 >= Cut_Piece_Capacity) Cut_Piece_Capacity += 10;
        if (Cut_Piece_Point_Count + static_cast<int32_t>(kept) >= Cut_Piece_Point_Capacity) {
            Cut_Piece_Point_Capacity += static_cast<int32_t>(kept) + 20;
            Cut_Piece_Points.ReDim_Preserve(Cut_Piece_Point_Capacity);
        }
        ++Cut_Piece_Count;
        Indexed piece{r, Cut_Piece_Point_Count + 1, static_cast<int16_t>(kept),
                      {r8, c8, static_cast<int16_t>(mode == 2 ? 0 : r13), static_cast<int16_t>(mode == 2 ? 0 : c13),
                       rec.Group_Id, rec.Ring_Number}};
        for (size_t i = 0; i < kept; ++i) Cut_Piece_Points(++Cut_Piece_Point_Count) = scratch[i];
        indexed.push_back(piece);
    }

    Cut_Piece_Table.ReDim(Cut_Piece_Capacity);
    std::vector<Piece_Key> keys;
    keys.reserve(indexed.size());
    for (const Indexed& p : indexed) keys.push_back(p.Key);
    const std::vector<int32_t> order = Piece_Order(keys);
    for (size_t i = 0; i < order.size(); ++i) {
        const Indexed& from = indexed[static_cast<size_t>(order[i])];
        // The work tables are emptied below: the attributes can move rather than be copied.
        Line_Rec& rec = Work_Poly_Table(from.Record);
        Cut_Piece_Record& piece = Cut_Piece_Table(static_cast<int64_t>(i) + 1);
        piece.Nb_Points = from.Nb_Points;
        piece.First_Point = from.First_Point;
        piece.Last_Point = from.First_Point + from.Nb_Points - 1;
        piece.Lod8_Col = from.Key.Lod8_Col;
        piece.Lod8_Row = from.Key.Lod8_Row;
        piece.Lod13_Col = from.Key.Lod13_Col;
        piece.Lod13_Row = from.Key.Lod13_Row;
        piece.Line_Id = rec.Line_Id;
        piece.Attr = std::move(rec.Attr);
        piece.Ring_Number = rec.Ring_Number;
        piece.Group_Id = rec.Group_Id;
    }
    Work_Tables_Erase();
}

void API_Add_Cut_Line(int32_t record, int32_t first, int32_t last) {
    const int32_t k = last >= first ? last - first + 1 : 0;
    Cut_Tables_Reserve(k + 1);
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = Work_Poly_Table(record);
    rec.First_Point = Cut_Point_Count + 1;
    for (int32_t i = first; i <= last; ++i) Cut_Point_Table(++Cut_Point_Count) = Work_Point_Table(i);
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = k;
}

void API_Add_Cut_Point(int32_t record, int32_t first, int32_t last, double x, double y) {
    API_Add_Cut_Line(record, first, last);
    Cut_Point_Table(++Cut_Point_Count) = Work_Point_Rec{x, y, 2};
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec.Last_Point = Cut_Point_Count;
    ++rec.Nb_Points;
}
