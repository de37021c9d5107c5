// The set-up windows closed and their globals reset, and the folder picker and conversion window
// installed in core.
#include "setup/setup_reset.h"

#include "core/project_file.h"
#include "core/syst_folder.h"
#include "setup/frm_cadbmp.h"
#include "setup/frm_centermap.h"
#include "setup/frm_dir.h"
#include "setup/frm_modcad.h"
#include "setup/frm_pgen.h"
#include "setup/frm_ppro.h"
#include "setup/frm_v24.h"
#include "setup/setup_services.h"

namespace {
template <class F>
void Close(F& window) {
    if (window.Loaded()) window.ForceUnload();
}
}  // namespace

void Setup_Windows_Reset() {
    Close(Frm_PGen_Window());
    Close(Frm_PPro_Window());
    Close(Frm_ModCad_Window());
    Close(Frm_CenterMap_Window());
    Close(Frm_CadBmp_Window());
    Cad_Pending_Point = 0;
    Cad_Pic_Half_W = Cad_Pic_Half_H = 0;
    Cad_Map_Half_W = 0;
    Cad_Map_Half_H = 0;
    Cad_Off_X = Cad_Off_Y = 0;
    Cad_Scroll_Range_X = Cad_Scroll_Range_Y = 0;
    Cad_Scroll_Busy = 0;
    Cad_Last_Mouse_X = Cad_Last_Mouse_Y = 0;
    Cad_Tile_Count = Cad_Tile_Rows = Cad_Tile_Cols = 0;
    Center_Lat = Center_Lon = 0;
    Center_M_Per_Px_Lat = Center_M_Per_Px_Lon = 4.75;
    Proj_Step_Project_Done = Proj_Step_Map_Done = 0;
    PPro_Project_File.clear();
    PPro_Map_File.clear();
    PPro_Bgl_Base_Path.clear();
    PPro_Bgl_Excl_Path.clear();
    PPro_Scenery_Dir.clear();
    PPro_Raw_Dir.clear();
    PPro_Lc_Merge = PPro_Lc_Keep_Raw = 0;
    PPro_Alt_Unit_Feet = 0;
    PPro_Alt_Offset = 0;
    PPro_Cfs_Mode = 0;
    PGen_Editor_Path.clear();
}

void Setup_Connect_Core() {
    Ask_Conversion_Options = Frm_V24_Show_Modal;
    SYST_Set_Folder_Picker([](const std::string& title, std::string& folder) {
        Dir_Pick_Title = title;
        int16_t cancelled = 1;
        std::string chosen = folder;
        Frm_Dir_Choose(cancelled, chosen);
        if (cancelled != 0) return false;
        folder = chosen;
        return true;
    });
}
