#include "support/program_state.h"

#include "app/window_hooks.h"
#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst_draw.h"
#include "core/texture_convert.h"
#include "core/tiling.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/dialog_services.h"
#include "dialogs/frm_route.h"
#include "dialogs/frm_ima.h"
#include "dialogs/frm_lbmp.h"
#include "dialogs/frm_mesh.h"
#include "dialogs/frm_ptgrid.h"
#include "dialogs/frm_ref.h"
#include "dialogs/frm_wc.h"
#include "dialogs/reference_files.h"
#include "editor/editor_globals.h"
#include "editor/editor_reset.h"
#include "editor/editor_services.h"
#include "editor/line_display.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/frm_startup.h"
#include "editor/grid_points.h"
#include "editor/image_clicks.h"
#include "editor/line_tools.h"
#include "editor/map_tiles.h"
#include "generation/coast_stage.h"
#include "generation/work_tables.h"
#include "generation/writer_base.h"
#include "setup/setup_reset.h"
#include "setup/setup_services.h"
#include "simlink/frm_fsuipc.h"
#include "simlink/fsconnect_client.h"
#include "simlink/simlink_services.h"
#include "platform/atoms.h"
#include "platform/headless/headless_host.h"
#include "platform/number.h"
#include "platform/registry.h"

namespace testenv {

// Each module puts back what it declares; the order is the floors', lowest first, and within a
// floor windows are closed before their globals are cleared.
void ResetProgramState() {
    // core
    PSais_Init_Arrays();
    Project_Reset_Parameters();
    Coord_Text_Reset();
    Project_File_Reset();
    Settings_Reset();
    ERREUR_Reset();
    Tiling_Reset();
    Texture_Convert_Reset();
    SYST_Draw_Reset();
    // generation
    Coast_Pieces_Reset();
    Gen_Reset_Writer_Base();
    Work_Tables_Reset_All();
    // platform
    plat::SetDecimalSeparator('.');
    plat::RegistryClearForTest();
    plat::ResetAtoms();
    // editor
    Editor_Reset_Windows();
    Editor_Globals_Reset();
    Editor_Services_Reset();
    Map_View_Start_Values();
    Map_Tiles_Reset();
    Startup_Reset();
    plat::SetHost(nullptr);
    plat::DefaultHeadlessHost().Reset();
    Line_Display_Reset();
    Object_Modes_Reset();
    Line_Tools_Reset();
    Grid_Points_Reset();
    Image_Clicks_Reset();
    // windows
    Simlink_Services_Reset();
    Simlink_Reset();
    FSConnect_Reset();
    Setup_Services_Reset();
    Setup_Windows_Reset();
    Dialog_Services_Reset();
    Frm_Ref_Reset();
    Frm_Route_Reset();
    Reference_Files_Reset();
    Frm_WC_Reset();
    Frm_LBmp_Reset();
    Frm_Mesh_Reset();
    Frm_PtGrid_Reset();
    Frm_Ima_Reset();
    // Last, the windows back in the editor's hooks, as the program's start wires them.
    Window_Hooks_Connect();
}

}  // namespace testenv
