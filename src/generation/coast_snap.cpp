// Snap rounding of an area's water onto its 0..255 places. Rounding the corners alone lets a
// side pass a rounded corner on the wrong side, so rings cross themselves and one another; led
// through every rounded corner within half a position, the sides meet only at places, and what
// the rounding flattens shows as two sides laid one on the other, one each way.
#include "generation/coast_snap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

#include "core/grid.h"
#include "generation/shoelace.h"

namespace {

constexpr int32_t Max = Lod13_Local_Max;
constexpr int32_t Side = Max + 1;

using Place_Id = uint16_t;  // y * 256 + x

Place_Id Id(Coast_Pos p) { return static_cast<Place_Id>(p.Y * Side + p.X); }
Coast_Pos Pos_Of(Place_Id id) { return {id % Side, id / Side}; }

int32_t Round_Place(double v) { return static_cast<int32_t>(std::clamp(std::lround(v), 0L, long{Max})); }

// Where a-b enters the square of place c, [c - 0.5, c + 0.5) on each axis as the rounding
// takes it, as a fraction of a-b; false when it misses it. Half-open, every point of the area
// lies in one square: a side through a corner of four squares passes one of them, not all.
bool Enters(const Coast_Fine& a, const Coast_Fine& b, Coast_Pos c, double& enter) {
    double lo = 0, hi = 1;
    bool lo_open = false, hi_open = false;
    const auto above = [&](double t, bool open) {
        if (t > lo || (t == lo && open)) lo = t, lo_open = open;
    };
    const auto below = [&](double t, bool open) {
        if (t < hi || (t == hi && open)) hi = t, hi_open = open;
    };
    const std::array<std::tuple<double, double, double>, 2> axes = {
        std::tuple{a.X, b.X - a.X, double(c.X)}, std::tuple{a.Y, b.Y - a.Y, double(c.Y)}};
    for (const auto& [from, d, centre] : axes) {
        const double low = centre - 0.5, high = centre + 0.5;
        if (d == 0) {
            if (from < low || from >= high) return false;
        } else if (d > 0) {
            above((low - from) / d, false);
            below((high - from) / d, true);
        } else {
            above((high - from) / d, true);
            below((low - from) / d, false);
        }
    }
    enter = lo;
    return lo < hi || (lo == hi && !lo_open && !hi_open);
}

// One table of the area's places serves every area in turn: a fresh one for each would be most
// of the work of an area with few sides. Only one is in use at a time.
class Hot_Places {
public:
    Hot_Places() = default;
    Hot_Places(const Hot_Places&) = delete;
    Hot_Places& operator=(const Hot_Places&) = delete;
    ~Hot_Places() {
        for (Place_Id id : marked_) hot_[id] = false;
    }
    void Mark(Coast_Pos p) {
        if (hot_[Id(p)]) return;
        hot_[Id(p)] = true;
        marked_.push_back(Id(p));
    }

    // The places a-b is led through, from a's to b's, in their order along it.
    void Route(const Coast_Fine& a, const Coast_Fine& b, std::vector<Place_Id>& path) const {
        const Coast_Pos ra = Coast_Round(a), rb = Coast_Round(b);
        path.clear();
        path.push_back(Id(ra));
        std::vector<Hit>& hits = hits_;
        hits.clear();
        const double x0 = std::min(a.X, b.X), x1 = std::max(a.X, b.X);
        const int32_t c0 = std::max(0, static_cast<int32_t>(std::ceil(x0 - 0.5)));
        const int32_t c1 = std::min(Max, static_cast<int32_t>(std::floor(x1 + 0.5)));
        for (int32_t col = c0; col <= c1; ++col) {
            // The run of a-b within the column's slab of x.
            double ylo = std::min(a.Y, b.Y), yhi = std::max(a.Y, b.Y);
            if (a.X != b.X) {
                const auto y_at = [&](double x) { return a.Y + (std::clamp(x, x0, x1) - a.X) * (b.Y - a.Y) / (b.X - a.X); };
                const double ya = y_at(col - 0.5), yb = y_at(col + 0.5);
                ylo = std::min(ya, yb);
                yhi = std::max(ya, yb);
            }
            const int32_t r0 = std::max(0, static_cast<int32_t>(std::ceil(ylo - 0.5)));
            const int32_t r1 = std::min(Max, static_cast<int32_t>(std::floor(yhi + 0.5)));
            for (int32_t row = r0; row <= r1; ++row) {
                const Coast_Pos c{col, row};
                if (!hot_[Id(c)] || c == ra || c == rb) continue;
                double enter = 0;
                if (Enters(a, b, c, enter)) hits.push_back({enter, Id(c)});
            }
        }
        std::sort(hits.begin(), hits.end(), [](const Hit& p, const Hit& q) { return p.Enter < q.Enter; });
        for (const Hit& h : hits) path.push_back(h.At);
        path.push_back(Id(rb));
    }

private:
    struct Hit {
        double Enter;
        Place_Id At;
    };
    static inline std::vector<bool> hot_ = std::vector<bool>(size_t{Side} * Side, false);
    std::vector<Place_Id> marked_;
    mutable std::vector<Hit> hits_;  // one side's at a time, kept for the next
};

// The sides of one part once rounded; `led` tells whether one passes a place between its ends.
std::vector<std::pair<Place_Id, Place_Id>> Rounded_Sides(const std::vector<Coast_Fine>& ring, const Hot_Places& hot,
                                                         bool& led) {
    std::vector<std::pair<Place_Id, Place_Id>> sides;
    std::vector<Place_Id> path;
    led = false;
    for (size_t i = 0; i < ring.size(); ++i) {
        hot.Route(ring[i], ring[(i + 1) % ring.size()], path);
        led = led || path.size() > 2;
        for (size_t k = 0; k + 1 < path.size(); ++k)
            if (path[k] != path[k + 1]) sides.push_back({path[k], path[k + 1]});
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

// Each place has as many sides leaving as arriving, so a walk from a side comes back to where it
// started. A walk that passes one place twice is two rings touching there: the loop since the
// first pass is taken off as it closes. Two sides the rounding laid one on the other, one each
// way, close a loop of two places, which holds nothing and goes with the straight middles.
void Walk_Rings(const std::vector<std::pair<Place_Id, Place_Id>>& sides, std::vector<std::vector<Coast_Pos>>& rings) {
    // By place: where the walk stands on it (none: -1), and its first side maybe unused. Tables of
    // all the area's places, put back as they were, cost no allocation per part.
    static std::vector<int32_t> on_stack(size_t{Side} * Side, -1);
    static std::vector<uint32_t> first_side(size_t{Side} * Side, 0);
    std::vector<bool> used(sides.size(), false);
    for (size_t i = sides.size(); i-- > 0;) first_side[sides[i].first] = static_cast<uint32_t>(i);
    const auto take_from = [&](Place_Id u) -> std::optional<size_t> {
        uint32_t& i = first_side[u];
        while (i < sides.size() && sides[i].first == u && used[i]) ++i;
        if (i >= sides.size() || sides[i].first != u) return std::nullopt;
        used[i] = true;
        return i;
    };
    std::vector<Place_Id> stack;
    for (size_t s = 0; s < sides.size(); ++s) {
        if (used[s]) continue;
        used[s] = true;
        const Place_Id start = sides[s].first;
        stack.assign(1, start);
        on_stack[start] = 0;
        for (Place_Id at = sides[s].second;;) {
            if (on_stack[at] >= 0) {
                const size_t from = static_cast<size_t>(on_stack[at]);
                std::vector<Coast_Pos> loop;
                for (size_t k = from; k < stack.size(); ++k) loop.push_back(Pos_Of(stack[k]));
                for (size_t k = from + 1; k < stack.size(); ++k) on_stack[stack[k]] = -1;
                stack.resize(from + 1);
                rings.push_back(std::move(loop));
            } else {
                on_stack[at] = static_cast<int32_t>(stack.size());
                stack.push_back(at);
            }
            if (at == start && stack.size() == 1) break;
            const std::optional<size_t> next = take_from(at);
            if (!next) break;  // cannot happen while every place is balanced
            at = sides[*next].second;
        }
        for (Place_Id p : stack) on_stack[p] = -1;
    }
}

// Middle places of three on one line go; the ring's places are distinct and its sides do not lie
// on one another, so each is a straight run, never a spike.
void Drop_Straight(std::vector<Coast_Pos>& ring) {
    for (bool changed = true; changed && ring.size() >= 3;) {
        changed = false;
        std::vector<Coast_Pos> out;
        for (const Coast_Pos& p : ring) {
            out.push_back(p);
            while (out.size() >= 3 && Coast_Turn(out[out.size() - 3], out[out.size() - 2], out.back()) == 0) {
                out.erase(out.end() - 2);
                changed = true;
            }
        }
        while (out.size() >= 3 && Coast_Turn(out[out.size() - 2], out.back(), out.front()) == 0) out.pop_back(), changed = true;
        while (out.size() >= 3 && Coast_Turn(out.back(), out[0], out[1]) == 0) out.erase(out.begin()), changed = true;
        ring = std::move(out);
    }
    if (ring.size() < 3) ring.clear();
}

}  // namespace

Coast_Pos Coast_Round(const Coast_Fine& p) { return {Round_Place(p.X), Round_Place(p.Y)}; }

int64_t Coast_Twice_Area(const std::vector<Coast_Pos>& ring) {
    return Shoelace<int64_t>(std::span(ring), [](const Coast_Pos& p) { return std::pair{p.X, p.Y}; });
}

double Coast_Twice_Area(const std::vector<Coast_Fine>& ring) {
    return Shoelace<double>(std::span(ring), [](const Coast_Fine& p) { return std::pair{p.X, p.Y}; });
}

std::vector<std::vector<std::vector<Coast_Pos>>> Coast_Snap_Parts(const std::vector<std::vector<Coast_Fine>>& parts,
                                                                  std::vector<char>* led) {
    Hot_Places hot;
    for (const std::vector<Coast_Fine>& ring : parts)
        for (const Coast_Fine& p : ring) hot.Mark(Coast_Round(p));
    std::vector<std::vector<std::vector<Coast_Pos>>> out(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        bool passes = false;
        const std::vector<std::pair<Place_Id, Place_Id>> sides = Rounded_Sides(parts[i], hot, passes);
        if (led) {
            if (!(*led)[i] && !passes) continue;
            (*led)[i] = 1;
        }
        std::vector<std::vector<Coast_Pos>> rings;
        Walk_Rings(sides, rings);
        for (std::vector<Coast_Pos>& r : rings) {
            Drop_Straight(r);
            if (!r.empty()) out[i].push_back(std::move(r));
        }
    }
    return out;
}
