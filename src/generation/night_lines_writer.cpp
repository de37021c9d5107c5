// Night-lit lines: collected, cut at half-LOD10 lines, offset into strings of lights per lane,
// and one SCASM source per LOD8 cell compiled and copied.
#include "generation/night_lines_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <vector>

#include "core/geometry.h"
#include "core/grid.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "generation/concave_split.h"
#include "generation/exchange_sort.h"
#include "generation/grid_cut.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "platform/files.h"

Vb_Array<Night_Line_Rec> Night_Line_Table;
int32_t Night_Line_Count = 0;
Vb_Array<Night_Point> Night_Line_Points;
int32_t Scasm_File_Counter = 0;

namespace {

constexpr int32_t Work_Point_Growth = 50;
constexpr double Half_Lod10_Height = Lod10_Height / 2;
constexpr double Half_Lod10_Width = Lod10_Width / 2;
constexpr double Night_Tolerance_Divisor = 4080.6;
constexpr double Cell_Margin = 0.1;             // degrees round each cell's header bounds
constexpr double Metres_Per_Lon_Degree = 111319.444;
constexpr double Metres_Per_Lat_Degree = 111164.75;
constexpr double Pi = 3.14159265358979;
constexpr double Same_End_Metres = 0.01;
constexpr double Parallel_Slopes = 0.00001;

void Erase_Night_Tables() {
    Night_Line_Table.Erase();
    Night_Line_Points.Erase();
    Night_Line_Count = 0;
}

bool Same_Place(const Work_Point_Rec& a, const Work_Point_Rec& b) { return a.X == b.X && a.Y == b.Y; }

using Sort_Key = std::tuple<int16_t, int16_t, int16_t, int16_t, int16_t>;
Sort_Key Key_Of(const Night_Line_Rec& e) {
    return {e.Lod8_Row, e.Lod8_Col, e.Quarter_Row, e.Quarter_Col, e.Attr.LayerScasm};
}

class Light_Writer {
public:
    Light_Writer(Gen_Source& src, double lat0, double lon0) : src_(src), lat0_(lat0), lon0_(lon0) {}

    void Entry(const Night_Line_Rec& e) {
        const int16_t lanes = Night_Lane_Count(e.Attr.Type_Code);
        const int16_t gap = Night_Gap_Flag(e.Attr.Type_Code);
        const int32_t passes = lanes == 1 ? 1 : lanes / 2;
        const double w = e.Attr.Largeur * 0.66;
        for (int32_t a = 1; a <= passes; ++a) {
            const double offset = Night_Pass_Offset(lanes, gap, w, a);
            Lane(e, offset);
            const bool right = e.Attr.Drive_Right == 1;
            String(lanes == 1 || right ? left_ : right_, true);
            if (lanes > 1) String(right ? right_ : left_, false);
        }
    }

private:
    // The offset points of every centreline point on both sides.
    void Lane(const Night_Line_Rec& e, double offset) {
        const int32_t m = e.Last_Point - e.First_Point;   // segments
        left_.assign(static_cast<size_t>(m + 1), {});
        right_.assign(static_cast<size_t>(m + 1), {});
        std::vector<Road_Point> sl(static_cast<size_t>(m)), sr(sl), el(sl), er(sl);
        for (int32_t k = 0; k < m; ++k) {
            const int32_t i = e.First_Point + k;
            API_Offset_Road_Point(lat0_, lon0_, offset, i, i + 1, false, sl[k], sr[k]);
            API_Offset_Road_Point(lat0_, lon0_, offset, i, i + 1, true, el[k], er[k]);
        }
        left_[0] = sl[0];
        right_[0] = sr[0];
        for (int32_t k = 1; k < m; ++k) {
            // Both lines at the lane's own offset keep the lane parallel to the centreline.
            left_[k] = API_Join_Offset_Segments(sl[k - 1], el[k - 1], sl[k], el[k]);
            right_[k] = API_Join_Offset_Segments(sr[k - 1], er[k - 1], sr[k], er[k]);
        }
        left_[m] = el[m - 1];
        right_[m] = er[m - 1];
    }

    void String(const std::vector<Road_Point>& pts, bool backwards) {
        const size_t n = pts.size();
        for (size_t k = 0; k < n; ++k) {
            const Road_Point& p = pts[backwards ? n - 1 - k : k];
            const std::string text = API_Format_Road_Point(p.X, p.Z);
            src_.Line(k == 0 ? "RRStart( 2 2 " + text + " )" : "RoadCont( " + text + " )");
        }
    }

    Gen_Source& src_;
    double lat0_, lon0_;
    std::vector<Road_Point> left_, right_;
};

}  // namespace

int16_t Night_Lane_Count(int16_t t) {
    auto in = [t](int a, int b) { return t >= a && t <= b; };
    if (in(1134, 1141) || in(1158, 1165)) return 2;
    if (in(1142, 1145) || in(1166, 1169)) return 4;
    if (in(1146, 1149) || in(1170, 1173)) return 6;
    if (in(1150, 1153) || in(1174, 1177)) return 8;
    if (in(1154, 1157) || in(1178, 1181)) return 10;
    return 1;
}

int16_t Night_Gap_Flag(int16_t t) { return t >= 1134 && t <= 1157 ? 1 : 0; }

double Night_Pass_Offset(int16_t lanes, int16_t gap, double w, int32_t a) {
    if (lanes <= 1) return 0;
    const double s = w / (2.0 * lanes + (lanes - 1) * gap);
    return gap == 0 ? s * (2 * a - 1) : 1.5 * s + 3 * s * (a - 1);
}

double API_Round_Micro(double v) { return SYST_Round(v * 1e6) / 1e6; }

std::string API_Format_Road_Point(double x, double z) {
    return Gen_Num(SYST_Round(x)) + " 0 " + Gen_Num(SYST_Round(z));
}

void API_Offset_Road_Point(double ref_lat, double ref_lon, double r, int32_t i, int32_t j, bool at_second_end,
                           Road_Point& left, Road_Point& right) {
    auto metres = [&](int32_t k) {
        double lat = 0, lon = 0;
        Com_Pixel_To_LatLon(Night_Line_Points(k).X, Night_Line_Points(k).Y, lat, lon);
        return Road_Point{(lon - ref_lon) * Metres_Per_Lon_Degree * std::cos(ref_lat * Pi / 180),
                          (lat - ref_lat) * Metres_Per_Lat_Degree};
    };
    const Road_Point a = metres(i);
    Road_Point b = metres(j);
    if (std::fabs(a.X - b.X) < Same_End_Metres) b.X = a.X;
    if (std::fabs(a.Z - b.Z) < Same_End_Metres) b.Z = a.Z;
    const Road_Point e = at_second_end ? b : a;
    left = right = e;
    if (r == 0) return;
    if (a.X == b.X && a.Z == b.Z) return;  // no direction to be beside
    if (a.X == b.X) {
        const double d = b.Z > a.Z ? r : -r;   // north: left is west
        left.X = e.X - d;
        right.X = e.X + d;
    } else if (a.Z == b.Z) {
        const double d = b.X > a.X ? r : -r;   // east: left is north
        left.Z = e.Z + d;
        right.Z = e.Z - d;
    } else {
        double m = 0, c = 0;
        SYST_Perpendicular(a.X, a.Z, b.X, b.Z, e.X, e.Z, m, c);
        double x1 = 0, z1 = 0, x2 = 0, z2 = 0;
        int16_t missed = 0;
        SYST_Line_Circle(e.X, e.Z, r, m, c, x1, z1, x2, z2, missed);
        const double side = (b.X - a.X) * (z1 - e.Z) - (b.Z - a.Z) * (x1 - e.X);
        if (side > 0) {
            left = {x1, z1};
            right = {x2, z2};
        } else {
            left = {x2, z2};
            right = {x1, z1};
        }
    }
}

Road_Point API_Join_Offset_Segments(const Road_Point& a1, const Road_Point& a2, const Road_Point& b1,
                                    const Road_Point& b2) {
    if (a2 == b1) return a2;
    if ((a1.X == a2.X && a2.X == b2.X) || (a1.Z == a2.Z && a2.Z == b2.Z)) return a2;
    // A segment without length has no line (and no offset: its ends are the centreline's), and
    // two lines parallel as far as the arithmetic goes meet nowhere it can reach (ends snapped a
    // centimetre apart would otherwise divide by zero): the lane keeps its offset point there.
    const double ax = a2.X - a1.X, az = a2.Z - a1.Z, bx = b2.X - b1.X, bz = b2.Z - b1.Z;
    if (ax == 0 && az == 0) return b1;
    if (std::fabs(ax * bz - az * bx) <= Parallel_Slopes * std::hypot(ax, az) * std::hypot(bx, bz)) return a2;
    auto z_at = [](const Road_Point& p, const Road_Point& q, double x) {
        return p.Z + (q.Z - p.Z) * (x - p.X) / (q.X - p.X);
    };
    auto x_at = [](const Road_Point& p, const Road_Point& q, double z) {
        return p.X + (q.X - p.X) * (z - p.Z) / (q.Z - p.Z);
    };
    if (a1.X == a2.X) return {a1.X, b1.Z == b2.Z ? b1.Z : z_at(b1, b2, a1.X)};
    if (b1.X == b2.X) return {b1.X, a1.Z == a2.Z ? a1.Z : z_at(a1, a2, b1.X)};
    if (a1.Z == a2.Z) return {x_at(b1, b2, a1.Z), a1.Z};
    if (b1.Z == b2.Z) return {x_at(a1, a2, b1.Z), b1.Z};
    double m1 = 0, c1 = 0, m2 = 0, c2 = 0;
    SYST_Line_Slope_Intercept(a1.X, a1.Z, a2.X, a2.Z, m1, c1);
    SYST_Line_Slope_Intercept(b1.X, b1.Z, b2.X, b2.Z, m2, c2);
    if (std::fabs(m1 - m2) < Parallel_Slopes) return a2;
    const double x = (c2 - c1) / (m1 - m2);
    return {x, m1 * x + c1};
}

void API_Make_Night_Lines() { API_Collect_Night_Lines(); }

void API_Collect_Night_Lines() {
    if (Line_Count <= 1) return;
    Gen_Show_Stage("Night Lines", "BGLC.exe");
    Work_Tables_Size(Line_Count, Point_Count + Work_Point_Growth);
    std::vector<Work_Point_Rec> pts;
    for (int32_t i = 2; i <= Line_Count; ++i) {
        const Line_Rec& line = Line_Table(i);
        if (line.Attr.SurfShore == 0 || line.Attr.Line_Night == 0 || line.Nb_Points <= 1) continue;
        pts.clear();
        Project_For_Each_Line_Point(i, [&](const Point_Rec& p) { pts.push_back({p.X, p.Y, 0}); });
        for (size_t k = 0; k + 1 < pts.size();) {
            if (Same_Place(pts[k], pts[k + 1]))
                pts.erase(pts.begin() + static_cast<long>(k + 1));
            else
                ++k;
        }
        if (pts.size() < 2) continue;
        for (size_t k = 0; pts.size() > 2 && k + 2 < pts.size();) {
            if (API_Intersect_Segments(pts[k].X, pts[k].Y, pts[k + 1].X, pts[k + 1].Y, pts[k + 2].X, pts[k + 2].Y) == 0)
                pts.erase(pts.begin() + static_cast<long>(k + 1));
            else
                ++k;
        }
        if (line.Attr.SurfShore != 3 && line.Attr.FermerLine == 1) pts.push_back(pts.front());
        Work_Tables_Append(line, pts, Work_Point_Growth);
    }
    if (Work_Poly_Count > 0) {
        API_Cut_Night_Lod11();
        API_Write_Night_Cells();
    }
    Work_Tables_Erase();
    Cut_Tables_Erase();
    Erase_Night_Tables();
}

void API_Cut_Night_Lod11() {
    const double step_y = (Map_Px_South - Map_Px_North) / (Map_Lat_North - Map_Lat_South) * Half_Lod10_Height;
    const double step_x = (Map_Px_East - Map_Px_West) / (Map_Lon_East - Map_Lon_West) * Half_Lod10_Width;
    // An uncalibrated or inverted frame has no grid lines to cut at.
    const bool has_grid = step_y > 0 && step_x > 0 && std::isfinite(step_y) && std::isfinite(step_x) &&
                          (Map_Px_South - Map_Px_North) / step_y < 1e6 && (Map_Px_East - Map_Px_West) / step_x < 1e6;
    if (has_grid) {
        const int32_t row0 = std::max(SYST_Truncate((90 - Map_Lat_North) / Lod10_Height) - 2, 0);
        const int32_t col0 = std::max(SYST_Truncate((Map_Lon_West + 180) / Lod10_Width) - 2, 0);
        const double lat = 90 - row0 * Lod10_Height;
        const double lon = col0 * Lod10_Width - 180;
        for (double y = Map_Px_North + (Map_Lat_North - lat) * step_y / Half_Lod10_Height;; y += step_y) {
            API_Cut_Lines_At(true, y, step_y / Night_Tolerance_Divisor);
            if (y >= Map_Px_South) break;
        }
        for (double x = Map_Px_West - std::fabs(lon - Map_Lon_West) * step_x / Half_Lod10_Width;; x += step_x) {
            API_Cut_Lines_At(false, x, step_x / Night_Tolerance_Divisor);
            if (x >= Map_Px_East) break;
        }
    }
    Cut_Tables_Erase();
}

void API_Write_Night_Cells() {
    Night_Line_Table.ReDim(Work_Poly_Count + 1);
    Night_Line_Points.ReDim(Work_Point_Count);
    Night_Line_Count = 0;
    int32_t points = 0;
    std::vector<Night_Line_Rec> entries;
    for (int32_t r = 1; r <= Work_Poly_Count; ++r) {
        const Work_Poly_Rec& rec = Work_Poly_Table(r);
        if (rec.Nb_Points < 1) continue;
        Night_Line_Rec e;
        e.First_Point = points + 1;
        for (int32_t k = rec.First_Point; k <= rec.Last_Point; ++k) {
            const Work_Point_Rec& p = Work_Point_Table(k);
            Night_Line_Points(++points) = {p.X, p.Y};
        }
        e.Last_Point = points;
        e.Nb_Points = static_cast<int16_t>(rec.Last_Point - rec.First_Point + 1);
        double centre_x = 0, centre_y = 0;
        Work_Record_Centre(rec, centre_x, centre_y);
        Com_Pixel_To_Cell4(centre_x, centre_y, e.Lod8_Col, e.Lod8_Row, e.Quarter_Col, e.Quarter_Row);
        e.Line_Id = rec.Line_Id;
        e.Attr = *rec.Attr;
        entries.push_back(e);
    }
    const std::vector<int32_t> order = Exchange_Sort_Order(
        Exchange_Sort_Ranks(entries, [](const Night_Line_Rec& a, const Night_Line_Rec& b) { return Key_Of(a) < Key_Of(b); }),
        true);
    for (int32_t from : order) Night_Line_Table(++Night_Line_Count) = entries[static_cast<size_t>(from)];

    Scasm_File_Counter = 0;
    for (int32_t first = 1; first <= Night_Line_Count;) {
        int32_t last = first;
        while (last < Night_Line_Count && Night_Line_Table(last + 1).Lod8_Row == Night_Line_Table(first).Lod8_Row &&
               Night_Line_Table(last + 1).Lod8_Col == Night_Line_Table(first).Lod8_Col)
            ++last;
        API_Write_Scasm_Night(first, last);
        first = last + 1;
    }
}

void API_Write_Scasm_Night(int32_t first, int32_t last) {
    const int16_t c = Night_Line_Table(first).Lod8_Col;
    const int16_t r = Night_Line_Table(first).Lod8_Row;
    const double n = 90 - r * Lod8_Height + Cell_Margin;
    const double s = n - Lod8_Height - 2 * Cell_Margin;
    const double w = c * Lod8_Width - 180 - Cell_Margin;
    const double e = w + Lod8_Width + 2 * Cell_Margin;
    auto deg = [](double v) { return Gen_Num(API_Round_Micro(v)); };

    Gen_Source src("\\TmpRt.Sca");
    src.Line("Header( 1 " + deg(n) + " " + deg(s) + " " + deg(e) + " " + deg(w) + " )");
    src.Line("LatRange(  " + deg(s) + " " + deg(n) + " )");
    src.Line("Set( areamx 128 )");
    for (int32_t a = first; a <= last;) {
        const Night_Line_Rec& head = Night_Line_Table(a);
        int32_t end = a;
        while (end < last && Night_Line_Table(end + 1).Quarter_Row == head.Quarter_Row &&
               Night_Line_Table(end + 1).Quarter_Col == head.Quarter_Col &&
               Night_Line_Table(end + 1).Attr.LayerScasm == head.Attr.LayerScasm)
            ++end;
        const double lat0 = 90 - (r * Lod8_Height + head.Quarter_Row * Lod10_Height + Half_Lod10_Height);
        const double lon0 = c * Lod8_Width + head.Quarter_Col * Lod10_Width + Half_Lod10_Width - 180;
        src.Line("Area( B " + deg(lat0) + " " + deg(lon0) + " " + Gen_Num(40) + " )");
        src.Line("LayerCall32( :TagLayer " + Gen_Num(head.Attr.LayerScasm) + " )");
        src.Line("Jump( : )");
        src.Line(":TagLayer");
        src.Line("RefPoint( 7 :TagReturn 1 " + deg(lat0) + " " + deg(lon0) + " V1= " + Gen_Num(30000) + " V2= 0 )");
        src.Line("IfVarAnd( :TagRef 028C 1 )");
        src.Line("Jump( : )");
        src.Line(":TagRef");
        Light_Writer lights(src, lat0, lon0);
        for (int32_t k = a; k <= end; ++k)
            if (Night_Line_Table(k).Nb_Points > 1) lights.Entry(Night_Line_Table(k));
        src.Line(":TagReturn");
        src.Line("    Return");
        src.Line("EndA");
        a = end + 1;
    }
    const bool written = src.Close();
    ++Scasm_File_Counter;
    if (!written) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(src.Path()));
        return;
    }
    const std::string tmp_bgl = App_Dir + "\\Tmp.Bgl";
    // A result left by an earlier cell must not pass for this cell's.
    plat::DeleteFile(tmp_bgl);
    const std::string command =
        Gen_Program("scasm.exe") + " " + Gen_Path_Arg(src.Path()) + " " + Gen_Path_Arg(tmp_bgl) + " -l";
    if (Gen_Run_Tool(command, tmp_bgl) != Gen_Run_Result::Done) {
        Gen_Show_Failure("error during Scasm generation");
        return;
    }
    const std::string output = Gen_Output_Path("_9" + Gen_Three_Digits(Scasm_File_Counter));
    if (Project_Copy_File(tmp_bgl, output)) {
        plat::DeleteFile(tmp_bgl);
        return;
    }
    // The compiled cell is the only good copy, and the next cell starts by deleting Tmp.Bgl: it
    // is set aside beside it, under the output's own name, where nothing deletes it.
    const std::string kept = App_Dir + "\\" + std::filesystem::path(output).filename().string();
    const bool set_aside = plat::RenameFile(tmp_bgl, kept);
    const bool us = Language == "US";
    std::string text = us ? "The night-light file could not be written: " + output
                          : "Le fichier des lumières de nuit n'a pas pu être écrit : " + output;
    if (set_aside)
        text += us ? "\r\nThe compiled file was kept as " + plat::NativePath(kept)
                   : "\r\nLe fichier compilé a été gardé sous " + plat::NativePath(kept);
    Gen_Show_Failure(text);
}
