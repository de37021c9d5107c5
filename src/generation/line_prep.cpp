// Shore lines made ready for the wide-line writer: collected, cleaned, closed or reversed, cut at
// the LOD8 lines and split into runs of at most 280 points.
#include "generation/line_prep.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>
#include <vector>

#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/grid_cut.h"
#include "generation/vtp_lines_writer.h"
#include "generation/work_tables.h"
#include "generation/world_clip.h"
#include "generation/writer_base.h"

namespace {

constexpr int32_t Work_Point_Growth = 50;

bool Same_Place(const Work_Point_Rec& a, const Work_Point_Rec& b) { return a.X == b.X && a.Y == b.Y; }

bool Takes_Line(const Line_Rec& line) {
    return line.Attr.SurfShore != 0 && line.Attr.Vtp1_Line != 1 && line.Nb_Points > 1;
}

// The line's points along its chain with their end markers; false when fewer than two are left
// after cleaning.
bool Line_Points(int32_t line_index, std::vector<Work_Point_Rec>& pts) {
    const Route_Attrib& a = Line_Table(line_index).Attr;
    pts.clear();
    for (int32_t id : Project_Line_Points(line_index)) {
        const Point_Rec& p = Point_Table(id);
        pts.push_back({p.X, p.Y, 0});
    }
    if (pts.empty()) return false;
    if (a.Effil_Deb == 0) pts.front().Flag = 1;
    if (a.Effil_Fin == 0) pts.back().Flag = 1;
    // The copy of the first point behind the last stands for the closing edge; a line that
    // stays open has none, and measuring its end against its start would shorten it (a straight
    // line would shrink to one point).
    const bool closes = a.SurfShore != 3 && !Is_Centred_Type(a.Type_Code) && a.FermerLine == 1;
    if (closes) pts.push_back(pts.front());

    // Of two equal neighbours the later one, with its marker, takes the earlier one's place.
    for (size_t i = 0; i + 1 < pts.size();) {
        if (Same_Place(pts[i + 1], pts[i])) {
            pts.erase(pts.begin() + static_cast<long>(i));
            if (i == 0 && a.Effil_Deb == 0) pts.front().Flag = 1;
        } else {
            ++i;
        }
    }
    if (closes) pts.pop_back();
    if (pts.size() < 2) return false;

    if (pts.size() >= 3) {
        if (closes) pts.push_back(pts.front());
        for (size_t i = 0; i + 2 < pts.size();) {
            if (API_Turn_Direction(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X,
                                   pts[i + 2].Y) == 0)
                pts.erase(pts.begin() + static_cast<long>(i + 1));
            else
                ++i;
        }
        if (closes) pts.pop_back();
    }

    if (closes) {
        pts.back().Flag = 0;
        pts.push_back(pts.front());
    }
    if (a.LandOnRight == 1) std::reverse(pts.begin(), pts.end());
    return true;
}

// Runs of at most Line_Run_Length points (one more for the runs that start at a shared point).
void Split_Runs() {
    // Sized to what the runs hold: each run after a line's first repeats the point it starts at.
    int64_t runs = 0, points = 0;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t n = rec.Last_Point - rec.First_Point + 1;
        if (n <= 0) continue;
        int64_t pieces = 1;
        if (rec.Attr->SurfShore > 1 && n > Line_Run_Length) {
            const int32_t chunk = n % Line_Run_Length == 1 ? Line_Run_Length - 1 : Line_Run_Length;
            pieces = 1 + (n - chunk + chunk - 1) / chunk;
        }
        runs += pieces;
        points += n + pieces - 1;
    }
    // The appends keep a spare point or two behind the last.
    Cut_Tables_Size(static_cast<int32_t>(std::min<int64_t>(runs + 1, INT32_MAX)),
                    static_cast<int32_t>(std::min<int64_t>(points + 3, INT32_MAX)));
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        const int32_t first = rec.First_Point;
        const int32_t last = rec.Last_Point;
        const int32_t n = last - first + 1;
        if (rec.Attr->SurfShore <= 1 || n <= Line_Run_Length) {
            if (n > 0) API_Add_Cut_Line(r, first, last);
            continue;
        }
        const int32_t chunk = n % Line_Run_Length == 1 ? Line_Run_Length - 1 : Line_Run_Length;
        int32_t start = first;
        int32_t end = std::min(first + chunk - 1, last);
        while (true) {
            if (end != last) Work_Point_Table(end).Flag = 2;
            API_Add_Cut_Line(r, start, end);
            if (end == last) break;
            start = end;
            end = std::min(start + chunk, last);
        }
    }
    API_Commit_Cut_Tables();
}

}  // namespace

void API_Cut_Lines_Lod8() {
    const double h = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * Lod8_Height;
    const double w = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * Lod8_Width;
    // A frame without cells of some size (uncalibrated, inverted) has no grid lines to cut at.
    const bool has_grid = h > 0 && w > 0 && std::isfinite(h) && std::isfinite(w) &&
                          (Map_Px_South - Map_Px_North) / h < 1e6 &&
                          (Map_Px_East - Map_Px_West) / w < 1e6;
    if (has_grid) {
        const double ty = h / Lod8_Tolerance_Divisor;
        const double tx = w / Lod8_Tolerance_Divisor;

        const int32_t r0 = std::max(SYST_Truncate((90 - Map_Lat_North) / Lod8_Height) - 2, 0);
        const double lat0 = 90 - r0 * Lod8_Height;
        for (double y = Map_Px_North - (lat0 - Map_Lat_North) * h / Lod8_Height;; y += h) {
            API_Cut_Lines_At(true, y, ty, [](int32_t r) { return Is_Centred_Type(Work_Poly_Table(r).Attr->Type_Code); });
            if (y >= Map_Px_South) break;
        }
        const int32_t c0 = std::max(SYST_Truncate((Map_Lon_West + 180) / Lod8_Width) - 2, 0);
        const double lon0 = c0 * Lod8_Width - 180;
        for (double x = Map_Px_West - std::fabs(lon0 - Map_Lon_West) * w / Lod8_Width;; x += w) {
            API_Cut_Lines_At(false, x, tx);
            if (x >= Map_Px_East) break;
        }
    }
    Split_Runs();
}

int32_t API_Collect_Lines() {
    Work_Tables_Size(Line_Count, Point_Count + Work_Point_Growth);
    std::vector<Work_Point_Rec> pts;
    const World_Box world = World_Pixel_Box();
    for (int32_t i = 2; i <= Line_Count; ++i) {
        const Line_Rec& line = Line_Table(i);
        if (!Takes_Line(line)) continue;
        if (!Line_Points(i, pts)) continue;
        // A line crossing the world's edge keeps its inside parts.
        for (const std::vector<Work_Point_Rec>& part : World_Clip_Line(pts, world))
            Work_Tables_Append(line, part, Work_Point_Growth);
    }
    return Work_Poly_Count;
}

void API_Prepare_Lines() {
    if (Line_Count <= 1) return;
    Gen_Show_Stage("ShoreLines", "BGLC.exe");
    if (API_Collect_Lines() > 0) {
        API_Cut_Lines_Lod8();
        API_Write_Lines_Asm();
    }
    Work_Tables_Erase();
    Cut_Tables_Erase();
}
