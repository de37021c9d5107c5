#pragma once
// The textured area dialog: one LOD13 area of Lwm_Cell_Table with its land/water attribute,
// altitude, fill and mask options, an optional custom texture (a land class, or up to six
// texture bitmaps), a layer and a free text.
#include "platform/ui/ui.h"

class Frm_LOD : public plat::Form {
public:
    Frm_LOD();

    plat::ControlArray<plat::OptionButton> Opt_Attrib{*this, "Opt_Attrib", {0, 1, 2}};
    plat::Label L_Height{*this, "L_Height"};
    plat::TextBox Alti{*this, "Alti"};
    plat::Frame Fram_Fill1x1{*this, "Fram_Fill1x1"};
    plat::CheckBox Chk_Fill1x1{*this, "Chk_Fill1x1"};
    plat::Frame Fram_InvertMask{*this, "Fram_InvertMask"};
    plat::CheckBox Chk_InvertMask{*this, "Chk_InvertMask"};
    plat::ControlArray<plat::OptionButton> Opt_InvertMaskValue{*this, "Opt_InvertMaskValue", {0, 1, 2}};
    plat::Frame Fram_Textures{*this, "Fram_Textures"};
    plat::CheckBox Chk_Custom{*this, "Chk_Custom"};
    plat::ControlArray<plat::OptionButton> Opt_LandClass{*this, "Opt_LandClass", {0, 1}};
    plat::ComboBox Cmbo{*this, "Cmbo"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::Label L_Texture{*this, "L_Texture"};
    plat::Label LAutogen{*this, "LAutogen"};
    plat::ControlArray<plat::Label> L_Texture_Num{*this, "L_Texture_Num", {0, 1, 2, 3, 4, 5}};
    plat::ControlArray<plat::TextBox> Texture_Name{*this, "Texture_Name", {0, 1, 2, 3, 4, 5}};
    plat::Label L_Layer{*this, "L_Layer"};
    plat::TextBox Layer{*this, "Layer"};
    plat::Label L_Text{*this, "L_Text"};
    plat::TextBox Texte{*this, "Texte"};
    plat::Label LCreatMod{*this, "LCreatMod"};
    plat::Label L_Cell_Area{*this, "L_Cell_Area"};
    plat::CommandButton Cmd_Sup{*this, "Cmd_Sup"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_LOD_Form_Load();
    void Frm_LOD_Form_Unload(bool& cancel);
    void Frm_LOD_Cmbo_Click();
    void Frm_LOD_Chk_Custom_Click();
    void Frm_LOD_Chk_Fill1x1_Click();
    void Frm_LOD_Chk_InvertMask_Click();
    void Frm_LOD_Opt_Attrib_Click(int index);
    void Frm_LOD_Opt_InvertMaskValue_Click(int index);
    void Frm_LOD_Opt_LandClass_Click(int index);
    void Frm_LOD_Alti_Validate(bool& cancel);
    void Frm_LOD_Layer_Validate(bool& cancel);
    void Frm_LOD_Texte_Validate(bool& cancel);
    void Frm_LOD_Texture_Name_Validate(int index, bool& cancel);
    void Frm_LOD_Texture_Name_DblClick(int index);
    void Frm_LOD_Cmd_Ok_Click();
    void Frm_LOD_Cmd_Sup_Click();
    void Frm_LOD_Cmd_Cancel_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_LOD& Frm_LOD_Window();
// Shows it modally for the LOD13 area under the mouse; returns when it is closed.
void Frm_LOD_Show_Modal();
