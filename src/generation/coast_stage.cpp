// The coastline stage: coastlines collected, cleaned, cut at the LOD13 lines, closed and indexed.
#include "generation/coast_stage.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/erreur.h"
#include "core/grid.h"
#include "core/project.h"
#include "generation/coast_chords.h"
#include "generation/coast_faces.h"
#include "generation/coast_finish.h"
#include "generation/concave_split.h"
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

// False when the map frame has no grid to cut at: its LOD13 cells have no size in pixels.
bool Map_Has_Grid() {
    const double row_px = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * Lod13_Height;
    const double col_px = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * Lod13_Width;
    return row_px > 0 && col_px > 0 && std::isfinite(row_px) && std::isfinite(col_px) &&
           (Map_Px_South - Map_Px_North) / row_px < 1e6 && (Map_Px_East - Map_Px_West) / col_px < 1e6;
}

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

    if (crosses) {
        ERREUR_Show_Message_Extra(Msg_Coast_Crosses, "Bmp pixel X:" + std::to_string(Cross_Point_X) +
                                                         " Y:" + std::to_string(Cross_Point_Y));
    } else if (Work_Poly_Count > 0) {
        std::vector<Coast_Chord> chords;
        // Without a grid to cut at, no line can reach an area border.
        if (!Map_Has_Grid() || !Coast_Make_Chords(ring, chords)) {
            Fail_Stage();
        } else {
            Coast_Write_Pieces(Coast_Area_Water(std::move(chords)));
        }
    }
    Work_Tables_Erase();
    Cut_Tables_Erase();
}
