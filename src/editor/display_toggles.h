#pragma once
// The tool-bar switches of what the map shows (map image, class-cell textures, cell grid), the
// help button, the grid colour button and the simulator link button.
#include <functional>

class Frm;

// The simulator link window (Frm_FSUIPC), shown modeless with no recorded line made yet; an
// empty hook shows nothing.
struct Display_Toggle_Windows {
    std::function<void()> Show_Sim_Link;
};
extern Display_Toggle_Windows Display_Toggle_Dialogs;

void Frm_Cmd_AffBmp_Click();
void Frm_Cmd_AffTexture_Click();
void Frm_Cmd_Grid_Click();
void Frm_Cmd_Help_Click();
void Frm_Cmd_ColourGrid_Click();
void Frm_Cmd_FSUIPC_Click();

void Display_Toggles_Connect(Frm& f);
