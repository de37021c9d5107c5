#pragma once
// The tool-bar switches of what the map shows (map image, class-cell textures, cell grid), the
// help button, the grid colour button and the simulator link button.
class Frm;

void Frm_Cmd_AffBmp_Click();
void Frm_Cmd_AffTexture_Click();
void Frm_Cmd_Grid_Click();
void Frm_Cmd_Help_Click();
void Frm_Cmd_ColourGrid_Click();
void Frm_Cmd_FSUIPC_Click();

void Display_Toggles_Connect(Frm& f);
