// Random coastlines, islands and polygons drawn on an aligned map (64 pixels to an LOD13 area,
// an LOD8 border through the middle), generated, and read back by the geometric check. A fault
// names its seed and kind; TESSALINE_RANDOM_SEED=<seed> TESSALINE_RANDOM_CASES=1 replays it.
// TESSALINE_RANDOM_CASES sets the number of cases, TESSALINE_RANDOM_SEED the first seed;
// TESSALINE_RANDOM_TRACE=1 names each case before it runs (for a case that stops the run).
#include <boost/geometry.hpp>

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
    Kind_Count
};

const std::array<const char*, Kind_Count> Kind_Names = {"smooth open coastline", "spiky open coastline",
                                                        "islands on the grid",   "mainland with islands",
                                                        "water between two lines", "land between two lines",
                                                        "edge to edge",          "polygons beside a coast"};

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

// A line that does not cross or touch itself; a ring that is a valid polygon either way round.
bool Simple(const Drawn& d) {
    if (d.Points.size() < 2) return false;
    const bool closed = d.Points.front().X == d.Points.back().X && d.Points.front().Y == d.Points.back().Y;
    if (d.What == Drawn::Coastline && !closed) return bg::is_simple(Line_Of(d.Points));
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

// A star-shaped ring round (cx, cy) with n vertices, some moved onto grid lines; turning so
// that its inside lies on its left (an island) or on its right (a lake); its first point repeated.
std::vector<Px> Star(Random& rng, double cx, double cy, double r0, double r1, int n, bool island) {
    std::vector<Px> pts;
    const double turn = rng.Uniform(0, 6.283185307179586);
    for (int k = 0; k < n; ++k) {
        const double t = turn + (k + rng.Uniform(-0.3, 0.3)) * 6.283185307179586 / n;
        const double r = rng.Uniform(r0, r1);
        Px p{cx + r * std::cos(t), cy + r * std::sin(t)};
        if (rng.Chance(0.4)) {
            double& v = rng.Chance(0.5) ? p.X : p.Y;
            v = Onto_Grid(rng, v);
        }
        if (rng.Chance(0.2)) p.X = Onto_Grid(rng, p.X), p.Y = Onto_Grid(rng, p.Y);
        pts.push_back(p);
    }
    // Clockwise on the map (y down) is a lake, the sea on the right. Angles grow clockwise, but a
    // small star whose vertices moved onto the grid can come out turned the other way round.
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

std::string Describe(const std::vector<Drawn>& shapes) {
    std::ostringstream out;
    out.precision(10);
    for (const Drawn& d : shapes) {
        out << "\n    " << (d.What == Drawn::Coastline ? "coastline" : d.What == Drawn::Water ? "water" : "land")
            << (d.Land_On_Right ? " land on the right" : "") << ":";
        for (const Px& p : d.Points) out << " {" << p.X << "," << p.Y << "}";
    }
    return out.str();
}

class CoastRandom : public Area_Writer_Test {
protected:
    Case_Result Run_Case(uint64_t seed, bool verbose) {
        Case_Result result;
        result.Seed = seed;
        result.What = static_cast<Kind>(seed % Kind_Count);
        Random rng(seed * 0x9E3779B97F4A7C15ull + 1);
        Map m;
        std::vector<Drawn> shapes;
        for (int attempt = 0; attempt < 50; ++attempt) {
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
        if (verbose) std::printf("seed %llu drawn:%s\n", static_cast<unsigned long long>(seed), Describe(shapes).c_str());
        scenery::Draw_Project(shapes);
        API_Write_Lwm_Asm();
        const scenery::Report r = scenery::Check_Scenery(app, shapes);
        std::string fault;
        for (const auto& box : host().boxes) fault += "\n  a box: " + box.prompt.substr(0, 120);
        for (const scenery::Finding& f : r.Findings) fault += "\n  " + f.Text;
        if (r.Areas_Compared == 0) fault += "\n  no area compared";
        if (!fault.empty()) {
            std::ostringstream text;
            text << "seed " << seed << " (" << Kind_Names[result.What] << ", map " << m.W() << " x " << m.H()
                 << " px):" << fault;
            result.Finding = text.str();
        }
        return result;
    }
};

TEST_F(CoastRandom, GeneratedCoastsGiveTheWaterDrawn) {
    const long cases = Env_Number("TESSALINE_RANDOM_CASES", 320);
    const uint64_t first = static_cast<uint64_t>(Env_Number("TESSALINE_RANDOM_SEED", 33000));
    const auto start = std::chrono::steady_clock::now();
    std::array<int, Kind_Count> runs{}, faults{}, made{};
    std::vector<std::string> shown;
    std::array<std::string, Kind_Count> seeds;
    const bool trace = Env_Number("TESSALINE_RANDOM_TRACE", 0) == 1;
    for (long i = 0; i < cases; ++i) {
        if (trace) std::fprintf(stderr, "case seed %llu\n", static_cast<unsigned long long>(first + static_cast<uint64_t>(i)));
        const Case_Result r = Run_Case(first + static_cast<uint64_t>(i), cases <= 5);
        ++runs[r.What];
        made[r.What] += r.Made;
        if (r.Finding.empty()) continue;
        ++faults[r.What];
        if (faults[r.What] <= 40) seeds[r.What] += " " + std::to_string(r.Seed);
        if (shown.size() < 12) shown.push_back(r.Finding);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ostringstream counts;
    int total = 0;
    for (int k = 0; k < Kind_Count; ++k) {
        const size_t i = static_cast<size_t>(k);
        counts << "  " << Kind_Names[i] << ": " << faults[i] << " of " << runs[i] << "\n";
        if (faults[i] > 0) counts << "    seeds" << seeds[i] << (faults[i] > 40 ? " ..." : "") << "\n";
        // A kind whose drawings cannot be made tests nothing.
        EXPECT_EQ(made[i], runs[i]) << Kind_Names[i];
        total += faults[i];
    }
    std::printf("%ld cases from seed %llu in %.1f s, faults per kind:\n%s", cases,
                static_cast<unsigned long long>(first), seconds, counts.str().c_str());
    std::string examples;
    for (const std::string& s : shown) examples += s + "\n";
    EXPECT_EQ(total, 0) << examples;
}

}  // namespace
