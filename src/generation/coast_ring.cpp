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
constexpr int64_t Round = 4 * Side;  // the border of an area, clockwise from its north-west corner

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

// Place on the area's border, counted clockwise from its north-west corner; -1 off the border.
int64_t Border_Place(const Coast_Grid_Pos& g, const Area_Key& area) {
    const int64_t x = g.X - area.first * Side, y = g.Y - area.second * Side;
    if (y == 0 && x >= 0 && x <= Side) return x;
    if (x == Side && y >= 0 && y <= Side) return Side + y;
    if (y == Side && x >= 0 && x <= Side) return 2 * Side + (Side - x);
    if (x == 0 && y >= 0 && y <= Side) return 3 * Side + (Side - y);
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

// The stretches of one area chained into polygons: from where one leaves, clockwise along the
// border (taking the corners passed) to the nearest place where one enters.
bool Close_Area(const Work_Poly_Rec& src, const Area_Key& area, std::vector<Stretch>& stretches) {
    static constexpr std::array<int64_t, 4> corner_place = {0, Side, 2 * Side, 3 * Side};
    static constexpr std::array<std::pair<int64_t, int64_t>, 4> corner_at = {
        std::pair<int64_t, int64_t>{0, 0}, {Side, 0}, {Side, Side}, {0, Side}};
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
            int64_t best = (stretches[s0].Enter - from + Round) % Round;
            for (size_t k = 0; k < stretches.size(); ++k) {
                if (used[k]) continue;
                const int64_t d = (stretches[k].Enter - from + Round) % Round;
                if (d < best) {
                    best = d;
                    next = k;
                }
            }
            std::vector<std::pair<int64_t, size_t>> passed;
            for (size_t c = 0; c < 4; ++c) {
                const int64_t d = (corner_place[c] - from + Round) % Round;
                if (d > 0 && d < best) passed.push_back({d, c});
            }
            std::sort(passed.begin(), passed.end());
            for (const auto& [d, c] : passed)
                poly.push_back({area.first * Side + corner_at[c].first, area.second * Side + corner_at[c].second});
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
        // Inside one area: water within it is the ring itself; water round it would need a hole.
        if (Twice_Area(pts) <= 0) return false;
        Append(src, pts, area[0]);
        return true;
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
        st.Enter = Border_Place(st.Points.front(), area[i]);
        st.Leave = Border_Place(st.Points.back(), area[i]);
        if (st.Enter < 0 || st.Leave < 0) return false;
        by_area[area[i]].push_back(std::move(st));
        k = j;
    }
    for (auto& [key, stretches] : by_area)
        if (!Close_Area(src, key, stretches)) return false;
    return true;
}
