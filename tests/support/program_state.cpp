#include "support/program_state.h"

#include "app/window_hooks.h"
#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/texture_convert.h"
#include "core/tiling.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_route.h"
#include "dialogs/frm_ima.h"
#include "dialogs/frm_lbmp.h"
#include "dialogs/frm_mesh.h"
#include "dialogs/frm_ptgrid.h"
#include "editor/editor_globals.h"
#include "editor/editor_reset.h"
#include "editor/mouse_status.h"
#include "editor/line_display.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/frm_startup.h"
#include "editor/grid_points.h"
#include "editor/image_clicks.h"
#include "editor/line_tools.h"
#include "generation/generation_services.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "setup/setup_reset.h"
#include "setup/setup_services.h"
#include "simlink/frm_fsuipc.h"
#include "simlink/simlink_services.h"
#include "platform/atoms.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "platform/registry.h"

namespace testenv {
namespace {

void Reset_Project_Parameters() {
    Project_File.clear();
    Project_Open = 0;
    Map_File.clear();
    Map_Width_Px = Map_Height_Px = 0;
    Map_Top_Lat = Map_Left_Lon = Map_Bottom_Lat = Map_Right_Lon = 0;
    Proj_Lat_NW = Proj_Lon_NW = Proj_Lat_SE = Proj_Lon_SE = 0;
    Map_Lat_North = Map_Lon_West = Map_Lat_South = Map_Lon_East = 0;
    Proj_Px_NW_X = Proj_Px_NW_Y = Proj_Px_SE_X = Proj_Px_SE_Y = 0;
    Map_Px_West = Map_Px_North = Map_Px_East = Map_Px_South = 0;
    Proj_NW_Set = Proj_SE_Set = 0;
    Grid_Corner_Cells.fill(0);
    Grid_Frame_Cells.fill(0);
    Lc_Merge = Lc_Keep_Raw = 0;
    Raw_Dir.clear();
    Scenery_Dir.clear();
    Bgl_Base_Path.clear();
    Bgl_Excl_Path.clear();
    Tile_Count = Tile_Rows = Tile_Cols = 0;
    Alt_Unit_Feet = 0;
    Alt_Offset = 0;
    Cfs_Mode = 0;
    Old_Cal_Lat_Lon.fill(0);
    Language = "FR";
    Route_Attrib_Cur = Route_Attrib{};
    Route_Attrib_Result = Route_Attrib{};
}

void Reset_Resource_Tables() {
    Line_Type_Table.Erase();
    Line_Type_Count = 0;
    Park_Table.Erase();
    Park_Count = 0;
    Line_Type_Loaded = Park_Loaded = 0;
    Land_Class_Table.Erase();
    Land_Class_Count = 0;
    Land_Class_Loaded = 0;
}

void Reset_Scanner() {
    Scan_Line.clear();
    Scan_Length = 0;
    Scan_Pos = 1;
    Scan_Token.clear();
}

void Reset_Service_Globals() {
    Coast_Count = 0;
    Coast_Piece_Table.Erase();
    Coast_Piece_Points.Erase();

    PGen_Language.clear();
    PGen_Fs_Dir.clear();
    PGen_Texture_Dir.clear();
    Proj_New = Proj_Accepted = 0;
    Cad_Not_Confirmed = 0;
    Cad_Lat_NW = Cad_Lon_NW = Cad_Lat_SE = Cad_Lon_SE = 0;
    Cad_Px_NW_X = Cad_Px_NW_Y = Cad_Px_SE_X = Cad_Px_SE_Y = 0;
    Cad_NW_Set = Cad_SE_Set = 0;
    Cad_Map_Width = Cad_Map_Height = 0;
    Conv_Adapt_Lines = Conv_Line_Layers = Conv_Poly_Layers = Conv_Excl_Layers = 0;
    Conv_Not_Confirmed = 0;
    Dir_Pick_Title.clear();
    Dir_Pick_Path.clear();
    Dir_Pick_Cancelled = 0;

    Route_Dlg_Cancelled = Route_Dlg_Loading = 0;
    Lwm_Cell_Cur = Lwm_Cell_Rec{};
    Lod8_Cell_Cur = Lod8_Cell_Rec{};
    Excl_Cell_Cur = Excl_Cell_Rec{};
    Lc_Cell_Cur = Class_Cell_Rec{};
    Wc_Cell_Cur = Class_Cell_Rec{};
    Area_Dlg_Cancelled = Excl_Dlg_Cancelled = Lc_Dlg_Cancelled = Wc_Dlg_Cancelled = 0;
    Area_Dlg_Index = Excl_Dlg_Index = Lc_Dlg_Index = Wc_Dlg_Index = 0;
    Area_Dlg_Loading = Lc_Dlg_Loading = Wc_Dlg_Loading = 0;
    Edit_Mode.clear();
    Ima_Dlg_Cancelled = Grid_Dlg_Cancelled = 0;
    Image_Cur = Image_Rec{};
    Cur_Image = Cur_Grid_Point = 0;
    Bitmap_Browser_Cancelled = Bitmap_Browser_Chosen = 0;
    Bitmap_Browser_Path.clear();
    Bitmap_Browser_Width = Bitmap_Browser_Height = 0;
    Last_Bitmap_Folder.clear();

    Sim_Line_Made = 0;
}

}  // namespace

void ResetProgramState() {
    PSais_Init_Arrays();
    Reset_Project_Parameters();
    Reset_Resource_Tables();
    Reset_Scanner();
    Reset_Service_Globals();
    Gen_Reset_Writer_Base();
    ERREUR_Reset();
    plat::SetDecimalSeparator('.');
    plat::RegistryClearForTest();
    plat::ResetAtoms();
    Simlink_Reset();
    Tile_Size = 2000;
    Fs5_Palette = Servitudes_Grey_Palette();
    Temp_Tex_Bmp.clear();
    Temp_Ima_Bmp.clear();
    Project_File_Reset();
    Settings_Reset();
    Work_Tables_Reset_All();
    Editor_Reset_Windows();
    Map_View_Start_Values();
    Startup_Reset();
    plat::SetHost(nullptr);
    plat::DefaultHeadlessHost().Reset();
    Line_Display_Reset();
    Mouse_Status_Reset();
    Object_Modes_Reset();
    Setup_Windows_Reset();
    Frm_Route_Reset();
    Cell_Dialogs_Reset();
    Frm_LBmp_Reset();
    Frm_Mesh_Reset();
    Frm_PtGrid_Reset();
    Line_Tools_Reset();
    Grid_Points_Reset();
    Frm_Ima_Reset();
    Image_Clicks_Reset();
    // Other subsystems' resets follow here.

    // Last, the windows back in the editor's hooks, as the program's start wires them.
    Window_Hooks_Connect();
}

}  // namespace testenv
