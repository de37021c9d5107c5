// The water of the areas split into convex pieces, the pieces indexed by area, dropped where
// together they fill it.
#include "generation/coast_finish.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "core/grid.h"
#include "generation/coast_stage.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/invariants.h"
#include "generation/piece_clean.h"
#include "generation/prepare_polygons.h"
#include "generation/resplit.h"
#include "generation/work_tables.h"

namespace {

constexpr int32_t Coast_Piece_Limit = 60;
constexpr int64_t Areas_Per_Lod8 = 32;

struct Stage_Piece {
    Cut_Piece_Record Rec;
    std::vector<Cut_Piece_Point> Points;
};

auto Cell_Of(const Cut_Piece_Record& r) { return std::tuple(r.Lod8_Row, r.Lod8_Col, r.Lod13_Row, r.Lod13_Col); }

std::string Area_Name(const Cut_Piece_Record& r) {
    return "area (" + std::to_string(r.Lod8_Col) + "," + std::to_string(r.Lod8_Row) + "," +
           std::to_string(r.Lod13_Col) + "," + std::to_string(r.Lod13_Row) + ")";
}

// The areas' rings as work polygons, their places as points; each record's group holds its
// area's entry in `water` (one more) until the pieces are indexed.
void Water_To_Work_Tables(const std::vector<Coast_Water>& water) {
    int32_t polys = 0, points = 0;
    for (const Coast_Water& w : water)
        for (const std::vector<Coast_Pos>& ring : w.Rings) ++polys, points += static_cast<int32_t>(ring.size());
    Cut_Tables_Size(polys + 1, points + 1);
    std::vector<Plane_Point> plane;
    for (size_t i = 0; i < water.size(); ++i) {
        Work_Poly_Rec head;
        head.Line_Id = Work_Poly_Table(water[i].Line).Line_Id;
        head.Attr = Work_Poly_Table(water[i].Line).Attr;
        head.Group_Id = static_cast<int32_t>(i) + 1;
        for (const std::vector<Coast_Pos>& ring : water[i].Rings) {
            plane.clear();
            for (const Coast_Pos& p : ring) plane.push_back({double(p.X), double(p.Y)});
            // The split takes polygons turned its way round.
            if (API_Get_Polygon_Winding(plane, static_cast<int32_t>(plane.size())) != 1)
                std::reverse(plane.begin(), plane.end());
            const int32_t n = static_cast<int32_t>(plane.size());
            Cut_Tables_Append(head, n, n + 1, [&](int32_t k) {
                const Plane_Point& p = plane[static_cast<size_t>(k)];
                return Work_Point_Rec{p.X, p.Y, 0};
            });
        }
    }
    API_Commit_Cut_Tables();
}

// What every written piece promises the mask writer: convex, at most the limit of places,
// turned positively, of some area, every place in its area.
void Check_Piece(const Stage_Piece& piece) {
    const std::vector<Cut_Piece_Point>& p = piece.Points;
    std::string fault = Rounded_Piece_Fault(p);
    if (p.size() > static_cast<size_t>(Coast_Piece_Limit)) fault = std::to_string(p.size()) + " places";
    for (const Cut_Piece_Point& q : p)
        if (q.Local_X < 0 || q.Local_X > Lod13_Local_Max || q.Local_Y < 0 || q.Local_Y > Lod13_Local_Max)
            fault = "a place outside its area";
    if (!fault.empty()) Invariant_Broken("coast piece in " + Area_Name(piece.Rec) + ": " + fault);
}

// The pieces one area keeps: none when together they fill it. They do not overlap, so their
// areas add up to the area's own only when they cover it.
std::vector<Stage_Piece> Area_Pieces(const std::vector<Stage_Piece>& stage, size_t from, size_t to) {
    int64_t total = 0;
    for (size_t r = from; r < to; ++r) total += API_Piece_Twice_Area(stage[r].Points);
    if (total == 2 * int64_t{Lod13_Local_Max} * Lod13_Local_Max) return {};
    return {stage.begin() + static_cast<long>(from), stage.begin() + static_cast<long>(to)};
}

}  // namespace

void Coast_Write_Pieces(const std::vector<Coast_Water>& water) {
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
    Water_To_Work_Tables(water);
    int32_t limit = Coast_Piece_Limit;
    API_Split_Concave(limit);

    std::vector<Stage_Piece> stage;
    for (int32_t w = 1; w <= Work_Poly_Count; ++w) {
        const Work_Poly_Rec& rec = Work_Poly_Table(w);
        if (rec.Nb_Points < 3 || rec.Group_Id < 1) continue;
        const Coast_Water& area = water[static_cast<size_t>(rec.Group_Id - 1)];
        Stage_Piece piece;
        Cut_Piece_Record& pr = piece.Rec;
        pr.Lod8_Col = static_cast<int16_t>(area.Col / Areas_Per_Lod8);
        pr.Lod13_Col = static_cast<int16_t>(area.Col % Areas_Per_Lod8);
        pr.Lod8_Row = static_cast<int16_t>(area.Row / Areas_Per_Lod8);
        pr.Lod13_Row = static_cast<int16_t>(area.Row % Areas_Per_Lod8);
        for (int32_t k = 0; k < rec.Nb_Points; ++k) {
            const Work_Point_Rec& p = Work_Point_Table(rec.First_Point + k);
            const Coast_Pos place{static_cast<int32_t>(std::lround(p.X)), static_cast<int32_t>(std::lround(p.Y))};
            Cut_Piece_Point out{0, 0, static_cast<int16_t>(place.X), static_cast<int16_t>(place.Y)};
            Coast_Pos_To_Pixel(area.Col, area.Row, place, out.X, out.Y);
            piece.Points.push_back(out);
        }
        // The split can leave a chain of places on one line once the pieces round it are cut off:
        // it holds no water.
        if (API_Piece_Twice_Area(piece.Points) == 0) continue;
        pr.Nb_Points = static_cast<int16_t>(piece.Points.size());
        pr.Line_Id = rec.Line_Id;
        pr.Attr = rec.Attr;
        if (Checked_Build) Check_Piece(piece);
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
            Cut_Piece_Record& rec = Coast_Piece_Table(++Coast_Count);
            rec = std::move(piece.Rec);
            rec.First_Point = point_count + 1;
            for (const Cut_Piece_Point& p : piece.Points) Coast_Piece_Points(++point_count) = p;
            rec.Last_Point = point_count;
        }
        from = to;
    }
}
