#pragma once
// The main window's project commands: new, open, save, save as, close, the recent projects,
// quit, re-initialise, the menu entries that show the parameter windows, and the window's state
// with a project open.
class Frm;

// The main window with a project: project menus, tools and scroll bars enabled.
void Pinit_Set_Project_Open();

// Tool-bar buttons.
void Frm_Cmd_New_Click();
void Frm_Cmd_Save_Click();

// File menu.
void Frm_Mnu_File_New_Click();
void Frm_Mnu_File_Open_Click();
void Frm_Mnu_File_Enreg_Click();
void Frm_Mnu_File_Enreg_Sous_Click();
void Frm_Mnu_File_Close_Click();
void Frm_Mnu_File_Prec_Click(int index);
void Frm_Mnu_File_Quit_Click();

// Parameters and tools menus.
void Frm_Mnu_Param_File_Click();
void Frm_Mnu_Param_Gene_Click();
void Frm_Mnu_par_Remesh_Click();
void Frm_Mnu_ModCad_Click();
void Frm_Mnu_Reinit_Click();
void Frm_Mnu_Tool_CvLL_Click();

// Connects the buttons and menu entries above to their handlers.
void Project_Commands_Connect(Frm& f);
