#pragma once
// The main window: the tool bar of 29 picture buttons, the status row, the map picture with
// its scroll bars, the generation frame, the hidden tile and image pictures, and the menus.
#include "platform/ui/ui.h"

class Frm : public plat::Form {
public:
    Frm();

    // Tool bar, left to right.
    plat::CommandButton Cmd_New{*this, "Cmd_New"};
    plat::CommandButton Cmd_Save{*this, "Cmd_Save"};
    plat::CommandButton Cmd_AffBmp{*this, "Cmd_AffBmp"};
    plat::CommandButton Cmd_ZPlus{*this, "Cmd_ZPlus"};
    plat::CommandButton Cmd_ZMoins{*this, "Cmd_ZMoins"};
    plat::CommandButton Cmd_Grid{*this, "Cmd_Grid"};
    plat::CommandButton Cmd_ColourGrid{*this, "Cmd_ColourGrid"};
    plat::CommandButton Cmd_API{*this, "Cmd_API"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};
    plat::CommandButton Cmd_LandClass{*this, "Cmd_LandClass"};
    plat::CommandButton Cmd_AffTexture{*this, "Cmd_AffTexture"};
    plat::CommandButton Cmd_WaterClass{*this, "Cmd_WaterClass"};
    plat::CommandButton Cmd_Excl_Areas{*this, "Cmd_Excl_Areas"};
    plat::CommandButton Cmd_TrtCell{*this, "Cmd_TrtCell"};
    plat::CommandButton Cmd_TrtArea{*this, "Cmd_TrtArea"};
    plat::CommandButton Cmd_Saisie_Routes{*this, "Cmd_Saisie_Routes"};
    plat::CommandButton Cmd_New_Route{*this, "Cmd_New_Route"};
    plat::CommandButton Cmd_Sel_Route{*this, "Cmd_Sel_Route"};
    plat::CommandButton Cmd_Tabul{*this, "Cmd_Tabul"};
    plat::CommandButton Cmd_Sel_Pt_Route{*this, "Cmd_Sel_Pt_Route"};
    plat::CommandButton Cmd_Ins_Pt_Route{*this, "Cmd_Ins_Pt_Route"};
    plat::CommandButton Cmd_Extr_Pt_Route{*this, "Cmd_Extr_Pt_Route"};
    plat::CommandButton Cmd_TrtIma{*this, "Cmd_TrtIma"};
    plat::CommandButton Cmd_New_Ima{*this, "Cmd_New_Ima"};
    plat::CommandButton Cmd_Sel_Ima{*this, "Cmd_Sel_Ima"};
    plat::CommandButton Cmd_Sel_Crb_Ima{*this, "Cmd_Sel_Crb_Ima"};
    plat::CommandButton Cmd_Sup_Route_Ou_Pt{*this, "Cmd_Sup_Route_Ou_Pt"};
    plat::CommandButton Cmd_FSUIPC{*this, "Cmd_FSUIPC"};
    plat::CommandButton Cmd_TrtMesh{*this, "Cmd_TrtMesh"};

    // Map area.
    plat::PictureBox Pic{*this, "Pic"};
    plat::HScrollBar HScroll{*this, "HScroll"};
    plat::VScrollBar VScroll{*this, "VScroll"};
    // Rubber bands of the line tools, above the map picture.
    plat::LineControl Ln1{*this, "Ln1"};
    plat::LineControl Ln2{*this, "Ln2"};
    // The aircraft's cross while the simulator link window shows its place.
    plat::LineControl Croix1{*this, "Croix1"};
    plat::LineControl Croix2{*this, "Croix2"};
    // Mark of the selected line point.
    plat::Shape Cercle{*this, "Cercle"};
    // The altitude tip of the grid-point mode.
    plat::Label LPtGrid{*this, "LPtGrid"};

    // Status row, left to right.
    plat::Label L_MouseBmp{*this, "L_MouseBmp"};
    plat::Label LLat{*this, "LLat"};
    plat::Label LLon{*this, "LLon"};
    plat::Label L_LLatDec{*this, "L_LLatDec"};
    plat::Label LLatDec{*this, "LLatDec"};
    plat::Label L_LLonDec{*this, "L_LLonDec"};
    plat::Label LLonDec{*this, "LLonDec"};
    plat::Label L_NumCell_Area{*this, "L_NumCell_Area"};
    plat::Label L_CustomBmp{*this, "L_CustomBmp"};

    // Shown while the scenery is generated.
    plat::Frame Fram_Compile{*this, "Fram_Compile"};
    plat::Label LCompileNom{*this, "LCompileNom"};
    plat::Label LCompile{*this, "LCompile"};

    // Progress of the tiling, the map loading and the save.
    plat::Frame Fram_Creat_2500{*this, "Fram_Creat_2500"};
    plat::Label LTex2500{*this, "LTex2500"};
    plat::Label LNbTex{*this, "LNbTex"};
    plat::Label LPourCent{*this, "LPourCent"};

    // Hidden pictures: map tiles, texture images, class-cell textures.
    plat::ControlArray<plat::PictureBox> WPic{*this, "WPic", {0}};
    plat::ControlArray<plat::PictureBox> WPicIma{*this, "WPicIma", {0}};
    plat::PictureBox WPicLCWC{*this, "WPicLCWC"};

    // Open and save dialogs of the project commands.
    plat::CommonDialog CM{*this, "CM"};

    // Menus.
    plat::Menu Mnu_File{*this, "Mnu_File"};
    plat::Menu Mnu_File_New{*this, "Mnu_File_New", Mnu_File};
    plat::Menu Mnu_File_Open{*this, "Mnu_File_Open", Mnu_File};
    plat::Menu Mnu_File_Enreg{*this, "Mnu_File_Enreg", Mnu_File};
    plat::Menu Mnu_File_Enreg_Sous{*this, "Mnu_File_Enreg_Sous", Mnu_File};
    plat::Menu Mnu_File_Close{*this, "Mnu_File_Close", Mnu_File};
    plat::Menu Mnu_File_Sep1{*this, "Mnu_File_Sep1", Mnu_File};
    plat::ControlArray<plat::Menu> Mnu_File_Prec{*this, "Mnu_File_Prec", Mnu_File, {0, 1, 2, 3}};
    plat::Menu Mnu_File_Sep2{*this, "Mnu_File_Sep2", Mnu_File};
    plat::Menu Mnu_File_Quit{*this, "Mnu_File_Quit", Mnu_File};
    plat::Menu Mnu_Param{*this, "Mnu_Param"};
    plat::Menu Mnu_Param_File{*this, "Mnu_Param_File", Mnu_Param};
    plat::Menu Mnu_Param_Gene{*this, "Mnu_Param_Gene", Mnu_Param};
    plat::Menu Mnu_par_Remesh{*this, "Mnu_par_Remesh", Mnu_Param};
    plat::Menu Mnu_ModCad{*this, "Mnu_ModCad", Mnu_Param};
    plat::Menu Mnu_Reinit{*this, "Mnu_Reinit", Mnu_Param};
    plat::Menu Mnu_Tools{*this, "Mnu_Tools"};
    plat::Menu Mnu_Tool_CvLL{*this, "Mnu_Tool_CvLL", Mnu_Tools};

    // The tool-bar buttons in their order, with the space before each one.
    struct Tool_Slot {
        plat::CommandButton* button;
        int designed_width;
        int gap;   // pixels after the previous button (the first: its left edge)
    };
    const std::vector<Tool_Slot>& Tool_Bar() const { return tool_bar_; }

protected:
    void Design() override;

private:
    std::vector<Tool_Slot> tool_bar_;
};

// The one main window.
Frm& Frm_Window();
