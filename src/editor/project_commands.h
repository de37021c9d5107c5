#pragma once
// The main window's project commands: new, open, save, save as, close, the recent projects,
// quit, re-initialise, the menu entries that show the parameter windows, and the window's state
// with a project open.
#include <functional>

class Frm;

// The set-up windows the commands and the start-up show, modally; each returns when its window
// is closed.
struct Project_Command_Windows {
    // Frm_PPro for the new project (Proj_New is 1): true when its OK accepted the parameters.
    std::function<bool()> Show_New_Project;
    std::function<void()> Show_Project_Parameters;   // Frm_PPro on the open project
    std::function<void()> Show_General_Parameters;   // Frm_PGen: its OK sets Setup_Done
    std::function<void()> Show_Map_Calibration;      // Frm_ModCad, the calibration unconfirmed
    std::function<void()> Show_Lat_Lon_Conversion;   // Frm_CvLL1
    // After the start-up: the folder picker opens on the program's folder again.
    std::function<void()> Forget_Picked_Folder;
};
extern Project_Command_Windows Project_Command_Dialogs;

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
