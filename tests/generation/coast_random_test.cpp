// Random coastlines, islands and polygons drawn on an aligned map (64 pixels to an LOD13 area,
// an LOD8 border through the middle), generated, and read back by the geometric check. A fault
// names its seed and kind and prints its drawing as a case of the coast cases to paste;
// TESSALINE_RANDOM_SEED=<seed> TESSALINE_RANDOM_CASES=1 replays it (with --gtest_filter naming
// the test). TESSALINE_RANDOM_CASES sets the number of cases, TESSALINE_RANDOM_SEED the first
// seed; TESSALINE_RANDOM_TRACE=1 names each case before it runs (for a case that stops the run).
#include <boost/geometry.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "generation/mask_writer.h"
#include "generation/work_tables.h"
#include "polygon_fixture.h"
#include "support/scenery_check.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;
using scenery::Drawn;
using scenery::Px;

namespace bg = boost::geometry;
using Pt = bg::model::d2::point_xy<double>;
using Line = bg::model::linestring<Pt>;
using Ring = bg::model::ring<Pt, false, true>;  // as drawn, either way round

constexpr double Area_Px = 64;
constexpr double Position_Px = Area_Px / 255;

enum Kind {
    Smooth_Open,
    Spiky_Open,
    Islands,
    Mainland_With_Islands,
    Water_Between,
    Land_Between,
    Edge_To_Edge,
    Polygons_Beside,
    First_Hard,  // the kinds of the second test, on seeds of their own
    Dense = First_Hard,
    Hooks_And_Necks,
    Polygons_Near_Lines,
    Polygons_Near_Corners,
    Polygons_Short_Sides,
    Polygons_Thin,
    Kind_Count
};

const std::array<const char*, Kind_Count> Kind_Names = {
    "smooth open coastline",   "spiky open coastline",    "islands on the grid",
    "mainland with islands",   "water between two lines", "land between two lines",
    "edge to edge",            "polygons beside a coast", "many points in one or two areas",
    "hooks and necks under a pixel", "polygons alone near grid lines", "polygons alone near grid corners",
    "polygons alone with short sides", "polygons alone under a pixel wide"};

class Random {
public:
    explicit Random(uint64_t seed) : engine_(seed) {}
    double Uniform(double a, double b) { return a + (b - a) * static_cast<double>(engine_() >> 11) * 0x1p-53; }
    int Int(int a, int b) { return a + static_cast<int>(engine_() % static_cast<uint64_t>(b - a + 1)); }
    bool Chance(double p) { return Uniform(0, 1) < p; }

private:
    std::mt19937_64 engine_;
};

struct Map {
    int Cols = 6, Rows = 6;  // LOD13 areas
    double W() const { return Cols * Area_Px; }
    double H() const { return Rows * Area_Px; }
};

// The map's north-west corner three areas west and north of the corner of LOD8 cell 384, 128.
void Calibrate(const Map& m) {
    polytest::Calibrate();
    Proj_Lat_NW = Map_Lat_North = 45 + 3 * Lod13_Height;
    Proj_Lon_NW = Map_Lon_West = -3 * Lod13_Width;
    Proj_Lat_SE = Map_Lat_South = Proj_Lat_NW - m.Rows * Lod13_Height;
    Proj_Lon_SE = Map_Lon_East = Proj_Lon_NW + m.Cols * Lod13_Width;
    Proj_Px_SE_X = static_cast<int32_t>(m.W());
    Proj_Px_SE_Y = static_cast<int32_t>(m.H());
    Map_Px_East = m.W();
    Map_Px_South = m.H();
}

Line Line_Of(const std::vector<Px>& pts) {
    Line l;
    for (const Px& p : pts) l.push_back({p.X, p.Y});
    return l;
}

// Whether an open line's sides cross or touch, but for each side's touch of the next at their
// point. Boost's own test says a line of many close points is not simple where it is.
bool Touches_Itself(const std::vector<Px>& p) {
    const auto turn = [](Px a, Px b, Px c) {
        const double t = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
        return (t > 0) - (t < 0);
    };
    const auto on = [](Px a, Px b, Px c) {
        return std::min(a.X, b.X) <= c.X && c.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= c.Y && c.Y <= std::max(a.Y, b.Y);
    };
    for (size_t i = 0; i + 1 < p.size(); ++i)
        for (size_t j = i + 1; j + 1 < p.size(); ++j) {
            const Px a = p[i], b = p[i + 1], c = p[j], d = p[j + 1];
            if (std::max(a.X, b.X) < std::min(c.X, d.X) || std::max(c.X, d.X) < std::min(a.X, b.X) ||
                std::max(a.Y, b.Y) < std::min(c.Y, d.Y) || std::max(c.Y, d.Y) < std::min(a.Y, b.Y))
                continue;
            const int d1 = turn(c, d, a), d2 = turn(c, d, b), d3 = turn(a, b, c), d4 = turn(a, b, d);
            if (j == i + 1) {
                if ((d1 == 0 && on(c, d, a)) || (d4 == 0 && on(a, b, d))) return true;  // folds back on itself
                continue;
            }
            if ((d1 * d2 < 0 && d3 * d4 < 0) || (d1 == 0 && on(c, d, a)) || (d2 == 0 && on(c, d, b)) ||
                (d3 == 0 && on(a, b, c)) || (d4 == 0 && on(a, b, d)))
                return true;
        }
    return false;
}

// A line that does not cross or touch itself; a ring that is a valid polygon either way round.
bool Simple(const Drawn& d) {
    if (d.Points.size() < 2) return false;
    const bool closed = d.Points.front().X == d.Points.back().X && d.Points.front().Y == d.Points.back().Y;
    if (d.What == Drawn::Coastline && !closed) return !Touches_Itself(d.Points);
    Ring r;
    for (const Px& p : d.Points) r.push_back({p.X, p.Y});
    if (!closed) r.push_back(r.front());
    if (r.size() < 4 || std::fabs(bg::area(r)) < 1) return false;
    if (bg::area(r) < 0) std::reverse(r.begin(), r.end());
    return bg::is_valid(r);
}

// Shapes of one drawing keep a pixel (four positions) from each other.
bool Apart(const std::vector<Drawn>& shapes) {
    for (const Drawn& d : shapes)
        if (!Simple(d)) return false;
    // The outline of a polygon closes back to its first point.
    auto outline = [](const Drawn& d) {
        Line l = Line_Of(d.Points);
        if (d.What != Drawn::Coastline) l.push_back(l.front());
        return l;
    };
    for (size_t i = 0; i < shapes.size(); ++i)
        for (size_t j = i + 1; j < shapes.size(); ++j) {
            if (bg::distance(outline(shapes[i]), outline(shapes[j])) < 1.0) return false;
            // Two lakes do not nest, nor two closed coastlines: one of them would be drawn with
            // its sea on the land of the other.
            const auto ring = [](const Drawn& d) {
                return d.What == Drawn::Water ||
                       (d.What == Drawn::Coastline && d.Points.front().X == d.Points.back().X &&
                        d.Points.front().Y == d.Points.back().Y);
            };
            if (ring(shapes[i]) && ring(shapes[j]) && shapes[i].What == shapes[j].What) {
                const Pt a{shapes[i].Points[0].X, shapes[i].Points[0].Y}, b{shapes[j].Points[0].X, shapes[j].Points[0].Y};
                Ring ri, rj;
                for (const Pt& p : outline(shapes[i])) ri.push_back(p);
                for (const Pt& p : outline(shapes[j])) rj.push_back(p);
                if (bg::area(ri) < 0) std::reverse(ri.begin(), ri.end());
                if (bg::area(rj) < 0) std::reverse(rj.begin(), rj.end());
                if (bg::within(b, ri) || bg::within(a, rj)) return false;
            }
        }
    return true;
}

// Islands, lakes and polygons lie on the map, their points on its edges at most.
bool On_Map(const std::vector<Drawn>& shapes, const Map& m) {
    for (const Drawn& d : shapes) {
        const bool closed = d.Points.front().X == d.Points.back().X && d.Points.front().Y == d.Points.back().Y;
        if (d.What == Drawn::Coastline && !closed) continue;
        for (const Px& p : d.Points)
            if (p.X < 0 || p.X > m.W() || p.Y < 0 || p.Y > m.H()) return false;
    }
    return true;
}

// A grid line's place, or one within half a position of it.
double Onto_Grid(Random& rng, double v) {
    const double g = std::round(v / Area_Px) * Area_Px;
    return rng.Chance(0.5) ? g : g + rng.Uniform(-0.5, 0.5) * Position_Px;
}

// An x-monotone line across the map from beyond its west edge to beyond its east edge, around
// height y0, a point every `step` pixels give or take, with the sea south of it (on its right).
std::vector<Px> Across(Random& rng, const Map& m, double y0, double step, double wander) {
    std::vector<Px> pts;
    double y = y0;
    for (double x = -rng.Uniform(5, 30);; x += step * rng.Uniform(0.5, 1.5)) {
        pts.push_back({x, std::clamp(y, 4.0, m.H() - 4.0)});
        if (x > m.W()) break;
        y += rng.Uniform(-wander, wander);
    }
    pts.back().X = std::max(pts.back().X, m.W() + 5);
    // Some points moved onto grid lines, or within half a position of them.
    for (size_t i = 1; i + 1 < pts.size(); ++i) {
        if (!rng.Chance(0.25)) continue;
        if (rng.Chance(0.5)) {
            pts[i].Y = Onto_Grid(rng, pts[i].Y);
        } else {
            const double x = Onto_Grid(rng, pts[i].X);
            if (x > pts[i - 1].X && x < pts[i + 1].X) pts[i].X = x;
        }
    }
    return pts;
}

// Spikes and inlets on an x-monotone line: narrow triangles out of it, to either side, some
// narrower than a position.
void Add_Spikes(Random& rng, std::vector<Px>& pts, int count) {
    for (int k = 0; k < count; ++k) {
        const size_t i = static_cast<size_t>(rng.Int(0, static_cast<int>(pts.size()) - 2));
        const Px a = pts[i], b = pts[i + 1];
        const double width = rng.Chance(0.5) ? rng.Uniform(0.005, 1.0) * Position_Px : rng.Uniform(0.3, 4);
        if (b.X - a.X <= width * 1.5) continue;
        const double x0 = rng.Uniform(a.X, b.X - width * 1.2);
        auto at = [&](double x) { return Px{x, a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X)}; };
        Px tip = at(x0 + width / 2);
        tip.Y += (rng.Chance(0.5) ? 1 : -1) * rng.Uniform(1, 40);
        pts.insert(pts.begin() + static_cast<long>(i) + 1, {at(x0), tip, at(x0 + width)});
    }
}

// The ring turned so that its inside lies on its left (an island) or on its right (a lake), its
// first point repeated. Clockwise on the map (y down) is a lake, the sea on the right.
std::vector<Px> Turned(std::vector<Px> pts, bool island) {
    double twice = 0;
    for (size_t k = 0; k < pts.size(); ++k) {
        const Px& a = pts[k];
        const Px& b = pts[(k + 1) % pts.size()];
        twice += a.X * b.Y - b.X * a.Y;
    }
    if (island == (twice > 0)) std::reverse(pts.begin(), pts.end());
    pts.push_back(pts.front());
    return pts;
}

// A star-shaped ring round (cx, cy) with n vertices, some moved onto grid lines unless not
// `to_grid`, turned as an island or a lake. Angles grow clockwise, but a small star whose
// vertices moved onto the grid can come out turned the other way round.
std::vector<Px> Star(Random& rng, double cx, double cy, double r0, double r1, int n, bool island,
                     bool to_grid = true) {
    std::vector<Px> pts;
    const double turn = rng.Uniform(0, 6.283185307179586);
    for (int k = 0; k < n; ++k) {
        const double t = turn + (k + rng.Uniform(-0.3, 0.3)) * 6.283185307179586 / n;
        const double r = rng.Uniform(r0, r1);
        Px p{cx + r * std::cos(t), cy + r * std::sin(t)};
        if (!to_grid) {
            pts.push_back(p);
            continue;
        }
        if (rng.Chance(0.4)) {
            double& v = rng.Chance(0.5) ? p.X : p.Y;
            v = Onto_Grid(rng, v);
        }
        if (rng.Chance(0.2)) p.X = Onto_Grid(rng, p.X), p.Y = Onto_Grid(rng, p.Y);
        pts.push_back(p);
    }
    return Turned(std::move(pts), island);
}

// A centre near a grid line, corner or cell border, or anywhere in the map.
Px Centre(Random& rng, const Map& m, double margin) {
    Px c{rng.Uniform(margin, m.W() - margin), rng.Uniform(margin, m.H() - margin)};
    if (rng.Chance(0.6)) c.X = std::round(c.X / Area_Px) * Area_Px + rng.Uniform(-3, 3);
    if (rng.Chance(0.6)) c.Y = std::round(c.Y / Area_Px) * Area_Px + rng.Uniform(-3, 3);
    return c;
}

Drawn Island(Random& rng, const Map& m, bool lake) {
    const bool tiny = rng.Chance(0.4);
    const double r1 = tiny ? rng.Uniform(0.8, 8) : rng.Uniform(8, 70);
    const Px c = Centre(rng, m, r1 + 2);
    return {Drawn::Coastline, Star(rng, c.X, c.Y, r1 * rng.Uniform(0.3, 0.9), r1, rng.Int(3, tiny ? 6 : 14), !lake)};
}

// A random point on one side of the map: 0 north, 1 east, 2 south, 3 west.
Px On_Edge(Random& rng, const Map& m, int side) {
    const double x = rng.Uniform(1, m.W() - 1), y = rng.Uniform(1, m.H() - 1);
    if (rng.Chance(0.15)) return side % 2 ? Px{side == 1 ? m.W() : 0, Onto_Grid(rng, y)}
                                          : Px{Onto_Grid(rng, x), side == 2 ? m.H() : 0};
    return side % 2 ? Px{side == 1 ? m.W() : 0, y} : Px{x, side == 2 ? m.H() : 0};
}

// A value from a to b, as likely in each factor of ten.
double Spread(Random& rng, double a, double b) { return a * std::exp(rng.Uniform(0, 1) * std::log(b / a)); }

// A stretch of an x-monotone line drawn again with many points, as traced from a picture or
// clicked in many times: 4 to 60 pixels long, often round a grid line, each point within the
// jitter of 0.05 to 3 pixels (a walk of that size for the clicks).
void Add_Dense(Random& rng, std::vector<Px>& pts, const Map& m) {
    const double length = rng.Uniform(4, 60);
    double x0 = rng.Uniform(length, m.W() - 2 * length);
    if (rng.Chance(0.6)) x0 = std::max(1.0, std::round(x0 / Area_Px) * Area_Px - length * rng.Uniform(0.2, 0.8));
    const double x1 = x0 + length;
    size_t i = 0;
    while (i + 1 < pts.size() && pts[i + 1].X <= x0) ++i;
    size_t j = i + 1;
    while (j < pts.size() && pts[j].X < x1) ++j;
    if (j >= pts.size()) return;
    const Px a = pts[i], b = pts[j];
    double y0 = a.Y + (b.Y - a.Y) * (x0 - a.X) / (b.X - a.X);
    if (rng.Chance(0.5)) y0 = Onto_Grid(rng, y0);
    const double jitter = Spread(rng, 0.05, 3);
    const double step = Spread(rng, 0.01, 0.5);
    const bool walk = rng.Chance(0.4);
    std::vector<Px> dense;
    double y = y0;
    for (double x = x0; x < x1 && dense.size() < 1500; x += step * rng.Uniform(0.3, 1.7)) {
        y = walk ? std::clamp(y + rng.Uniform(-0.5, 0.5) * jitter, y0 - jitter, y0 + jitter)
                 : y0 + rng.Uniform(-jitter, jitter);
        dense.push_back({x, std::clamp(y, 1.0, m.H() - 1.0)});
    }
    pts.erase(pts.begin() + static_cast<long>(i) + 1, pts.begin() + static_cast<long>(j));
    pts.insert(pts.begin() + static_cast<long>(i) + 1, dense.begin(), dense.end());
}

// A hook out of an x-monotone line: a stem 0.03 to 1 pixel wide rising from the line, often at
// a grid line, turning east or west at its top, often under a pixel long.
void Add_Hook(Random& rng, std::vector<Px>& pts) {
    const size_t i = static_cast<size_t>(rng.Int(0, static_cast<int>(pts.size()) - 2));
    const Px a = pts[i], b = pts[i + 1];
    const double w = Spread(rng, 0.03, 1);
    if (b.X - a.X <= 3 * w) return;
    double x0 = rng.Uniform(a.X + w, b.X - 2 * w);
    const double column = Onto_Grid(rng, x0);
    if (rng.Chance(0.5) && column > a.X + w && column < b.X - 2 * w) x0 = column;
    auto at = [&](double x) { return Px{x, a.Y + (b.Y - a.Y) * (x - a.X) / (b.X - a.X)}; };
    const double up = rng.Chance(0.5) ? 1 : -1;
    const double h = w + Spread(rng, 0.2, 25);
    const double s = (rng.Chance(0.5) ? 1 : -1) * (w + Spread(rng, 0.2, 25));
    const Px foot = at(x0), foot2 = at(x0 + w);
    const double top = foot.Y + up * h, under = top - up * w;
    // The west side of the stem runs to the hook's underside when it turns west, to its top when east.
    const std::vector<Px> hook = s > 0 ? std::vector<Px>{foot, {x0, top}, {x0 + s, top}, {x0 + s, under}, {x0 + w, under}, foot2}
                                       : std::vector<Px>{foot, {x0, under}, {x0 + s, under}, {x0 + s, top}, {x0 + w, top}, foot2};
    pts.insert(pts.begin() + static_cast<long>(i) + 1, hook.begin(), hook.end());
}

// Two lobes joined by a neck 0.05 to 1 pixel wide, turned by a random angle round c; open
// (first point not repeated).
std::vector<Px> Dumbbell(Random& rng, const Px& c) {
    const double w = Spread(rng, 0.03, 1) / 2, neck = Spread(rng, 0.2, 20) / 2;
    const double a1 = rng.Uniform(2, 25), b1 = rng.Uniform(2, 20), a2 = rng.Uniform(2, 25), b2 = rng.Uniform(2, 20);
    const std::vector<Px> local{{-neck, -w},      {neck, -w},  {neck, -b2}, {neck + a2, -b2 * rng.Uniform(0.5, 1)},
                                {neck + a2, b2},  {neck, b2},  {neck, w},   {-neck, w},
                                {-neck, b1},      {-neck - a1, b1 * rng.Uniform(0.5, 1)}, {-neck - a1, -b1}, {-neck, -b1}};
    const double t = rng.Uniform(0, 6.283185307179586), cs = std::cos(t), sn = std::sin(t);
    std::vector<Px> pts;
    for (const Px& p : local) pts.push_back({c.X + p.X * cs - p.Y * sn, c.Y + p.X * sn + p.Y * cs});
    return pts;
}

// The grid line nearest v, or one within `d` of it.
double Near_Grid(Random& rng, double v, double d) {
    const double g = std::round(v / Area_Px) * Area_Px;
    return rng.Chance(0.2) ? g : g + rng.Uniform(-d, d);
}

// Lakes, some with an island: star-shaped, their vertices left as drawn for `shape` to move.
template <class Shape>
std::vector<Drawn> Polygons_Alone(Random& rng, const Map& m, Shape shape) {
    std::vector<Drawn> shapes;
    for (int k = rng.Int(1, 3); k > 0; --k) {
        const double r1 = rng.Uniform(6, 60);
        const Px c = Centre(rng, m, r1 + 2);
        std::vector<Px> lake = Star(rng, c.X, c.Y, r1 * 0.5, r1, rng.Int(4, 16), rng.Chance(0.5), false);
        lake.pop_back();
        shapes.push_back({rng.Chance(0.8) ? Drawn::Water : Drawn::Land, shape(lake)});
        if (r1 > 20 && rng.Chance(0.3)) {
            std::vector<Px> isle = Star(rng, c.X, c.Y, r1 * 0.1, r1 * 0.4, rng.Int(3, 8), rng.Chance(0.5), false);
            isle.pop_back();
            shapes.push_back({Drawn::Land, shape(isle)});
        }
    }
    return shapes;
}

std::vector<Drawn> Drawing(Random& rng, Kind kind, Map& m) {
    std::vector<Drawn> shapes;
    switch (kind) {
        case Smooth_Open:
            shapes.push_back({Drawn::Coastline, Across(rng, m, rng.Uniform(20, m.H() - 20), 24, 12)});
            break;
        case Spiky_Open: {
            std::vector<Px> line = Across(rng, m, rng.Uniform(40, m.H() - 40), 30, 10);
            Add_Spikes(rng, line, rng.Int(1, 6));
            shapes.push_back({Drawn::Coastline, line});
            break;
        }
        case Islands: {
            // All islands or all lakes: a lake beside an island would be drawn in its sea.
            const bool lakes = rng.Chance(0.2);
            for (int k = rng.Int(1, 3); k > 0; --k) shapes.push_back(Island(rng, m, lakes));
            break;
        }
        case Mainland_With_Islands: {
            shapes.push_back({Drawn::Coastline, Across(rng, m, rng.Uniform(30, m.H() / 2), 25, 8)});
            for (int k = rng.Int(1, 4); k > 0; --k) {
                // South of the coast, a few pixels to an area away.
                const double r1 = rng.Uniform(1, 25);
                const Line coast = Line_Of(shapes.front().Points);
                const double x = rng.Uniform(r1 + 2, m.W() - r1 - 2);
                double y = 0;
                for (size_t i = 0; i + 1 < coast.size(); ++i)
                    if (coast[i].x() <= x && x <= coast[i + 1].x())
                        y = coast[i].y() + (coast[i + 1].y() - coast[i].y()) * (x - coast[i].x()) /
                                               (coast[i + 1].x() - coast[i].x());
                y += r1 + rng.Uniform(1, 40);
                if (y + r1 + 2 > m.H()) continue;
                shapes.push_back({Drawn::Coastline, Star(rng, x, y, r1 * 0.4, r1, rng.Int(3, 10), true)});
            }
            break;
        }
        case Water_Between:
        case Land_Between: {
            const double y0 = rng.Uniform(20, m.H() - 90);
            std::vector<Px> north = Across(rng, m, y0, 30, 6);
            std::vector<Px> south = north;
            const double gap = rng.Chance(0.3) ? rng.Uniform(1.2, 6) : rng.Uniform(6, 70);
            for (Px& p : south) p.Y += gap + rng.Uniform(0, 8);
            for (Px& p : south) p.X += rng.Uniform(-2, 2);
            std::sort(south.begin(), south.end(), [](const Px& a, const Px& b) { return a.X < b.X; });
            // Water between: the northern line has the sea south, the southern one north.
            if (kind == Water_Between) std::reverse(south.begin(), south.end());
            else std::reverse(north.begin(), north.end());
            shapes.push_back({Drawn::Coastline, north});
            shapes.push_back({Drawn::Coastline, south});
            break;
        }
        case Edge_To_Edge: {
            m.Cols = rng.Int(5, 7);
            m.Rows = rng.Int(5, 7);
            const Px from = On_Edge(rng, m, 3);
            const Px to = On_Edge(rng, m, rng.Int(0, 2));
            // Ends on one edge, a corner's two sides within a pixel, would draw a line along the
            // edge, with nothing of the map on either side.
            const auto one_edge = [](double a, double b, double edge) {
                return std::fabs(a - edge) < 1 && std::fabs(b - edge) < 1;
            };
            if (one_edge(from.X, to.X, 0) || one_edge(from.Y, to.Y, 0) || one_edge(from.Y, to.Y, m.H())) break;
            std::vector<Px> line{from};
            for (int k = rng.Int(0, 3); k > 0; --k) {
                const double t = static_cast<double>(k) / 4;
                line.insert(line.begin() + 1,
                            {std::clamp(from.X + (to.X - from.X) * t + rng.Uniform(-8, 8), 1.0, m.W() - 1),
                             std::clamp(from.Y + (to.Y - from.Y) * t + rng.Uniform(-8, 8), 1.0, m.H() - 1)});
            }
            line.push_back(to);
            shapes.push_back({Drawn::Coastline, line});
            break;
        }
        case Polygons_Beside: {
            shapes.push_back({Drawn::Coastline, Across(rng, m, rng.Uniform(20, m.H() - 20), 24, 10)});
            for (int k = rng.Int(1, 2); k > 0; --k) {
                const double r1 = rng.Uniform(6, 50);
                const Px c = Centre(rng, m, r1 + 2);
                std::vector<Px> lake = Star(rng, c.X, c.Y, r1 * 0.6, r1, rng.Int(3, 10), rng.Chance(0.5));
                lake.pop_back();
                shapes.push_back({Drawn::Water, lake});
                if (r1 > 15 && rng.Chance(0.5)) {
                    std::vector<Px> isle = Star(rng, c.X, c.Y, r1 * 0.15, r1 * 0.45, rng.Int(3, 7), rng.Chance(0.5));
                    isle.pop_back();
                    shapes.push_back({Drawn::Land, isle});
                }
            }
            break;
        }
        case Dense: {
            std::vector<Px> line = Across(rng, m, rng.Uniform(20, m.H() - 20), 24, 8);
            for (int k = rng.Int(1, 2); k > 0; --k) Add_Dense(rng, line, m);
            shapes.push_back({Drawn::Coastline, line});
            break;
        }
        case Hooks_And_Necks:
            if (rng.Chance(0.5)) {
                std::vector<Px> line = Across(rng, m, rng.Uniform(40, m.H() - 40), 30, 8);
                for (int k = rng.Int(1, 6); k > 0; --k) Add_Hook(rng, line);
                shapes.push_back({Drawn::Coastline, line});
            } else {
                for (int k = rng.Int(1, 2); k > 0; --k)
                    shapes.push_back({Drawn::Coastline, Turned(Dumbbell(rng, Centre(rng, m, 50)), rng.Chance(0.7))});
            }
            break;
        case Polygons_Near_Lines:
            shapes = Polygons_Alone(rng, m, [&](std::vector<Px> pts) {
                for (Px& p : pts) {
                    if (!rng.Chance(0.5)) continue;
                    double& v = rng.Chance(0.5) ? p.X : p.Y;
                    v = Near_Grid(rng, v, 0.2);
                }
                return pts;
            });
            break;
        case Polygons_Near_Corners: {
            bool near = false;
            shapes = Polygons_Alone(rng, m, [&](std::vector<Px> pts) {
                for (Px& p : pts) {
                    if (std::hypot(p.X - std::round(p.X / Area_Px) * Area_Px, p.Y - std::round(p.Y / Area_Px) * Area_Px) > 8)
                        continue;
                    p = {Near_Grid(rng, p.X, 0.2), Near_Grid(rng, p.Y, 0.2)};
                    near = true;
                }
                return pts;
            });
            if (!near) shapes.clear();
            break;
        }
        case Polygons_Short_Sides:
            // Vertices drawn again as runs of 2 to 5 points, each side of the run under two positions.
            shapes = Polygons_Alone(rng, m, [&](const std::vector<Px>& pts) {
                std::vector<Px> out;
                for (size_t i = 0; i < pts.size(); ++i) {
                    out.push_back(pts[i]);
                    if (!rng.Chance(0.5)) continue;
                    const Px& next = pts[(i + 1) % pts.size()];
                    const double len = std::hypot(next.X - pts[i].X, next.Y - pts[i].Y);
                    const double ux = (next.X - pts[i].X) / len, uy = (next.Y - pts[i].Y) / len;
                    Px at = pts[i];
                    for (int k = rng.Int(1, 4); k > 0; --k) {
                        const double step = Spread(rng, 0.02, 2 * Position_Px), off = rng.Uniform(-0.1, 0.1);
                        at = {at.X + ux * step - uy * off, at.Y + uy * step + ux * off};
                        out.push_back(at);
                    }
                }
                return out;
            });
            break;
        case Polygons_Thin:
            for (int k = rng.Int(1, 2); k > 0; --k) {
                const Drawn::Kind what = rng.Chance(0.7) ? Drawn::Water : Drawn::Land;
                if (rng.Chance(0.5)) {
                    shapes.push_back({what, Dumbbell(rng, Centre(rng, m, 50))});
                    continue;
                }
                // A sliver: a long triangle or quadrangle under a pixel wide.
                const Px c = Centre(rng, m, 60);
                const double len = rng.Uniform(3, 110), w = Spread(rng, 0.03, 1);
                const double t = rng.Uniform(0, 6.283185307179586), ux = std::cos(t), uy = std::sin(t);
                std::vector<Px> sliver{{c.X - ux * len / 2, c.Y - uy * len / 2},
                                       {c.X + ux * len / 2, c.Y + uy * len / 2},
                                       {c.X - uy * w + ux * len * 0.1, c.Y + ux * w + uy * len * 0.1}};
                if (rng.Chance(0.5)) sliver.push_back({c.X - uy * w - ux * len * 0.3, c.Y + ux * w - uy * len * 0.3});
                shapes.push_back({what, sliver});
            }
            break;
        case Kind_Count:
            break;
    }
    return shapes;
}

// The drawing turned by one of the map's symmetries (every shape's winding kept by reversing it
// under a mirror), and some shapes drawn backwards with their land on the right.
void Turn(Random& rng, std::vector<Drawn>& shapes, const Map& m) {
    const bool swap = m.Cols == m.Rows && rng.Chance(0.5);
    const bool flip_x = rng.Chance(0.5), flip_y = rng.Chance(0.5);
    const bool mirror = swap != (flip_x != flip_y);
    for (Drawn& d : shapes) {
        for (Px& p : d.Points) {
            if (swap) std::swap(p.X, p.Y);
            if (flip_x) p.X = m.W() - p.X;
            if (flip_y) p.Y = m.H() - p.Y;
        }
        if (mirror) std::reverse(d.Points.begin(), d.Points.end());
        if (d.What == Drawn::Coastline && rng.Chance(0.5)) {
            std::reverse(d.Points.begin(), d.Points.end());
            d.Land_On_Right = true;
        }
    }
}

struct Case_Result {
    uint64_t Seed = 0;
    Kind What = Smooth_Open;
    bool Made = false;    // a drawing of the kind was found within its tries
    std::string Finding;  // empty when sound
};

long Env_Number(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (!text) return fallback;
    long v = 0;
    const std::string s(text);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && v >= 0 ? v : fallback;
}

// The drawing as a case of the coast cases: the map, then the shapes as Drawn initializers.
std::string Describe(const std::vector<Drawn>& shapes, const Map& m) {
    auto number = [](double v) {
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
        return ec == std::errc() ? std::string(text, end) : std::string("0");
    };
    std::string out = "\n    Aligned(" + std::to_string(m.Cols) + ", " + std::to_string(m.Rows) + ");\n    EXPECT_EQ(Faults({";
    for (size_t i = 0; i < shapes.size(); ++i) {
        const Drawn& d = shapes[i];
        out += std::string(i ? ",\n                      " : "") + "Drawn{Drawn::" +
               (d.What == Drawn::Coastline ? "Coastline" : d.What == Drawn::Water ? "Water" : "Land") + ", {";
        for (size_t k = 0; k < d.Points.size(); ++k)
            out += std::string(k ? ", " : "") + "{" + number(d.Points[k].X) + ", " + number(d.Points[k].Y) + "}";
        out += std::string("}") + (d.Land_On_Right ? ", true" : "") + "}";
    }
    return out + "}), \"\");";
}

class CoastRandom : public Area_Writer_Test {
protected:
    // A compiler that only leaves its output: the stand-in's record of every run, with a copy of
    // each source, would take most of the time of a case.
    void SetUp() override {
        Area_Writer_Test::SetUp();
        Write_File(app / "bglc.exe", "#!/bin/sh\n: > \"$(printf '%s' \"$2\" | tr '\\\\' '/')\"\n");
    }

    Case_Result Run_Case(uint64_t seed, Kind kind, bool verbose, std::string& drawing) {
        Case_Result result;
        result.Seed = seed;
        result.What = kind;
        Random rng(seed * 0x9E3779B97F4A7C15ull + 1);
        Map m;
        std::vector<Drawn> shapes;
        // A mainland's islands lie off it at random, and fifty tries could all put one too near;
        // a drawing made in fewer tries is the same drawing as before.
        for (int attempt = 0; attempt < 500; ++attempt) {
            m = Map{};
            shapes = Drawing(rng, result.What, m);
            Turn(rng, shapes, m);
            if (!shapes.empty() && On_Map(shapes, m) && Apart(shapes)) break;
            shapes.clear();
        }
        if (shapes.empty()) return result;
        result.Made = true;
        Line_Count = 1;
        Work_Tables_Reset_All();
        host().boxes.clear();
        host().strict = false;
        Calibrate(m);
        fs::remove(app / "Tessaline$_Poly_LWM.asm");
        fs::remove(app / "Tessaline$_Lines.ASM");
        drawing = Describe(shapes, m);
        if (verbose) std::printf("seed %llu drawn:%s\n", static_cast<unsigned long long>(seed), drawing.c_str());
        scenery::Draw_Project(shapes);
        API_Write_Lwm_Asm();
        const scenery::Report r = scenery::Check_Scenery(app, shapes);
        std::string fault;
        for (const auto& box : host().boxes) fault += "\n  a box: " + box.prompt.substr(0, 120);
        for (const scenery::Finding& f : r.Findings) fault += "\n  " + f.Text;
        // A polygon thinner than a position (twice its area over its outline) may round to
        // nothing; anything more is written.
        const bool something = std::any_of(shapes.begin(), shapes.end(), [](const Drawn& d) {
            if (d.What == Drawn::Coastline) return true;
            Ring ring;
            for (const Px& p : d.Points) ring.push_back({p.X, p.Y});
            ring.push_back(ring.front());
            return 2 * std::fabs(bg::area(ring)) > bg::perimeter(ring) * Position_Px;
        });
        if (r.Areas_Compared == 0 && something) fault += "\n  no area compared";
        if (!fault.empty()) {
            std::ostringstream text;
            text << "seed " << seed << " (" << Kind_Names[result.What] << ", map " << m.W() << " x " << m.H()
                 << " px):" << fault;
            result.Finding = text.str();
        }
        return result;
    }

    // Cases from a seed on, each seed giving the kind first + seed % count; counts per kind.
    void Run_Seeds(long default_cases, uint64_t default_seed, int first, int count) {
        const long cases = Env_Number("TESSALINE_RANDOM_CASES", default_cases);
        const uint64_t from = static_cast<uint64_t>(Env_Number("TESSALINE_RANDOM_SEED", static_cast<long>(default_seed)));
        const auto start = std::chrono::steady_clock::now();
        std::array<int, Kind_Count> runs{}, faults{}, made{};
        std::array<double, Kind_Count> spent{};
        std::vector<std::string> shown;
        std::array<std::string, Kind_Count> seeds;
        const bool trace = Env_Number("TESSALINE_RANDOM_TRACE", 0) == 1;
        for (long i = 0; i < cases; ++i) {
            const uint64_t seed = from + static_cast<uint64_t>(i);
            const Kind kind = static_cast<Kind>(first + static_cast<int>(seed % static_cast<uint64_t>(count)));
            if (trace) std::fprintf(stderr, "case seed %llu\n", static_cast<unsigned long long>(seed));
            std::string drawing;
            const auto began = std::chrono::steady_clock::now();
            const Case_Result r = Run_Case(seed, kind, cases <= 5, drawing);
            spent[kind] += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
            ++runs[r.What];
            made[r.What] += r.Made;
            if (r.Finding.empty()) continue;
            ++faults[r.What];
            if (faults[r.What] <= 40) seeds[r.What] += " " + std::to_string(r.Seed);
            // The first two of a kind with their drawings, to paste as cases.
            if (faults[r.What] <= 2) shown.push_back(r.Finding + "\n  drawn:" + drawing);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::ostringstream counts;
        int total = 0;
        for (int k = first; k < first + count; ++k) {
            const size_t i = static_cast<size_t>(k);
            counts << "  " << Kind_Names[i] << ": " << faults[i] << " of " << runs[i] << " (" << std::fixed
                   << std::setprecision(1) << spent[i] << " s)\n";
            if (faults[i] > 0) counts << "    seeds" << seeds[i] << (faults[i] > 40 ? " ..." : "") << "\n";
            // A kind whose drawings cannot be made tests nothing.
            EXPECT_EQ(made[i], runs[i]) << Kind_Names[i];
            total += faults[i];
        }
        std::printf("%ld cases from seed %llu in %.1f s, faults per kind:\n%s", cases,
                    static_cast<unsigned long long>(from), seconds, counts.str().c_str());
        std::string examples;
        for (const std::string& s : shown) examples += s + "\n";
        EXPECT_EQ(total, 0) << examples;
    }
};

TEST_F(CoastRandom, GeneratedCoastsGiveTheWaterDrawn) { Run_Seeds(320, 33000, 0, First_Hard); }

// Many points close together, hooks and necks under a pixel, and polygons alone on the grid.
TEST_F(CoastRandom, DenseLinesThinShapesAndPolygonsAloneGiveTheWaterDrawn) {
    Run_Seeds(300, 900000, First_Hard, Kind_Count - First_Hard);
}

}  // namespace
