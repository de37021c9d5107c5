#pragma once
// The project parameters window. For a new project (Proj_New = 1) three steps in order: the
// project file, the map bitmap with its calibration, the BGL base name; for the open project
// (Proj_New = 0) only the output parameters. It edits a working copy that OK writes back.
#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class Frm_PPro : public plat::Form {
public:
    Frm_PPro();

    // Project step.
    plat::Frame Fram_ParmDeb{*this, "Fram_ParmDeb"};
    plat::Label L_NomProjet{*this, "L_NomProjet"};
    plat::Label NomProjet{*this, "NomProjet"};
    plat::CommandButton Cmd_Next_Projet{*this, "Cmd_Next_Projet"};
    // Map step.
    plat::Frame Fram_Carte{*this, "Fram_Carte"};
    plat::Label L_Carte{*this, "L_Carte"};
    plat::Label Carte{*this, "Carte"};
    plat::CommandButton Cmd_CadCarte{*this, "Cmd_CadCarte"};
    plat::CommandButton Cmd_CenterMap{*this, "Cmd_CenterMap"};
    plat::CommandButton Cmd_Next_Carte{*this, "Cmd_Next_Carte"};
    plat::Label Label2{*this, "Label2"};   // "NW Point"
    plat::Label Label6{*this, "Label6"};   // "SE Point"
    plat::Label Label5{*this, "Label5"};   // "Lat:"
    plat::Label Label7{*this, "Label7"};   // "Lon:"
    plat::Label L_LatNW{*this, "L_LatNW"};
    plat::Label L_LatNW_Dec{*this, "L_LatNW_Dec"};
    plat::Label L_LonNW{*this, "L_LonNW"};
    plat::Label L_LonNW_Dec{*this, "L_LonNW_Dec"};
    plat::Label L_LatSE{*this, "L_LatSE"};
    plat::Label L_latSE_Dec{*this, "L_latSE_Dec"};
    plat::Label L_LonSE{*this, "L_LonSE"};
    plat::Label L_LonSE_Dec{*this, "L_LonSE_Dec"};
    // Pixel size.
    plat::Frame Frame2{*this, "Frame2"};
    plat::Label LDV2Pix{*this, "LDV2Pix"};
    plat::Label DV2Pix{*this, "DV2Pix"};
    plat::Label Label11{*this, "Label11"};
    plat::Label LDH2Pix{*this, "LDH2Pix"};
    plat::Label DH2Pix{*this, "DH2Pix"};
    plat::Label Label12{*this, "Label12"};
    // BGL step.
    plat::Frame Fram_Bgl{*this, "Fram_Bgl"};
    plat::Label L_NameBgl{*this, "L_NameBgl"};
    plat::Label NameBgl{*this, "NameBgl"};
    // Output parameters, always editable.
    plat::Frame Frame1{*this, "Frame1"};
    plat::Label L_NameBglExcl{*this, "L_NameBglExcl"};
    plat::Label NameBglExcl{*this, "NameBglExcl"};
    plat::Frame Fram_LCWC{*this, "Fram_LCWC"};
    plat::CheckBox Chk_Dir_Raw{*this, "Chk_Dir_Raw"};
    plat::CheckBox Chk_ReUse_Raw{*this, "Chk_ReUse_Raw"};
    plat::Label Label1{*this, "Label1"};
    plat::Label Dir_LCWC{*this, "Dir_LCWC"};
    plat::Label Label3{*this, "Label3"};
    plat::Label Dir_Raw{*this, "Dir_Raw"};
    plat::Frame Frame3{*this, "Frame3"};
    plat::Label Label4{*this, "Label4"};
    plat::TextBox Delta_Alt{*this, "Delta_Alt"};
    plat::ControlArray<plat::OptionButton> Opt_Meter_Feet{*this, "Opt_Meter_Feet", {0, 1}};
    plat::Frame Frame5{*this, "Frame5"};
    plat::ControlArray<plat::OptionButton> OPt_FS_CFS{*this, "OPt_FS_CFS", {0, 1}};
    // Tiling progress, filled by the tiler.
    plat::Frame Fram_Creat_2500{*this, "Fram_Creat_2500"};
    plat::Label LTex2500{*this, "LTex2500"};
    plat::Label LNbTex{*this, "LNbTex"};
    plat::Label LPourCent{*this, "LPourCent"};
    plat::Frame Frame4{*this, "Frame4"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};
    plat::CommonDialog CM{*this, "CM"};

    void Frm_PPro_Form_Load();
    void Frm_PPro_NomProjet_DblClick();
    void Frm_PPro_Cmd_Next_Projet_Click();
    void Frm_PPro_NameBgl_DblClick();
    void Frm_PPro_NameBglExcl_DblClick();
    void Frm_PPro_Dir_LCWC_DblClick();
    void Frm_PPro_Dir_Raw_DblClick();
    void Frm_PPro_Chk_Dir_Raw_Click();
    void Frm_PPro_Chk_ReUse_Raw_Click();
    void Frm_PPro_Opt_Meter_Feet_Click(int index);
    void Frm_PPro_OPt_FS_CFS_Click(int index);
    void Frm_PPro_Delta_Alt_GotFocus();
    void Frm_PPro_Delta_Alt_KeyDown(int& key_code, int shift);
    void Frm_PPro_Delta_Alt_Validate(bool& cancel);
    void Frm_PPro_Cmd_Ok_Click();
    void Frm_PPro_Cmd_Cancel_Click();
    void Frm_PPro_Cmd_Help_Click() {}

    // Map step (frm_ppro_map.cpp).
    void Frm_PPro_Carte_DblClick();
    void Frm_PPro_Cmd_CadCarte_Click();
    void Frm_PPro_Cmd_CenterMap_Click();
    void Frm_PPro_Cmd_Next_Carte_Click();
    // Corner coordinates and pixel sizes from the working calibration.
    void Frm_PPro_Show_Calibration();

protected:
    void Design() override;

private:
    // `c` into `frame`, at the given place within it.
    static void Place(plat::Control& c, plat::Frame& frame, int left, int top, int width, int height);
    void Design_Map_Step();
    // A file name through CM; false when the author cancelled.
    // `extension` (without its dot) is added to a name saved without one.
    bool Choose_File(const std::string& title, const std::string& filter, bool save,
                     const std::string& extension = {});
    // The BGL base name or (`exclusion`) the exclusion BGL into `label` and `path`.
    void Choose_Bgl(plat::Label& label, std::string& path, bool exclusion);
    // The class BGL folder or (`raw`) the raw-copy folder into `label` and `folder`.
    void Choose_Output_Folder(plat::Label& label, std::string& folder, bool raw);
};

// The one instance of the window.
Frm_PPro& Frm_PPro_Window();
// Shows it modally; for a new project the caller has set Proj_New := 1 and Proj_Accepted := 0.
void Frm_PPro_Show_Modal();
