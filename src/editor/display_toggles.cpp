// Tool-bar buttons that flip the map, textures or grid and redraw; help, grid colour, sim link.
#include "editor/display_toggles.h"

#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_colourgrid.h"
#include "editor/line_tools.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "platform/host.h"
#include "platform/ui/modal.h"

Display_Toggle_Windows Display_Toggle_Dialogs;

namespace {

void Flip_And_Redraw(int16_t& flag) {
    flag = flag == 0 ? 1 : 0;
    PSais_Redraw_Map();
    Focus_Map();
}

}  // namespace

void Frm_Cmd_AffBmp_Click() { Flip_And_Redraw(Map_Shown); }
void Frm_Cmd_AffTexture_Click() { Flip_And_Redraw(Textures_Shown); }
void Frm_Cmd_Grid_Click() { Flip_And_Redraw(Grid_Shown); }

void Frm_Cmd_Help_Click() { Focus_Map(); }

void Frm_Cmd_ColourGrid_Click() {
    Colour_Dlg_Loading = 1;
    plat::Show_Modal(Frm_ColourGrid_Window(), plat::Loaded_Copy::Keep);
    // A window closed before its load finished must not leave the next one deaf to clicks.
    Colour_Dlg_Loading = 0;
    PSais_Redraw_Map();
    Focus_Map();
}

void Frm_Cmd_FSUIPC_Click() {
    PSais_Cancel_Tool();
    if (Edit_Refused == 1) return;
    PSais_Enable_Tool_Buttons();
    PSais_Leave_Line_Edit();
    plat::CurrentHost().Sleep(200);
    if (Display_Toggle_Dialogs.Show_Sim_Link) Display_Toggle_Dialogs.Show_Sim_Link();
}

void Display_Toggles_Connect(Frm& f) {
    f.Cmd_AffBmp.Click = [] { Frm_Cmd_AffBmp_Click(); };
    f.Cmd_AffTexture.Click = [] { Frm_Cmd_AffTexture_Click(); };
    f.Cmd_Grid.Click = [] { Frm_Cmd_Grid_Click(); };
    f.Cmd_Help.Click = [] { Frm_Cmd_Help_Click(); };
    f.Cmd_ColourGrid.Click = [] { Frm_Cmd_ColourGrid_Click(); };
    f.Cmd_FSUIPC.Click = [] { Frm_Cmd_FSUIPC_Click(); };
}
