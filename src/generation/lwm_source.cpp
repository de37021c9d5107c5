// What the mask and re-mesh sources share: map bounds, body start, area marks, the cell index.
#include "generation/lwm_source.h"

#include <string>

#include "core/project.h"
#include "core/syst.h"

namespace {

// Areas of more polygons take the extended form.
constexpr size_t Max_Short_Area_Polys = 6;

}  // namespace

Gen_Bounds Lwm_Map_Bounds() {
    Gen_Bounds bounds;
    bounds.North = SYST_Truncate(Map_Lat_North + 1);
    bounds.South = SYST_Truncate(Map_Lat_South - 1);
    bounds.East = SYST_Truncate(Map_Lon_East + 1);
    bounds.West = SYST_Truncate(Map_Lon_West - 1);
    return bounds;
}

void Lwm_Write_Start(Gen_Source& src, int32_t version) {
    src.Line("LWMHeader   label   word");
    src.Line("    LWMFileHeader " + Gen_Num(version) + ", LWMIndexStart, LWMStart, LWMEnd");
    src.Line("LWMStart    label   word");
    src.Line("    datamark_0  label   word");
}

std::string Lwm_Area_Line(size_t polygons, int32_t mask, const std::string& place) {
    if (polygons <= Max_Short_Area_Polys)
        return "        LWMDataAreaDrawPolygons " + Gen_Num(polygons) + "," + Gen_Num(mask) + ",1," + place;
    return "        LWMDataAreaDrawPolygonsEx 7," + Gen_Num(mask) + ",1," + place + "," + Gen_Num(polygons - 7);
}

void Lwm_Write_Area_End(Gen_Source& src, size_t index) {
    src.Line("    datamark_" + Gen_Num(index + 1) + "  label   word");
}

void Lwm_Write_Tail(Gen_Source& src, const std::vector<Gen_Cell_Id>& cells) {
    src.Line(";" + std::string(41, '-'));
    for (const Gen_Cell_Id& c : cells)
        src.Line("    " + Gen_Cell_Name(Gen_Cell_Prefix_Lwm, c.Col, c.Row) + "    EQU    LWMCellID 0,0,3," +
                 Gen_Num(c.Col) + "," + Gen_Num(c.Row));
    src.Line("    LWMIndexStart       Label   Word");
    src.Line("         LWMIndexHeader " + Gen_Num(cells.size()) + ",LWMIndexData");
    src.Line("    LWMIndexData       Label   Word");
    for (size_t k = 0; k < cells.size(); ++k)
        src.Line("        LWMIndexEntry   " + Gen_Cell_Name(Gen_Cell_Prefix_Lwm, cells[k].Col, cells[k].Row) +
                 ",LWMStart,datamark_" + Gen_Num(k) + ",datamark_" + Gen_Num(k + 1));
    src.Line("LWMEnd          Label   Word");
}
