// The project parameters window: its layout, the load of each step, the project, map and BGL
// files chosen, the output options, and OK writing the working copy back.
#include "setup/frm_ppro.h"

#include <initializer_list>

#include "core/erreur.h"
#include "core/project.h"
#include "core/project_paths.h"
#include "core/syst.h"
#include "core/syst_folder.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/number.h"
#include "platform/text.h"
#include "core/number_entry.h"
#include "setup/map_frame.h"
#include "setup/setup_services.h"
#include "platform/ui/modal.h"

namespace {

void Value_Label(plat::Label& l) { l.SetBorderStyle(1); }

Project_Output_Names Working_Output_Names() {
    return {PPro_Bgl_Base_Path, PPro_Bgl_Excl_Path, PPro_Scenery_Dir, PPro_Raw_Dir};
}

// An output name that would make Generate write or delete a file the project reads is refused,
// naming the field and the file; `only` limits the test to one field (None: all of them).
bool Refuse_Output_Over_Input(const Project_Output_Names& names, Project_Output_Field only) {
    // The open project keeps its file and map whatever the working copy holds.
    const bool fresh = Proj_New == 1;
    const Project_Output_Clash clash = Project_Find_Output_Clash(names, fresh ? PPro_Project_File : Project_File,
                                                                 fresh ? PPro_Map_File : Map_File, only);
    if (clash.Field == Project_Output_Field::None) return false;
    const bool us = Language == "US";
    const bool folder = clash.Field == Project_Output_Field::Scenery_Dir || clash.Field == Project_Output_Field::Raw_Dir;
    const std::string advice = folder ? (us ? "Choose another folder." : "Choisissez un autre dossier.")
                                      : (us ? "Choose another name." : "Choisissez un autre nom.");
    plat::CurrentHost().MsgBox(Project_Output_Clash_Text(clash) + "\r\n" + advice,
                               plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
    return true;
}

// A BGL name refused as the project reader refuses it, naming the field.
bool Refuse_Bgl_Name(const std::string& path, bool exclusion) {
    const bool us = Language == "US";
    const std::string fault =
        Project_Bgl_Name_Fault(path, exclusion ? Project_Bgl_Field::Exclusion : Project_Bgl_Field::Base, us);
    if (fault.empty()) return false;
    const std::string field =
        Project_Output_Field_Name(exclusion ? Project_Output_Field::Bgl_Excl : Project_Output_Field::Bgl_Base);
    plat::CurrentHost().MsgBox(field + (us ? ": " : " : ") + fault + (us ? ".\r\nChoose another name." : ".\r\nChoisissez un autre nom."),
                               plat::MB_OK | plat::MB_ICONEXCLAMATION, "Tessaline");
    return true;
}

}  // namespace

void Frm_PPro::Place(plat::Control& c, plat::Frame& frame, int left, int top, int width, int height) {
    c.SetContainer(&frame);
    c.Move(left, top, width, height);
}

Frm_PPro::Frm_PPro() : Form("Frm_PPro") {
    Form_Load = [this] { Frm_PPro_Form_Load(); };
    NomProjet.DblClick = [this] { Frm_PPro_NomProjet_DblClick(); };
    Cmd_Next_Projet.Click = [this] { Frm_PPro_Cmd_Next_Projet_Click(); };
    Carte.DblClick = [this] { Frm_PPro_Carte_DblClick(); };
    Cmd_CadCarte.Click = [this] { Frm_PPro_Cmd_CadCarte_Click(); };
    Cmd_CenterMap.Click = [this] { Frm_PPro_Cmd_CenterMap_Click(); };
    Cmd_Next_Carte.Click = [this] { Frm_PPro_Cmd_Next_Carte_Click(); };
    NameBgl.DblClick = [this] { Frm_PPro_NameBgl_DblClick(); };
    NameBglExcl.DblClick = [this] { Frm_PPro_NameBglExcl_DblClick(); };
    Dir_LCWC.DblClick = [this] { Frm_PPro_Dir_LCWC_DblClick(); };
    Dir_Raw.DblClick = [this] { Frm_PPro_Dir_Raw_DblClick(); };
    Chk_Dir_Raw.Click = [this] { Frm_PPro_Chk_Dir_Raw_Click(); };
    Chk_ReUse_Raw.Click = [this] { Frm_PPro_Chk_ReUse_Raw_Click(); };
    Opt_Meter_Feet.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Frame3);
        o.Click = [this, i] { Frm_PPro_Opt_Meter_Feet_Click(i); };
    });
    OPt_FS_CFS.SetWire([this](plat::OptionButton& o, int i) {
        o.SetContainer(&Frame5);
        o.Click = [this, i] { Frm_PPro_OPt_FS_CFS_Click(i); };
    });
    Delta_Alt.GotFocus = [this] { Frm_PPro_Delta_Alt_GotFocus(); };
    Delta_Alt.KeyDown = [this](int& k, int s) { Frm_PPro_Delta_Alt_KeyDown(k, s); };
    Delta_Alt.Validate = [this](bool& c) { Frm_PPro_Delta_Alt_Validate(c); };
    Cmd_Ok.Click = [this] { Frm_PPro_Cmd_Ok_Click(); };
    Cmd_Cancel.Click = [this] { Frm_PPro_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_PPro_Cmd_Help_Click(); };
}

void Frm_PPro::Design() {
    BorderStyle = 3;
    Move(0, 0, 656, 606);

    Fram_ParmDeb.Move(8, 8, 640, 56);
    Place(L_NomProjet, Fram_ParmDeb, 10, 24, 60, 16);
    Place(NomProjet, Fram_ParmDeb, 74, 22, 440, 20);
    Value_Label(NomProjet);
    Place(Cmd_Next_Projet, Fram_ParmDeb, 530, 18, 100, 26);

    Design_Map_Step();

    Fram_Bgl.Move(8, 302, 640, 48);
    Place(L_NameBgl, Fram_Bgl, 10, 22, 60, 16);
    Place(NameBgl, Fram_Bgl, 74, 20, 556, 20);
    Value_Label(NameBgl);

    Frame1.SetCaption("Exclude Bgls");
    Frame1.Move(8, 356, 640, 48);
    Place(L_NameBglExcl, Frame1, 10, 22, 60, 16);
    Place(NameBglExcl, Frame1, 74, 20, 556, 20);
    Value_Label(NameBglExcl);

    Fram_LCWC.Move(8, 410, 640, 96);
    Place(Chk_Dir_Raw, Fram_LCWC, 10, 18, 300, 20);
    Place(Chk_ReUse_Raw, Fram_LCWC, 320, 18, 310, 20);
    Label1.SetCaption("Directory Bgl :");
    Place(Label1, Fram_LCWC, 10, 46, 100, 16);
    Place(Dir_LCWC, Fram_LCWC, 114, 44, 516, 20);
    Value_Label(Dir_LCWC);
    Label3.SetCaption("Directory Raw :");
    Place(Label3, Fram_LCWC, 10, 70, 100, 16);
    Place(Dir_Raw, Fram_LCWC, 114, 68, 516, 20);
    Value_Label(Dir_Raw);

    Frame3.SetCaption("Re-Mesh");
    Frame3.Move(8, 512, 320, 50);
    Label4.SetCaption("Delta altitude :");
    Place(Label4, Frame3, 10, 22, 100, 16);
    Place(Delta_Alt, Frame3, 112, 18, 70, 21);
    Opt_Meter_Feet(0).Move(190, 20, 62, 20);
    Opt_Meter_Feet(1).Move(254, 20, 62, 20);

    Frame5.SetCaption("FS/CFS");
    Frame5.Move(336, 512, 150, 50);
    OPt_FS_CFS(0).SetCaption("FS9");
    OPt_FS_CFS(0).Move(10, 20, 60, 20);
    OPt_FS_CFS(0).SetValue(true);
    OPt_FS_CFS(1).SetCaption("CFS2");
    OPt_FS_CFS(1).Move(76, 20, 64, 20);

    // Empty since the window was first laid out; kept for its name.
    Frame4.SetCaption("Frame4");
    Frame4.Move(494, 512, 154, 50);
    Frame4.SetVisible(false);

    Fram_Creat_2500.Move(158, 250, 340, 76);
    Place(LTex2500, Fram_Creat_2500, 10, 20, 320, 16);
    Place(LNbTex, Fram_Creat_2500, 10, 44, 150, 16);
    Place(LPourCent, Fram_Creat_2500, 170, 44, 150, 16);
    Fram_Creat_2500.SetVisible(false);

    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(380, 572, 80, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(470, 572, 80, 26);
    Cmd_Help.SetCaption("?");
    Cmd_Help.Move(560, 572, 40, 26);
}

void Frm_PPro::Frm_PPro_Form_Load() {
    const bool us = Language == "US";
    if (Proj_New == 1) SetCaption(us ? "New File" : "Nouveau Projet");
    else SetCaption((us ? "Parameters modification for " : "Modification paramètres de ") + Project_File);

    Fram_ParmDeb.SetCaption(us ? "Project parameters" : "Paramètres du projet");
    L_NomProjet.SetCaption(us ? "Project:" : "Projet:");
    Cmd_Next_Projet.SetCaption(us ? "Next" : "Suivant");
    Fram_Carte.SetCaption(us ? "Map" : "Carte");
    L_Carte.SetCaption(us ? "Map:" : "Carte:");
    Cmd_CadCarte.SetCaption(us ? "NW/SE coordinates in the map" : "Coordonnées NW/SE dans la carte");
    Cmd_CenterMap.SetCaption(us ? "Map center coordinates" : "Coordonnées du centre de la carte");
    Cmd_Next_Carte.SetCaption(us ? "Next" : "Suite");
    Fram_Bgl.SetCaption(us ? "Fill/Polys LWM-VTP/Lines Bgls" : "Fill/Polys LWM-VTP/Lignes Bgls");
    L_NameBgl.SetCaption(us ? "Bgl name:" : "Nom bgl:");
    L_NameBglExcl.SetCaption(us ? "Bgl name:" : "Nom bgl:");
    Fram_LCWC.SetCaption(us ? "LC and WC Bgls" : "LC et WC Bgls");
    Chk_Dir_Raw.SetCaption(us ? "Use .raw general file" : "Utiliser le fichier .raw general");
    Chk_ReUse_Raw.SetCaption(us ? "Update .raw general file" : "Mettre à jour le fichier .raw general");
    LDH2Pix.SetCaption(us ? "Horiz. dist. between 2 pixels" : "Dist. horiz. entre 2 pixels");
    LDV2Pix.SetCaption(us ? "Vert. dist. between 2 pixels" : "Dist. vert. entre 2 pixels");
    Opt_Meter_Feet(0).SetCaption(us ? "Meters" : "Mètres");
    Opt_Meter_Feet(1).SetCaption(us ? "Feet" : "Pieds");

    if (Proj_New == 1) {
        Project_File.clear();
        Map_File.clear();
        Bgl_Base_Path.clear();
        Bgl_Excl_Path.clear();
        Scenery_Dir.clear();
        Raw_Dir.clear();
        Proj_Lat_NW = 45.10986328125;
        Proj_Lon_NW = 45;
        Proj_Lat_SE = 45;
        Proj_Lon_SE = 45.144684375;
        Lc_Merge = Lc_Keep_Raw = 0;
        Proj_Px_NW_X = Proj_Px_NW_Y = Proj_Px_SE_X = Proj_Px_SE_Y = 0;
        Proj_NW_Set = Proj_SE_Set = 0;
        Proj_Step_Project_Done = Proj_Step_Map_Done = 0;
        Map_Width_Px = Map_Height_Px = 0;
        Alt_Unit_Feet = 0;
        Alt_Offset = 0;
        Cfs_Mode = 0;
        Fram_ParmDeb.SetEnabled(true);
        Fram_Carte.SetEnabled(false);
        Fram_Bgl.SetEnabled(false);
        Cmd_Next_Carte.SetEnabled(false);
    } else {
        Fram_ParmDeb.SetEnabled(false);
        Fram_Carte.SetEnabled(false);
        Fram_Bgl.SetEnabled(true);
    }

    PPro_Project_File = Project_File;
    Cad_Lat_NW = Proj_Lat_NW;
    Cad_Lon_NW = Proj_Lon_NW;
    Cad_Lat_SE = Proj_Lat_SE;
    Cad_Lon_SE = Proj_Lon_SE;
    PPro_Map_File = Map_File;
    Cad_Take_Project_Points();
    Cad_Map_Width = Map_Width_Px;
    Cad_Map_Height = Map_Height_Px;
    PPro_Bgl_Base_Path = Bgl_Base_Path;
    PPro_Bgl_Excl_Path = Bgl_Excl_Path;
    PPro_Scenery_Dir = Scenery_Dir;
    PPro_Raw_Dir = Raw_Dir;
    PPro_Lc_Merge = Lc_Merge;
    PPro_Lc_Keep_Raw = Lc_Keep_Raw;
    PPro_Alt_Unit_Feet = Alt_Unit_Feet;
    PPro_Alt_Offset = Alt_Offset;
    PPro_Cfs_Mode = Cfs_Mode;

    NomProjet.SetCaption(PPro_Project_File);
    Carte.SetCaption(PPro_Map_File);
    NameBgl.SetCaption(PPro_Bgl_Base_Path);
    NameBglExcl.SetCaption(PPro_Bgl_Excl_Path);
    Dir_LCWC.SetCaption(PPro_Scenery_Dir);
    Dir_Raw.SetCaption(PPro_Raw_Dir);
    Chk_Dir_Raw.SetValue(PPro_Lc_Merge != 0 ? 1 : 0);
    Chk_ReUse_Raw.SetValue(PPro_Lc_Keep_Raw != 0 ? 1 : 0);
    // A stored value other than 0 or 1 selects the first option rather than a missing one.
    Opt_Meter_Feet(PPro_Alt_Unit_Feet == 1 ? 1 : 0).SetValue(true);
    Delta_Alt.SetText(plat::FloatText(PPro_Alt_Offset));
    OPt_FS_CFS(PPro_Cfs_Mode == 1 ? 1 : 0).SetValue(true);

    if (Proj_New != 1) Frm_PPro_Show_Calibration();
}

bool Frm_PPro::Choose_File(const std::string& title, const std::string& filter, bool save,
                           const std::string& extension) {
    CM.DialogTitle = title;
    CM.DefaultExt = extension;
    CM.InitDir = App_Dir;
    CM.FileName.clear();
    CM.Filter = filter;
    CM.FilterIndex = 1;
    return save ? CM.ShowSave() : CM.ShowOpen();
}

void Frm_PPro::Frm_PPro_NomProjet_DblClick() {
    const bool us = Language == "US";
    for (;;) {
        // A name for a file still to be made: the save dialog lets the author type one.
        if (!Choose_File(us ? "File Name" : "Nom du projet", "Projet (*.LWM)|*.LWM", true, "LWM")) return;
        // A name that Open would refuse makes a project that only the recent list could reopen.
        if (plat::FileExists(CM.FileName) || (!CM.FileTitle.empty() && SYST_Valid_File_Name(CM.FileTitle) == 0)) {
            Msg_Answer = ERREUR_Show_Message(1);
            continue;
        }
        NomProjet.SetCaption(CM.FileName);
        PPro_Project_File = CM.FileName;
        if (PPro_Project_File.empty()) Msg_Answer = ERREUR_Show_Message(16);
        return;
    }
}

void Frm_PPro::Frm_PPro_Cmd_Next_Projet_Click() {
    Fram_Carte.SetEnabled(true);
    Fram_ParmDeb.SetEnabled(false);
    Cmd_Next_Carte.SetEnabled(false);
    Fram_Bgl.SetEnabled(false);
    Proj_Step_Project_Done = 1;
}

void Frm_PPro::Choose_Bgl(plat::Label& label, std::string& path, bool exclusion) {
    const bool us = Language == "US";
    for (;;) {
        if (!Choose_File(us ? "BGL name" : "BGL", "BGL (*.Bgl)|*.Bgl", true, "bgl")) return;
        Project_Output_Names names = Working_Output_Names();
        (exclusion ? names.Bgl_Excl_Path : names.Bgl_Base_Path) = CM.FileName;
        // Refused where it was chosen: the chooser opens again, the field keeps its name.
        if (Refuse_Bgl_Name(CM.FileName, exclusion) ||
            Refuse_Output_Over_Input(names, exclusion ? Project_Output_Field::Bgl_Excl : Project_Output_Field::Bgl_Base))
            continue;
        label.SetCaption(CM.FileName);
        path = CM.FileName;
        return;
    }
}

void Frm_PPro::Frm_PPro_NameBgl_DblClick() { Choose_Bgl(NameBgl, PPro_Bgl_Base_Path, false); }
void Frm_PPro::Frm_PPro_NameBglExcl_DblClick() { Choose_Bgl(NameBglExcl, PPro_Bgl_Excl_Path, true); }

void Frm_PPro::Choose_Output_Folder(plat::Label& label, std::string& folder, bool raw) {
    std::string chosen = folder;
    const bool picked = raw ? SYST_Pick_Folder("Répertoire des LC et WC Raw", "LC and WC Raw directory", chosen)
                            : SYST_Pick_Folder("Répertoire des Bgls LC et WC", "LC and WC Bgl directory", chosen);
    if (!picked) return;
    Project_Output_Names names = Working_Output_Names();
    (raw ? names.Raw_Dir : names.Scenery_Dir) = chosen;
    if (Refuse_Output_Over_Input(names, raw ? Project_Output_Field::Raw_Dir : Project_Output_Field::Scenery_Dir)) return;
    folder = chosen;
    label.SetCaption(folder);
}

void Frm_PPro::Frm_PPro_Dir_LCWC_DblClick() { Choose_Output_Folder(Dir_LCWC, PPro_Scenery_Dir, false); }
void Frm_PPro::Frm_PPro_Dir_Raw_DblClick() { Choose_Output_Folder(Dir_Raw, PPro_Raw_Dir, true); }

void Frm_PPro::Frm_PPro_Chk_Dir_Raw_Click() { PPro_Lc_Merge = static_cast<int16_t>(Chk_Dir_Raw.Value()); }
void Frm_PPro::Frm_PPro_Chk_ReUse_Raw_Click() { PPro_Lc_Keep_Raw = static_cast<int16_t>(Chk_ReUse_Raw.Value()); }
void Frm_PPro::Frm_PPro_Opt_Meter_Feet_Click(int index) { PPro_Alt_Unit_Feet = static_cast<int16_t>(index); }
void Frm_PPro::Frm_PPro_OPt_FS_CFS_Click(int index) { PPro_Cfs_Mode = static_cast<int16_t>(index); }

void Frm_PPro::Frm_PPro_Delta_Alt_GotFocus() {
    Delta_Alt.SelStart = 0;
    Delta_Alt.SelLength = static_cast<int>(Delta_Alt.Text().size());
}

void Frm_PPro::Frm_PPro_Delta_Alt_KeyDown(int& key_code, int) {
    if (key_code == 13) {
        bool cancel = false;
        Frm_PPro_Delta_Alt_Validate(cancel);
    } else if (key_code == 27) {
        Delta_Alt.SetText(plat::FloatText(PPro_Alt_Offset));
    }
}

void Frm_PPro::Frm_PPro_Delta_Alt_Validate(bool& cancel) {
    const std::string text = plat::Trim(Delta_Alt.Text());
    Delta_Alt.SetText(text);
    if (double v = 0; Number_Entry_Read(text, v)) {
        if (v > -1000 && v < 1000) {
            PPro_Alt_Offset = static_cast<float>(v);
            return;
        }
    }
    Msg_Answer = ERREUR_Show_Message(1);
    cancel = true;
}

void Frm_PPro::Frm_PPro_Cmd_Ok_Click() {
    const bool refused = (Proj_New == 1 && !(Proj_Step_Project_Done == 1 && Proj_Step_Map_Done == 1)) ||
                         PPro_Raw_Dir.empty() || PPro_Scenery_Dir.empty() || PPro_Bgl_Excl_Path.empty() ||
                         PPro_Bgl_Base_Path.empty();
    if (refused) {
        Msg_Answer = ERREUR_Show_Message(9);
        return;
    }
    // A new project needs a file to be saved in; the project step lets the author pass without.
    if (Proj_New == 1 && plat::Trim(PPro_Project_File).empty()) {
        Msg_Answer = ERREUR_Show_Message(16);
        return;
    }
    // As the project reader will take them when the project is opened again.
    if (Refuse_Bgl_Name(PPro_Bgl_Base_Path, false) || Refuse_Bgl_Name(PPro_Bgl_Excl_Path, true)) return;
    // Names that were each sound when chosen can still clash once the project file or the map
    // changed, or as a project file carried them.
    if (Refuse_Output_Over_Input(Working_Output_Names(), Project_Output_Field::None)) return;
    if (Proj_New == 1) {
        Project_File = PPro_Project_File;
        Proj_Lat_NW = Cad_Lat_NW;
        Proj_Lon_NW = Cad_Lon_NW;
        Proj_Lat_SE = Cad_Lat_SE;
        Proj_Lon_SE = Cad_Lon_SE;
        Map_File = PPro_Map_File;
        Proj_Px_NW_X = Cad_Px_NW_X;
        Proj_Px_NW_Y = Cad_Px_NW_Y;
        Proj_Px_SE_X = Cad_Px_SE_X;
        Proj_Px_SE_Y = Cad_Px_SE_Y;
        Proj_NW_Set = Cad_NW_Set;
        Proj_SE_Set = Cad_SE_Set;
        Tile_Count = Cad_Tile_Count;
        Tile_Rows = Cad_Tile_Rows;
        Tile_Cols = Cad_Tile_Cols;
        Map_Width_Px = Cad_Map_Width;
        Map_Height_Px = Cad_Map_Height;
    }
    Bgl_Base_Path = PPro_Bgl_Base_Path;
    Bgl_Excl_Path = PPro_Bgl_Excl_Path;
    Scenery_Dir = PPro_Scenery_Dir;
    Raw_Dir = PPro_Raw_Dir;
    Lc_Merge = PPro_Lc_Merge;
    Lc_Keep_Raw = PPro_Lc_Keep_Raw;
    Alt_Unit_Feet = PPro_Alt_Unit_Feet;
    Alt_Offset = PPro_Alt_Offset;
    Cfs_Mode = PPro_Cfs_Mode;
    Proj_Accepted = 1;
    Unload();
}

void Frm_PPro::Frm_PPro_Cmd_Cancel_Click() { Unload(); }

Frm_PPro& Frm_PPro_Window() {
    static Frm_PPro window;
    return window;
}

void Frm_PPro_Show_Modal() {
    plat::Show_Modal(Frm_PPro_Window(), plat::Loaded_Copy::Keep);
}
