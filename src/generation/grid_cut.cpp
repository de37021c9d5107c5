// The grid cut as a whole: the grid lines of the map, every latitude line, then every longitude
// line, over all work polygons. After it no work polygon crosses a grid line; after an
// abnormal polygon (or a map whose cells have no size) the cut was abandoned with its box and
// the work tables hold the pieces of the last whole line.
#include "generation/grid_cut.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/grid.h"
#include "core/syst.h"
#include "generation/grid_cut_pieces.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"

namespace {

using grid_cut::Piece;
using grid_cut::Point_Pool;

// Pieces back into the work tables, each record a copy of its source record. The pool holds
// the pieces' points one piece after another in piece order: it becomes the point table as it
// stands, with the spare entry the hand-over keeps behind the last.
void Store_Pieces(const std::vector<Piece>& pieces, Point_Pool&& pool) {
    const size_t points = pool.size();
    pool.emplace_back();
    Cut_Tables_Size(static_cast<int32_t>(std::min<size_t>(pieces.size() + 1, INT32_MAX)), 0);
    Cut_Point_Table.Adopt(std::move(pool));
    Cut_Point_Count = Cut_Point_Capacity = static_cast<int32_t>(std::min<size_t>(points, INT32_MAX));
    for (const Piece& p : pieces)
        Cut_Poly_Table(++Cut_Poly_Count) = grid_cut::Piece_Record(Work_Poly_Table(p.Source), p);
    API_Commit_Cut_Tables();
}

void Abandon_Cut(const char* message) {
    Cut_Tables_Erase();
    Polygon_Cut_Aborted = 1;
    Gen_Show_Failure(message);
}

// The grid lines from `from` on, `step` apart, until one reaches `until`; false (and none)
// when there would be too many to be a map's.
bool Grid_Lines(double from, double until, double step, std::vector<double>& lines) {
    lines.clear();
    const double max_lines = (until - from) / step + 3;
    if (!(max_lines < 1e7)) return false;
    double at = from;
    for (int64_t line = 0; line <= static_cast<int64_t>(max_lines); ++line) {
        lines.push_back(at);
        if (at >= until) break;
        at += step;
    }
    return true;
}

// More lines, `step` apart, before the first and after the last of `lines` until they reach
// `low` and `high` (what the polygons span), though not past the world's edges nor far from the
// map: a coast's water can leave the map. The map's own lines stay as they are.
void Reach_Polygons(std::vector<double>& lines, double step, double low, double high, double world_low,
                    double world_high) {
    // Two LOD8 cells beyond the map at most: a shape drawn far off (a point at 1e300) would
    // otherwise be cut into every cell of the world. What lies further is not written.
    constexpr double Most_Lines = 2 * 32;
    if (lines.empty()) return;
    const double after = (std::min(high, world_high) - lines.back()) / step;
    const int64_t more = after > 0 ? static_cast<int64_t>(std::ceil(std::min(after, Most_Lines))) : 0;
    const double last = lines.back();
    for (int64_t k = 1; k <= more; ++k) lines.push_back(last + static_cast<double>(k) * step);
    const double before = (lines.front() - std::max(low, world_low)) / step;
    const int64_t fewer = before > 0 ? static_cast<int64_t>(std::ceil(std::min(before, Most_Lines))) : 0;
    std::vector<double> head;
    for (int64_t k = fewer; k >= 1; --k) head.push_back(lines.front() - static_cast<double>(k) * step);
    lines.insert(lines.begin(), head.begin(), head.end());
}

// The grid lines of the cut for `mode`, reaching the polygons' span; the failure's box text when
// the map's cells have no size or far too many lines.
struct Grid {
    double Tx = 0, Ty = 0;
    std::vector<double> Lat, Lon;
    bool Lon_Fits = false;
};

const char* Make_Grid(int16_t mode, const grid_cut::Box& span, Grid& grid) {
    const double lat_step = mode == 2 ? Lod8_Height : Lod13_Height;
    const double lon_step = mode == 2 ? Lod8_Width : Lod13_Width;
    const double divisor = mode == 2 ? Lod8_Tolerance_Divisor : Lod13_Tolerance_Divisor;
    const double h = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * lat_step;
    const double w = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * lon_step;
    grid.Tx = w / divisor;
    grid.Ty = h / divisor;

    // Cells without a size (an uncalibrated or inverted frame) would step for ever.
    if (!(h > 0) || !(w > 0) || !std::isfinite(h) || !std::isfinite(w)) return "Anormal Lat decoupe LOD13_8";

    int32_t r0 = SYST_Truncate((90 - Map_Lat_North) / lat_step) - 3;
    if (r0 < 0) r0 = 0;
    const double lat0 = 90 - r0 * lat_step;
    if (!Grid_Lines(Map_Px_North - (lat0 - Map_Lat_North) * h / lat_step, Map_Px_South + h, h, grid.Lat))
        return "Anormal Lat decoupe LOD13_8";

    int32_t c0 = SYST_Truncate((Map_Lon_West + 180) / lon_step) - 3;
    if (c0 < 0) c0 = 0;
    const double lon0 = c0 * lon_step - 180;
    grid.Lon_Fits =
        Grid_Lines(Map_Px_West - std::fabs(lon0 - Map_Lon_West) * w / lon_step, Map_Px_East + w, w, grid.Lon);
    Reach_Polygons(grid.Lat, h, span.Min_Y, span.Max_Y, Map_Px_North - (90 - Map_Lat_North) * h / lat_step,
                   Map_Px_North + (Map_Lat_North + 90) * h / lat_step);
    if (grid.Lon_Fits)
        Reach_Polygons(grid.Lon, w, span.Min_X, span.Max_X, Map_Px_West - (Map_Lon_West + 180) * w / lon_step,
                       Map_Px_West + (180 - Map_Lon_West) * w / lon_step);
    return nullptr;
}

void Join(grid_cut::Box& span, const grid_cut::Box& b) {
    span.Min_X = std::min(span.Min_X, b.Min_X);
    span.Min_Y = std::min(span.Min_Y, b.Min_Y);
    span.Max_X = std::max(span.Max_X, b.Max_X);
    span.Max_Y = std::max(span.Max_Y, b.Max_Y);
}

// Both directions over the work tables' polygons, `pieces` their spans.
bool Cut_Work_Tables(const Grid& grid, std::vector<Piece>& pieces) {
    // The latitude lines read the work points where they are; records without points do not
    // outlive the first line.
    const Work_Point_Rec* work_points = Work_Point_Table.Empty() ? nullptr : &*Work_Point_Table.begin();
    size_t done = 0;
    Point_Pool across, along;  // the points of the pieces after each direction
    if (!grid_cut::Cut_Direction(true, grid.Lat, grid.Tx, grid.Ty, pieces, work_points,
                                 static_cast<size_t>(std::max(Work_Point_Count, 0)), across, done)) {
        if (done > 0) Store_Pieces(pieces, std::move(across));
        Abandon_Cut("Anormal Lat decoupe LOD13_8");
        return false;
    }
    // Every point is in `across` now; the work records stay for the pieces to copy.
    Work_Point_Table.Erase();
    Work_Point_Count = Work_Point_Capacity = 0;
    if (!grid.Lon_Fits) {
        Store_Pieces(pieces, std::move(across));
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    const bool whole =
        grid_cut::Cut_Direction(false, grid.Lon, grid.Tx, grid.Ty, pieces, across.data(), across.size(), along, done);
    across = Point_Pool();  // not needed while the tables fill
    Store_Pieces(pieces, std::move(along));
    if (!whole) {
        Abandon_Cut("Anormal Lon decoupe LOD13_8");
        return false;
    }
    return true;
}

// The spans of the work tables' polygons, and their box.
std::vector<Piece> Work_Pieces(grid_cut::Box& span) {
    const Work_Point_Rec* work_points = Work_Point_Table.Empty() ? nullptr : &*Work_Point_Table.begin();
    std::vector<Piece> pieces;
    pieces.reserve(static_cast<size_t>(std::max(Work_Poly_Count, 0)));
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points <= 0) continue;
        pieces.push_back(grid_cut::Span_Piece(r, work_points, static_cast<size_t>(rec.First_Point - 1), rec.Nb_Points));
        Join(span, pieces.back().Bounds);
    }
    return pieces;
}

constexpr grid_cut::Box No_Span{INFINITY, INFINITY, -INFINITY, -INFINITY};

grid_cut::Box Parts_Span(const std::vector<Work_Part>& parts) {
    grid_cut::Box span = No_Span;
    for (const Work_Part& part : parts)
        for (const Work_Poly_Rec& rec : part.Polys)
            if (rec.Nb_Points > 0)
                Join(span, grid_cut::Span_Piece(0, part.Points.data(), static_cast<size_t>(rec.First_Point - 1),
                                                rec.Nb_Points)
                               .Bounds);
    return span;
}

// The end of a part-by-part cut: an abnormal piece abandons it, with its box.
bool Parts_Cut_Ends(grid_cut::Parts_Cut result) {
    switch (result) {
        case grid_cut::Parts_Cut::Whole:
            return true;
        case grid_cut::Parts_Cut::Lat_Abnormal:
            Work_Tables_Erase();
            Abandon_Cut("Anormal Lat decoupe LOD13_8");
            return false;
        case grid_cut::Parts_Cut::Lon_Abnormal:
            Work_Tables_Erase();
            Abandon_Cut("Anormal Lon decoupe LOD13_8");
            return false;
    }
    return false;
}

void Show_Cut_Caption() {
    Gen_Set_Compile_Name("Lod8/13 cut");
    Gen_Repaint();
}

}  // namespace

bool API_Cut_Polygons_Cells(int16_t mode) {
    Polygon_Cut_Aborted = 0;
    Show_Cut_Caption();
    grid_cut::Box span = No_Span;
    std::vector<Piece> pieces = Work_Pieces(span);
    Grid grid;
    if (const char* failure = Make_Grid(mode, span, grid)) {
        Abandon_Cut(failure);
        return false;
    }
    return Cut_Work_Tables(grid, pieces);
}

Cell_Part_Cut::Cell_Part_Cut() = default;
Cell_Part_Cut::~Cell_Part_Cut() = default;

bool Cell_Part_Cut::Begin(int16_t mode, const std::vector<Work_Part>& parts) {
    Grid grid;
    if (Make_Grid(mode, Parts_Span(parts), grid) != nullptr || !grid.Lon_Fits) return false;
    Polygon_Cut_Aborted = 0;
    cutter_ = std::make_unique<grid_cut::Parts_Cutter>(grid.Lat, grid.Lon, grid.Tx, grid.Ty);
    return true;
}

Work_Part Cell_Part_Cut::Cut(Work_Part&& part) {
    Show_Cut_Caption();
    return cutter_->Cut(std::move(part));
}

bool Cell_Part_Cut::End() { return Parts_Cut_Ends(cutter_->End()); }
