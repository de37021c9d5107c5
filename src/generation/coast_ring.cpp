// A ring of coastline closed area by area: its stretches in each area, joined clockwise along
// the area's border, give the water on the ring's right-hand side there.
#include "generation/coast_ring.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "core/grid.h"

namespace {

constexpr int64_t Side = Lod13_Local_Max;

using Area_Key = std::pair<int64_t, int64_t>;  // column and row of an area over the whole grid

int64_t Floor_Div(double v) { return static_cast<int64_t>(std::floor(v / Side)); }

// The area of segment a-b on its right-hand side: a segment along a border belongs to the area
// its water lies in.
Area_Key Right_Area(const Coast_Grid_Pos& a, const Coast_Grid_Pos& b) {
    const double dx = static_cast<double>(b.X - a.X), dy = static_cast<double>(b.Y - a.Y);
    const double len = std::hypot(dx, dy);
    // Less than the half position by which a segment's middle lies off any border it crosses.
    const double x = (static_cast<double>(a.X + b.X)) / 2 - dy / len * 0.25;
    const double y = (static_cast<double>(a.Y + b.Y)) / 2 + dx / len * 0.25;
    return {Floor_Div(x), Floor_Div(y)};
}

// A rectangle of whole grid positions: an area, or a part of one.
struct Box {
    int64_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    int64_t W() const { return X1 - X0; }
    int64_t H() const { return Y1 - Y0; }
    int64_t Round() const { return 2 * (W() + H()); }
};

Box Box_Of(const Area_Key& area) {
    return {area.first * Side, area.second * Side, area.first * Side + Side, area.second * Side + Side};
}

// Place on the box's border, counted clockwise from its north-west corner; -1 off the border.
int64_t Border_Place(const Coast_Grid_Pos& g, const Box& b) {
    const int64_t x = g.X - b.X0, y = g.Y - b.Y0, w = b.W(), h = b.H();
    if (y == 0 && x >= 0 && x <= w) return x;
    if (x == w && y >= 0 && y <= h) return w + y;
    if (y == h && x >= 0 && x <= w) return w + h + (w - x);
    if (x == 0 && y >= 0 && y <= h) return 2 * w + h + (h - y);
    return -1;
}

struct Stretch {
    std::vector<Coast_Grid_Pos> Points;
    int64_t Enter = 0, Leave = 0;  // border places of its ends
};

void Append(const Work_Poly_Rec& src, const std::vector<Coast_Grid_Pos>& pts, const Area_Key& area) {
    const int32_t n = static_cast<int32_t>(pts.size());
    Cut_Tables_Append(src, n, n + 1, [&](int32_t i) {
        const Coast_Cell_Point p = Coast_Cell_At(pts[static_cast<size_t>(i)], area.first, area.second);
        return Work_Point_Rec{p.X, p.Y, 0};
    });
}

// The stretches of one box chained into polygons: from where one leaves, clockwise along the
// border (taking the corners passed) to the nearest place where one enters.
bool Close_Box(const Work_Poly_Rec& src, const Area_Key& area, const Box& box, std::vector<Stretch>& stretches) {
    const int64_t round = box.Round();
    const std::array<int64_t, 4> corner_place = {0, box.W(), box.W() + box.H(), 2 * box.W() + box.H()};
    const std::array<Coast_Grid_Pos, 4> corner_at = {
        Coast_Grid_Pos{box.X0, box.Y0}, {box.X1, box.Y0}, {box.X1, box.Y1}, {box.X0, box.Y1}};
    std::vector<bool> used(stretches.size(), false);
    for (size_t s0 = 0; s0 < stretches.size(); ++s0) {
        if (used[s0]) continue;
        std::vector<Coast_Grid_Pos> poly;
        size_t s = s0;
        for (size_t guard = 0;; ++guard) {
            if (guard > stretches.size()) return false;
            used[s] = true;
            poly.insert(poly.end(), stretches[s].Points.begin(), stretches[s].Points.end());
            const int64_t from = stretches[s].Leave;
            size_t next = s0;
            int64_t best = (stretches[s0].Enter - from + round) % round;
            for (size_t k = 0; k < stretches.size(); ++k) {
                if (used[k]) continue;
                const int64_t d = (stretches[k].Enter - from + round) % round;
                if (d < best) {
                    best = d;
                    next = k;
                }
            }
            std::vector<std::pair<int64_t, size_t>> passed;
            for (size_t c = 0; c < 4; ++c) {
                const int64_t d = (corner_place[c] - from + round) % round;
                if (d > 0 && d < best) passed.push_back({d, c});
            }
            std::sort(passed.begin(), passed.end());
            for (const auto& [d, c] : passed) poly.push_back(corner_at[c]);
            if (next == s0) break;
            s = next;
        }
        // The joins repeat the places where stretches meet.
        poly.erase(std::unique(poly.begin(), poly.end()), poly.end());
        while (poly.size() > 1 && poly.front() == poly.back()) poly.pop_back();
        if (poly.size() >= 3) Append(src, poly, area);
    }
    return true;
}

int64_t Twice_Area(const std::vector<Coast_Grid_Pos>& pts) {
    int64_t s = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Coast_Grid_Pos& a = pts[i];
        const Coast_Grid_Pos& b = pts[(i + 1) % pts.size()];
        s += a.X * b.Y - b.X * a.Y;
    }
    return s;
}

// The area round an island that lies inside it: a hole cannot be written, so a line across the
// island at x = cut parts the area in two boxes, each closed round its half of the island.
bool Close_Island(const Work_Poly_Rec& src, const Area_Key& area, const std::vector<Coast_Grid_Pos>& pts) {
    const auto ends = std::minmax_element(pts.begin(), pts.end(),
                                          [](const Coast_Grid_Pos& a, const Coast_Grid_Pos& b) { return a.X < b.X; });
    const auto lo = ends.first, hi = ends.second;
    // Narrower than two positions: no land to keep at the area's resolution.
    if (hi->X - lo->X < 2) return true;
    // Nearest the middle, through no point of the ring where one can be found.
    int64_t cut = (lo->X + hi->X) / 2;
    for (int64_t d = 0; lo->X < cut - d || cut + d < hi->X; ++d) {
        const auto clear = [&](int64_t x) {
            return lo->X < x && x < hi->X &&
                   std::none_of(pts.begin(), pts.end(), [x](const Coast_Grid_Pos& p) { return p.X == x; });
        };
        if (clear(cut - d) || clear(cut + d)) {
            cut = clear(cut - d) ? cut - d : cut + d;
            break;
        }
    }
    // A point on the cut counts as east of it; a leg from west to east meets the cut once.
    const auto west = [cut](const Coast_Grid_Pos& p) { return p.X < cut; };
    const size_t n = pts.size();
    std::vector<Coast_Grid_Pos> ring;  // the points with the meetings inserted, each meeting marked
    std::vector<bool> meets;
    for (size_t i = 0; i < n; ++i) {
        const Coast_Grid_Pos& a = pts[i];
        const Coast_Grid_Pos& b = pts[(i + 1) % n];
        ring.push_back(a);
        meets.push_back(a.X == cut && west(pts[(i + n - 1) % n]) != west(b));
        if (west(a) == west(b) || a.X == cut || b.X == cut) continue;
        const double t = static_cast<double>(cut - a.X) / static_cast<double>(b.X - a.X);
        ring.push_back({cut, static_cast<int64_t>(std::llround(static_cast<double>(a.Y) + t * static_cast<double>(b.Y - a.Y)))});
        meets.push_back(true);
    }
    const size_t m = ring.size();
    const size_t start = static_cast<size_t>(std::find(meets.begin(), meets.end(), true) - meets.begin());
    if (start == m) return false;
    const Box whole = Box_Of(area);
    const Box west_box{whole.X0, whole.Y0, cut, whole.Y1}, east_box{cut, whole.Y0, whole.X1, whole.Y1};
    std::vector<Stretch> west_side, east_side;
    for (size_t k = 0; k < m;) {
        Stretch st;
        st.Points.push_back(ring[(start + k) % m]);
        size_t j = k + 1;
        for (; j <= m; ++j) {
            st.Points.push_back(ring[(start + j) % m]);
            if (meets[(start + j) % m]) break;
        }
        // Which side: the first point of the stretch off the cut.
        auto off = std::find_if(st.Points.begin(), st.Points.end(), [cut](const Coast_Grid_Pos& p) { return p.X != cut; });
        if (off == st.Points.end()) {  // along the cut itself: it bounds neither box
            k = j;
            continue;
        }
        const Box& box = west(*off) ? west_box : east_box;
        st.Enter = Border_Place(st.Points.front(), box);
        st.Leave = Border_Place(st.Points.back(), box);
        if (st.Enter < 0 || st.Leave < 0) return false;
        (west(*off) ? west_side : east_side).push_back(std::move(st));
        k = j;
    }
    return Close_Box(src, area, west_box, west_side) && Close_Box(src, area, east_box, east_side);
}

}  // namespace

bool Coast_Close_Ring(const Work_Poly_Rec& src, const std::vector<Coast_Cell_Point>& ring) {
    std::vector<Coast_Grid_Pos> pts;
    for (const Coast_Cell_Point& p : ring) pts.push_back(Coast_Grid_Of(p));
    pts.pop_back();  // the place of the first again
    const size_t n = pts.size();
    if (n < 3) return true;  // no width: no water
    std::vector<Area_Key> area(n);
    for (size_t i = 0; i < n; ++i) area[i] = Right_Area(pts[i], pts[(i + 1) % n]);
    size_t start = n;
    for (size_t i = 0; i < n && start == n; ++i)
        if (area[i] != area[(i + n - 1) % n]) start = i;
    if (start == n) {
        // Inside one area: a lake is the ring itself, an island the area round it.
        if (Twice_Area(pts) > 0) {
            Append(src, pts, area[0]);
            return true;
        }
        return Close_Island(src, area[0], pts);
    }
    std::map<Area_Key, std::vector<Stretch>> by_area;
    for (size_t k = 0; k < n;) {
        const size_t i = (start + k) % n;
        Stretch st;
        st.Points.push_back(pts[i]);
        size_t j = k;
        while (j < n && area[(start + j) % n] == area[i]) {
            st.Points.push_back(pts[(start + j + 1) % n]);
            ++j;
        }
        st.Enter = Border_Place(st.Points.front(), Box_Of(area[i]));
        st.Leave = Border_Place(st.Points.back(), Box_Of(area[i]));
        if (st.Enter < 0 || st.Leave < 0) return false;
        by_area[area[i]].push_back(std::move(st));
        k = j;
    }
    for (auto& [key, stretches] : by_area)
        if (!Close_Box(src, key, Box_Of(key), stretches)) return false;
    return true;
}
