// The map step of the project parameters window: the map bitmap, its tiles, the two ways of
// calibrating it and the corner coordinates and pixel sizes that result.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/geometry.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/syst.h"
#include "core/syst_bmp.h"
#include "core/tiling.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/host.h"
#include "setup/frm_cadbmp.h"
#include "setup/frm_centermap.h"
#include "setup/frm_ppro.h"
#include "setup/setup_services.h"

namespace {

// The tiler's progress display on the window's own frame and labels.
class PPro_Progress final : public Tiling_Progress_Window {
public:
    explicit PPro_Progress(Frm_PPro& f) : f_(f) {}
    void Set_LTex2500(const std::string& caption) override { f_.LTex2500.SetCaption(caption); }
    void Set_LPourCent(const std::string& caption) override { f_.LPourCent.SetCaption(caption); }
    void Set_LNbTex(const std::string& caption) override { f_.LNbTex.SetCaption(caption); }
    void Show_Fram_Creat_2500(bool visible) override { f_.Fram_Creat_2500.SetVisible(visible); }
    void Refresh() override { plat::CurrentHost().Refresh(f_); }

private:
    Frm_PPro& f_;
};

// False, after the box the Open command shows, when the map was not tiled: the calibration
// would show no map (a map changed or damaged since it was chosen, tiles that cannot be written).
bool Split_Map(Frm_PPro& f) {
    PPro_Progress progress(f);
    int16_t error = 0;
    Com_Split_Map_Bitmap(progress, PPro_Map_File, error);
    if (error == Tiling_Done) return true;
    Project_Report_Tiling_Error(error, PPro_Map_File);
    return false;
}

// Width and height from the bitmap's information header; false when the file is too short.
bool Read_Map_Size(const std::string& path, int32_t& width, int32_t& height) {
    std::vector<uint8_t> header;
    if (!plat::ReadBinaryRange(path, 14, 40, header)) return false;
    width = static_cast<int32_t>(plat::GetU32(&header[4]));
    height = static_cast<int32_t>(plat::GetU32(&header[8]));
    // A bitmap stored top row first has a negative height; its size is the same.
    if (height < 0 && height != INT32_MIN) height = -height;
    return true;
}

// Metres rounded to three decimals, halves up, as trimmed text.
std::string Metres_Text(double m) { return SYST_To_Text(std::floor((m + 0.0005) * 1000) / 1000); }

}  // namespace

void Frm_PPro::Frm_PPro_Carte_DblClick() {
    const bool us = Language == "US";
    for (;;) {
        if (!Choose_File(us ? "Map File" : "Carte", "BMP (*.Bmp)|*.Bmp", false)) return;
        const std::string chosen = CM.FileName;
        if (!plat::PathExists(chosen)) {
            Msg_Answer = ERREUR_Show_Message(1);
            continue;
        }
        Carte.SetCaption(chosen);
        uint8_t rejected = 1;
        SYST_Check_Bmp(chosen, rejected);
        int32_t width = 0, height = 0;
        if (rejected != 0 || !Read_Map_Size(chosen, width, height) || width <= 0 || height <= 0) {
            Msg_Answer = ERREUR_Show_Message(10);
            continue;
        }
        Cad_Map_Width = width;
        Cad_Map_Height = height;
        PPro_Map_File = Carte.Caption();
        Cad_Px_NW_X = 0;
        Cad_Px_NW_Y = 0;
        Cad_NW_Set = 1;
        Cad_Px_SE_X = width - 1;
        Cad_Px_SE_Y = height - 1;
        Cad_SE_Set = 1;
        Cad_Lat_NW = Cad_Lon_NW = Cad_Lat_SE = Cad_Lon_SE = 0;
        Center_M_Per_Px_Lat = 4.75;
        Center_M_Per_Px_Lon = 4.75;
        // The previous map's calibration does not fit this one: Next waits for a new one.
        Cmd_Next_Carte.SetEnabled(false);
        return;
    }
}

void Frm_PPro::Frm_PPro_Cmd_CadCarte_Click() {
    if (PPro_Map_File.empty()) {
        Msg_Answer = ERREUR_Show_Message(107);
        return;
    }
    if (!Split_Map(*this)) return;
    Cad_Not_Confirmed = 1;
    Frm_CadBmp_Show_Modal();
    if (Cad_Not_Confirmed == 1) return;
    if (Cad_NW_Set == 1 && Cad_SE_Set == 1) Cmd_Next_Carte.SetEnabled(true);
    Frm_PPro_Show_Calibration();
}

void Frm_PPro::Frm_PPro_Cmd_CenterMap_Click() {
    if (PPro_Map_File.empty()) {
        Msg_Answer = ERREUR_Show_Message(107);
        return;
    }
    // More tiles than the project can count: told before the tiler, which refuses such a map too.
    int32_t cols = 0, rows = 0;
    Com_Tile_Grid(Cad_Map_Width, Cad_Map_Height, cols, rows);
    if (static_cast<int64_t>(cols) * rows > 32767) {
        Msg_Answer = ERREUR_Show_Message(10);
        return;
    }
    if (!Split_Map(*this)) return;
    Cad_Tile_Cols = static_cast<int16_t>(cols);
    Cad_Tile_Rows = static_cast<int16_t>(rows);
    Cad_Tile_Count = static_cast<int16_t>(cols * rows);
    Cad_Not_Confirmed = 1;
    Frm_CenterMap_Show_Modal();
    if (Cad_Not_Confirmed == 1) return;
    Cmd_Next_Carte.SetEnabled(true);
    Frm_PPro_Show_Calibration();
}

void Frm_PPro::Frm_PPro_Cmd_Next_Carte_Click() {
    if (PPro_Map_File.empty() || Cad_NW_Set == 0 || Cad_SE_Set == 0) return;
    Cmd_Next_Carte.SetEnabled(false);
    Fram_Carte.SetEnabled(false);
    Fram_Bgl.SetEnabled(true);
    Proj_Step_Map_Done = 1;
}

void Frm_PPro::Frm_PPro_Show_Calibration() {
    L_LatNW_Dec.SetCaption(SYST_To_Text(Cad_Lat_NW));
    L_latSE_Dec.SetCaption(SYST_To_Text(Cad_Lat_SE));
    L_LonNW_Dec.SetCaption(SYST_To_Text(Cad_Lon_NW));
    L_LonSE_Dec.SetCaption(SYST_To_Text(Cad_Lon_SE));
    L_LatNW.SetCaption(Com_Format_Lat_Dms(Cad_Lat_NW));
    L_LatSE.SetCaption(Com_Format_Lat_Dms(Cad_Lat_SE));
    L_LonNW.SetCaption(Com_Format_Lon_Dms(Cad_Lon_NW));
    L_LonSE.SetCaption(Com_Format_Lon_Dms(Cad_Lon_SE));
    const int64_t rows = static_cast<int64_t>(Cad_Px_SE_Y) - Cad_Px_NW_Y;
    const int64_t cols = static_cast<int64_t>(Cad_Px_SE_X) - Cad_Px_NW_X;
    // Points on one row or column (a damaged project) have no pixel size to show.
    if (rows != 0) {
        const double m = SysFS_Lat_Deg_To_Metres(std::fabs(Cad_Lat_SE - Cad_Lat_NW) / static_cast<double>(rows));
        DV2Pix.SetCaption(Metres_Text(m));
    } else {
        DV2Pix.SetCaption("");
    }
    if (cols != 0) {
        const double m = SysFS_Lon_Deg_To_Metres((Cad_Lat_NW + Cad_Lat_SE) / 2,
                                                 std::fabs(Cad_Lon_SE - Cad_Lon_NW) / static_cast<double>(cols));
        DH2Pix.SetCaption(Metres_Text(m));
    } else {
        DH2Pix.SetCaption("");
    }
}

void Frm_PPro::Design_Map_Step() {
    Fram_Carte.Move(8, 70, 640, 170);
    Place(L_Carte, Fram_Carte, 10, 24, 60, 16);
    Place(Carte, Fram_Carte, 74, 22, 440, 20);
    Carte.SetBorderStyle(1);
    Place(Cmd_CadCarte, Fram_Carte, 10, 50, 220, 26);
    Place(Cmd_CenterMap, Fram_Carte, 240, 50, 220, 26);
    Place(Cmd_Next_Carte, Fram_Carte, 530, 50, 100, 26);
    Label2.SetCaption("NW Point");
    Place(Label2, Fram_Carte, 80, 88, 200, 16);
    Label6.SetCaption("SE Point");
    Place(Label6, Fram_Carte, 350, 88, 200, 16);
    Label5.SetCaption("Lat:");
    Place(Label5, Fram_Carte, 10, 112, 60, 16);
    Label7.SetCaption("Lon:");
    Place(Label7, Fram_Carte, 10, 138, 60, 16);
    Place(L_LatNW, Fram_Carte, 80, 112, 130, 16);
    Place(L_LatNW_Dec, Fram_Carte, 214, 112, 120, 16);
    Place(L_LonNW, Fram_Carte, 80, 138, 130, 16);
    Place(L_LonNW_Dec, Fram_Carte, 214, 138, 120, 16);
    Place(L_LatSE, Fram_Carte, 350, 112, 130, 16);
    Place(L_latSE_Dec, Fram_Carte, 484, 112, 120, 16);
    Place(L_LonSE, Fram_Carte, 350, 138, 130, 16);
    Place(L_LonSE_Dec, Fram_Carte, 484, 138, 120, 16);

    Frame2.Move(8, 246, 640, 50);
    Place(LDV2Pix, Frame2, 10, 22, 180, 16);
    Place(DV2Pix, Frame2, 194, 22, 80, 16);
    Label11.SetCaption("(m)");
    Place(Label11, Frame2, 278, 22, 30, 16);
    Place(LDH2Pix, Frame2, 330, 22, 180, 16);
    Place(DH2Pix, Frame2, 514, 22, 80, 16);
    Label12.SetCaption("(m)");
    Place(Label12, Frame2, 598, 22, 30, 16);
}
