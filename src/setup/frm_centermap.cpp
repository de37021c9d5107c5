// Calibration from the map centre and the ground size of a pixel.
#include "setup/frm_centermap.h"

#include <cmath>
#include <cstdint>

#include "core/project.h"
#include "platform/text.h"
#include "setup/map_frame.h"
#include "setup/setup_services.h"
#include "platform/ui/modal.h"

namespace {

constexpr double Metres_Per_Lat_Degree = 111164.75;
constexpr double Metres_Per_Lon_Degree = 111319.444;
constexpr double Pi = 3.14159265358979;

// The ground size of a pixel if the working points lay on the bitmap's corners; 0 when the
// working calibration has no extent (right after a map choice) or the bitmap is one pixel.
double Proposed_Size(double metres, int32_t pixels) {
    const double span = static_cast<double>(static_cast<int64_t>(pixels) - 1);
    if (span <= 0) return 0;
    const double v = metres / span;
    return std::isfinite(v) ? v : 0;
}

}  // namespace

Frm_CenterMap::Frm_CenterMap() : Form("Frm_CenterMap") {
    Form_Load = [this] { Frm_CenterMap_Form_Load(); };
    Cmd_Ok.Click = [this] { Frm_CenterMap_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_CenterMap_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_CenterMap_Cmd_Help_Click(); };
    for (const Coord_Field& f : Fields()) f.Wire();
}

std::array<Coord_Field, 4> Frm_CenterMap::Fields() {
    return {{{LatDecCenter, Coord_Kind::Latitude, Center_Lat, &LLatCenter},
             {LonDecCenter, Coord_Kind::Longitude, Center_Lon, &LLonCenter},
             {NbM_Per_Pixel_Lat, Coord_Kind::Metres_Per_Pixel, Center_M_Per_Px_Lat, nullptr},
             {NbM_Per_Pixel_Lon, Coord_Kind::Metres_Per_Pixel, Center_M_Per_Px_Lon, nullptr}}};
}

void Frm_CenterMap::Design() {
    BorderStyle = 3;
    Move(0, 0, 400, 250);
    L_CoordMap.Move(12, 10, 240, 16);
    Label3.SetCaption("Lat:");
    Label3.Move(12, 34, 40, 16);
    LatDecCenter.Move(56, 30, 110, 21);
    LLatCenter.Move(176, 34, 140, 16);
    Label4.SetCaption("Lon:");
    Label4.Move(12, 62, 40, 16);
    LonDecCenter.Move(56, 58, 110, 21);
    LLonCenter.Move(176, 62, 140, 16);
    L_Meter_Pixel.Move(12, 94, 240, 16);
    Label7.SetCaption("Lat:");
    Label7.Move(12, 118, 40, 16);
    NbM_Per_Pixel_Lat.Move(56, 114, 110, 21);
    Label5.SetCaption("Lon:");
    Label5.Move(12, 146, 40, 16);
    NbM_Per_Pixel_Lon.Move(56, 142, 110, 21);
    Label1.SetCaption("Bitmap ");
    Label1.Move(200, 94, 180, 16);
    Label2.SetCaption("Pixels  Lat. :");
    Label2.Move(200, 118, 90, 16);
    L_Pix_Lat.Move(296, 118, 90, 16);
    Label6.SetCaption("Pixels  Lon. :");
    Label6.Move(200, 146, 90, 16);
    L_Pix_Lon.Move(296, 146, 90, 16);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(84, 200, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(176, 200, 80, 26);
    Cmd_Help.SetCaption("?");
    Cmd_Help.Move(268, 200, 40, 26);
}

void Frm_CenterMap::Frm_CenterMap_Form_Load() {
    L_Pix_Lat.SetCaption(plat::Trim(std::to_string(Cad_Map_Height)));
    L_Pix_Lon.SetCaption(plat::Trim(std::to_string(Cad_Map_Width)));
    const bool us = Language == "US";
    SetCaption(us ? "Map center coordinates" : "Coordonnées du centre de la carte");
    L_CoordMap.SetCaption(us ? "Center coordinates" : "Coordonnées du centre");
    L_Meter_Pixel.SetCaption(us ? "Meters per pixel" : "Mètres par pixel");

    Center_Lat = (Cad_Lat_NW + Cad_Lat_SE) / 2;
    Center_Lon = (Cad_Lon_NW + Cad_Lon_SE) / 2;

    // A proposal, when there is one, is also what OK uses, so that the boxes show the sizes
    // the calibration will take; without one the boxes show the sizes kept from before.
    const double lat_size = Proposed_Size((Cad_Lat_NW - Cad_Lat_SE) * Metres_Per_Lat_Degree, Cad_Map_Height);
    const double lon_size = Proposed_Size(
        (Cad_Lon_SE - Cad_Lon_NW) * Metres_Per_Lon_Degree * std::cos(Center_Lat * Pi / 180), Cad_Map_Width);
    if (lat_size > 0) Center_M_Per_Px_Lat = lat_size;
    if (lon_size > 0) Center_M_Per_Px_Lon = lon_size;
    for (const Coord_Field& f : Fields()) {
        f.Show_Value();
        f.Show_Dms();
    }
}

void Frm_CenterMap::Frm_CenterMap_Cmd_Ok_Click() {
    const int64_t h = static_cast<int64_t>(Cad_Map_Height) - 1;
    const int64_t w = static_cast<int64_t>(Cad_Map_Width) - 1;
    Cad_Frame_Input in;
    const double d = static_cast<double>(h) * Center_M_Per_Px_Lat / Metres_Per_Lat_Degree / 2;
    in.Lat_NW = Center_Lat + d;
    in.Lat_SE = Center_Lat - d;
    const double c = std::cos(Center_Lat * Pi / 180);
    const double e = static_cast<double>(w) / 2 * Center_M_Per_Px_Lon / (c * Metres_Per_Lon_Degree);
    in.Lon_NW = Center_Lon - e;
    in.Lon_SE = Center_Lon + e;
    in.Px_SE_X = static_cast<int32_t>(w);
    in.Px_SE_Y = static_cast<int32_t>(h);
    in.Width = Cad_Map_Width;
    in.Height = Cad_Map_Height;
    // A bitmap one pixel wide or high gives a calibration without extent, refused like points
    // out of order; near a pole the metres per pixel reach past it.
    if (!Cad_Accept(in)) return;

    Cad_Not_Confirmed = 0;
    Cad_Lat_NW = in.Lat_NW;
    Cad_Lat_SE = in.Lat_SE;
    Cad_Lon_NW = in.Lon_NW;
    Cad_Lon_SE = in.Lon_SE;
    Map_Top_Lat = Cad_Lat_NW;
    Map_Bottom_Lat = Cad_Lat_SE;
    Map_Left_Lon = Cad_Lon_NW;
    Map_Right_Lon = Cad_Lon_SE;
    Cad_Px_NW_X = 0;
    Cad_Px_NW_Y = 0;
    Cad_Px_SE_X = in.Px_SE_X;
    Cad_Px_SE_Y = in.Px_SE_Y;
    // Both points now stand on the corners, also after a cancelled two-point calibration put
    // back unset ones; the project window's next step relies on them.
    Cad_NW_Set = 1;
    Cad_SE_Set = 1;
    Cad_Compute_Map_Frame(in);
    Unload();
}

void Frm_CenterMap::Frm_CenterMap_Cmd_Cancel_Click() { Unload(); }

Frm_CenterMap& Frm_CenterMap_Window() {
    static Frm_CenterMap window;
    return window;
}

void Frm_CenterMap_Show_Modal() {
    plat::Show_Modal(Frm_CenterMap_Window(), plat::Loaded_Copy::Keep);
}
