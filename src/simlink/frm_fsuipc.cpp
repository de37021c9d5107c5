// The aircraft-following window: the link check and status light, the cross on the map, and the
// recorded track appended as a new line.
#include "simlink/frm_fsuipc.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/project.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "platform/host.h"
#include "platform/text.h"
#include "simlink/fsconnect_client.h"
#include "simlink/simlink_services.h"

namespace {

constexpr plat::Colour kRed = 255;
constexpr plat::Colour kGreen = 65280;
constexpr int kTwipsPerPixel = 15;
constexpr int kCrossHalf = 15;

// Rounded as a float, as the cross always was; a position far off the picture is held at its
// side there (the cross stays invisible) instead of leaving int.
int Pixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::lround(static_cast<float>(std::clamp(v, -1e9, 1e9))));
}

// The attributes a recorded track starts with: a land-class line on layer 16.
// The recording's own growth steps of the line and point tables.
constexpr int32_t kRecorded_Line_Growth = 5;
constexpr int32_t kRecorded_Point_Growth = 20;

void Set_Recorded_Attributes(Route_Attrib& a) {
    a.Attrib = 0;
    a.Alti = -9999;
    a.SurfShore = 2;
    a.Largeur = 63;
    a.Line_Type() = 1024;
    a.LandOnRight = 1;
    a.FermerLine = 0;
    a.Layer = 16;
    a.Text_Rt.clear();
    a.Imbrication.clear();
    a.Linked_Image() = 0;
    a.LWM_VTP2 = 0;
    a.Texture_Source() = 0;
    a.LC_Code = 135;
    a.Layer_Vtp2 = 7;
    a.Line_Night = 0;
    a.Effil_Deb = 0;
    a.Effil_Fin = 0;
    a.VTP1_SpecNor = 0;
    a.Flip_VTP1Texture = 1;
    a.Meter_Feet = 0;
    for (auto& name : a.Texture_Name) name.clear();
}

}  // namespace

Frm_FSUIPC::Frm_FSUIPC() : Form("Frm_FSUIPC") {
    Form_Load = [this] { Frm_FSUIPC_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_FSUIPC_Form_Unload(cancel); };
    Timer1.Tick = [this] { Frm_FSUIPC_Timer1_Timer(); };
    Chk_Show_Position.Click = [this] { Frm_FSUIPC_Chk_Show_Position_Click(); };
    Cmd_start.Click = [this] { Frm_FSUIPC_Cmd_start_Click(); };
    Cmd_Stop.Click = [this] { Frm_FSUIPC_Cmd_Stop_Click(); };
    Cmd_Quit.Click = [this] { Frm_FSUIPC_Cmd_Quit_Click(); };
}

void Frm_FSUIPC::Design() {
    SetCaption("FS connexion");
    BorderStyle = 4;
    Move(0, 0, 190, 150);
    Chk_Show_Position.SetCaption("Show location");
    Chk_Show_Position.Move(10, 10, 130, 20);
    FeuVert.SetShapeKind(plat::Shape_Circle);
    FeuVert.SetFillStyle(plat::FS_Solid);
    FeuVert.Move(148, 6, 450 / kTwipsPerPixel, 450 / kTwipsPerPixel);
    Cmd_start.SetCaption("New line");
    Cmd_start.Move(10, 42, 80, 26);
    Cmd_Stop.SetCaption("End of line");
    Cmd_Stop.Move(98, 42, 80, 26);
    Cmd_Quit.SetCaption("Quit");
    Cmd_Quit.Move(54, 110, 80, 26);
    Timer1.SetInterval(750);
    Timer1.SetEnabled(false);
}

void Frm_FSUIPC::Set_Light(plat::Colour colour) {
    FeuVert.SetBorderColor(colour);
    FeuVert.SetFillColor(colour);
}

void Frm_FSUIPC::UnloadFSUIPC() {
    if (Timer1.Enabled()) Timer1.SetEnabled(false);
}

void Frm_FSUIPC::Frm_FSUIPC_Form_Load() {
    Frm_Window().SetVisible(false);
    Move(0, 1000 / kTwipsPerPixel, Width(), Height());
    Chk_Show_Position.SetValue(0);
    Cmd_Stop.SetEnabled(false);
    Cmd_start.SetEnabled(false);
    Sim_Over_Map = 0;
    Sim_Recording = 0;
    Set_Light(kRed);
    Timer1.SetEnabled(true);
}

void Frm_FSUIPC::Com_Read_FSconnect(int16_t& status) {
    std::string name, rest;
    int32_t first = 0, second = 0;
    status = FSConnect_Get_Info(name, rest, first, second);
    if (status != 0) {
        plat::CurrentHost().MsgBox("Error communicating with FSConnect : " + plat::Str(status), plat::MB_OK, "Tessaline");
        return;
    }
    double latitude = 0, longitude = 0;
    fscGetLatitude(latitude);
    fscGetLongitude(longitude);

    Frm& main = Frm_Window();
    // Without a calibration there is no map place: the aircraft counts as outside.
    const bool calibrated = Map_Right_Lon != Map_Left_Lon && Map_Bottom_Lat != Map_Top_Lat;
    double px = 0, py = 0, sx = 0, sy = 0;
    if (calibrated) {
        px = (longitude - Map_Left_Lon) * (Map_Width_Px - 1) / (Map_Right_Lon - Map_Left_Lon);
        py = (latitude - Map_Top_Lat) * (Map_Height_Px - 1) / (Map_Bottom_Lat - Map_Top_Lat);
        PSais_Map_To_Picture(px, py, sx, sy);
    }
    const bool inside = calibrated && latitude >= Map_Lat_South && latitude <= Map_Lat_North &&
                        longitude >= Map_Lon_West && longitude <= Map_Lon_East;
    if (inside) {
        if (Chk_Show_Position.Value() == 1) {
            main.Croix1.SetPoints(Pixel(sx - kCrossHalf), Pixel(sy), Pixel(sx + kCrossHalf), Pixel(sy));
            main.Croix2.SetPoints(Pixel(sx), Pixel(sy - kCrossHalf), Pixel(sx), Pixel(sy + kCrossHalf));
            main.Croix1.SetVisible(true);
            main.Croix2.SetVisible(true);
        }
        if (Sim_Over_Map == 0) {
            Sim_Over_Map = 1;
            Set_Light(kGreen);
            Sim_Recording = 0;
            Cmd_start.SetEnabled(true);
            Cmd_start.SetFocus();
        } else if (Sim_Recording == 1) {
            Append_Point(px, py);
        }
    } else {
        main.Croix1.SetVisible(false);
        main.Croix2.SetVisible(false);
        if (Sim_Over_Map != 0) {
            Sim_Recording = 0;
            Sim_Over_Map = 0;
            Set_Light(kRed);
            Cmd_start.SetEnabled(false);
            Cmd_Stop.SetEnabled(false);
        }
    }
    status = 0;
}

void Frm_FSUIPC::Append_Point(double px, double py) {
    // Chained to the line's own last point: the main window may have moved Cur_Point.
    const int32_t id = Project_Append_Point(Line_Count, px, py, kRecorded_Point_Growth);
    if (id != 0) Cur_Point = id;
}

void Frm_FSUIPC::Frm_FSUIPC_Timer1_Timer() {
    int16_t status = 0;
    Com_Read_FSconnect(status);
    if (status != 0) Unload();
}

void Frm_FSUIPC::Frm_FSUIPC_Chk_Show_Position_Click() {
    Frm_Window().SetVisible(Chk_Show_Position.Value() == 1);
}

void Frm_FSUIPC::Frm_FSUIPC_Cmd_start_Click() {
    Sim_Recording = 1;
    Route_Attrib attr;
    Set_Recorded_Attributes(attr);
    Cur_Line = Project_Append_Line(attr, kRecorded_Line_Growth);
    Sim_Line_Made = 1;
    Cmd_start.SetEnabled(false);
    Cmd_Stop.SetEnabled(true);
    Cmd_Stop.SetFocus();
}

void Frm_FSUIPC::Frm_FSUIPC_Cmd_Stop_Click() {
    Sim_Recording = 0;
    Cmd_Stop.SetEnabled(false);
    Cmd_start.SetEnabled(true);
}

void Frm_FSUIPC::Frm_FSUIPC_Cmd_Quit_Click() { Unload(); }

void Frm_FSUIPC::Frm_FSUIPC_Form_Unload(bool& cancel) {
    (void)cancel;
    UnloadFSUIPC();
    Frm& main = Frm_Window();
    PSais_Enable_Line_Tools();
    PSais_Set_Mode(Object_Mode::Lines);
    if (Sim_Line_Made == 1 && Line_Table.In_Range(Line_Count) && Line_Table(Line_Count).Nb_Points > 1) Line_Selected = 1;
    main.Croix1.SetVisible(false);
    main.Croix2.SetVisible(false);
    main.SetVisible(true);
    PSais_Redraw_Map();
    main.Pic.SetMousePointer(plat::Pointer_Cross);
    main.Pic.Refresh();
}

Frm_FSUIPC& Frm_FSUIPC_Window() {
    static Frm_FSUIPC window;
    return window;
}

void Simlink_Reset() {
    Frm_FSUIPC& w = Frm_FSUIPC_Window();
    if (w.Loaded()) w.ForceUnload();
    Sim_Over_Map = Sim_Recording = 0;
}
