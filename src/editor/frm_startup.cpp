// Start-up and shutdown of the main window, the titles and the save question.
#include "editor/frm_startup.h"

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_file.h"
#include "core/settings.h"
#include "core/syst.h"
#include "core/texture_convert.h"
#include "core/tiling.h"
#include "core/syst_draw.h"
#include "editor/editor_globals.h"
#include "editor/frm.h"
#include "editor/line_tools.h"
#include "editor/map_tiles.h"
#include "editor/map_view.h"
#include "editor/object_modes.h"
#include "editor/pinit_layout.h"
#include "editor/pinit_texts.h"
#include "editor/project_commands.h"
#include "platform/files.h"
#include "platform/gdi/bmp.h"
#include "platform/gdi/surface.h"
#include "platform/host.h"
#include "platform/text.h"
#include "setup/frm_pgen.h"
#include "setup/setup_reset.h"
#include "setup/setup_services.h"
#include "platform/gdi/picture_file.h"

#include <cstring>

std::string Command_Line_Project;
int16_t Startup_Ended = 0;

namespace {

// Handed over by Frm_Start, taken by the load handler.
std::string Startup_Program_Folder;
std::string Startup_Arguments;

// A twip is 1/1440 inch; the screen has 96 pixels per inch.
constexpr double kTwipsPerPixel = 1440.0 / 96.0;

void Show_Literal_Box(const std::string& text, int style) {
    plat::CurrentHost().MsgBox(text, style, "Tessaline");
}

// The hooks through which the project file reaches this window.
void Connect_Project_Window() {
    Project_Window.Progress_Window = &Frm_Progress_Window();
    Project_Window.Init_View_And_Tiles = [] {
        PSais_Init_View();
        PSais_Load_Map_Tiles();
    };
    Project_Window.Clear_Image_Pictures = [] {
        Frm& f = Frm_Window();
        for (int i : f.WPicIma.Indices()) {
            if (i == 0) f.WPicIma(0).ClearPicture();
            else f.WPicIma.Unload(i);
        }
    };
    Project_Window.Load_Image_Picture = [](int32_t element, const std::string& bmp_path) {
        Frm& f = Frm_Window();
        if (element < 0) return false;
        if (!f.WPicIma.Exists(element)) f.WPicIma.Load(element);
        plat::PictureBox& picture = f.WPicIma(element);
        picture.ClearPicture();
        if (bmp_path.empty()) return true;
        plat::Surface surface;
        if (!plat::LoadPicture(bmp_path, surface)) return false;
        picture.SetPicture(surface);
        return true;
    };
    Project_Window.Set_Caption = [](const std::string& caption) { Frm_Window().SetCaption(caption); };
    Project_Window.Set_Recent_Caption = [](int index, const std::string& caption) {
        Frm& f = Frm_Window();
        if (!f.Mnu_File_Prec.Exists(index)) return;
        f.Mnu_File_Prec(index).SetCaption(caption);
        // A free entry is a blank row that cannot be chosen.
        f.Mnu_File_Prec(index).SetEnabled(!caption.empty());
    };
    Project_Window.Enter_Project_State = [] {
        Pinit_Set_Project_Open();
        Proj_New = 0;
        Project_Displayed = 1;
        PSais_Set_Mode(Object_Mode::Lwm_Cells);
        PSais_Redraw_Map();
    };
}

// Shows the general-parameters window until the simulator folder holds "Terrain.cfg".
void Run_General_Parameters_Loop() {
    for (;;) {
        if (Setup_Done == 0) {
            Frm_PGen_Show_Modal();
            // Closed without OK: shown again, without a message.
            if (Setup_Done == 0) continue;
            if (!plat::FolderExists(Fs_Dir)) {
                Msg_Answer = ERREUR_Show_Message(134);
                Setup_Done = 0;
                continue;
            }
        }
        if (Fs_Dir.empty()) {
            Setup_Done = 0;
            Msg_Answer = ERREUR_Show_Message(134);
            continue;
        }
        if (plat::FileExists(Fs_Dir + "Terrain.cfg")) return;
        Setup_Done = 0;
        Msg_Answer = ERREUR_Show_Message(134);
    }
}

void End_Program() { Startup_Ended = 1; }

}  // namespace

std::string Startup_Clean_Command_Line(const std::string& arguments) {
    std::string project = plat::Trim(arguments);
    if (project.size() < 3) return "";
    if (project.front() == '"') {
        if (project.back() != '"') return "";
        project = project.substr(1, project.size() - 2);
    }
    if (project.empty() || !plat::PathExists(project)) return "";
    return project;
}

std::string Pinit_No_Project_Title() {
    return std::string(Tessaline_Version_Caption) + " " + Tessaline_Release_Date;
}

std::string Pinit_Project_Title(const std::string& project_file) {
    return Pinit_No_Project_Title() + "  " + project_file;
}

void Pinit_Reset_Modes() {
    Map_Shown = 0;
    Textures_Shown = 0;
    Grid_Shown = 1;
    Project_Open = 0;
    PSais_Set_Mode(Object_Mode::None);
}

bool Pinit_Ask_Save_Project() {
    if (Project_Open != 1) return true;
    const std::string name = plat::UCase(Project_File);
    const std::string text = Language == "US" ? "Do you want to save " + name + " ?"
                                              : "Voulez-vous enregistrer les modifications apportées à " + name + " ?";
    const int answer = plat::CurrentHost().MsgBox(text, plat::MB_YESNOCANCEL, "Tessaline");
    if (answer == plat::ID_CANCEL) return false;
    if (answer == plat::ID_YES) {
        Pinit_Save_Project(0, "");
        // The author asked for the work to be kept: closing now would lose it.
        if (Project_Save_Failed == 1) return false;
    }
    PSais_Unload_Map_Tiles();
    return true;
}

void Frm_Form_Load() {
    Frm& f = Frm_Window();
    plat::Host& host = plat::CurrentHost();
    Startup_Ended = 0;
    Project_Displayed = 0;

    if (host.OtherInstanceRunning()) {
        Show_Literal_Box("This program is already running", plat::MB_OK);
        End_Program();
        return;
    }

    Command_Line_Project = Startup_Clean_Command_Line(Startup_Arguments);

    // The platform's windows work in pixels throughout.
    Twips_Per_Px_X = kTwipsPerPixel;
    Twips_Per_Px_Y = kTwipsPerPixel;

    App_Dir = Startup_Program_Folder;
    Msg_File_Path = App_Dir + "\\Resource\\FicErr.txt";
    Ini_Path = App_Dir + "\\Resource\\" + "Tessaline" + ".Ini";

    if (host.DisplayBitsPerPixel() < 8) {
        Msg_Answer = ERREUR_Show_Message(23);
        End_Program();
        return;
    }
    if (!host.DisplayHasRasterCaps()) {
        Msg_Answer = ERREUR_Show_Message(24);
        End_Program();
        return;
    }

    Temp_Tex_Bmp = App_Dir + "\\Temp\\$Tex$.bmp";
    // Without the file the grey ramp stands in; only raw textures look different.
    Servitudes_Read_Palette(App_Dir + "\\Fs5.pal", Fs5_Palette);

    Connect_Project_Window();
    Setup_Connect_Core();
    Pinit_Read_Settings();

    Tile_Size = 2000;
    Grid_Colour = 12632256;
    Grid_Colour_Index = 2;

    f.SetWindowState(plat::Window_Maximized);
    f.SetVisible(true);
    f.SetCaption(Pinit_No_Project_Title());
    Project_File.clear();

    Pinit_Set_Main_Texts();
    Pinit_Layout_Main();
    Pinit_Reset_Modes();
    PSais_Reset_View_Flags();
    PSais_Reset_Edit_State();
    Pinit_Set_No_Project();
    Edit_Draw_Mode = 13;
    PSais_Init_Arrays();
    Pinit_Reset_View();

    Run_General_Parameters_Loop();

    Pinit_Load_Resources();
    Dir_Pick_Path.clear();

    if (!Command_Line_Project.empty()) {
        Project_File = Command_Line_Project;
        host.SetMousePointer(plat::Pointer_Hourglass);
        Pinit_Open_Project(Project_File);
        host.SetMousePointer(plat::Pointer_Default);
    }
}

void Frm_Form_Unload(bool& cancel) {
    if (Project_Open == 1) {
        if (!Pinit_Ask_Save_Project()) {
            cancel = true;
            return;
        }
        PSais_Cancel_Tool();
    }
    Lwm_Cell_Table.Erase();
    Lod8_Cell_Table.Erase();
    Excl_Cell_Table.Erase();
    Lc_Cell_Table.Erase();
    Wc_Cell_Table.Erase();
    Image_Table.Erase();
    Grid_Point_Table.Erase();
    Line_Type_Table.Erase();
    Park_Table.Erase();
    Land_Class_Table.Erase();
    // No count may point past an erased table.
    Lwm_Cell_Count = Lwm_Cell_Capacity = 0;
    Lod8_Cell_Count = Lod8_Cell_Capacity = 0;
    Excl_Cell_Count = Excl_Cell_Capacity = 0;
    Lc_Cell_Count = Lc_Cell_Capacity = 0;
    Wc_Cell_Count = Wc_Cell_Capacity = 0;
    Image_Count = Image_Capacity = 0;
    Grid_Point_Count = Grid_Point_Capacity = 0;
    Line_Type_Count = Park_Count = Land_Class_Count = 0;
    Line_Type_Loaded = Park_Loaded = Land_Class_Loaded = 0;
    Frm_Window().Pic.ClearPicture();
}

bool Frm_Start(const std::string& program_folder, const std::string& command_line) {
    Startup_Program_Folder = program_folder;
    Startup_Arguments = command_line;
    Frm& f = Frm_Window();
    f.Form_Load = [] { Frm_Form_Load(); };
    f.Form_Unload = [](bool& cancel) { Frm_Form_Unload(cancel); };
    f.Show();
    if (Startup_Ended == 1) {
        f.ForceUnload();
        return false;
    }
    return f.Loaded();
}

void Startup_Reset() {
    Command_Line_Project.clear();
    Startup_Ended = 0;
    Startup_Program_Folder.clear();
    Startup_Arguments.clear();
    Frm& f = Frm_Window();
    f.Form_Load = nullptr;
    f.Form_Unload = nullptr;
    Map_Shown = 0;
    Textures_Shown = 0;
    Grid_Shown = 1;
    PSais_Set_Mode(Object_Mode::None);
    Project_Displayed = 0;
    Twips_Per_Px_X = Twips_Per_Px_Y = kTwipsPerPixel;
}
