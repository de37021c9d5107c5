// Area water from chords. Where the chords' ends follow one another round the border as water
// and land alternate, a walk round the border closes them directly; anything else (loops,
// chords meeting at one place, lines that disagree) goes through an overlay of the faces. Both
// end in one snap to the area's places.
#include "generation/coast_faces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include <boost/geometry.hpp>

#include "core/grid.h"
#include "generation/coast_snap.h"
#include "generation/invariants.h"

namespace bg = boost::geometry;

namespace {

using B_Point = bg::model::d2::point_xy<double>;
using B_Poly = bg::model::polygon<B_Point>;
using B_Multi = bg::model::multi_polygon<B_Poly>;

constexpr int32_t Max = Lod13_Local_Max;
constexpr int64_t Round = 4 * int64_t{Max};
constexpr double Touch_Inset = 1e-3;
const std::array<Coast_Pos, 4> Corners = {Coast_Pos{0, 0}, {Max, 0}, {Max, Max}, {0, Max}};

// Place on the border, clockwise on the map from the north-west corner.
double Place(const Coast_Fine& p) {
    if (p.Y == 0) return p.X;
    if (p.X == Max) return Max + p.Y;
    if (p.Y == Max) return 2 * Max + (Max - p.X);
    return 3 * Max + (Max - p.Y);
}

bool Same(const Coast_Fine& a, const Coast_Fine& b) { return a.X == b.X && a.Y == b.Y; }

// The corners passed going clockwise from place a to another place b.
void Corners_Between(double a, double b, std::vector<Coast_Fine>& out) {
    const auto from_a = [&](double at) { return std::fmod(at - a + 2 * Round, double(Round)); };
    const double span = from_a(b);
    std::vector<std::pair<double, size_t>> passed;
    for (size_t c = 0; c < 4; ++c) {
        const double d = from_a(Place({double(Corners[c].X), double(Corners[c].Y)}));
        if (d > 0 && d < span) passed.push_back({d, c});
    }
    std::sort(passed.begin(), passed.end());
    for (const auto& [d, c] : passed) out.push_back({double(Corners[c].X), double(Corners[c].Y)});
}

// A ring of places, snapped or not, as a polygon without repeats.
template <class P>
B_Poly To_Poly(const std::vector<P>& ring) {
    B_Poly poly;
    for (const P& p : ring) poly.outer().push_back(B_Point(p.X, p.Y));
    bg::unique(poly);
    bg::correct(poly);
    return poly;
}

B_Poly Square() { return To_Poly(std::vector<Coast_Pos>(Corners.begin(), Corners.end())); }

// The chords closed by walking clockwise along the border from each exit to the next entry;
// false when the ends do not alternate so. The places are those before the snap: there a single
// line's ends always alternate, however close together the rounding would bring them.
bool Walk(const std::vector<const Coast_Chord*>& chords, std::vector<std::vector<Coast_Fine>>& rings) {
    struct End {
        double At;
        bool Entry;
        size_t Chord;
    };
    std::vector<End> ends;
    for (size_t i = 0; i < chords.size(); ++i) {
        const Coast_Chord& c = *chords[i];
        if (c.Loop || Same(c.Fine.front(), c.Fine.back())) return false;
        ends.push_back({Place(c.Fine.front()), true, i});
        ends.push_back({Place(c.Fine.back()), false, i});
    }
    std::sort(ends.begin(), ends.end(), [](const End& a, const End& b) { return a.At < b.At; });
    for (size_t k = 0; k < ends.size(); ++k) {
        const End& next = ends[(k + 1) % ends.size()];
        if (next.At == ends[k].At || ends[k].Entry == next.Entry) return false;
    }
    std::vector<size_t> entry_after(chords.size());  // the chord whose entry follows each exit
    for (size_t k = 0; k < ends.size(); ++k)
        if (!ends[k].Entry) entry_after[ends[k].Chord] = ends[(k + 1) % ends.size()].Chord;
    std::vector<bool> used(chords.size(), false);
    for (size_t s0 = 0; s0 < chords.size(); ++s0) {
        if (used[s0]) continue;
        std::vector<Coast_Fine> ring;
        for (size_t s = s0; !used[s]; s = entry_after[s]) {
            used[s] = true;
            const std::vector<Coast_Fine>& pts = chords[s]->Fine;
            ring.insert(ring.end(), pts.begin(), pts.end());
            Corners_Between(Place(pts.back()), Place(chords[entry_after[s]]->Fine.front()), ring);
        }
        rings.push_back(std::move(ring));
    }
    return true;
}

// A polygon that holds some of the area, not a sliver of no width.
bool Covers(const B_Poly& p) { return p.outer().size() >= 4 && bg::area(p) > 1e-6; }

// The side of one chord that its water lies on, within the area: `Shape`, or all of the area
// but `Shape` where the chord rings an island. Empty where the chord holds no area.
struct Chord_Side {
    B_Multi Shape;
    bool Water_Inside = true;
};

Chord_Side Water_Side(const Coast_Chord& c) {
    Chord_Side out;
    std::vector<Coast_Fine> ring = c.Fine;
    if (!c.Loop && !Same(c.Fine.front(), c.Fine.back())) {
        Corners_Between(Place(c.Fine.back()), Place(c.Fine.front()), ring);
        const B_Poly side = To_Poly(ring);
        if (Covers(side)) out.Shape.push_back(side);
        return out;
    }
    if (!c.Loop) {
        // A ring that touches the border at one place: the overlay loses a hole that touches its
        // polygon's outline, so the place is held a hair inside.
        ring.pop_back();
        Coast_Fine& p = ring.front();
        p.X = std::clamp(p.X, Touch_Inset, Max - Touch_Inset);
        p.Y = std::clamp(p.Y, Touch_Inset, Max - Touch_Inset);
    }
    const B_Poly loop = To_Poly(ring);
    if (!Covers(loop)) return out;
    double twice = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const Coast_Fine& a = ring[i];
        const Coast_Fine& b = ring[(i + 1) % ring.size()];
        twice += a.X * b.Y - b.X * a.Y;
    }
    out.Shape.push_back(loop);
    out.Water_Inside = twice > 0;  // a lake; otherwise an island, the water round it
    return out;
}

void Add_Parts(const B_Multi& parts, std::vector<B_Poly>& out) {
    for (const B_Poly& p : parts)
        if (Covers(p)) out.push_back(p);
}

using B_Box = bg::model::box<B_Point>;

// The faces that the chords cut the area into, each taking the side of the lines along its
// border, weighed by the length of their runs along it. A face a side's shape does not reach
// lies wholly on one side of it; most islands of an area reach few of its faces.
B_Multi Overlay(const std::vector<const Coast_Chord*>& chords, int32_t& line) {
    std::vector<B_Poly> faces{Square()};
    for (const Coast_Chord* c : chords) {
        const Chord_Side side = Water_Side(*c);
        B_Box reach;
        bg::assign_inverse(reach);
        if (!side.Shape.empty()) bg::envelope(side.Shape, reach);
        std::vector<B_Poly> next;
        for (const B_Poly& f : faces) {
            B_Box box;
            bg::envelope(f, box);
            if (side.Shape.empty() || !bg::intersects(box, reach)) {
                next.push_back(f);
                continue;
            }
            B_Multi within, beyond;
            bg::intersection(f, side.Shape, within);
            bg::difference(f, side.Shape, beyond);
            // A side a hair wide can make the overlay lose both parts of the face: a face whose
            // parts fall short of it by more than the rounding could move stays whole, and the
            // votes below still weigh the line.
            if (std::fabs(bg::area(within) + bg::area(beyond) - bg::area(f)) > 0.5) {
                next.push_back(f);
                continue;
            }
            // The water's part first, as the faces have always been taken.
            Add_Parts(side.Water_Inside ? within : beyond, next);
            Add_Parts(side.Water_Inside ? beyond : within, next);
        }
        faces = std::move(next);
    }
    struct Chord_Box {
        const Coast_Chord* Chord;
        B_Box Box;
    };
    std::vector<Chord_Box> boxes;
    for (const Coast_Chord* c : chords) {
        B_Box b;
        bg::assign_inverse(b);
        for (const Coast_Fine& p : c->Fine) bg::expand(b, B_Point(p.X, p.Y));
        // As far as the points the votes test beside each side.
        boxes.push_back({c, B_Box(B_Point(b.min_corner().x() - 0.01, b.min_corner().y() - 0.01),
                                  B_Point(b.max_corner().x() + 0.01, b.max_corner().y() + 0.01))});
    }
    B_Multi water;
    std::map<int32_t, double> weight;
    for (const B_Poly& f : faces) {
        B_Box box;
        bg::envelope(f, box);
        double vote = 0;
        std::map<int32_t, double> for_water;
        for (const auto& [c, chord_box] : boxes) {
            if (!bg::intersects(box, chord_box)) continue;
            const size_t n = c->Fine.size();
            const size_t segments = c->Loop ? n : n - 1;
            for (size_t i = 0; i < segments; ++i) {
                const Coast_Fine& a = c->Fine[i];
                const Coast_Fine& b = c->Fine[(i + 1) % n];
                const double dx = b.X - a.X, dy = b.Y - a.Y, len = std::hypot(dx, dy);
                if (len == 0) continue;
                const double mx = (a.X + b.X) / 2.0, my = (a.Y + b.Y) / 2.0;
                const double nx = -dy / len * 0.01, ny = dx / len * 0.01;  // towards the water
                const B_Point wet(mx + nx, my + ny), dry(mx - nx, my - ny);
                if (bg::covered_by(wet, box) && bg::within(wet, f)) {
                    vote += len;
                    for_water[c->Line] += len;
                } else if (bg::covered_by(dry, box) && bg::within(dry, f)) {
                    vote -= len;
                }
            }
        }
        if (vote <= 0) continue;
        for (const auto& [l, w] : for_water) weight[l] += w;
        B_Multi merged;
        bg::union_(water, f, merged);
        water = std::move(merged);
    }
    double best = -1;
    for (const auto& [l, w] : weight)
        if (w > best) best = w, line = l;
    return water;
}

// Holes cannot be written: a polygon with one is parted by a north-south line through it.
void Without_Holes(B_Multi water, std::vector<B_Poly>& out) {
    while (!water.empty()) {
        B_Poly p = std::move(water.back());
        water.pop_back();
        if (p.inners().empty()) {
            out.push_back(std::move(p));
            continue;
        }
        const auto& hole = p.inners().front();
        double lo = Max, hi = 0;
        for (const B_Point& q : hole) lo = std::min(lo, q.x()), hi = std::max(hi, q.x());
        const double cut = std::floor((lo + hi) / 2) + (hi - lo >= 2 ? 0 : 0.5);
        for (const auto& [x0, x1] : {std::pair{0.0, cut}, std::pair{cut, double(Max)}}) {
            B_Poly half;
            for (const B_Point& q : {B_Point(x0, 0), B_Point(x1, 0), B_Point(x1, Max), B_Point(x0, Max)})
                half.outer().push_back(q);
            bg::correct(half);
            B_Multi part;
            bg::intersection(p, half, part);
            for (B_Poly& q : part)
                if (bg::area(q) > 1e-6) water.push_back(std::move(q));
        }
    }
}

// A polygon of Boost.Geometry as a ring of places turned positively.
std::vector<Coast_Fine> Fine_Ring(const B_Poly& p) {
    std::vector<Coast_Fine> ring;
    for (const B_Point& q : p.outer()) ring.push_back({q.x(), q.y()});
    if (ring.size() > 1 && ring.front().X == ring.back().X && ring.front().Y == ring.back().Y) ring.pop_back();
    if (Coast_Twice_Area(ring) < 0) std::reverse(ring.begin(), ring.end());
    return ring;
}

// Every pass cuts each hole the rounding closed through at a place, and the cut parts are rounded
// again with the rest. A hole still there after this many passes is a bay that each cut closes
// anew; none has been seen, and the author then gets the land within filled as water.
constexpr int Snap_Passes = 4;

// The water on the 0..255 grid: simple rings turned positively, no two overlapping.
std::vector<std::vector<Coast_Pos>> Snapped_Water(std::vector<std::vector<Coast_Fine>> parts) {
    const auto holed = [](const std::vector<std::vector<Coast_Pos>>& part) {
        return std::any_of(part.begin(), part.end(), [](const auto& r) { return Coast_Twice_Area(r) < 0; });
    };
    for (int pass = 1;; ++pass) {
        const auto snapped = Coast_Snap_Parts(parts);
        if (pass == Snap_Passes || std::none_of(snapped.begin(), snapped.end(), holed)) {
            std::vector<std::vector<Coast_Pos>> rings;
            for (const auto& part : snapped)
                for (const std::vector<Coast_Pos>& r : part)
                    if (Coast_Twice_Area(r) > 0) rings.push_back(r);
            return rings;
        }
        std::vector<std::vector<Coast_Fine>> next;
        for (const auto& part : snapped) {
            if (!holed(part)) {
                for (const std::vector<Coast_Pos>& r : part) next.push_back(Fine_Ring(To_Poly(r)));
                continue;
            }
            B_Multi water;
            for (const std::vector<Coast_Pos>& r : part) {
                if (Coast_Twice_Area(r) < 0) continue;
                B_Multi merged;
                bg::union_(water, To_Poly(r), merged);
                water = std::move(merged);
            }
            for (const std::vector<Coast_Pos>& r : part) {
                if (Coast_Twice_Area(r) > 0) continue;
                B_Multi cut;
                bg::difference(water, To_Poly(r), cut);
                water = std::move(cut);
            }
            std::vector<B_Poly> cut_parts;
            Without_Holes(std::move(water), cut_parts);
            for (const B_Poly& p : cut_parts) next.push_back(Fine_Ring(p));
        }
        parts = std::move(next);
    }
}

int Sign(int64_t v) { return (v > 0) - (v < 0); }

// Whether the closed sides a-b and c-d have a point in common.
bool Sides_Meet(Coast_Pos a, Coast_Pos b, Coast_Pos c, Coast_Pos d) {
    const int d1 = Sign(Coast_Turn(c, d, a)), d2 = Sign(Coast_Turn(c, d, b)), d3 = Sign(Coast_Turn(a, b, c)),
              d4 = Sign(Coast_Turn(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    const auto on = [](Coast_Pos p, Coast_Pos q, Coast_Pos r) {  // r on p-q, knowing the three on a line
        return std::min(p.X, q.X) <= r.X && r.X <= std::max(p.X, q.X) && std::min(p.Y, q.Y) <= r.Y &&
               r.Y <= std::max(p.Y, q.Y);
    };
    return (d1 == 0 && on(c, d, a)) || (d2 == 0 && on(c, d, b)) || (d3 == 0 && on(a, b, c)) ||
           (d4 == 0 && on(a, b, d));
}

// What the area's water promises the split: simple rings turned positively, none overlapping.
void Check_Water(const Coast_Water& w) {
    const auto name = [&] {
        return "coast water of area (" + std::to_string(w.Col / 32) + "," + std::to_string(w.Row / 32) + "," +
               std::to_string(w.Col % 32) + "," + std::to_string(w.Row % 32) + "): ";
    };
    for (const std::vector<Coast_Pos>& r : w.Rings) {
        const size_t n = r.size();
        if (n < 3 || Coast_Twice_Area(r) <= 0) Invariant_Broken(name() + "a ring turned the wrong way or of no area");
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i + 1; j < n; ++j) {
                const bool next = j == i + 1 || (i == 0 && j == n - 1);
                if (next ? Coast_Turn(r[i], r[(i + 1) % n], r[(i + 2) % n]) == 0 && j == i + 1
                         : Sides_Meet(r[i], r[(i + 1) % n], r[j], r[(j + 1) % n]))
                    return Invariant_Broken(name() + "a ring touches itself at (" + std::to_string(r[i].X) + "," +
                                            std::to_string(r[i].Y) + ")");
            }
    }
    for (size_t i = 0; i < w.Rings.size(); ++i)
        for (size_t j = i + 1; j < w.Rings.size(); ++j) {
            B_Multi both;
            bg::intersection(To_Poly(w.Rings[i]), To_Poly(w.Rings[j]), both);
            if (bg::area(both) > 0) return Invariant_Broken(name() + "two rings overlap");
        }
}

}  // namespace

std::vector<Coast_Water> Coast_Area_Water(std::vector<Coast_Chord> chords) {
    std::stable_sort(chords.begin(), chords.end(), [](const Coast_Chord& a, const Coast_Chord& b) {
        return std::pair(a.Row, a.Col) < std::pair(b.Row, b.Col);
    });
    std::vector<Coast_Water> out;
    for (size_t from = 0; from < chords.size();) {
        size_t to = from;
        std::vector<const Coast_Chord*> area;
        while (to < chords.size() && chords[to].Row == chords[from].Row && chords[to].Col == chords[from].Col)
            area.push_back(&chords[to++]);
        Coast_Water w{chords[from].Col, chords[from].Row, chords[from].Line, {}};
        from = to;
        std::vector<std::vector<Coast_Fine>> parts;
        if (!Walk(area, parts)) {
            parts.clear();
            std::vector<B_Poly> polys;
            Without_Holes(Overlay(area, w.Line), polys);
            for (const B_Poly& p : polys) parts.push_back(Fine_Ring(p));
        }
        w.Rings = Snapped_Water(std::move(parts));
        int64_t total = 0;
        for (const std::vector<Coast_Pos>& r : w.Rings) total += Coast_Twice_Area(r);
        if (w.Rings.empty() || total >= 2 * int64_t{Max} * Max) continue;
        if (Checked_Build) Check_Water(w);
        out.push_back(std::move(w));
    }
    return out;
}
