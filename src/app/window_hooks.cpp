// The hooks of the editor filled with the set-up windows, the object dialogs and the simulator
// link window.
#include "app/window_hooks.h"

#include "dialogs/frm_excl.h"
#include "dialogs/frm_ima.h"
#include "dialogs/frm_lc.h"
#include "dialogs/frm_lod.h"
#include "dialogs/frm_lod8.h"
#include "dialogs/frm_mesh.h"
#include "dialogs/frm_ptgrid.h"
#include "dialogs/frm_route.h"
#include "dialogs/frm_wc.h"
#include "editor/display_toggles.h"
#include "editor/grid_points.h"
#include "editor/image_clicks.h"
#include "editor/line_tools.h"
#include "editor/object_modes.h"
#include "editor/project_commands.h"
#include "setup/frm_cvll1.h"
#include "setup/frm_modcad.h"
#include "setup/frm_pgen.h"
#include "setup/frm_ppro.h"
#include "setup/setup_reset.h"
#include "setup/setup_services.h"
#include "simlink/frm_fsuipc.h"
#include "simlink/simlink_services.h"

void Cell_Dialogs_Connect() {
    Object_Mode_Dialogs.Show_Excl_Area = [] { Frm_Excl_Show_Modal(); };
    Object_Mode_Dialogs.Show_Lwm_Area = [] { Frm_LOD_Show_Modal(); };
    Object_Mode_Dialogs.Show_Lod8_Cell = [] { Frm_LOD8_Show_Modal(); };
    Object_Mode_Dialogs.Show_Land_Class = [] { Frm_LC_Show_Modal(); };
    Object_Mode_Dialogs.Show_Water_Class = [] { Frm_WC_Show_Modal(); };
}

void Frm_Mesh_Connect() { Object_Mode_Dialogs.Show_Remesh_Level = [] { Frm_Mesh_Show_Modal(); }; }

void Frm_PtGrid_Connect() { Grid_Point_Dialogs.Show_Altitude = [] { Frm_PtGrid_Show_Modal(); }; }

void Frm_Ima_Connect() { Image_Click_Dialogs.Show_Image = [] { Frm_Ima_Show_Modal(); }; }

void Window_Hooks_Connect() {
    Cell_Dialogs_Connect();
    Frm_Mesh_Connect();
    Frm_PtGrid_Connect();
    Frm_Ima_Connect();
    Line_Tool_Dialogs.Show_Route_Attributes = [] { Frm_Route_Show_Modal(); };
    Display_Toggle_Dialogs.Show_Sim_Link = [] {
        Sim_Line_Made = 0;
        Frm_FSUIPC_Window().Show(plat::Modeless);
    };

    Project_Command_Windows& p = Project_Command_Dialogs;
    p.Show_New_Project = [] {
        Proj_Accepted = 0;
        Frm_PPro_Show_Modal();
        return Proj_Accepted != 0;
    };
    p.Show_Project_Parameters = [] { Frm_PPro_Show_Modal(); };
    p.Show_General_Parameters = [] { Frm_PGen_Show_Modal(); };
    p.Show_Map_Calibration = [] {
        Cad_Not_Confirmed = 1;
        Frm_ModCad_Show_Modal();
    };
    p.Show_Lat_Lon_Conversion = [] { Frm_CvLL1_Show_Modal(); };
    p.Forget_Picked_Folder = [] { Dir_Pick_Path.clear(); };

    Setup_Connect_Core();
}
