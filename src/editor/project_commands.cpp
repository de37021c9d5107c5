// The main window's project commands: new, open, save, save as, close, recent files, quit, and
// the menu entries that open the parameter windows.
#include "editor/project_commands.h"

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/project_paths.h"
#include "core/settings.h"
#include "core/syst.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/frm_startup.h"
#include "editor/line_tools.h"
#include "editor/map_tiles.h"
#include "editor/map_view.h"
#include "editor/mouse_status.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"

#include <cstdint>
#include <string>

Project_Command_Windows Project_Command_Dialogs;

namespace {

const char* const kProjectFilter = "Tessaline (*.LWM)|*.LWM";

bool English() { return Language == "US"; }

void Show_Window(const std::function<void()>& show) {
    if (show) show();
}

// The save question before a project is closed, then the running tool is ended; false when
// the command is abandoned.
bool Release_Open_Project() {
    if (Project_Open != 1) return true;
    if (!Pinit_Ask_Save_Project()) return false;
    PSais_Cancel_Tool();
    return true;
}

// The window without a project. The full form (New, Close, recent entries) also gives the map
// the cross pointer; Open keeps it. The status row always empties: it told where the mouse stood
// in the project that is gone.
void Enter_No_Project(bool full) {
    Frm& f = Frm_Window();
    f.Pic.Cls();
    Mouse_Status_Clear_Labels();
    Pinit_Set_No_Project();
    f.SetCaption(Pinit_No_Project_Title());
    Project_Open = 0;
    Project_Displayed = 0;
    if (full) f.Pic.SetMousePointer(plat::Pointer_Cross);
}

// View set-up, then the project read from `path` becomes the open one.
void Open_Project_At(const std::string& path) {
    plat::CurrentHost().SetMousePointer(plat::Pointer_Hourglass);
    PSais_Reset_View_Flags();
    Pinit_Reset_View();
    Pinit_Init_Scrollbars();
    PSais_Reset_Edit_State();
    Pinit_Open_Project(path);
}

// The folder part of a path, without its closing separator; "" when it has none.
std::string Folder_Of(const std::string& path) { return plat::Split_Folder(path).Folder; }

void Prepare_Dialog(plat::CommonDialog& cm, const std::string& title, const std::string& folder,
                    const std::string& name) {
    cm.DialogTitle = title;
    // A name typed without an extension is a project file, as in the New-project chooser.
    cm.DefaultExt = "LWM";
    cm.InitDir = folder;
    cm.FileName = name;
    cm.Filter = kProjectFilter;
    cm.FilterIndex = 1;
}

// Yes to the question before Save As replaces an existing file; No is the default.
bool Replace_Confirmed(const std::string& path) {
    const std::string shown = plat::NativePath(path);
    const std::string text = English() ? shown + " already exists.\r\nDo you want to replace it?"
                                       : shown + " existe déjà.\r\nVoulez-vous le remplacer ?";
    return plat::CurrentHost().MsgBox(text, plat::MB_YESNO | plat::MB_ICONQUESTION | plat::MB_DEFBUTTON2, "Tessaline") ==
           plat::ID_YES;
}

}  // namespace

void Pinit_Set_Project_Open() {
    Frm& f = Frm_Window();
    for (plat::Menu* m : {&f.Mnu_File_Close, &f.Mnu_File_Enreg, &f.Mnu_File_Enreg_Sous, &f.Mnu_Reinit,
                          &f.Mnu_Param_File, &f.Mnu_par_Remesh, &f.Mnu_ModCad})
        m->SetEnabled(true);
    for (plat::CommandButton* b :
         {&f.Cmd_Save, &f.Cmd_ZPlus, &f.Cmd_ZMoins, &f.Cmd_AffBmp, &f.Cmd_TrtCell, &f.Cmd_ColourGrid, &f.Cmd_Grid,
          &f.Cmd_API, &f.Cmd_Excl_Areas, &f.Cmd_Saisie_Routes, &f.Cmd_LandClass, &f.Cmd_WaterClass, &f.Cmd_FSUIPC,
          &f.Cmd_TrtMesh})
        b->SetEnabled(true);
    for (plat::CommandButton* b :
         {&f.Cmd_Sup_Route_Ou_Pt, &f.Cmd_TrtArea, &f.Cmd_AffTexture, &f.Cmd_New_Ima, &f.Cmd_Sel_Ima, &f.Cmd_Sel_Crb_Ima})
        b->SetEnabled(false);
    f.LPtGrid.SetVisible(false);
    f.HScroll.SetEnabled(true);
    f.VScroll.SetEnabled(true);
}

void Frm_Cmd_New_Click() {
    if (Project_Open == 1) {
        if (!Release_Open_Project()) return;
        Enter_No_Project(true);
    }
    Proj_New = 1;
    PSais_Reset_View_Flags();
    const auto& ask = Project_Command_Dialogs.Show_New_Project;
    if (!ask || !ask()) return;
    if (plat::FileExists(Project_File)) {
        Msg_Answer = ERREUR_Show_Message(32);
        return;
    }

    Frm& f = Frm_Window();
    Project_Open = 1;
    PSais_Init_Arrays();
    Pinit_Reset_View();
    Pinit_Init_Scrollbars();
    PSais_Init_View();
    PSais_Load_Map_Tiles();
    Pinit_Update_Recent(Project_File, 1);
    f.SetCaption(Pinit_Project_Title(Project_File));
    Pinit_Set_Project_Open();
    PSais_Reset_Edit_State();
    Proj_New = 0;
    Project_Displayed = 1;
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    PSais_Redraw_Map();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}

void Frm_Mnu_File_New_Click() { Frm_Cmd_New_Click(); }

void Frm_Cmd_Save_Click() {
    Pinit_Save_Project(0, "");
    Focus_Map();
}

void Frm_Mnu_File_Enreg_Click() { Pinit_Save_Project(0, ""); }

void Frm_Mnu_File_Enreg_Sous_Click() {
    plat::CommonDialog& cm = Frm_Window().CM;
    for (;;) {
        std::string folder, name;
        uint8_t error = 0;
        SYST_Split_Path(Project_File, folder, name, error);
        Prepare_Dialog(cm, English() ? "Project : Save as ..." : "Projet : Enregistrer sous ...", folder, name);
        if (!cm.ShowSave()) return;
        if (SYST_Valid_File_Name(cm.FileTitle) == 0) {
            Msg_Answer = ERREUR_Show_Message(1);
            continue;
        }
        const std::string path = cm.FileName;
        // The program's own box asks before a file is replaced, whatever the host's dialog does.
        if (!Project_Same_File(path, Project_File)) {
            if (const std::string refusal = Project_Save_As_Refusal(path); !refusal.empty()) {
                plat::CurrentHost().MsgBox(refusal, plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
                continue;
            }
            if (plat::PathExists(path) && !Replace_Confirmed(path)) continue;
        }
        Pinit_Save_Project(1, path);
        // A file that could not be written is no project to offer again.
        if (Project_Save_Failed == 0) Pinit_Update_Recent(path, 1);
        return;
    }
}

void Frm_Mnu_File_Open_Click() {
    if (!Release_Open_Project()) return;
    plat::CommonDialog& cm = Frm_Window().CM;
    for (;;) {
        Enter_No_Project(false);
        Prepare_Dialog(cm, English() ? "Loading a file" : "Chargement d'un Projet", Folder_Of(Project_File), "");
        if (!cm.ShowOpen()) {
            plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
            return;
        }
        if (SYST_Valid_File_Name(cm.FileTitle) == 0) {
            Msg_Answer = ERREUR_Show_Message(1);
            continue;
        }
        Project_File = cm.FileName;
        Open_Project_At(Project_File);
        return;
    }
}

void Frm_Mnu_File_Close_Click() {
    if (!Release_Open_Project()) return;
    Enter_No_Project(true);
}

void Frm_Mnu_File_Prec_Click(int index) {
    // A blank row of a short list names nothing: the open project stays as it is.
    if (index < 0 || index >= static_cast<int>(Recent_Projects.size())) return;
    if (Recent_Projects[static_cast<size_t>(index)].empty()) return;
    if (!Release_Open_Project()) return;
    Enter_No_Project(true);
    const std::string path = Recent_Projects[static_cast<size_t>(index)];
    if (!plat::FileExists(path)) {
        Msg_Answer = ERREUR_Show_Message(33);
        Pinit_Update_Recent(path, 2);
        return;
    }
    Project_File = path;
    Open_Project_At(Project_File);
}

void Frm_Mnu_File_Quit_Click() {
    Frm& f = Frm_Window();
    if (f.Loaded()) f.Unload(plat::Unload_FormCode);
}

void Frm_Mnu_Param_File_Click() { Show_Window(Project_Command_Dialogs.Show_Project_Parameters); }

void Frm_Mnu_Param_Gene_Click() {
    const auto& show = Project_Command_Dialogs.Show_General_Parameters;
    // Without the window nothing could ever put the folder right.
    if (!show) return;
    for (;;) {
        show();
        if (!Fs_Dir.empty() && plat::FileExists(Fs_Dir + "Terrain.cfg")) break;
        Msg_Answer = ERREUR_Show_Message(134);
    }
    Pinit_Load_Resources();
}

void Frm_Mnu_par_Remesh_Click() {
    Show_Window(Object_Mode_Dialogs.Show_Remesh_Level);
    PSais_Redraw_Map();
}

void Frm_Mnu_ModCad_Click() {
    Show_Window(Project_Command_Dialogs.Show_Map_Calibration);
    PSais_Redraw_Map();
}

void Frm_Mnu_Reinit_Click() {
    if (Project_Open != 1) return;
    const std::string name = plat::UCase(Project_File);
    const std::string text = English() ? "Do you want to really initialize " + name + " ?"
                                       : "Voulez-vous réllement initialiser " + name + " ?";
    if (plat::CurrentHost().MsgBox(text, plat::MB_YESNO, "Tessaline") != plat::ID_YES) return;

    Frm& f = Frm_Window();
    PSais_Cancel_Tool();
    if (Image_Count != 0) {
        if (f.WPicIma.Exists(0)) f.WPicIma(0).ClearPicture();
        for (int32_t i = 1; i <= Image_Count - 1; ++i)
            if (f.WPicIma.Exists(i)) f.WPicIma.Unload(i);
    }
    f.Pic.SetMousePointer(plat::Pointer_Cross);
    PSais_Reset_View_Flags();
    PSais_Reset_Edit_State();
    PSais_Init_Arrays();
    Pinit_Set_Project_Open();
    PSais_Set_Mode(Object_Mode::Lwm_Cells);
    PSais_Redraw_Map();
    plat::CurrentHost().SetMousePointer(plat::Pointer_Default);
}

void Frm_Mnu_Tool_CvLL_Click() { Show_Window(Project_Command_Dialogs.Show_Lat_Lon_Conversion); }

void Project_Commands_Connect(Frm& f) {
    f.Cmd_New.Click = [] { Frm_Cmd_New_Click(); };
    f.Cmd_Save.Click = [] { Frm_Cmd_Save_Click(); };
    f.Mnu_File_New.Click = [] { Frm_Mnu_File_New_Click(); };
    f.Mnu_File_Open.Click = [] { Frm_Mnu_File_Open_Click(); };
    f.Mnu_File_Enreg.Click = [] { Frm_Mnu_File_Enreg_Click(); };
    f.Mnu_File_Enreg_Sous.Click = [] { Frm_Mnu_File_Enreg_Sous_Click(); };
    f.Mnu_File_Close.Click = [] { Frm_Mnu_File_Close_Click(); };
    f.Mnu_File_Prec.SetWire([](plat::Menu& m, int i) { m.Click = [i] { Frm_Mnu_File_Prec_Click(i); }; });
    f.Mnu_File_Quit.Click = [] { Frm_Mnu_File_Quit_Click(); };
    f.Mnu_Param_File.Click = [] { Frm_Mnu_Param_File_Click(); };
    f.Mnu_Param_Gene.Click = [] { Frm_Mnu_Param_Gene_Click(); };
    f.Mnu_par_Remesh.Click = [] { Frm_Mnu_par_Remesh_Click(); };
    f.Mnu_ModCad.Click = [] { Frm_Mnu_ModCad_Click(); };
    f.Mnu_Reinit.Click = [] { Frm_Mnu_Reinit_Click(); };
    f.Mnu_Tool_CvLL.Click = [] { Frm_Mnu_Tool_CvLL_Click(); };
}
