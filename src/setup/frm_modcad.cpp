// The calibration correction window and the move of the cells that follows an accepted one.
#include "setup/frm_modcad.h"

#include "core/grid.h"
#include "core/project.h"
#include "core/syst.h"
#include "setup/map_frame.h"
#include "setup/setup_services.h"
#include "platform/ui/modal.h"

namespace {

// A reference position (degrees) of a record, through the old calibration to its bitmap place
// and back to degrees with the new one.
void Moved_Position(double latitude, double longitude, double& new_lat, double& new_lon) {
    double x = 0, y = 0;
    Com_LatLon_To_Pixel_Old(latitude, longitude, x, y);
    Com_Pixel_To_LatLon(x, y, new_lat, new_lon);
}

// Centre of an LOD13 sub-cell: textured and exclusion areas cover it whole.
template <class Rec>
void Reindex_Areas(Vb_Array<Rec>& table, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) {
        Rec& r = table[i];
        const double lat = 90.0 - (r.Lod8_Row * Lod8_Height + r.Lod13_Row * Lod13_Height + Lod13_Height / 2);
        const double lon = r.Lod8_Col * Lod8_Width + r.Lod13_Col * Lod13_Width + Lod13_Width / 2 - 180.0;
        double new_lat = 0, new_lon = 0;
        Moved_Position(lat, lon, new_lat, new_lon);
        Com_LatLon_To_Cell(new_lat, new_lon, r.Lod8_Row, r.Lod13_Row, r.Lod8_Col, r.Lod13_Col);
    }
}

// North-west corner of the sub-cell: a class cell stands for that grid point.
void Reindex_Class_Cells(Vb_Array<Class_Cell_Rec>& table, int32_t count) {
    for (int32_t i = 1; i <= count; ++i) {
        Class_Cell_Rec& r = table[i];
        const double lat = 90.0 - (r.Lod8_Row * Lod8_Height + r.Lod13_Row * Lod13_Height);
        const double lon = r.Lod8_Col * Lod8_Width + r.Lod13_Col * Lod13_Width - 180.0;
        double new_lat = 0, new_lon = 0;
        Moved_Position(lat, lon, new_lat, new_lon);
        Com_LatLon_To_Cell_Centred(new_lat, new_lon, r.Lod8_Row, r.Lod13_Row, r.Lod8_Col, r.Lod13_Col);
    }
}

}  // namespace

void Cad_Reindex_Cells() {
    for (int32_t i = 1; i <= Lod8_Cell_Count; ++i) {
        Lod8_Cell_Rec& r = Lod8_Cell_Table[i];
        const double lat = 90.0 - (r.Lod8_Row * Lod8_Height + Lod8_Height / 2);
        const double lon = r.Lod8_Col * Lod8_Width + Lod8_Width / 2 - 180.0;
        double new_lat = 0, new_lon = 0;
        Moved_Position(lat, lon, new_lat, new_lon);
        int16_t sub_row = 0, sub_col = 0;
        Com_LatLon_To_Cell(new_lat, new_lon, r.Lod8_Row, sub_row, r.Lod8_Col, sub_col);
    }
    Reindex_Areas(Lwm_Cell_Table, Lwm_Cell_Count);
    Reindex_Areas(Excl_Cell_Table, Excl_Cell_Count);
    Reindex_Class_Cells(Lc_Cell_Table, Lc_Cell_Count);
    Reindex_Class_Cells(Wc_Cell_Table, Wc_Cell_Count);
}

Frm_ModCad::Frm_ModCad() : Form("Frm_ModCad") {
    Form_Load = [this] { Frm_ModCad_Form_Load(); };
    Cmd_Ok.Click = [this] { Frm_ModCad_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_ModCad_Cmd_Cancel_Click(); };
    for (const Coord_Field& f : Coord_Corner_Fields(*this)) f.Wire();
}

void Frm_ModCad::Design() {
    BorderStyle = 3;
    Move(0, 0, 330, 176);
    Label1.SetCaption("NW");
    Label1.Move(60, 10, 120, 16);
    Label2.SetCaption("SE");
    Label2.Move(196, 10, 120, 16);
    Label3.SetCaption("Lat:");
    Label3.Move(12, 34, 40, 16);
    Label4.SetCaption("Lon:");
    Label4.Move(12, 82, 40, 16);
    NWLatDec.Move(60, 30, 120, 21);
    LNWLat.Move(60, 54, 120, 16);
    NWLonDec.Move(60, 78, 120, 21);
    LNWLon.Move(60, 102, 120, 16);
    SELatDec.Move(196, 30, 120, 21);
    LSELat.Move(196, 54, 120, 16);
    SELonDec.Move(196, 78, 120, 21);
    LSELon.Move(196, 102, 120, 16);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(76, 134, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(172, 134, 80, 26);
}

void Frm_ModCad::Frm_ModCad_Form_Load() {
    SetCaption(Language == "US" ? "NW/SE point map" : "Points NW/SE carte");
    Old_Cal_Lat_Lon = {Proj_Lat_NW, Proj_Lon_NW, Proj_Lat_SE, Proj_Lon_SE};
    Cad_Lat_NW = Proj_Lat_NW;
    Cad_Lon_NW = Proj_Lon_NW;
    Cad_Lat_SE = Proj_Lat_SE;
    Cad_Lon_SE = Proj_Lon_SE;
    for (const Coord_Field& f : Coord_Corner_Fields(*this)) f.Show_Value();
    Frm_ModCad_Aff_Coord();
}

void Frm_ModCad::Frm_ModCad_Aff_Coord() {
    for (const Coord_Field& f : Coord_Corner_Fields(*this)) f.Show_Dms();
}

void Frm_ModCad::Frm_ModCad_Cmd_Ok_Click() {
    Cad_Frame_Input in;
    in.Lat_NW = Cad_Lat_NW;
    in.Lon_NW = Cad_Lon_NW;
    in.Lat_SE = Cad_Lat_SE;
    in.Lon_SE = Cad_Lon_SE;
    in.Px_NW_X = Proj_Px_NW_X;
    in.Px_NW_Y = Proj_Px_NW_Y;
    in.Px_SE_X = Proj_Px_SE_X;
    in.Px_SE_Y = Proj_Px_SE_Y;
    in.Width = Map_Width_Px;
    in.Height = Map_Height_Px;
    // A project whose pixel points are not in order (a damaged file) has no scale to keep:
    // refused, before the cells could be moved by a division by zero.
    if (!Cad_Accept(in)) return;
    Cad_Not_Confirmed = 0;
    Cad_Compute_Map_Edges(in);
    Proj_Lat_NW = Cad_Lat_NW;
    Proj_Lon_NW = Cad_Lon_NW;
    Proj_Lat_SE = Cad_Lat_SE;
    Proj_Lon_SE = Cad_Lon_SE;
    Cad_Compute_Map_Frame(in);
    Cad_Reindex_Cells();
    Unload();
}

void Frm_ModCad::Frm_ModCad_Cmd_Cancel_Click() { Unload(); }

Frm_ModCad& Frm_ModCad_Window() {
    static Frm_ModCad window;
    return window;
}

void Frm_ModCad_Show_Modal() {
    plat::Show_Modal(Frm_ModCad_Window(), plat::Loaded_Copy::Keep);
}
