// The coastline stage: coastlines collected, cleaned, cut at the LOD13 lines, closed and indexed.
#include "generation/coast_stage.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "generation/coast_close.h"
#include "generation/coast_finish.h"
#include "generation/concave_split.h"
#include "generation/generation_services.h"
#include "generation/grid_cut.h"
#include "generation/polygon_checks.h"
#include "generation/writer_base.h"

namespace {

constexpr int32_t Work_Point_Growth = 50;
constexpr int16_t Msg_Coast_Crosses = 121;
constexpr int16_t Msg_Coast_Not_Closed = 132;

bool Same_Place(const Work_Point_Rec& a, const Work_Point_Rec& b) { return a.X == b.X && a.Y == b.Y; }

// True for a coastline collected as a ring (it comes back onto its first point, or its option
// joins its ends).
bool Collect_Coastline(int32_t line_index) {
    std::vector<Work_Point_Rec> pts;
    for (int32_t id : Project_Line_Points(line_index)) pts.push_back({Point_Table(id).X, Point_Table(id).Y, 0});
    const Line_Rec& line = Line_Table(line_index);
    const bool ring = line.Attr.FermerLine == 1 || (pts.size() > 3 && Same_Place(pts.front(), pts.back()));
    Coast_Clean_Points(pts, ring);
    // A line that collapsed to a point has no stretch of coast to close.
    if (pts.size() < 2) return false;
    if (line.Attr.LandOnRight == 1) std::reverse(pts.begin(), pts.end());
    Work_Tables_Append(line, pts, Work_Point_Growth);
    return ring && pts.size() >= 3;
}

// The rings get their first point once more behind their last, so that the cut meets their
// closing segment too.
void Close_Rings(const std::vector<bool>& ring) {
    Cut_Tables_Size(Work_Poly_Count, Work_Point_Count + Work_Poly_Count + 1);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Nb_Points;
        const bool closes = ring[static_cast<size_t>(r)];
        Cut_Tables_Append(rec, closes ? n + 1 : n, n + 2,
                          [&](int32_t i) { return Work_Point_Table(rec.First_Point + (i < n ? i : 0)); });
    }
    API_Commit_Cut_Tables();
}

bool Is_Ring(const Work_Poly_Rec& rec) {
    return rec.Nb_Points > 3 && Same_Place(Work_Point_Table(rec.First_Point), Work_Point_Table(rec.Last_Point));
}

// A ring starts again at its first border point, so that nothing of it lies before it.
void Start_Ring_At(const Work_Poly_Rec& rec, int32_t k) {
    std::vector<Work_Point_Rec> pts;
    for (int32_t i = rec.First_Point; i < rec.Last_Point; ++i) pts.push_back(Work_Point_Table(i));
    std::rotate(pts.begin(), pts.begin() + (k - rec.First_Point), pts.end());
    pts.push_back(pts.front());
    for (size_t i = 0; i < pts.size(); ++i) Work_Point_Table(rec.First_Point + static_cast<int32_t>(i)) = pts[i];
}

// Cell sizes in pixels of the map frame; false when the frame has no grid to cut at.
bool Lod13_Steps(double& row_px, double& col_px) {
    row_px = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * Lod13_Height;
    col_px = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * Lod13_Width;
    return row_px > 0 && col_px > 0 && std::isfinite(row_px) && std::isfinite(col_px) &&
           (Map_Px_South - Map_Px_North) / row_px < 1e6 && (Map_Px_East - Map_Px_West) / col_px < 1e6;
}

constexpr int32_t World_Lod13_Rows = 512 * 32;
constexpr int32_t World_Lod13_Cols = 768 * 32;

struct Work_Box {
    double Min_X = 0, Min_Y = 0, Max_X = 0, Max_Y = 0;
};

Work_Box Work_Points_Box() {
    Work_Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        for (int32_t k = rec.First_Point; k <= rec.Last_Point && rec.Nb_Points > 0; ++k) {
            const Work_Point_Rec& p = Work_Point_Table(k);
            box.Min_X = std::min(box.Min_X, p.X);
            box.Max_X = std::max(box.Max_X, p.X);
            box.Min_Y = std::min(box.Min_Y, p.Y);
            box.Max_Y = std::max(box.Max_Y, p.Y);
        }
    }
    return box;
}

// The grid lines of one direction, `step` apart: the map's own, from line `first` (grid line
// number `index` of the world's `count`) to the first at or beyond the map's end `map_end`;
// then, ascending, those beyond the map up to where the lines reach (`low`..`high`), within the
// world.
struct Grid_Lines {
    std::vector<double> Map, Beyond;
};

Grid_Lines Coast_Grid_Lines(double first, int32_t index, int32_t count, double step, double map_end, double low,
                            double high) {
    Grid_Lines lines;
    // Whole steps back towards `low`, no further than the world's first line.
    const double back = (first - low) / step;
    const int32_t before = back > 0 ? static_cast<int32_t>(std::ceil(std::min(back, double(index)))) : 0;
    for (int32_t k = before; k >= 1; --k) lines.Beyond.push_back(first - k * step);
    double at = first;
    int32_t i = index;
    for (; i <= count; ++i, at += step) {
        lines.Map.push_back(at);
        if (at >= map_end) break;
    }
    for (++i, at += step; i <= count && !lines.Map.empty() && lines.Map.back() < high; ++i, at += step) {
        lines.Beyond.push_back(at);
        if (at >= high) break;
    }
    return lines;
}

// Every strict crossing of the work lines with the grid lines `at` (ascending), each segment
// cut along its way: one pass however many lines, since beyond the map they can be thousands.
void Insert_All_Crossings(bool horizontal, const std::vector<double>& at, double tolerance) {
    if (at.empty()) return;
    Cut_Tables_Size(2 * Work_Poly_Count, 3 * Work_Point_Capacity);
    std::vector<Work_Point_Rec> pts;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        pts.clear();
        for (int32_t k = rec.First_Point; k <= rec.Last_Point; ++k) {
            Work_Point_Rec a = Work_Point_Table(k);
            pts.push_back(a);
            if (k == rec.Last_Point) break;
            const Work_Point_Rec b = Work_Point_Table(k + 1);
            const double u = horizontal ? a.Y : a.X, v = horizontal ? b.Y : b.X;
            const auto lo = std::lower_bound(at.begin(), at.end(), std::min(u, v) - tolerance);
            const auto hi = std::upper_bound(at.begin(), at.end(), std::max(u, v) + tolerance);
            const auto cross = [&](double line) {
                int16_t code = 0;
                double px = 0, py = 0;
                API_Cross_Grid_Line(horizontal, a.X, a.Y, b.X, b.Y, line, tolerance, code, px, py);
                if (code != 2) return;
                a = {px, py, 2};
                pts.push_back(a);
            };
            if (u <= v)
                std::for_each(lo, hi, cross);
            else
                std::for_each(std::make_reverse_iterator(hi), std::make_reverse_iterator(lo), cross);
        }
        const int32_t n = static_cast<int32_t>(pts.size());
        Cut_Tables_Append(rec, n, n + 1, [&](int32_t i) { return pts[static_cast<size_t>(i)]; });
    }
    API_Commit_Cut_Tables();
}

// The map's lines one pass each, as they always were, then those beyond it.
void Cut_At_Lines(bool horizontal, const Grid_Lines& lines, double tolerance) {
    for (double at : lines.Map) Insert_All_Crossings(horizontal, {at}, tolerance);
    Insert_All_Crossings(horizontal, lines.Beyond, tolerance);
}

struct Cell_Key {
    int16_t C8 = 0, R8 = 0, C13 = 0, R13 = 0;
    bool operator==(const Cell_Key&) const = default;
};

Cell_Key Segment_Cell(int32_t a, int32_t b) {
    const Work_Point_Rec& p = Work_Point_Table(a);
    const Work_Point_Rec& q = Work_Point_Table(b);
    Cell_Key key;
    int16_t px = 0, py = 0;
    Com_Pixel_To_Sub_Pos_Clamped((p.X + q.X) / 2, (p.Y + q.Y) / 2, key.C8, key.R8, key.C13, key.R13, px, py);
    return key;
}

void Empty_Line(Work_Poly_Rec& rec) { rec.First_Point = rec.Last_Point = rec.Nb_Points = 0; }

void Fail_Stage() {
    Msg_Answer = ERREUR_Show_Message(Msg_Coast_Not_Closed);
    Work_Poly_Count = 0;
    Cut_Tables_Erase();
}

}  // namespace

void Coast_Clean_Points(std::vector<Work_Point_Rec>& pts, bool ring) {
    if (pts.empty()) return;
    // The copy of the first point behind the last drops a last point that repeats the first.
    pts.push_back(pts.front());
    for (size_t k = 0; k + 1 < pts.size();) {
        if (Same_Place(pts[k + 1], pts[k]))
            pts.erase(pts.begin() + static_cast<long>(k + 1));
        else
            ++k;
    }
    pts.pop_back();
    if (pts.size() <= 2) return;
    // An open line's first point is no neighbour of its last: measuring the last segment
    // against it would drop the line's end point.
    if (ring) pts.push_back(pts.front());
    for (size_t k = 0; k + 2 < pts.size();) {
        if (API_Intersect_Segments(pts[k].X, pts[k].Y, pts[k + 1].X, pts[k + 1].Y, pts[k + 2].X, pts[k + 2].Y) == 0)
            pts.erase(pts.begin() + static_cast<long>(k + 1));
        else
            ++k;
    }
    if (ring) pts.pop_back();
}

bool Coast_Is_Border_Point(int32_t k, int32_t other) {
    const Cell_Key cell = Segment_Cell(k, other);
    const Work_Point_Rec& p = Work_Point_Table(k);
    int16_t px = 0, py = 0;
    Com_Pixel_To_Sub_Pos_Rounded(p.X, p.Y, cell.C8, cell.R8, cell.C13, cell.R13, px, py);
    return px == 0 || px == Lod13_Local_Max || py == 0 || py == Lod13_Local_Max;
}

bool API_Cut_Coast_Lod13() {
    double row_px = 0, col_px = 0;
    if (!Lod13_Steps(row_px, col_px)) {
        Fail_Stage();  // no grid line: no line can reach an area border
        return false;
    }
    const Work_Box box = Work_Points_Box();
    const int32_t r0 = std::max(SYST_Truncate((90 - Map_Lat_North) / Lod13_Height) - 2, 0);
    const double y0 = Map_Px_North - ((90 - r0 * Lod13_Height) - Map_Lat_North) * row_px / Lod13_Height;
    const double world_south = Map_Px_North + (Map_Lat_North + 90) * row_px / Lod13_Height;
    Cut_At_Lines(true, Coast_Grid_Lines(y0, r0, World_Lod13_Rows, row_px, Map_Px_South, box.Min_Y,
                                        std::min(box.Max_Y, world_south)),
                 row_px / Lod13_Tolerance_Divisor);
    const int32_t c0 = std::max(SYST_Truncate((Map_Lon_West + 180) / Lod13_Width) - 2, 0);
    const double x0 = Map_Px_West - std::fabs((c0 * Lod13_Width - 180) - Map_Lon_West) * col_px / Lod13_Width;
    const double world_east = Map_Px_West + (180 - Map_Lon_West) * col_px / Lod13_Width;
    Cut_At_Lines(false, Coast_Grid_Lines(x0, c0, World_Lod13_Cols, col_px, Map_Px_East, box.Min_X,
                                         std::min(box.Max_X, world_east)),
                 col_px / Lod13_Tolerance_Divisor);
    Cut_Tables_Erase();

    // Trim each line to the stretch between its first and its last border point.
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        Work_Poly_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points < 1) continue;
        int32_t first = 0;
        for (int32_t k = rec.First_Point; k < rec.Last_Point && first == 0; ++k)
            if (Coast_Is_Border_Point(k, k + 1)) first = k;
        if (Is_Ring(rec)) {
            // A ring inside one area has no loose end to trim.
            if (first != 0) Start_Ring_At(rec, first);
            continue;
        }
        if (first == 0) {
            Fail_Stage();
            return false;
        }
        rec.First_Point = first;
        rec.Nb_Points = rec.Last_Point - first + 1;
        if (rec.Nb_Points <= 1) {
            Empty_Line(rec);
            continue;
        }
        // The new first point is a border point already; the walk back stays on the line.
        int32_t last = first;
        for (int32_t k = rec.Last_Point; k > first && last == first; --k)
            if (Coast_Is_Border_Point(k, k - 1)) last = k;
        rec.Last_Point = last;
        rec.Nb_Points = last - first + 1;
        if (rec.Nb_Points < 2) Empty_Line(rec);
    }

    // A line that stays inside one area is kept only when both its ends are on the border.
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        Work_Poly_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points < 3 || Is_Ring(rec)) continue;
        const Cell_Key cell = Segment_Cell(rec.First_Point, rec.First_Point + 1);
        bool one_cell = true;
        for (int32_t k = rec.First_Point + 1; k < rec.Last_Point && one_cell; ++k)
            one_cell = Segment_Cell(k, k + 1) == cell;
        if (!one_cell) continue;
        if (!Coast_Is_Border_Point(rec.First_Point, rec.First_Point + 1) ||
            !Coast_Is_Border_Point(rec.Last_Point, rec.Last_Point - 1))
            Empty_Line(rec);
    }

    Cut_Tables_Size(Work_Poly_Count + 1, Work_Point_Capacity + 10);
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const int32_t n = Work_Poly_Table(r).Nb_Points;
        if (n != 0) API_Add_Split_Piece(r, 1, n - 1);
    }
    API_Commit_Cut_Tables();
    return true;
}

void API_Make_Coastlines() {
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();
    if (Line_Count <= 1) return;
    Gen_Set_Compile_Step("Coastlines");
    Gen_Repaint();

    Work_Tables_Size(Line_Count, Point_Count + Work_Point_Growth);
    std::vector<bool> ring(1, false);  // by work record
    for (int32_t i = 2; i <= Line_Count; ++i) {
        const Line_Rec& line = Line_Table(i);
        if (line.Attr.SurfShore == 3 && line.Nb_Points >= 2) {
            const int32_t before = Work_Poly_Count;
            const bool closed = Collect_Coastline(i);
            if (Work_Poly_Count > before) ring.push_back(closed);
        }
    }
    bool crosses = API_Check_Coast_Crossings() == 3;
    for (int32_t r = 1; r <= Work_Poly_Count && !crosses; ++r)
        crosses = ring[static_cast<size_t>(r)] && API_Line_Crosses_Itself(r) == 1;  // through its closing segment
    if (std::find(ring.begin(), ring.end(), true) != ring.end() && !crosses) Close_Rings(ring);

    if (crosses) {
        ERREUR_Show_Message_Extra(Msg_Coast_Crosses, "Bmp pixel X:" + std::to_string(Cross_Point_X) +
                                                         " Y:" + std::to_string(Cross_Point_Y));
    } else if (Work_Poly_Count > 0 && API_Cut_Coast_Lod13() && Work_Poly_Count > 0) {
        Cut_Tables_Size(Work_Poly_Count, 5 * Work_Poly_Count + Work_Point_Count);
        API_Close_Coast_Cells();
        if (Work_Poly_Count == 0) {
            Coast_Count = 0;
        } else {
            API_Join_Coast_Polygons(0);
            API_Index_Coast_Pieces(0);
        }
    }
    Work_Tables_Erase();
    Cut_Tables_Erase();
}
