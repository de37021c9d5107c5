// The re-meshed terrain source: altitude grid points grouped by LOD13 area and written as
// two-point polygons that carry their altitude.
#include "generation/remesh_writer.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "core/grid.h"
#include "core/project.h"
#include "generation/exchange_sort.h"
#include "generation/lwm_source.h"
#include "generation/mask_writer.h"
#include "generation/world_clip.h"
#include "generation/writer_base.h"
#include "platform/files.h"
#include "platform/host.h"

namespace {

constexpr double Feet_Per_Metre = 3.28084;

struct Mesh_Point {
    int16_t Lod8_Col = 0;
    int16_t Lod8_Row = 0;
    int16_t Lod13_Col = 0;
    int16_t Lod13_Row = 0;
    int16_t X = 0;  // 0..255 inside the LOD13 area
    int16_t Y = 0;
    double Altitude = 0;  // metres

    auto Key() const { return std::tie(Lod8_Row, Lod8_Col, Lod13_Row, Lod13_Col, Y, X); }
};

std::vector<Mesh_Point> Mesh_Points() {
    std::vector<Mesh_Point> points;
    for (int32_t i = 1; i <= Grid_Point_Count; ++i) {
        const Grid_Point_Rec& g = Grid_Point_Table(i);
        if (g.Defined != 1) continue;
        Mesh_Point m;
        Com_Pixel_To_Sub_Pos_Clamped(g.X, g.Y, m.Lod8_Col, m.Lod8_Row, m.Lod13_Col, m.Lod13_Row, m.X, m.Y);
        // A point beyond the world's grid has no area to be written in.
        if (!World_Has_Area(m.Lod8_Col, m.Lod8_Row, m.Lod13_Col, m.Lod13_Row)) continue;
        m.Altitude = Remesh_Altitude_Metres(g.Alt);
        points.push_back(m);
    }
    if (points.size() < 2) return points;
    Exchange_Sort_Vector(points, [](const Mesh_Point& a, const Mesh_Point& b) { return a.Key() < b.Key(); }, false);
    return points;
}

struct Sub_Cell {
    int16_t Col = 0;
    int16_t Row = 0;
    size_t First = 0;  // mesh points, half-open
    size_t End = 0;
};

struct Mesh_Cell {
    int16_t Col = 0;
    int16_t Row = 0;
    std::vector<Sub_Cell> Subs;
};

std::vector<Mesh_Cell> Group_Points(const std::vector<Mesh_Point>& points) {
    std::vector<Mesh_Cell> cells;
    for (size_t i = 0; i < points.size(); ++i) {
        const Mesh_Point& p = points[i];
        if (cells.empty() || cells.back().Col != p.Lod8_Col || cells.back().Row != p.Lod8_Row)
            cells.push_back({p.Lod8_Col, p.Lod8_Row, {}});
        std::vector<Sub_Cell>& subs = cells.back().Subs;
        if (subs.empty() || subs.back().Col != p.Lod13_Col || subs.back().Row != p.Lod13_Row)
            subs.push_back({p.Lod13_Col, p.Lod13_Row, i, i});
        subs.back().End = i + 1;
    }
    return cells;
}

void Write_Body(Gen_Source& src, const std::vector<Mesh_Point>& points, const std::vector<Mesh_Cell>& cells) {
    Lwm_Write_Start(src, 513);
    for (size_t c = 0; c < cells.size(); ++c) {
        for (const Sub_Cell& sub : cells[c].Subs) {
            const std::string place = Gen_Num(sub.Col) + "," + Gen_Num(sub.Row);
            for (size_t start = sub.First; start < sub.End; start += Mesh_Points_Per_Area) {
                const size_t end = std::min(sub.End, start + Mesh_Points_Per_Area);
                src.Line(Lwm_Area_Line(end - start, 3, place));
                for (size_t i = start; i < end; ++i) {
                    int32_t whole = 0, fraction = 0;
                    Gen_Altitude_Pair(points[i].Altitude, whole, fraction);
                    src.Line("          LWMPoly2   2,0,1," + Gen_Num(whole) + "," + Gen_Num(fraction));
                    const std::string point = "            LWMPoint " + Gen_Num(points[i].X) + "," + Gen_Num(points[i].Y);
                    src.Line(point);
                    src.Line(point);
                }
            }
        }
        Lwm_Write_Area_End(src, c);
    }
    Lwm_Write_Tail(src, Gen_Cell_Ids(cells));
}

}  // namespace

double Remesh_Altitude_Metres(float entered) {
    // The offset is kept in the project's own unit; its meaning for projects in feet is not
    // settled, so it is left out there.
    if (Alt_Unit_Feet == 1) return static_cast<double>(entered) / Feet_Per_Metre;
    return static_cast<double>(entered) + static_cast<double>(Alt_Offset);
}

void API_Write_Remesh_Lwm_Asm() {
    const bool any = [] {
        for (int32_t i = 1; i <= Grid_Point_Count; ++i)
            if (Grid_Point_Table(i).Defined == 1) return true;
        return false;
    }();
    if (!any) return;

    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);
    const std::string output = Gen_Output_Path("_2");
    Gen_Show_Stage(output, "Re_Mesh : BGLC.exe");
    const std::vector<Mesh_Point> points = Mesh_Points();
    const std::vector<Mesh_Cell> cells = Group_Points(points);

    Gen_Source src("\\Tessaline$_Remesh_LWM.asm");
    src.Head(";  Tessaline : ReMesh LWM Generated on ", Lwm_Map_Bounds(), Gen_Tail_Lwm);
    Write_Body(src, points, cells);
    if (!src.Close()) {
        Gen_Show_Failure(Gen_Cannot_Write_Text(src.Path()));
    } else {
        plat::DeleteFile(output);
        if (Gen_Run_Tool(Gen_Bglc_Command(src.Path(), output, 2), output) != Gen_Run_Result::Done)
            Gen_Show_Failure("pb Ground generation Re_meshLWM");
    }
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}
