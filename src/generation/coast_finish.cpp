// The coastline stage's end: the water polygons of the areas cleaned, wound one way and split
// into convex pieces, then the pieces indexed by area, dropped where together they fill it.
#include "generation/coast_finish.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "core/grid.h"
#include "generation/coast_stage.h"
#include "generation/concave_split.h"
#include "generation/exchange_sort.h"
#include "generation/generation_services.h"
#include "generation/grid_cut.h"
#include "generation/prepare_polygons.h"
#include "generation/work_tables.h"

namespace {

constexpr int32_t Coast_Piece_Limit = 60;

struct Stage_Piece {
    Cut_Piece_Record Rec;
    std::vector<Cut_Piece_Point> Points;
};

using Pos = std::pair<int16_t, int16_t>;

// The four corners of an area, clockwise from the north-west, in any cyclic start.
bool Is_Whole_Cell(const std::vector<Pos>& pos) {
    static const std::array<Pos, 4> full = {Pos{0, 0}, Pos{Lod13_Local_Max, 0},
                                            Pos{Lod13_Local_Max, Lod13_Local_Max}, Pos{0, Lod13_Local_Max}};
    if (pos.size() != 4) return false;
    for (size_t s = 0; s < 4; ++s) {
        bool same = true;
        for (size_t i = 0; i < 4 && same; ++i) same = pos[(s + i) % 4] == full[i];
        if (same) return true;
    }
    return false;
}

auto Cell_Of(const Cut_Piece_Record& r) { return std::tuple(r.Lod8_Row, r.Lod8_Col, r.Lod13_Row, r.Lod13_Col); }

// The places of a piece in its area, rounded (its points were made from whole places), with
// repeats dropped.
void Round_Places(const Piece_Area& area, std::vector<Cut_Piece_Point>& pts) {
    const double west = area.Lod8_Col * Lod8_Width + area.Lod13_Col * Lod13_Width - 180;
    const double north = 90 - (area.Lod8_Row * Lod8_Height + area.Lod13_Row * Lod13_Height);
    for (Cut_Piece_Point& p : pts) {
        double lat = 0, lon = 0;
        Com_Pixel_To_LatLon(p.X, p.Y, lat, lon);
        const auto place = [](double offset, double size) {
            return static_cast<int16_t>(std::clamp(std::lround(255 * offset / size), 0L, 255L));
        };
        p.Local_X = place(lon - west, Lod13_Width);
        p.Local_Y = place(north - lat, Lod13_Height);
    }
    std::vector<Cut_Piece_Point> out;
    for (const Cut_Piece_Point& p : pts)
        if (out.empty() || p.Local_X != out.back().Local_X || p.Local_Y != out.back().Local_Y) out.push_back(p);
    while (out.size() > 1 && out.front().Local_X == out.back().Local_X && out.front().Local_Y == out.back().Local_Y)
        out.pop_back();
    pts = std::move(out);
}

// The pieces one area keeps: the coastlines' water there was settled before the split, so
// the area's pieces go together, or none when together they fill it. The pieces do not
// overlap, so their areas add up to the area's own only when they cover it: an outline that
// chains round the border could still hold an island.
std::vector<Stage_Piece> Area_Pieces(const std::vector<Stage_Piece>& stage, size_t from, size_t to) {
    int64_t total = 0;
    for (size_t r = from; r < to; ++r) total += API_Piece_Twice_Area(stage[r].Points);
    if (total == 2 * int64_t{Lod13_Local_Max} * Lod13_Local_Max) return {};
    return {stage.begin() + static_cast<long>(from), stage.begin() + static_cast<long>(to)};
}

}  // namespace

void API_Join_Coast_Polygons(int16_t mode) {
    if (Work_Poly_Count == 0) {
        Coast_Count = 0;
        return;
    }
    Cut_Tables_Size(Work_Poly_Count, Work_Point_Count);
    std::vector<Work_Point_Rec> pts;
    std::vector<Plane_Point> plane;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        pts.clear();
        for (int32_t k = rec.First_Point; k <= rec.Last_Point && rec.Nb_Points > 0; ++k)
            pts.push_back(Work_Point_Table(k));
        Coast_Clean_Points(pts, true);
        if (pts.size() < 2) continue;
        if (pts.size() >= 2) {
            const Work_Point_Rec& a = pts.back();
            const Work_Point_Rec& b = pts[0];
            const Work_Point_Rec& c = pts[1];
            if (API_Intersect_Segments(a.X, a.Y, b.X, b.Y, c.X, c.Y) == 0) pts.erase(pts.begin());
        }
        if (pts.size() > 2) {
            plane.clear();
            for (const Work_Point_Rec& p : pts) plane.push_back({p.X, p.Y});
            if (API_Get_Polygon_Winding(plane, static_cast<int32_t>(plane.size())) != 1)
                std::reverse(pts.begin(), pts.end());
        }
        const int32_t n = static_cast<int32_t>(pts.size());
        Work_Poly_Rec head;  // only the id and attributes carry over
        head.Line_Id = rec.Line_Id;
        head.Attr = rec.Attr;
        Cut_Tables_Append(head, n, n + 1, [&](int32_t i) {
            const Work_Point_Rec& p = pts[static_cast<size_t>(i)];
            return Work_Point_Rec{p.X, p.Y, 0};
        });
    }
    API_Commit_Cut_Tables();
    int32_t limit = Coast_Piece_Limit;
    API_Split_Concave(limit);
    // The polygons lie in one area each already: the mode's cut would only add slivers on
    // their borders.
    (void)mode;
    Cut_Tables_Erase();
}

void API_Index_Coast_Pieces(int16_t mode) {
    (void)mode;  // the coastline stage indexes LOD13 areas only
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
    std::vector<Stage_Piece> stage;
    for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
        const Work_Poly_Rec& rec = Work_Poly_Table(w);
        const int32_t n = rec.Nb_Points;
        if (n <= 0) continue;
        Stage_Piece piece;
        Cut_Piece_Record& pr = piece.Rec;
        Piece_Area area;
        std::vector<Cut_Piece_Point> pts;
        // The area of the box's centre; the places rounded, not snapped to the border within one
        // position as the general conversion does, which would merge places the areas keep apart.
        double centre_x = 0, centre_y = 0;
        int16_t px = 0, py = 0;
        Work_Record_Centre(rec, centre_x, centre_y);
        Com_Pixel_To_Sub_Pos_Clamped(centre_x, centre_y, area.Lod8_Col, area.Lod8_Row, area.Lod13_Col, area.Lod13_Row,
                                     px, py);
        for (int32_t k = 0; k < n; ++k) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + k);
            pts.push_back({p.X, p.Y, 0, 0});
        }
        Round_Places(area, pts);
        pr.Lod8_Col = area.Lod8_Col;
        pr.Lod8_Row = area.Lod8_Row;
        pr.Lod13_Col = area.Lod13_Col;
        pr.Lod13_Row = area.Lod13_Row;
        const size_t d = pts.size();
        std::vector<Pos> pos;
        for (const Cut_Piece_Point& p : pts) pos.push_back({p.Local_X, p.Local_Y});
        // Points that meet on fewer than three places, repeats apart, enclose no water.
        std::vector<Pos> places = pos;
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());
        const bool keep =
            n == 2 ? d >= 2 : places.size() >= 3 && API_Piece_Twice_Area(pts) != 0 && !Is_Whole_Cell(pos);
        if (!keep) continue;
        pr.Nb_Points = static_cast<int16_t>(d);
        pr.Line_Id = rec.Line_Id;
        pr.Attr = rec.Attr;
        pr.Ring_Number = rec.Ring_Number;
        pr.Group_Id = rec.Group_Id;
        piece.Points = std::move(pts);
        stage.push_back(std::move(piece));
    }
    Work_Tables_Erase();
    if (stage.empty()) return;

    Exchange_Sort_Vector(
        stage, [](const Stage_Piece& a, const Stage_Piece& b) { return API_Piece_Comes_First(a.Rec, b.Rec); }, false);

    size_t total_points = 0;
    for (const Stage_Piece& p : stage) total_points += p.Points.size();
    Coast_Piece_Table.ReDim(static_cast<int32_t>(stage.size()) + 1);
    Coast_Piece_Points.ReDim(static_cast<int32_t>(total_points) + 1);
    int32_t point_count = 0;
    for (size_t from = 0; from < stage.size();) {
        size_t to = from + 1;
        while (to < stage.size() && Cell_Of(stage[to].Rec) == Cell_Of(stage[from].Rec)) ++to;
        for (Stage_Piece& piece : Area_Pieces(stage, from, to)) {
            if (Coast_Count + 1 > Coast_Piece_Table.UBound()) Coast_Piece_Table.ReDim_Preserve(Coast_Count + 10);
            const int32_t need = point_count + static_cast<int32_t>(piece.Points.size());
            if (need > Coast_Piece_Points.UBound()) Coast_Piece_Points.ReDim_Preserve(need + 20);
            Cut_Piece_Record& rec = Coast_Piece_Table(++Coast_Count);
            rec = std::move(piece.Rec);
            rec.First_Point = point_count + 1;
            for (const Cut_Piece_Point& p : piece.Points) Coast_Piece_Points(++point_count) = p;
            rec.Last_Point = point_count;
        }
        from = to;
    }
}
