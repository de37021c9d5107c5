// Generated scenery read back from disk and compared, cell by cell and with Boost.Geometry, with
// the shapes the author drew. All geometry is in global LOD13 units: 255 to an LOD13 cell side
// (8160 to an LOD8 cell), u eastward from 180 W, v southward from 90 N, so that one unit is the
// quantisation of the written positions in either source.
#include "support/scenery_check.h"

#include <boost/geometry.hpp>
#include <boost/geometry/algorithms/point_on_surface.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "core/grid.h"
#include "generation/invariants.h"
#include "core/project.h"
#include "support/scenery_read.h"

namespace scenery {
namespace {

namespace bg = boost::geometry;
using Pt = bg::model::d2::point_xy<double>;
using Poly = bg::model::polygon<Pt>;
using Multi = bg::model::multi_polygon<Poly>;
using Line = bg::model::linestring<Pt>;
using Lines = bg::model::multi_linestring<Line>;
using Box = bg::model::box<Pt>;

constexpr double Area_Units = 255;    // an LOD13 cell side
constexpr double Line_Tolerance = 2.5;  // units between a wide line's written points and the drawn line

Pt Units_Of_LatLon(double lat, double lon) {
    return {(lon + 180) / Lod13_Width * Area_Units, (90 - lat) / Lod13_Height * Area_Units};
}

Pt Units_Of_Pixel(const Px& p) {
    double lat = 0, lon = 0;
    Com_Pixel_To_LatLon(p.X, p.Y, lat, lon);
    return Units_Of_LatLon(lat, lon);
}

// An LOD13 area by its global column and row.
using Area = std::pair<long, long>;

Box Area_Box(const Area& a) {
    return {{a.first * Area_Units, a.second * Area_Units}, {(a.first + 1) * Area_Units, (a.second + 1) * Area_Units}};
}

std::string Area_Name(const Area& a) {
    return "LOD8 " + std::to_string(a.first / 32) + "," + std::to_string(a.second / 32) + " area " +
           std::to_string(a.first % 32) + "," + std::to_string(a.second % 32);
}

Poly Ring_Of(const std::vector<Pt>& pts) {
    Poly p;
    for (const Pt& q : pts) bg::append(p.outer(), q);
    bg::correct(p);
    return p;
}

// The map frame in units, and the LOD13 areas it covers.
Box Map_Frame() {
    const Pt nw = Units_Of_LatLon(Map_Lat_North, Map_Lon_West);
    const Pt se = Units_Of_LatLon(Map_Lat_South, Map_Lon_East);
    return {{std::min(nw.x(), se.x()), std::min(nw.y(), se.y())}, {std::max(nw.x(), se.x()), std::max(nw.y(), se.y())}};
}

// The sea beside an open coastline: the line, carried on straight from its ends to a box around
// everything, closed along that box on the side of the sea.
Poly Sea_Beside(const std::vector<Pt>& line, bool land_on_right, const Box& frame, bool kept = false) {
    Box big = frame;
    for (const Pt& p : line) bg::expand(big, p);
    const double margin = 10 * Area_Units;
    big = {{big.min_corner().x() - margin, big.min_corner().y() - margin},
           {big.max_corner().x() + margin, big.max_corner().y() + margin}};
    auto to_box = [&](const Pt& from, const Pt& toward) {
        double dx = from.x() - toward.x(), dy = from.y() - toward.y();
        // An end on the map's edge goes straight out of the map: its last leg may come back in,
        // and led on it would cross the map (the program drops what follows the last border).
        const double e = 1e-6;
        // An end the stage kept, on a grid line beyond the map, goes on along that line away
        // from the map (where the closing runs), or straight away from it.
        const bool on_u = std::fabs(from.x() / Area_Units - std::round(from.x() / Area_Units)) < e;
        const bool on_v = std::fabs(from.y() / Area_Units - std::round(from.y() / Area_Units)) < e;
        const bool west = from.x() < frame.min_corner().x(), east = from.x() > frame.max_corner().x();
        const bool north = from.y() < frame.min_corner().y(), south = from.y() > frame.max_corner().y();
        if (kept && (on_u || on_v) && (west || east || north || south)) {
            if (on_u && (north || south)) dx = 0, dy = north ? -1 : 1;
            else if (on_v && (west || east)) dx = west ? -1 : 1, dy = 0;
            else if (on_u) dx = west ? -1 : 1, dy = 0;
            else dx = 0, dy = north ? -1 : 1;
        } else if (std::fabs(from.x() - frame.min_corner().x()) < e) dx = -1, dy = 0;
        else if (std::fabs(from.x() - frame.max_corner().x()) < e) dx = 1, dy = 0;
        else if (std::fabs(from.y() - frame.min_corner().y()) < e) dx = 0, dy = -1;
        else if (std::fabs(from.y() - frame.max_corner().y()) < e) dx = 0, dy = 1;
        double t = 1e300;
        if (dx > 0) t = std::min(t, (big.max_corner().x() - from.x()) / dx);
        if (dx < 0) t = std::min(t, (big.min_corner().x() - from.x()) / dx);
        if (dy > 0) t = std::min(t, (big.max_corner().y() - from.y()) / dy);
        if (dy < 0) t = std::min(t, (big.min_corner().y() - from.y()) / dy);
        return Pt{from.x() + t * dx, from.y() + t * dy};
    };
    const size_t n = line.size();
    std::vector<Pt> path{to_box(line[0], line[1])};
    path.insert(path.end(), line.begin(), line.end());
    path.push_back(to_box(line[n - 1], line[n - 2]));
    // Perimeter position along the box, clockwise on the map (v down) from its north-west corner.
    const double w = big.max_corner().x() - big.min_corner().x(), h = big.max_corner().y() - big.min_corner().y();
    auto along = [&](const Pt& p) {
        const double x = p.x() - big.min_corner().x(), y = p.y() - big.min_corner().y();
        if (std::fabs(y) < 1e-6) return x;
        if (std::fabs(x - w) < 1e-6) return w + y;
        if (std::fabs(y - h) < 1e-6) return 2 * w + h - x;
        return 2 * w + 2 * h - y;
    };
    const Pt corners[4] = {big.min_corner(), {big.max_corner().x(), big.min_corner().y()}, big.max_corner(),
                           {big.min_corner().x(), big.max_corner().y()}};
    const double corner_at[4] = {0, w, w + h, 2 * w + h};
    const double perimeter = 2 * (w + h);
    // From the end back to the start, the way that keeps the sea on the line's right (on the map):
    // clockwise when the sea is on the right, else counter-clockwise.
    const bool clockwise = !land_on_right;
    std::vector<Pt> ring = path;
    const double s = along(path.back()), e = along(path.front());
    double span = clockwise ? e - s : s - e;
    if (span < 0) span += perimeter;
    std::vector<std::pair<double, Pt>> passed;
    for (int k = 0; k < 4; ++k) {
        double d = clockwise ? corner_at[k] - s : s - corner_at[k];
        if (d < 0) d += perimeter;
        if (d > 0 && d < span) passed.push_back({d, corners[k]});
    }
    std::sort(passed.begin(), passed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [d, c] : passed) ring.push_back(c);
    return Ring_Of(ring);
}

// The area in one of a and b and not the other, from their common part.
double Differing(const Multi& a, const Multi& b) {
    Multi both;
    bg::intersection(a, b, both);
    return std::max(0.0, bg::area(a) + bg::area(b) - 2 * bg::area(both));
}

// The same, overlaying a with each part of b alone; a part's share is at most its own area.
double Differing_By_Part(const Multi& a, const Multi& b) {
    double common = 0;
    for (const Poly& part : b) {
        Multi both;
        bg::intersection(a, part, both);
        common += std::min(bg::area(both), bg::area(part));
    }
    return std::max(0.0, bg::area(a) + bg::area(b) - 2 * common);
}

// Held to 1/1024 of a position, the precision the water is compared to.
template <class Geometry>
Geometry Held_To_Grid(Geometry g) {
    bg::for_each_point(g, [](Pt& q) {
        q.x(std::round(q.x() * 1024) / 1024);
        q.y(std::round(q.y() * 1024) / 1024);
    });
    return g;
}

// The parts of `whole` in `cut` and out of it. The overlay now and then leaves out a shape one
// of whose vertices lies a hair across a side of the other: when the two parts do not add up to
// the whole, they are taken again on the outlines held to the grid, which puts such a vertex on
// the side.
template <class Whole, class Cut>
void Split(const Whole& whole, const Cut& cut, Multi& in, Multi& out) {
    const auto take = [&](const auto& w, const auto& c) {
        in.clear();
        out.clear();
        bg::intersection(w, c, in);
        bg::difference(w, c, out);
    };
    take(whole, cut);
    if (std::fabs(bg::area(in) + bg::area(out) - bg::area(whole)) > 1e-2) take(Held_To_Grid(whole), Held_To_Grid(cut));
}

// A coastline's sea: `Water`, or where the line rings an island, all but `Land`. A face cut by
// a sea with a hole loses or doubles a part where a vertex of the hole lies on the face's side;
// cut by the island itself it does not.
struct Sea {
    Multi Water;
    std::optional<Poly> Land;
};

// The parts of `face` in the sea and out of it.
void Split_By_Sea(const Poly& face, const Sea& sea, Multi& in, Multi& out) {
    if (sea.Land)
        Split(face, *sea.Land, out, in);
    else
        Split(face, sea.Water, in, out);
}

// The sea of a closed coastline: outside the ring where the ring turns so that its inside lies
// on its left (an island), inside it otherwise (a lake); drawn with the land on its right, the
// other way round.
Sea Sea_Of_Ring(const std::vector<Pt>& ring, bool land_on_right) {
    Poly inside;
    for (const Pt& q : ring) bg::append(inside.outer(), q);
    // Twice the area, positive when the ring turns clockwise on the map (v down).
    double twice = 0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) twice += ring[i].x() * ring[i + 1].y() - ring[i + 1].x() * ring[i].y();
    bg::correct(inside);
    const bool lake = (twice > 0) != land_on_right;
    Sea sea;
    if (lake)
        sea.Water.push_back(inside);
    else
        sea.Land = inside;
    return sea;
}

// Far values a damaged file may hold are beyond what the overlay arithmetic takes: the drawn
// shapes are first held to a box some areas around the map (with a plain Sutherland-Hodgman cut,
// the parameter form of which cannot overflow), which changes nothing within the map.
std::vector<Pt> Held_To(const std::vector<Pt>& pts, const Box& box, bool closed) {
    std::vector<Pt> out = pts;
    for (int side = 0; side < 4; ++side) {
        const bool on_x = side < 2;
        const double at = side == 0 ? box.min_corner().x() : side == 1 ? box.max_corner().x()
                        : side == 2 ? box.min_corner().y() : box.max_corner().y();
        auto value = [&](const Pt& p) { return on_x ? p.x() : p.y(); };
        auto inside = [&](const Pt& p) { return side % 2 == 0 ? value(p) >= at : value(p) <= at; };
        auto meet = [&](const Pt& a, const Pt& b) {
            // Measured from the end nearer the edge: from a far end the fraction rounds to 1.
            const double da = std::fabs(value(a) - at), db = std::fabs(value(b) - at);
            const Pt& near = da <= db ? a : b;
            const Pt& far = da <= db ? b : a;
            const double t = std::min(da, db) / (da + db);
            Pt q{near.x() + (far.x() - near.x()) * t, near.y() + (far.y() - near.y()) * t};
            (on_x ? q.x(at) : q.y(at));
            return q;
        };
        std::vector<Pt> in;
        in.swap(out);
        const size_t n = in.size();
        for (size_t i = 0; i < n; ++i) {
            if (!closed && i + 1 == n) {
                if (inside(in[i])) out.push_back(in[i]);
                break;
            }
            const Pt& a = in[i];
            const Pt& b = in[(i + 1) % n];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) out.push_back(meet(a, b));
        }
    }
    return out;
}

// The length of the boundary of `water` inside the area, less what runs along the area's border.
double Boundary_Units(const Multi& water, const Box& box) {
    double length = 0;
    const double x0 = box.min_corner().x(), y0 = box.min_corner().y();
    const double x1 = box.max_corner().x(), y1 = box.max_corner().y();
    auto on_border = [&](const Pt& a, const Pt& b) {
        const double e = 1e-6;
        return (std::fabs(a.x() - x0) < e && std::fabs(b.x() - x0) < e) ||
               (std::fabs(a.x() - x1) < e && std::fabs(b.x() - x1) < e) ||
               (std::fabs(a.y() - y0) < e && std::fabs(b.y() - y0) < e) ||
               (std::fabs(a.y() - y1) < e && std::fabs(b.y() - y1) < e);
    };
    auto add = [&](const auto& ring) {
        for (size_t i = 0; i + 1 < ring.size(); ++i)
            if (!on_border(ring[i], ring[i + 1])) length += bg::distance(ring[i], ring[i + 1]);
    };
    for (const Poly& p : water) {
        add(p.outer());
        for (const auto& inner : p.inners()) add(inner);
    }
    return length;
}

Poly Box_Poly(const Box& box) {
    Poly p;
    bg::convert(box, p);
    return p;
}

// A written piece as a region, whichever way it turns (the way it turns is judged apart).
Poly Piece_Region(const Lwm_Piece& p) {
    std::vector<Pt> pts;
    for (auto [x, y] : p.Local)
        pts.push_back({p.Where.first * Area_Units + static_cast<double>(x), p.Where.second * Area_Units + static_cast<double>(y)});
    return Ring_Of(pts);
}

// An open coastline as the stage keeps it: from its first border point on the grid lines it cuts
// at (within the map's LOD8 cells and two more on every side) to its last; what lies beyond is
// dropped. Empty where it has none.
Line Trimmed(const Line& line, const Box& frame) {
    // The stage cuts within the map's LOD8 cells and two more on every side.
    const double cell = 32 * Area_Units;
    const double first_u = (std::floor(frame.min_corner().x() / cell) - 2) * cell;
    const double first_v = (std::floor(frame.min_corner().y() / cell) - 2) * cell;
    const double last_u = (std::floor(frame.max_corner().x() / cell) + 3) * cell;
    const double last_v = (std::floor(frame.max_corner().y() / cell) + 3) * cell;
    // The fractions along a-b where it meets a cut line, in order.
    auto meets = [&](const Pt& a, const Pt& b) {
        std::vector<double> at;
        auto along = [&](double p, double q, double first, double last) {
            const double lo = std::max(first, std::ceil(std::min(p, q) / Area_Units) * Area_Units);
            for (double g = lo; g <= std::min(last, std::max(p, q)); g += Area_Units)
                at.push_back(p == q ? 0 : (g - p) / (q - p));
        };
        along(a.x(), b.x(), first_u, last_u);
        along(a.y(), b.y(), first_v, last_v);
        std::sort(at.begin(), at.end());
        return at;
    };
    // A vertex within a position of a cut line snaps onto it: a border point of its own.
    auto near = [&](const Pt& p) {
        auto close = [](double w, double first, double last) {
            const double g = std::round(w / Area_Units) * Area_Units;
            return g >= first && g <= last && std::fabs(w - g) <= 1;
        };
        return close(p.x(), first_u, last_u) || close(p.y(), first_v, last_v);
    };
    auto point = [](const Pt& a, const Pt& b, double t) { return Pt{a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t}; };
    size_t i = 0, j = line.size() - 1;
    double ti = 0, tj = 1;
    for (; i + 1 < line.size(); ++i) {
        const std::vector<double> at = near(line[i]) ? std::vector<double>{0} : meets(line[i], line[i + 1]);
        if (!at.empty()) {
            ti = at.front();
            break;
        }
    }
    for (; j > i; --j) {
        const std::vector<double> at = near(line[j]) ? std::vector<double>{1} : meets(line[j - 1], line[j]);
        if (!at.empty()) {
            tj = at.back();
            break;
        }
    }
    Line out;
    if (i + 1 >= line.size() || j <= i) return out;
    out.push_back(point(line[i], line[i + 1], ti));
    for (size_t k = i + 1; k < j; ++k) out.push_back(line[k]);
    out.push_back(point(line[j - 1], line[j], tj));
    return out;
}

// A face as parts without holes: overlaid again, a face loses a hole that touches its outline.
// Each is cut along a line across its first hole, which leaves the halves one hole fewer.
std::vector<Poly> Without_Holes(const Poly& face) {
    std::vector<Poly> done, todo{face};
    while (!todo.empty()) {
        Poly p = std::move(todo.back());
        todo.pop_back();
        if (bg::area(p) < 1e-9) continue;
        if (p.inners().empty()) {
            done.push_back(std::move(p));
            continue;
        }
        const Box all = bg::return_envelope<Box>(p), hole = bg::return_envelope<Box>(p.inners().front());
        const double across = (hole.min_corner().x() + hole.max_corner().x()) / 2;
        for (const Box& half : {Box{all.min_corner(), {across, all.max_corner().y()}},
                                Box{{across, all.min_corner().y()}, all.max_corner()}}) {
            Multi part;
            bg::intersection(p, half, part);
            for (Poly& q : part) todo.push_back(std::move(q));
        }
    }
    return done;
}

// The water of an area that several coastlines cross: they cut it into faces, and a face is
// water when it lies on the water side of the line with the longest run along its border (the
// nearest line when none borders it).
Multi Faces_Water(const Box& box, const std::vector<size_t>& through, const std::vector<Sea>& seas,
                  const std::vector<Line>& coasts) {
    struct Face {
        Poly Shape;
        std::vector<bool> In;
    };
    std::vector<Face> faces{{Box_Poly(box), {}}};
    for (size_t k : through) {
        std::vector<Face> next;
        for (const Face& f : faces) {
            Multi in, out;
            Split_By_Sea(f.Shape, seas[k], in, out);
            for (bool wet : {true, false})
                for (const Poly& p : wet ? in : out)
                    for (Poly& part : Without_Holes(p)) {
                        next.push_back({std::move(part), f.In});
                        next.back().In.push_back(wet);
                    }
        }
        faces = std::move(next);
    }
    Multi water;
    for (const Face& f : faces) {
        std::vector<double> run(through.size(), 0);
        auto along = [&](const auto& ring) {
            for (size_t i = 0; i + 1 < ring.size(); ++i) {
                const Pt mid{(ring[i].x() + ring[i + 1].x()) / 2, (ring[i].y() + ring[i + 1].y()) / 2};
                for (size_t j = 0; j < through.size(); ++j)
                    if (bg::distance(mid, coasts[through[j]]) < 1e-3) run[j] += bg::distance(ring[i], ring[i + 1]);
            }
        };
        along(f.Shape.outer());
        for (const auto& inner : f.Shape.inners()) along(inner);
        size_t best = static_cast<size_t>(std::max_element(run.begin(), run.end()) - run.begin());
        if (run[best] <= 0) {
            Pt inside;
            bg::point_on_surface(f.Shape, inside);
            double nearest = 1e300;
            for (size_t j = 0; j < through.size(); ++j) {
                const double d = bg::distance(inside, coasts[through[j]]);
                if (d < nearest) nearest = d, best = j;
            }
        }
        if (!f.In[best]) continue;
        Multi next;
        bg::union_(water, f.Shape, next);
        water = std::move(next);
    }
    return water;
}

std::string Points_Text(const Lwm_Piece& p) {
    std::string text;
    for (size_t i = 0; i < p.Local.size() && i < 12; ++i)
        text += " (" + std::to_string(p.Local[i].first) + "," + std::to_string(p.Local[i].second) + ")";
    if (p.Local.size() > 12) text += " ...";
    return text;
}

// The drawn shape a written free text names ("shape 3" is the third), or -1.
long Shape_Named(const std::string& text, size_t shapes) {
    const std::string head = "shape ";
    if (text.compare(0, head.size(), head) != 0) return -1;
    long n = 0;
    const auto [end, ec] = std::from_chars(text.data() + head.size(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 1 || static_cast<size_t>(n) > shapes) return -1;
    return n - 1;
}

}  // namespace

std::string Report::Summary() const {
    std::ostringstream out;
    out << Areas_Compared << " areas, " << Lines_Checked << " wide-line entries, water written " << Water_Written
        << " drawn " << Water_Drawn << " (square units)";
    for (const Finding& f : Findings) out << "\n  " << f.Text;
    return out.str();
}

Report Check_Scenery(const std::filesystem::path& app_dir, const std::vector<Drawn>& drawn) {
    Report report;
    // What a stage promised the next and did not hold, where test builds check it.
    for (std::string& broken : Take_Broken_Invariants()) report.Findings.push_back({std::move(broken)});
    const Box frame = Map_Frame();

    // What the author drew: polygons painted outermost first; the sea of each coastline.
    std::vector<std::pair<double, const Drawn*>> polygons;
    std::vector<Sea> seas;
    std::vector<Line> coasts, kept, wide;  // kept: each coastline as far as the stage keeps it
    std::vector<bool> coast_ring, coast_right;
    std::vector<long> coast_of_shape(drawn.size(), -1);
    const double reach = 100 * Area_Units;
    const Box held{{frame.min_corner().x() - reach, frame.min_corner().y() - reach},
                   {frame.max_corner().x() + reach, frame.max_corner().y() + reach}};
    auto units_of = [&](const Drawn& d) {
        std::vector<Pt> pts;
        for (const Px& p : d.Points) pts.push_back(Units_Of_Pixel(p));
        return Held_To(pts, held, d.What == Drawn::Water || d.What == Drawn::Land);
    };
    for (size_t s = 0; s < drawn.size(); ++s) {
        const Drawn& d = drawn[s];
        const std::vector<Pt> pts = units_of(d);
        if (d.What == Drawn::Water || d.What == Drawn::Land) {
            polygons.push_back({bg::area(Ring_Of(pts)), &d});
        } else if (d.What == Drawn::Coastline) {
            const bool ring = d.Points.size() > 3 && d.Points.front().X == d.Points.back().X &&
                              d.Points.front().Y == d.Points.back().Y;
            if (ring) {
                seas.push_back(Sea_Of_Ring(pts, d.Land_On_Right));
            } else {
                seas.emplace_back();
                seas.back().Water.push_back(Sea_Beside(pts, d.Land_On_Right, frame));
            }
            coast_of_shape[s] = static_cast<long>(coasts.size());
            coasts.push_back(Line(pts.begin(), pts.end()));
            kept.push_back(ring ? coasts.back() : Trimmed(coasts.back(), frame));
            coast_ring.push_back(ring);
            coast_right.push_back(d.Land_On_Right);
        } else {
            wide.push_back(Line(pts.begin(), pts.end()));
        }
    }
    std::stable_sort(polygons.begin(), polygons.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::pair<Poly, bool>> painted;  // the polygons, outermost first, and whether water
    Multi drawn_water;
    for (const auto& [area, d] : polygons) {
        painted.push_back({Ring_Of(units_of(*d)), d->What == Drawn::Water});
        Multi next;
        if (painted.back().second) bg::union_(drawn_water, painted.back().first, next);
        else bg::difference(drawn_water, painted.back().first, next);
        drawn_water = next;
    }

    // Whether the polygon named `inner` is painted over the one named `outer`, as above.
    std::vector<double> drawn_area(drawn.size(), 0);
    for (const auto& [area, d] : polygons) drawn_area[static_cast<size_t>(d - drawn.data())] = area;
    const auto Painted_Later = [&](const std::string& inner, const std::string& outer) {
        const long a = Shape_Named(inner, drawn.size()), b = Shape_Named(outer, drawn.size());
        return a < 0 || b < 0 || drawn_area[static_cast<size_t>(a)] < drawn_area[static_cast<size_t>(b)];
    };

    // The areas to compare: every area written, every area of the map with drawn water or a
    // coastline through it.
    const std::vector<Lwm_Piece> pieces = Read_Lwm(app_dir / "Tessaline$_Poly_LWM.asm", report.Findings);
    std::map<Area, std::vector<const Lwm_Piece*>> by_area;
    for (const Lwm_Piece& p : pieces)
        if (!p.Fill) by_area[p.Where].push_back(&p);
    auto is_coast = [&](const Lwm_Piece& p) {
        const long s = Shape_Named(p.Text, drawn.size());
        return s >= 0 && coast_of_shape[static_cast<size_t>(s)] >= 0;
    };
    // The coastlines through each area, by their place in `seas`.
    std::map<Area, std::vector<size_t>> coast_areas;
    const long c0 = static_cast<long>(std::floor(frame.min_corner().x() / Area_Units));
    const long c1 = static_cast<long>(std::ceil(frame.max_corner().x() / Area_Units));
    const long r0 = static_cast<long>(std::floor(frame.min_corner().y() / Area_Units));
    const long r1 = static_cast<long>(std::ceil(frame.max_corner().y() / Area_Units));
    Box water_box;
    bg::envelope(drawn_water, water_box);
    for (long r = r0; r < r1; ++r) {
        for (long c = c0; c < c1; ++c) {
            const Box box = Area_Box({c, r});
            if (!drawn_water.empty() && bg::intersects(box, water_box) && bg::intersects(box, drawn_water)) by_area[{c, r}];
        }
    }
    // A coastline's areas on the map (beyond it the coast is trimmed by the stage's own rules).
    for (size_t line = 0; line < coasts.size(); ++line) {
        const Line& l = coasts[line];
        Box line_box;
        Lines on_map;
        bg::intersection(frame, l, on_map);
        if (on_map.empty()) continue;
        bg::envelope(on_map, line_box);
        for (long r = static_cast<long>(std::floor(line_box.min_corner().y() / Area_Units));
             r <= static_cast<long>(line_box.max_corner().y() / Area_Units); ++r) {
            for (long c = static_cast<long>(std::floor(line_box.min_corner().x() / Area_Units));
                 c <= static_cast<long>(line_box.max_corner().x() / Area_Units); ++c) {
                Lines inside;
                bg::intersection(Area_Box({c, r}), on_map, inside);
                if (bg::length(inside) <= 1e-6) continue;
                coast_areas[{c, r}].push_back(line);
                by_area[{c, r}];
            }
        }
    }

    // Beyond the map only areas written are compared, each with the coastlines kept through it.
    for (const auto& [a, list] : by_area) {
        if (a.first >= c0 && a.first < c1 && a.second >= r0 && a.second < r1) continue;
        for (size_t line = 0; line < coasts.size(); ++line) {
            Lines inside;
            if (kept[line].size() > 1) bg::intersection(Area_Box(a), kept[line], inside);
            if (bg::length(inside) > 1e-6) coast_areas[a].push_back(line);
        }
    }

    std::vector<Sea> kept_seas;
    for (size_t line = 0; line < kept.size(); ++line) {
        kept_seas.emplace_back();
        if (kept[line].size() < 2) continue;
        if (coast_ring[line])
            kept_seas.back() = seas[line];
        else
            kept_seas.back().Water.push_back(
                Sea_Beside(std::vector<Pt>(kept[line].begin(), kept[line].end()), coast_right[line], frame, true));
    }

    for (const auto& [a, list] : by_area) {
        const Box box = Area_Box(a);
        const Poly whole = Box_Poly(box);
        const bool has_coast = std::any_of(list.begin(), list.end(), [&](const Lwm_Piece* p) { return is_coast(*p); });

        // The author's: the sea of the one coastline through the area, the faces of several, or
        // where a coast piece is written in an area no coastline enters, the sea of the nearest;
        // then the polygons painted over it.
        // Beyond the map, the coastlines as the stage keeps them.
        const bool beyond = a.first < c0 || a.first >= c1 || a.second < r0 || a.second >= r1;
        const std::vector<Sea>& area_seas = beyond ? kept_seas : seas;
        const std::vector<Line>& area_coasts = beyond ? kept : coasts;
        // Beyond the map, next to where a line's loose end is dropped, the sea the author meant
        // has no edge to hold it to: the area's pieces are read, its water not compared.
        bool loose_end = false;
        const Box near_box{{box.min_corner().x() - Area_Units, box.min_corner().y() - Area_Units},
                           {box.max_corner().x() + Area_Units, box.max_corner().y() + Area_Units}};
        for (size_t line = 0; beyond && line < kept.size(); ++line)
            for (const Line* l : {&kept[line], &coasts[line]})
                if (!coast_ring[line] && l->size() > 1)
                    loose_end = loose_end || bg::covered_by(l->front(), near_box) || bg::covered_by(l->back(), near_box);
        Multi coast_water;
        const auto through = coast_areas.find(a);
        if (through != coast_areas.end() && through->second.size() > 1) {
            coast_water = Faces_Water(box, through->second, area_seas, area_coasts);
        } else {
            size_t sea = area_seas.size();
            if (through != coast_areas.end()) {
                sea = through->second.front();
            } else if (has_coast) {
                double nearest = 1e300;
                const Pt centre{(box.min_corner().x() + box.max_corner().x()) / 2,
                                (box.min_corner().y() + box.max_corner().y()) / 2};
                for (size_t k = 0; k < area_coasts.size(); ++k) {
                    if (area_coasts[k].size() < 2) continue;
                    const double d = bg::distance(centre, area_coasts[k]);
                    if (d < nearest) nearest = d, sea = k;
                }
            }
            Multi land;
            if (sea < area_seas.size()) Split_By_Sea(whole, area_seas[sea], coast_water, land);
        }
        Multi expected_here = coast_water;
        for (const auto& [shape, water] : painted) {
            if (!bg::intersects(shape, box)) continue;
            Multi next;
            if (water) {
                Multi part;
                bg::intersection(whole, shape, part);
                bg::union_(expected_here, part, next);
            } else {
                Multi taken;
                Split(expected_here, shape, taken, next);
            }
            expected_here = std::move(next);
        }
        // One unit along the drawn boundary, and the snapping at the area's corners.
        const double allowance = Boundary_Units(expected_here, box) + 4.0;

        // The water the source marks: its pieces painted in the order written, over the whole
        // sea where a coastline only grazes the area (once snapped, its pieces would fill it).
        Multi written;
        if (!has_coast && through != coast_areas.end() &&
            bg::area(box) - bg::area(coast_water) <= Boundary_Units(coast_water, box) + 4.0)
            written.push_back(whole);
        for (const Lwm_Piece* p : list) {
            const std::string fault = Outline_Fault(p->Local);
            const std::string name = Piece_Name(*p);
            if (!fault.empty()) {
                report.Findings.push_back({name + ": " + fault + ":" + Points_Text(*p)});
                continue;
            }
            // Turned the other way, water is written as land and land as water.
            const bool reversed = Twice_Area(p->Local) < 0;
            if (reversed)
                report.Findings.push_back({name + " of reversed winding, " + std::to_string(-Twice_Area(p->Local) / 2.0) +
                                           " square units:" + Points_Text(*p)});
            // The polygon records take convex pieces of at most 60 points.
            const std::string concave = Concavity(p->Local);
            if (!concave.empty()) report.Findings.push_back({name + ": " + concave + ":" + Points_Text(*p)});
            if (p->Local.size() > 60)
                report.Findings.push_back({name + ": " + std::to_string(p->Local.size()) + " points, more than 60"});
            Multi next;
            if ((p->Type == 0) != reversed) bg::union_(written, Piece_Region(*p), next);
            else bg::difference(written, Piece_Region(*p), next);
            written = std::move(next);
        }

        // What lies in one and not the other. The drawn outline is held to 1/1024 of a position:
        // an edge a hair off its written twin (1e-5 beyond the area's border) makes the overlay
        // of the two lose their common part. A lost part only overstates the difference, so one
        // found is measured again, a part of the drawn water at a time.
        expected_here = Held_To_Grid(std::move(expected_here));
        // The overlay can leave a side that goes a hair along the border and back, which the
        // comparison's own overlay then takes for a crossing and loses the whole part.
        bg::remove_spikes(expected_here);
        if (loose_end) continue;
        double wrong = Differing(written, expected_here);
        if (wrong > allowance) wrong = std::min(wrong, Differing_By_Part(written, expected_here));
        ++report.Areas_Compared;
        report.Water_Written += bg::area(written);
        report.Water_Drawn += bg::area(expected_here);
        if (wrong > allowance) {
            std::ostringstream text;
            text << Area_Name(a) << ": water written " << bg::area(written) << ", drawn " << bg::area(expected_here)
                 << ", differing " << wrong << " > " << allowance << " square units";
            report.Findings.push_back({text.str()});
        }

        // Pieces of one type do not overlap where they come from the coastlines or from one
        // polygon; a land piece comes after the water it lies in (a lake on an island comes after
        // the island).
        for (size_t i = 0; i < list.size(); ++i) {
            if (!Outline_Fault(list[i]->Local).empty()) continue;
            const Poly pi = Piece_Region(*list[i]);
            for (size_t j = i + 1; j < list.size(); ++j) {
                if (!Outline_Fault(list[j]->Local).empty()) continue;
                const Poly pj = Piece_Region(*list[j]);
                Multi both;
                bg::intersection(pi, pj, both);
                const double shared = bg::area(both);
                if (shared <= 1.0) continue;
                const bool one_source = list[i]->Text == list[j]->Text || (is_coast(*list[i]) && is_coast(*list[j]));
                if (list[i]->Type == list[j]->Type && one_source) {
                    std::ostringstream text;
                    text << Area_Name(a) << ": pieces of \"" << list[i]->Text << "\" and \"" << list[j]->Text
                         << "\" overlap by " << shared << " square units";
                    report.Findings.push_back({text.str()});
                }
                if (list[i]->Type == 1 && list[j]->Type == 0 && list[i]->Text != list[j]->Text &&
                    Painted_Later(list[i]->Text, list[j]->Text))
                    report.Findings.push_back({Area_Name(a) + ": land \"" + list[i]->Text + "\" before the water \"" +
                                               list[j]->Text + "\" it lies in"});
            }
        }
    }

    // Wide lines: every written point near the drawn line, its width the drawn width, and the
    // drawn line inside the map covered by what is written, across cell borders.
    const std::vector<Wide_Entry> entries = Read_Wide_Lines(app_dir / "Tessaline$_Lines.ASM", report.Findings);
    Lines written_lines;
    Lines drawn_lines;
    drawn_lines.insert(drawn_lines.end(), wide.begin(), wide.end());
    drawn_lines.insert(drawn_lines.end(), coasts.begin(), coasts.end());
    for (const Wide_Entry& e : entries) {
        ++report.Lines_Checked;
        const std::string where = "a wide line of \"" + e.Text + "\" in cell " + std::to_string(e.Cell.first) + "," +
                                  std::to_string(e.Cell.second);
        const long s = Shape_Named(e.Text, drawn.size());
        if (s < 0) {
            report.Findings.push_back({where + " names no drawn shape"});
        } else if (e.Widths.size() != 3 || e.Widths[0] != 1 || e.Widths[1] != drawn[static_cast<size_t>(s)].Width ||
                   e.Widths[2] != 0) {
            std::string widths;
            for (long w : e.Widths) widths += " " + std::to_string(w);
            report.Findings.push_back({where + " has the widths" + widths + ", drawn " +
                                       std::to_string(drawn[static_cast<size_t>(s)].Width)});
        }
        Line points;
        for (const auto& [u, v] : e.Points) points.push_back({u, v});
        written_lines.push_back(points);
        for (const Pt& p : points) {
            if (drawn_lines.empty() || bg::distance(p, drawn_lines) > Line_Tolerance) {
                std::ostringstream text;
                text << where << ": a point " << p.x() << "," << p.y() << " away from every drawn line";
                report.Findings.push_back({text.str()});
                break;
            }
        }
    }
    for (const Line& l : wide) {
        Lines inside;
        bg::intersection(frame, l, inside);
        for (const Line& part : inside) {
            for (size_t i = 0; i + 1 < part.size(); ++i) {
                const double len = bg::distance(part[i], part[i + 1]);
                const int steps = std::max(1, static_cast<int>(len / 5));
                for (int k = 0; k <= steps; ++k) {
                    const double t = static_cast<double>(k) / steps;
                    const Pt q{part[i].x() + t * (part[i + 1].x() - part[i].x()),
                               part[i].y() + t * (part[i + 1].y() - part[i].y())};
                    if (written_lines.empty() || bg::distance(q, written_lines) > Line_Tolerance) {
                        std::ostringstream text;
                        text << "the drawn line at " << q.x() << "," << q.y() << " has no wide line written";
                        report.Findings.push_back({text.str()});
                        i = part.size();
                        break;
                    }
                }
            }
        }
    }
    return report;
}

}  // namespace scenery

namespace scenery {

void Draw_Project(const std::vector<Drawn>& drawn) {
    int n = 0;
    for (const Drawn& d : drawn) {
        Route_Attrib a;
        a.Text_Rt = "shape " + std::to_string(++n);
        a.SurfShore = d.What == Drawn::Coastline ? 3 : d.What == Drawn::Wide_Line ? 2 : 0;
        a.Attrib = d.What == Drawn::Land ? 1 : 0;
        a.LandOnRight = d.Land_On_Right ? 1 : 0;
        a.Largeur = static_cast<int16_t>(d.Width);
        a.Type_Code = 1026;
        const int32_t line = Project_Append_Line(a);
        for (const Px& p : d.Points) Project_Append_Point(line, p.X, p.Y);
    }
}

}  // namespace scenery
