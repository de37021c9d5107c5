// Coastlines into area chords: clipped to where coasts are written, cut at every LOD13 grid
// line in grid units (255 to an area, so a grid line is an exact multiple), trimmed to their
// first and last border place, and split where they touch a border.
#include "generation/coast_chords.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "core/grid.h"
#include "core/project.h"
#include "generation/work_tables.h"

namespace {

constexpr double Side = Lod13_Local_Max;
constexpr int64_t Areas_Per_Lod8 = 32;
constexpr int64_t World_Lod8_Cols = 768;
constexpr int64_t World_Lod8_Rows = 512;
// Coasts are written this many LOD8 cells beyond the map at most, as polygons are.
constexpr int64_t Lod8_Margin = 2;

struct Grid_Pt {
    double X = 0, Y = 0;  // grid units, eastward and southward
    bool operator==(const Grid_Pt&) const = default;
};

struct Px_Box {
    double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool Inside(const Work_Point_Rec& p) const { return p.X >= X0 && p.X <= X1 && p.Y >= Y0 && p.Y <= Y1; }
};

Grid_Pt To_Grid(double x, double y) {
    double lat = 0, lon = 0;
    Com_Pixel_To_LatLon(x, y, lat, lon);
    return {(lon + 180) / Lod13_Width * Side, (90 - lat) / Lod13_Height * Side};
}

// The map's LOD8 cells with their margin, within the world, as pixels.
Px_Box Coast_Box() {
    const auto cell = [](double v, double size) { return static_cast<int64_t>(std::floor(v / size)); };
    const int64_t w = std::clamp<int64_t>(cell(Map_Lon_West + 180, Lod8_Width) - Lod8_Margin, 0, World_Lod8_Cols - 1);
    const int64_t e = std::clamp<int64_t>(cell(Map_Lon_East + 180, Lod8_Width) + Lod8_Margin, 0, World_Lod8_Cols - 1);
    const int64_t n = std::clamp<int64_t>(cell(90 - Map_Lat_North, Lod8_Height) - Lod8_Margin, 0, World_Lod8_Rows - 1);
    const int64_t s = std::clamp<int64_t>(cell(90 - Map_Lat_South, Lod8_Height) + Lod8_Margin, 0, World_Lod8_Rows - 1);
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    Com_LatLon_To_Pixel(90 - n * Lod8_Height, w * Lod8_Width - 180, x0, y0);
    Com_LatLon_To_Pixel(90 - (s + 1) * Lod8_Height, (e + 1) * Lod8_Width - 180, x1, y1);
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// The point of segment a-b on the line x = at (or y = at), measured from the end nearer to it:
// from a far end the fraction would round away the whole map.
Work_Point_Rec On_Line(const Work_Point_Rec& a, const Work_Point_Rec& b, bool vertical, double at) {
    const double ua = vertical ? a.X : a.Y, ub = vertical ? b.X : b.Y;
    const bool from_a = std::fabs(ua - at) <= std::fabs(ub - at);
    const Work_Point_Rec& p = from_a ? a : b;
    const Work_Point_Rec& q = from_a ? b : a;
    const double up = vertical ? p.X : p.Y, uq = vertical ? q.X : q.Y;
    const double s = (at - up) / (uq - up);
    if (vertical) return {at, p.Y + s * (q.Y - p.Y), 0};
    return {p.X + s * (q.X - p.X), at, 0};
}

// The part of segment a-b inside the box (Liang-Barsky), each moved end on its edge.
std::optional<std::pair<Work_Point_Rec, Work_Point_Rec>> Clip(const Work_Point_Rec& a, const Work_Point_Rec& b,
                                                               const Px_Box& box) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    if (!std::isfinite(dx) || !std::isfinite(dy)) return std::nullopt;
    double t0 = 0, t1 = 1;
    int e0 = -1, e1 = -1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - box.X0, box.X1 - a.X, a.Y - box.Y0, box.Y1 - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t0) t0 = r, e0 = i;
        } else if (r < t1) {
            t1 = r, e1 = i;
        }
    }
    if (t0 > t1) return std::nullopt;
    const double edge[4] = {box.X0, box.X1, box.Y0, box.Y1};
    const auto moved = [&](int e) {
        Work_Point_Rec m = On_Line(a, b, e < 2, edge[e]);
        m.X = std::clamp(m.X, box.X0, box.X1);
        m.Y = std::clamp(m.Y, box.Y0, box.Y1);
        return m;
    };
    return std::pair{e0 < 0 ? a : moved(e0), e1 < 0 ? b : moved(e1)};
}

// The stretches of a line inside the box; a ring wholly inside stays one closed stretch.
std::vector<std::vector<Work_Point_Rec>> Clip_Line(std::vector<Work_Point_Rec> pts, bool ring, const Px_Box& box,
                                                   bool& stays_ring) {
    stays_ring = ring && std::all_of(pts.begin(), pts.end(), [&](const Work_Point_Rec& p) { return box.Inside(p); });
    if (stays_ring) return {pts};
    if (ring) {
        // Start at a point outside, so that no stretch is cut in two by the start.
        const auto out = std::find_if(pts.begin(), pts.end(), [&](const Work_Point_Rec& p) { return !box.Inside(p); });
        std::rotate(pts.begin(), out, pts.end());
        pts.push_back(pts.front());
    }
    std::vector<std::vector<Work_Point_Rec>> parts;
    bool open = false;
    for (size_t k = 0; k + 1 < pts.size(); ++k) {
        const auto seg = Clip(pts[k], pts[k + 1], box);
        if (!seg) {
            open = false;
            continue;
        }
        if (!open || !(seg->first == parts.back().back())) {
            parts.push_back({seg->first});
            open = true;
        }
        parts.back().push_back(seg->second);
        if (!(seg->second == pts[k + 1])) open = false;
    }
    return parts;
}

int64_t Floor_Area(double v) { return static_cast<int64_t>(std::floor(v / Side)); }

// A stretch of a line in one area, in grid units.
struct Run {
    int64_t Col = 0, Row = 0;
    std::vector<Grid_Pt> Points;
};

// The area of a piece of segment between grid lines; along a grid line, the area on its right,
// where its water lies.
std::pair<int64_t, int64_t> Area_Of(const Grid_Pt& a, const Grid_Pt& b) {
    const double mx = (a.X + b.X) / 2, my = (a.Y + b.Y) / 2;
    int64_t col = Floor_Area(mx), row = Floor_Area(my);
    if (mx == col * Side && a.X == b.X) col = (b.Y > a.Y) ? col - 1 : col;  // southward: water west
    if (my == row * Side && a.Y == b.Y) row = (b.X > a.X) ? row : row - 1;  // eastward: water south
    return {col, row};
}

// Appends to `out` the crossings of a-b with the grid lines strictly between its ends, in order
// along it, then b.
void Cut_Segment(const Grid_Pt& a, const Grid_Pt& b, std::vector<Grid_Pt>& out) {
    std::vector<std::pair<double, Grid_Pt>> cuts;
    const auto lines = [&](double u, double v, bool vertical) {
        const double lo = std::min(u, v), hi = std::max(u, v);
        for (int64_t k = Floor_Area(lo) + 1; k * Side < hi; ++k) {
            const double at = k * Side;
            if (at <= lo) continue;
            const double t = (at - u) / (v - u);
            Grid_Pt p = vertical ? Grid_Pt{at, a.Y + t * (b.Y - a.Y)} : Grid_Pt{a.X + t * (b.X - a.X), at};
            cuts.push_back({t, p});
        }
    };
    lines(a.X, b.X, true);
    lines(a.Y, b.Y, false);
    std::sort(cuts.begin(), cuts.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    for (size_t i = 0; i < cuts.size(); ++i) {
        // A crossing at a corner is met by both lines at one place: it takes both exact values.
        if (i + 1 < cuts.size() && cuts[i + 1].first == cuts[i].first) {
            const Grid_Pt& c = cuts[i].second;
            out.push_back({std::round(c.X / Side) * Side, std::round(c.Y / Side) * Side});
            ++i;
            continue;
        }
        out.push_back(cuts[i].second);
    }
    out.push_back(b);
}

// The runs of a stretch, cut at the grid lines; `closed`: its last point joins its first.
std::vector<Run> Runs_Of(const std::vector<Work_Point_Rec>& stretch, bool closed) {
    std::vector<Grid_Pt> g;
    for (const Work_Point_Rec& p : stretch) g.push_back(To_Grid(p.X, p.Y));
    if (closed) g.push_back(g.front());
    std::vector<Grid_Pt> pts{g.front()};
    for (size_t k = 0; k + 1 < g.size(); ++k)
        if (!(g[k] == g[k + 1])) Cut_Segment(g[k], g[k + 1], pts);
    std::vector<Run> runs;
    for (size_t k = 0; k + 1 < pts.size(); ++k) {
        if (pts[k] == pts[k + 1]) continue;
        const auto [col, row] = Area_Of(pts[k], pts[k + 1]);
        if (runs.empty() || runs.back().Col != col || runs.back().Row != row) runs.push_back({col, row, {pts[k]}});
        runs.back().Points.push_back(pts[k + 1]);
    }
    // A ring's first and last runs are one when it starts inside an area.
    if (closed && runs.size() > 1 && runs.front().Col == runs.back().Col && runs.front().Row == runs.back().Row) {
        runs.back().Points.insert(runs.back().Points.end(), runs.front().Points.begin() + 1, runs.front().Points.end());
        runs.erase(runs.begin());
    }
    return runs;
}

// An offset in an area, snapped onto the border within one position, else rounded.
int32_t Snap(double d) {
    if (d < 1) return 0;
    if (d > Side - 1) return Lod13_Local_Max;
    return static_cast<int32_t>(std::floor(d + 0.5));
}

Coast_Fine Local(const Grid_Pt& g, int64_t col, int64_t row) {
    return {std::clamp(g.X - col * Side, 0.0, Side), std::clamp(g.Y - row * Side, 0.0, Side)};
}

// On the border exactly, as the cuts at the grid lines are.
bool On_Border(const Coast_Fine& p) { return p.X == 0 || p.Y == 0 || p.X == Side || p.Y == Side; }

// Within one position of the border: where an open line's loose end is taken to meet it.
bool Near_Border(const Coast_Fine& p) {
    const auto near = [](double d) { return Snap(d) == 0 || Snap(d) == Lod13_Local_Max; };
    return near(p.X) || near(p.Y);
}

bool Same(const Coast_Fine& a, const Coast_Fine& b) { return a.X == b.X && a.Y == b.Y; }

// Two places on one side of the area: the segment between them runs along the border.
bool Along_Border(const Coast_Fine& a, const Coast_Fine& b) {
    return (a.X == b.X && (a.X == 0 || a.X == Side)) || (a.Y == b.Y && (a.Y == 0 || a.Y == Side));
}

// A run into chords: split at every place on the border, so that each chord meets the border
// only at its ends; stretches along the border itself divide nothing and go. The places are
// kept as they are: the snap comes once the water is made, for all of an area's lines at once.
void Add_Chords(const Run& run, int32_t line, bool loop, std::vector<Coast_Chord>& out) {
    std::vector<Coast_Fine> pts;
    for (const Grid_Pt& g : run.Points) pts.push_back(Local(g, run.Col, run.Row));
    pts.erase(std::unique(pts.begin(), pts.end(), Same), pts.end());
    while (loop && pts.size() > 1 && Same(pts.front(), pts.back())) pts.pop_back();
    if (pts.size() < (loop ? 3u : 2u)) return;
    if (loop) {
        const auto at = std::find_if(pts.begin(), pts.end(), On_Border);
        if (at == pts.end()) {
            out.push_back({run.Col, run.Row, line, true, pts});
            return;
        }
        std::rotate(pts.begin(), at, pts.end());
        pts.push_back(pts.front());
    }
    size_t from = 0;
    for (size_t k = 1; k < pts.size(); ++k) {
        if (!On_Border(pts[k]) && k + 1 < pts.size()) continue;
        if (!(k == from + 1 && Along_Border(pts[from], pts[k])) && On_Border(pts[from]) && On_Border(pts[k]))
            out.push_back({run.Col, run.Row, line, false,
                           {pts.begin() + static_cast<long>(from), pts.begin() + static_cast<long>(k) + 1}});
        from = k;
    }
}

// A loose end taken to meet the border there is moved onto it.
void Onto_Border(const Run& r, Grid_Pt& g) {
    const Coast_Fine p = Local(g, r.Col, r.Row);
    if (Snap(p.X) == 0) g.X = r.Col * Side;
    if (Snap(p.X) == Lod13_Local_Max) g.X = (r.Col + 1) * Side;
    if (Snap(p.Y) == 0) g.Y = r.Row * Side;
    if (Snap(p.Y) == Lod13_Local_Max) g.Y = (r.Row + 1) * Side;
}

// An open stretch starts at its first place on a border and ends at its last: what lies before
// and after is a loose end, with no water to give. False when it has no such place.
bool Trim(std::vector<Run>& runs) {
    const auto border = [](const Run& r, const Grid_Pt& g) { return Near_Border(Local(g, r.Col, r.Row)); };
    while (!runs.empty()) {
        Run& r = runs.front();
        const auto at = std::find_if(r.Points.begin(), r.Points.end(), [&](const Grid_Pt& g) { return border(r, g); });
        if (at != r.Points.end()) {
            r.Points.erase(r.Points.begin(), at);
            Onto_Border(r, r.Points.front());
            break;
        }
        runs.erase(runs.begin());
    }
    if (runs.empty()) return false;
    while (!runs.empty()) {
        Run& r = runs.back();
        const auto at = std::find_if(r.Points.rbegin(), r.Points.rend(), [&](const Grid_Pt& g) { return border(r, g); });
        if (at != r.Points.rend()) {
            r.Points.erase(at.base(), r.Points.end());
            Onto_Border(r, r.Points.back());
            break;
        }
        runs.pop_back();
    }
    return true;
}

}  // namespace

void Coast_Pos_To_Pixel(int64_t col, int64_t row, Coast_Pos p, double& x, double& y) {
    const int64_t c8 = col / Areas_Per_Lod8, c13 = col % Areas_Per_Lod8;
    const int64_t r8 = row / Areas_Per_Lod8, r13 = row % Areas_Per_Lod8;
    const double lat = 90 - (r8 * Lod8_Height + r13 * Lod13_Height + p.Y * Lod13_Height / 255);
    const double lon = c8 * Lod8_Width + c13 * Lod13_Width + p.X * Lod13_Width / 255 - 180;
    Com_LatLon_To_Pixel(lat, lon, x, y);
}

bool Coast_Make_Chords(const std::vector<bool>& ring, std::vector<Coast_Chord>& chords) {
    const Px_Box box = Coast_Box();
    bool all_reach = true;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points < 2) continue;
        std::vector<Work_Point_Rec> pts;
        for (int32_t k = rec.First_Point; k <= rec.Last_Point; ++k) pts.push_back(Work_Point_Table(k));
        const bool closed = static_cast<size_t>(r) < ring.size() && ring[static_cast<size_t>(r)];
        bool stays_ring = false;
        for (const std::vector<Work_Point_Rec>& stretch : Clip_Line(pts, closed, box, stays_ring)) {
            if (stretch.size() < 2) continue;
            std::vector<Run> runs = Runs_Of(stretch, stays_ring);
            if (stays_ring) {
                // A ring inside one area is a loop; one that crosses its borders gives chords.
                const bool one_area = runs.size() == 1;
                for (const Run& run : runs) Add_Chords(run, r, one_area, chords);
                continue;
            }
            if (!Trim(runs)) {
                all_reach = false;
                continue;
            }
            for (const Run& run : runs) Add_Chords(run, r, false, chords);
        }
    }
    return all_reach;
}
