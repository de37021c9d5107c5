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

// One polygon or line of a cut pass: the work record it came from (all its fields but the
// points) and its own points. The cut works on these and writes the work tables once at the end.
struct Piece {
    int32_t Source = 0;
    std::vector<Work_Point_Rec> Points;
    Box Bounds;
};

Piece Make_Piece(int32_t source, std::vector<Work_Point_Rec> points) {
    Piece p{source, std::move(points), {}};
    p.Bounds = Points_Box(static_cast<int32_t>(p.Points.size()),
                          [&](int32_t i) -> const Work_Point_Rec& { return p.Points[static_cast<size_t>(i)]; });
    return p;
}

void Append_Cut_Record(const Line_Rec& src, const std::vector<Work_Point_Rec>& pts) {
    Cut_Tables_Reserve(static_cast<int32_t>(pts.size()));
    ++Cut_Poly_Count;
    Line_Rec& rec = Cut_Poly_Table(Cut_Poly_Count);
    rec = src;
    rec.First_Point = Cut_Point_Count + 1;
    for (const Work_Point_Rec& p : pts) Cut_Point_Table(++Cut_Point_Count) = p;
    rec.Last_Point = Cut_Point_Count;
    rec.Nb_Points = static_cast<int32_t>(pts.size());
}

void Draw_Last_Cut() {
    int32_t last = Cut_Poly_Count;
    API_Draw_Debug_Poly(last);
}

// The debug drawing of a new piece of the grid cut, which keeps its pieces out of the cut
// tables until the end: the piece is put there alone for the drawing.
void Draw_Piece(const std::vector<Work_Point_Rec>& pts) {
    if (Debug_Draw == 0) return;
    Cut_Tables_Size(1, static_cast<int32_t>(pts.size()) + 1);
    Append_Cut_Record(Line_Rec{}, pts);
    Draw_Last_Cut();
    Cut_Poly_Count = 0;
    Cut_Point_Count = 0;
}

std::vector<std::vector<Work_Point_Rec>> Split_Line_Points(const std::vector<Work_Point_Rec>& pts,
                                                           const Grid_Crossing& crossing) {
    Work_Point_Rec x{crossing.X, crossing.Y, 2};
    return {{pts.front(), x}, {x, pts.back()}};
}

// The two polygons on either side of two crossings whose edge starts are 0-based positions in
// `pts`; none (after the box) when they do not fit the polygon.
std::vector<std::vector<Work_Point_Rec>> Split_Polygon_Points(const std::vector<Work_Point_Rec>& pts,
                                                              const Grid_Crossing& a, const Grid_Crossing& b) {
    const Grid_Crossing& c1 = b.Edge_Start < a.Edge_Start ? b : a;
    const Grid_Crossing& c2 = b.Edge_Start < a.Edge_Start ? a : b;
    const int32_t last = static_cast<int32_t>(pts.size()) - 1;

    std::vector<Work_Point_Rec> scratch;
    scratch.reserve(pts.size() + 2);
    size_t p1 = 0, p2 = 0;  // 1-based positions of the two crossing points in the scratch list
    if (c1.Edge_Start == last && c2.Edge_Start == last) {
        Gen_Show_Failure("Anormal 2 Dec_2Poly");
        return {};
    }
    for (int32_t v = 0; v <= last; ++v) {
        scratch.push_back(pts[static_cast<size_t>(v)]);
        if (p1 == 0 && v == c1.Edge_Start) {
            scratch.push_back({c1.X, c1.Y, 0});
            p1 = scratch.size();
        } else if (p1 != 0 && p2 == 0 && v == c2.Edge_Start) {
            scratch.push_back({c2.X, c2.Y, 0});
            p2 = scratch.size();
        }
    }
    if (p1 == 0) {
        Gen_Show_Failure("Anormal 1 Dec_2Poly");
        return {};
    }
    if (p2 == 0) {
        Gen_Show_Failure("Anormal 3 Dec_2Poly");
        return {};
    }
    std::vector<Work_Point_Rec> poly_a(scratch.begin() + static_cast<long>(p1 - 1),
                                       scratch.begin() + static_cast<long>(p2));
    std::vector<Work_Point_Rec> poly_b(scratch.begin() + static_cast<long>(p2 - 1), scratch.end());
    poly_b.insert(poly_b.end(), scratch.begin(), scratch.begin() + static_cast<long>(p1));
    return {std::move(poly_a), std::move(poly_b)};
}

// Crossings of one piece with the grid line `at` (map y of a latitude line when `horizontal`,
// else map x), recorded as Grid_Crossing entries with 0-based edge positions; the count of all
// recorded crossings goes to `crossings` (the list keeps the first four).
struct Crossing_Scratch {
    std::vector<Grid_Crossing> list;
    std::vector<int32_t> run;
    std::vector<int32_t> list_runs;
};

void Find_Crossings(const std::vector<Work_Point_Rec>& pts, bool horizontal, double at, double along_tol,
                    double dup_tol, Crossing_Scratch& scratch, int32_t& crossings) {
    const int32_t n = static_cast<int32_t>(pts.size());
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
            const Work_Point_Rec& p = pts[static_cast<size_t>(i)];
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
        const Work_Point_Rec& a = pts[static_cast<size_t>(s_pt)];
        int32_t v = (a.X == px && a.Y == py) ? s_pt : t_pt;
        return run[static_cast<size_t>(v)];
    };
    std::vector<int32_t>& list_runs = scratch.list_runs;
    list_runs.clear();

    const int32_t edges = n == 2 ? 1 : n;
    for (int32_t s = 0; s < edges; ++s) {
        int32_t t = s + 1 < n ? s + 1 : 0;
        const Work_Point_Rec& p1 = pts[static_cast<size_t>(s)];
        const Work_Point_Rec& p2 = pts[static_cast<size_t>(t)];
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

// One piece against one grid line: kept whole, replaced by its parts in `out` (none when the
// two-way split failed), or abnormal (three crossings or more).
Piece_Cut Cut_Piece(const Piece& piece, bool horizontal, double at, double tx, double ty,
                    Crossing_Scratch& scratch, std::vector<Piece>& out) {
    const double along_tol = horizontal ? ty : tx;  // tolerance across the line
    const double dup_tol = horizontal ? tx : ty;    // duplicates judged along the line
    const int32_t n = static_cast<int32_t>(piece.Points.size());
    const double lo = horizontal ? piece.Bounds.Min_Y : piece.Bounds.Min_X;
    const double hi = horizontal ? piece.Bounds.Max_Y : piece.Bounds.Max_X;
    // A piece wholly off the line (beyond the tolerance) meets it nowhere.
    if (at < lo - 2 * along_tol || at > hi + 2 * along_tol) return Piece_Cut::Kept;

    int32_t crossings = 0;
    Find_Crossings(piece.Points, horizontal, at, along_tol, dup_tol, scratch, crossings);
    const std::vector<Grid_Crossing>& list = scratch.list;
    if (crossings == 0 || (crossings == 1 && (n != 2 || list[0].Code == 3))) return Piece_Cut::Kept;
    if (crossings > 2) return Piece_Cut::Abnormal;
    std::vector<std::vector<Work_Point_Rec>> parts =
        crossings == 1 ? Split_Line_Points(piece.Points, list[0]) : Split_Polygon_Points(piece.Points, list[0], list[1]);
    for (auto& part : parts) {
        Draw_Piece(part);
        out.push_back(Make_Piece(piece.Source, std::move(part)));
    }
    return Piece_Cut::Replaced;
}

// One direction of the cut: every grid line of `lines` in order over the pieces of `pieces`.
// Each line's pass sees the pieces in table order, as one pass over the whole table would;
// only the pieces near the line are looked at. On an abnormal piece, `pieces` is left as the
// last whole line made it and `lines_done` says how many lines were whole.
bool Cut_Direction(bool horizontal, const std::vector<double>& lines, double tx, double ty,
                   std::vector<Piece>& pieces, size_t& lines_done) {
    lines_done = 0;
    const double along_tol = horizontal ? ty : tx;
    // A group is one piece of the input and what it has been cut into so far, in order.
    const size_t groups = pieces.size();
    std::vector<std::vector<Piece>> group(groups);
    std::vector<size_t> last_line(groups, 0);
    std::vector<std::vector<size_t>> starting(lines.size());
    auto line_range = [&](double lo, double hi, size_t& first, size_t& last) {
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
    for (size_t g = 0; g < groups; ++g) {
        Piece& p = pieces[g];
        const double lo = horizontal ? p.Bounds.Min_Y : p.Bounds.Min_X;
        const double hi = horizontal ? p.Bounds.Max_Y : p.Bounds.Max_X;
        size_t first = 0, last = 0;
        const bool meets = line_range(lo, hi, first, last);
        group[g].push_back(std::move(p));
        if (!meets) continue;
        last_line[g] = last;
        starting[first].push_back(g);
    }

    auto flatten = [&]() {
        pieces.clear();
        for (auto& g : group)
            for (Piece& p : g) pieces.push_back(std::move(p));
    };

    // A line's changes wait until the whole line has gone through: an abnormal piece drops them.
    // Layout of a changed group: index >= 0 keeps that piece, -1 - k takes new part k.
    struct Change {
        size_t Group;
        std::vector<int32_t> Layout;
        std::vector<Piece> Parts;
    };
    std::vector<size_t> active, merged;   // groups in play, in table order
    std::vector<Change> changed;
    std::vector<Piece> out;
    Crossing_Scratch scratch;
    for (size_t i = 0; i < lines.size(); ++i) {
        merged.clear();
        std::merge(active.begin(), active.end(), starting[i].begin(), starting[i].end(), std::back_inserter(merged));
        active.clear();
        changed.clear();
        for (const size_t g : merged) {
            if (last_line[g] < i) continue;
            active.push_back(g);
            Change change{g, {}, {}};
            bool cut_any = false;
            for (size_t k = 0; k < group[g].size(); ++k) {
                out.clear();
                switch (Cut_Piece(group[g][k], horizontal, lines[i], tx, ty, scratch, out)) {
                    case Piece_Cut::Kept:
                        if (cut_any) change.Layout.push_back(static_cast<int32_t>(k));
                        break;
                    case Piece_Cut::Replaced:
                        if (!cut_any)
                            for (size_t before = 0; before < k; ++before) change.Layout.push_back(static_cast<int32_t>(before));
                        cut_any = true;
                        for (Piece& part : out) {
                            // Parts lie within their piece across the line; should one reach
                            // further, its group stays in play for the lines it meets.
                            size_t first = 0, last = 0;
                            const double lo = horizontal ? part.Bounds.Min_Y : part.Bounds.Min_X;
                            const double hi = horizontal ? part.Bounds.Max_Y : part.Bounds.Max_X;
                            if (line_range(lo, hi, first, last)) last_line[g] = std::max(last_line[g], last);
                            change.Layout.push_back(-1 - static_cast<int32_t>(change.Parts.size()));
                            change.Parts.push_back(std::move(part));
                        }
                        break;
                    case Piece_Cut::Abnormal:
                        flatten();
                        return false;
                }
            }
            if (cut_any) changed.push_back(std::move(change));
        }
        for (Change& c : changed) {
            std::vector<Piece> next;
            next.reserve(c.Layout.size());
            for (int32_t entry : c.Layout)
                next.push_back(entry >= 0 ? std::move(group[c.Group][static_cast<size_t>(entry)])
                                          : std::move(c.Parts[static_cast<size_t>(-1 - entry)]));
            group[c.Group] = std::move(next);
        }
        lines_done = i + 1;
    }
    flatten();
    return true;
}

// Pieces back into the work tables, each record a copy of its source record.
void Store_Pieces(const std::vector<Piece>& pieces) {
    int64_t points = 0;
    for (const Piece& p : pieces) points += static_cast<int64_t>(p.Points.size());
    Cut_Tables_Size(static_cast<int32_t>(pieces.size()), static_cast<int32_t>(std::min<int64_t>(points, INT32_MAX)));
    for (const Piece& p : pieces) Append_Cut_Record(Work_Poly_Table(p.Source), p.Points);
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

std::vector<Work_Point_Rec> Record_Points(const Line_Rec& rec) {
    std::vector<Work_Point_Rec> pts;
    for (int32_t i = 0; i < rec.Nb_Points; ++i) pts.push_back(Work_Point_Table(rec.First_Point + i));
    return pts;
}

Grid_Crossing Local(Grid_Crossing c, int32_t first) {
    c.Edge_Start -= first;
    c.Edge_End -= first;
    return c;
}

}  // namespace

void API_Split_Line_At(int32_t record, const Grid_Crossing& crossing) {
    for (const auto& part : Split_Line_Points(Record_Points(Work_Poly_Table(record)), crossing)) {
        Append_Cut_Record(Work_Poly_Table(record), part);
        Draw_Last_Cut();
    }
}

bool API_Split_Polygon_Two(int32_t record, const Grid_Crossing& a, const Grid_Crossing& b) {
    const int32_t first = Work_Poly_Table(record).First_Point;
    const auto parts = Split_Polygon_Points(Record_Points(Work_Poly_Table(record)), Local(a, first), Local(b, first));
    for (const auto& part : parts) {
        Append_Cut_Record(Work_Poly_Table(record), part);
        Draw_Last_Cut();
    }
    return !parts.empty();
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

    // Records without points do not outlive the first line.
    std::vector<Piece> pieces;
    pieces.reserve(static_cast<size_t>(Work_Poly_Count));
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Line_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points <= 0) continue;
        std::vector<Work_Point_Rec> pts(Work_Point_Table.begin() + (rec.First_Point - 1),
                                        Work_Point_Table.begin() + (rec.First_Point - 1 + rec.Nb_Points));
        pieces.push_back(Make_Piece(r, std::move(pts)));
    }

    size_t done = 0;
    if (!Cut_Direction(true, lat_lines, tx, ty, pieces, done)) {
        if (done > 0) Store_Pieces(pieces);
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }
    if (!(max_lines < 1e7)) {
        Store_Pieces(pieces);
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    const bool whole = Cut_Direction(false, lon_lines, tx, ty, pieces, done);
    Store_Pieces(pieces);
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

}  // namespace

void API_Sort_Cut_Pieces() {
    const int32_t n = Cut_Piece_Count;
    if (n < 2) return;
    std::vector<Piece_Key> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) keys.push_back(Key_Of(Cut_Piece_Table(i)));
    const std::vector<int32_t> order =
        Exchange_Sort_Order(Exchange_Sort_Ranks(keys, Comes_First), false);
    std::vector<Cut_Piece_Record> sorted;
    sorted.reserve(static_cast<size_t>(n));
    for (int32_t entry : order) sorted.push_back(std::move(Cut_Piece_Table(entry + 1)));
    for (int32_t i = 1; i <= n; ++i) Cut_Piece_Table(i) = std::move(sorted[static_cast<size_t>(i - 1)]);
}

void API_Index_Pieces(int16_t mode) {
    Cut_Piece_Count = 0;
    Cut_Piece_Point_Count = 0;
    Cut_Piece_Capacity = Work_Poly_Count + 1;
    Cut_Piece_Point_Capacity = Work_Point_Count + 1;
    Cut_Piece_Table.ReDim(Cut_Piece_Capacity);
    Cut_Piece_Points.ReDim(Cut_Piece_Point_Capacity);

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

        if (Cut_Piece_Count + 1 >= Cut_Piece_Capacity) {
            Cut_Piece_Capacity += 10;
            Cut_Piece_Table.ReDim_Preserve(Cut_Piece_Capacity);
        }
        if (Cut_Piece_Point_Count + static_cast<int32_t>(kept) >= Cut_Piece_Point_Capacity) {
            Cut_Piece_Point_Capacity += static_cast<int32_t>(kept) + 20;
            Cut_Piece_Points.ReDim_Preserve(Cut_Piece_Point_Capacity);
        }
        Cut_Piece_Record& piece = Cut_Piece_Table(++Cut_Piece_Count);
        piece = Cut_Piece_Record{};
        piece.Nb_Points = static_cast<int16_t>(kept);
        piece.First_Point = Cut_Piece_Point_Count + 1;
        for (size_t i = 0; i < kept; ++i) Cut_Piece_Points(++Cut_Piece_Point_Count) = scratch[i];
        piece.Last_Point = Cut_Piece_Point_Count;
        piece.Lod8_Col = c8;
        piece.Lod8_Row = r8;
        piece.Lod13_Col = mode == 2 ? 0 : c13;
        piece.Lod13_Row = mode == 2 ? 0 : r13;
        piece.Line_Id = rec.Line_Id;
        piece.Attr = rec.Attr;
        piece.Ring_Number = rec.Ring_Number;
        piece.Group_Id = rec.Group_Id;
        piece.Sort_Key = 0;
    }
    API_Sort_Cut_Pieces();
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
