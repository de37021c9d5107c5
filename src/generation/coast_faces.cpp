// Area water from chords. Where the chords' ends follow one another round the border as water
// and land alternate, a walk round the border closes them directly; anything else (loops,
// chords meeting at one place, lines that disagree) goes through an overlay of the faces.
#include "generation/coast_faces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include <boost/geometry.hpp>

#include "core/grid.h"

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
int64_t Place(const Coast_Pos& p) {
    if (p.Y == 0) return p.X;
    if (p.X == Max) return Max + p.Y;
    if (p.Y == Max) return 2 * Max + (Max - p.X);
    return 3 * Max + (Max - p.Y);
}

// The corners passed going clockwise from place a to another place b.
void Corners_Between(int64_t a, int64_t b, std::vector<Coast_Pos>& out) {
    const int64_t span = (b - a + Round) % Round;
    std::vector<std::pair<int64_t, size_t>> passed;
    for (size_t c = 0; c < 4; ++c) {
        const int64_t d = (Place(Corners[c]) - a + Round) % Round;
        if (d > 0 && d < span) passed.push_back({d, c});
    }
    std::sort(passed.begin(), passed.end());
    for (const auto& [d, c] : passed) out.push_back(Corners[c]);
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

// Repeats, straight middles and spikes go, round the ring.
void Clean_Ring(std::vector<Coast_Pos>& ring) {
    for (bool changed = true; changed && ring.size() >= 3;) {
        changed = false;
        for (size_t i = 0; i < ring.size() && ring.size() >= 3; ++i) {
            const size_t n = ring.size();
            const Coast_Pos& a = ring[(i + n - 1) % n];
            const Coast_Pos& b = ring[i];
            const Coast_Pos& c = ring[(i + 1) % n];
            if (a == b || Coast_Turn(a, b, c) == 0) {
                ring.erase(ring.begin() + static_cast<long>(i));
                changed = true;
                --i;
            }
        }
    }
    if (ring.size() < 3) ring.clear();
}

// The chords closed by walking clockwise along the border from each exit to the next entry;
// false when the ends do not alternate so.
bool Walk(const std::vector<const Coast_Chord*>& chords, std::vector<std::vector<Coast_Pos>>& rings) {
    struct End {
        int64_t At;
        bool Entry;
        size_t Chord;
    };
    std::vector<End> ends;
    for (size_t i = 0; i < chords.size(); ++i) {
        const Coast_Chord& c = *chords[i];
        if (c.Loop || c.Points.front() == c.Points.back()) return false;
        ends.push_back({Place(c.Points.front()), true, i});
        ends.push_back({Place(c.Points.back()), false, i});
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
        std::vector<Coast_Pos> ring;
        for (size_t s = s0; !used[s]; s = entry_after[s]) {
            used[s] = true;
            const std::vector<Coast_Pos>& pts = chords[s]->Points;
            ring.insert(ring.end(), pts.begin(), pts.end());
            Corners_Between(Place(pts.back()), Place(chords[entry_after[s]]->Points.front()), ring);
        }
        Clean_Ring(ring);
        if (!ring.empty()) rings.push_back(std::move(ring));
    }
    return true;
}

// A polygon that holds some of the area, not a sliver of no width.
bool Covers(const B_Poly& p) { return p.outer().size() >= 4 && bg::area(p) > 1e-6; }

// The side of one chord that its water lies on, within the area.
B_Multi Water_Side(const Coast_Chord& c) {
    B_Multi out;
    std::vector<Coast_Fine> ring = c.Fine;
    if (!c.Loop && !(c.Points.front() == c.Points.back())) {
        std::vector<Coast_Pos> corners;
        Corners_Between(Place(c.Points.back()), Place(c.Points.front()), corners);
        for (const Coast_Pos& p : corners) ring.push_back({double(p.X), double(p.Y)});
        const B_Poly side = To_Poly(ring);
        if (Covers(side)) out.push_back(side);
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
    if (twice > 0) {
        out.push_back(loop);  // a lake: the water within
    } else {
        bg::difference(Square(), loop, out);  // an island: the water round it
    }
    return out;
}

void Add_Parts(const B_Multi& parts, std::vector<B_Poly>& out) {
    for (const B_Poly& p : parts)
        if (Covers(p)) out.push_back(p);
}

// The faces that the chords cut the area into, each taking the side of the lines along its
// border, weighed by the length of their runs along it.
B_Multi Overlay(const std::vector<const Coast_Chord*>& chords, int32_t& line) {
    std::vector<B_Poly> faces{Square()};
    for (const Coast_Chord* c : chords) {
        const B_Multi side = Water_Side(*c);
        std::vector<B_Poly> next;
        for (const B_Poly& f : faces) {
            B_Multi in, out;
            bg::intersection(f, side, in);
            bg::difference(f, side, out);
            Add_Parts(in, next);
            Add_Parts(out, next);
        }
        faces = std::move(next);
    }
    B_Multi water;
    std::map<int32_t, double> weight;
    for (const B_Poly& f : faces) {
        double vote = 0;
        std::map<int32_t, double> for_water;
        for (const Coast_Chord* c : chords) {
            const size_t n = c->Fine.size();
            const size_t segments = c->Loop ? n : n - 1;
            for (size_t i = 0; i < segments; ++i) {
                const Coast_Fine& a = c->Fine[i];
                const Coast_Fine& b = c->Fine[(i + 1) % n];
                const double dx = b.X - a.X, dy = b.Y - a.Y, len = std::hypot(dx, dy);
                if (len == 0) continue;
                const double mx = (a.X + b.X) / 2.0, my = (a.Y + b.Y) / 2.0;
                const double nx = -dy / len * 0.01, ny = dx / len * 0.01;  // towards the water
                if (bg::within(B_Point(mx + nx, my + ny), f)) {
                    vote += len;
                    for_water[c->Line] += len;
                } else if (bg::within(B_Point(mx - nx, my - ny), f)) {
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

// Whether q lies on the segment from a to b, between its ends.
bool Within(Coast_Pos q, Coast_Pos a, Coast_Pos b) {
    if (Coast_Turn(a, b, q) != 0) return false;
    const int64_t abx = b.X - a.X, aby = b.Y - a.Y, aqx = q.X - a.X, aqy = q.Y - a.Y;
    const int64_t along = abx * aqx + aby * aqy;
    return along > 0 && along < abx * abx + aby * aby;
}

// Where the sides a-b and c-d cross, each through the other's inside, rounded.
std::optional<Coast_Pos> Crossing(Coast_Pos a, Coast_Pos b, Coast_Pos c, Coast_Pos d) {
    const int64_t ta = Coast_Turn(c, d, a), tb = Coast_Turn(c, d, b), tc = Coast_Turn(a, b, c),
                  td = Coast_Turn(a, b, d);
    if (!((ta > 0 && tb < 0) || (ta < 0 && tb > 0)) || !((tc > 0 && td < 0) || (tc < 0 && td > 0)))
        return std::nullopt;
    const double t = double(ta) / double(ta - tb);
    return Coast_Pos{static_cast<int32_t>(std::lround(a.X + t * (b.X - a.X))),
                     static_cast<int32_t>(std::lround(a.Y + t * (b.Y - a.Y)))};
}

// A ring rounded onto one place twice, onto a place on one of its own sides, or across itself,
// is two rings touching there; a part turned the other way round is a twist of no width that
// the rounding made, and goes.
void Split_Pinches(std::vector<Coast_Pos> ring, std::vector<std::vector<Coast_Pos>>& out) {
    for (size_t i = 0; i < ring.size(); ++i)
        for (size_t j = 0; j < ring.size(); ++j) {
            const size_t k = (j + 1) % ring.size();
            if (i == j || i == k || !Within(ring[i], ring[j], ring[k])) continue;
            ring.insert(ring.begin() + static_cast<long>(j + 1), ring[i]);
            Split_Pinches(std::move(ring), out);
            return;
        }
    for (size_t i = 0; i < ring.size(); ++i)
        for (size_t j = i + 1; j < ring.size(); ++j) {
            if (!(ring[i] == ring[j])) continue;
            std::vector<Coast_Pos> part(ring.begin() + static_cast<long>(i), ring.begin() + static_cast<long>(j));
            ring.erase(ring.begin() + static_cast<long>(i), ring.begin() + static_cast<long>(j));
            Clean_Ring(part);
            Clean_Ring(ring);
            Split_Pinches(std::move(part), out);
            Split_Pinches(std::move(ring), out);
            return;
        }
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 2; j < n && (j + 1) % n != i; ++j) {
            const std::optional<Coast_Pos> at = Crossing(ring[i], ring[i + 1], ring[j], ring[(j + 1) % n]);
            if (!at) continue;
            ring.insert(ring.begin() + static_cast<long>(j + 1), *at);
            ring.insert(ring.begin() + static_cast<long>(i + 1), *at);
            Split_Pinches(std::move(ring), out);
            return;
        }
    if (ring.size() >= 3 && Coast_Twice_Area(ring) > 0) out.push_back(std::move(ring));
}

void Snapped(const B_Poly& p, std::vector<std::vector<Coast_Pos>>& out) {
    std::vector<Coast_Pos> ring;
    for (const B_Point& q : p.outer())
        ring.push_back({static_cast<int32_t>(std::clamp(std::lround(q.x()), 0L, long{Max})),
                        static_cast<int32_t>(std::clamp(std::lround(q.y()), 0L, long{Max}))});
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    Clean_Ring(ring);
    if (Coast_Twice_Area(ring) < 0) std::reverse(ring.begin(), ring.end());
    Split_Pinches(std::move(ring), out);
}

bool Overlapping(const std::vector<std::vector<Coast_Pos>>& rings) {
    for (size_t i = 0; i < rings.size(); ++i)
        for (size_t j = i + 1; j < rings.size(); ++j) {
            B_Multi both;
            bg::intersection(To_Poly(rings[i]), To_Poly(rings[j]), both);
            if (bg::area(both) > 1e-9) return true;
        }
    return false;
}

// The water on the 0..255 grid. Two parts less than a position apart can overlap once rounded:
// they are then made one and rounded again.
std::vector<std::vector<Coast_Pos>> Snapped_Water(B_Multi water) {
    std::vector<std::vector<Coast_Pos>> rings;
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<B_Poly> parts;
        Without_Holes(std::move(water), parts);
        rings.clear();
        for (const B_Poly& p : parts) Snapped(p, rings);
        if (!Overlapping(rings)) break;
        water.clear();
        for (const std::vector<Coast_Pos>& r : rings) {
            B_Multi merged;
            bg::union_(water, To_Poly(r), merged);
            water = std::move(merged);
        }
    }
    return rings;
}

}  // namespace

int64_t Coast_Twice_Area(const std::vector<Coast_Pos>& ring) {
    int64_t s = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const Coast_Pos& a = ring[i];
        const Coast_Pos& b = ring[(i + 1) % ring.size()];
        s += int64_t{a.X} * b.Y - int64_t{b.X} * a.Y;
    }
    return s;
}

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
        if (!Walk(area, w.Rings)) w.Rings = Snapped_Water(Overlay(area, w.Line));
        int64_t total = 0;
        for (const std::vector<Coast_Pos>& r : w.Rings) total += Coast_Twice_Area(r);
        if (w.Rings.empty() || total >= 2 * int64_t{Max} * Max) continue;
        out.push_back(std::move(w));
    }
    return out;
}
