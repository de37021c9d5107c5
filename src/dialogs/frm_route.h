#pragma once
// The line/polygon attribute dialog: every attribute of one line or polygon on five tabs. It
// edits the working record Route_Attrib_Cur; OK hands it back in Route_Attrib_Result and clears
// Route_Dlg_Cancelled. Named attribute sets are read from and saved to reference files.
#include <cstdint>
#include <string>

#include "platform/ui/ui.h"

// Entries of Line_Type_Table, Land_Class_Table and Park_Table shown in the dialog's lists.
inline int16_t Line_Type_Index = 0;
inline int16_t Land_Class_Index = 0;
inline int16_t Park_Index = 0;

class Frm_Route : public plat::Form {
public:
    Frm_Route();

    plat::TabStrip SSTb{*this, "SSTb"};

    // Tab 0 "Main".
    plat::Label Label11{*this, "Label11"};
    plat::TextBox Text_Ref{*this, "Text_Ref"};
    plat::CommandButton Cmd_Read{*this, "Cmd_Read"};
    plat::CommandButton Cmd_Save{*this, "Cmd_Save"};
    plat::CommonDialog CM{*this, "CM"};
    plat::Label LText_Rt{*this, "LText_Rt"};
    plat::TextBox Text_Rt{*this, "Text_Rt"};
    plat::Frame Lfrm_SurfShore{*this, "Lfrm_SurfShore"};
    plat::ControlArray<plat::OptionButton> Opt_SurfShore{*this, "Opt_SurfShore", {0, 1, 2, 3}};
    plat::Label LImbric{*this, "LImbric"};
    plat::TextBox Imbrication{*this, "Imbrication"};
    plat::Label LAlt_Coast{*this, "LAlt_Coast"};
    plat::TextBox Alt_Coast{*this, "Alt_Coast"};
    plat::Frame Fram_Type_Poly{*this, "Fram_Type_Poly"};
    plat::ControlArray<plat::OptionButton> Opt_LWM_VTP2{*this, "Opt_LWM_VTP2", {0, 1, 2}};
    plat::Frame Fram_Layer_VTP12{*this, "Fram_Layer_VTP12"};
    plat::Label LLayer_Vtp2{*this, "LLayer_Vtp2"};
    plat::TextBox Layer_Vtp2{*this, "Layer_Vtp2"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};

    // Tab 1 "Lines".
    plat::Frame Fram_Line{*this, "Fram_Line"};
    plat::ComboBox Cmbo{*this, "Cmbo"};
    plat::Label LWaves{*this, "LWaves"};
    plat::Label LLargeur{*this, "LLargeur"};
    plat::TextBox Largeur{*this, "Largeur"};
    plat::Label LLayer{*this, "LLayer"};
    plat::TextBox Layer{*this, "Layer"};
    plat::CheckBox Chk_LandOnRight{*this, "Chk_LandOnRight"};
    plat::CheckBox Chk_FermerLine{*this, "Chk_FermerLine"};
    plat::CheckBox Chk_Vtp1_Line{*this, "Chk_Vtp1_Line"};
    plat::CheckBox Chk_Effil_Deb{*this, "Chk_Effil_Deb"};
    plat::CheckBox Chk_Effil_Fin{*this, "Chk_Effil_Fin"};
    plat::Label LPoly_Or_Line{*this, "LPoly_Or_Line"};
    plat::Frame Fram_Night{*this, "Fram_Night"};
    plat::CheckBox Chk_Line_Night{*this, "Chk_Line_Night"};
    plat::CheckBox Chk_Drive_Right{*this, "Chk_Drive_Right"};
    plat::Label LLayerScasm{*this, "LLayerScasm"};
    plat::TextBox LayerScasm{*this, "LayerScasm"};
    plat::PictureBox PicLine{*this, "PicLine"};
    plat::CommandButton Cmd_OK1{*this, "Cmd_OK1"};
    plat::CommandButton Cmd_Cancel1{*this, "Cmd_Cancel1"};
    plat::CommandButton Cmd_Help1{*this, "Cmd_Help1"};

    // Tab 2 "LWM".
    plat::Frame Fram_LWM{*this, "Fram_LWM"};
    plat::Frame Fram_Meter_Feet{*this, "Fram_Meter_Feet"};
    plat::ControlArray<plat::OptionButton> Opt_Meter_Feet_LWM{*this, "Opt_Meter_Feet_LWM", {0, 1}};
    plat::Frame Fram_Attrib{*this, "Fram_Attrib"};
    plat::ControlArray<plat::OptionButton> Opt_Attrib{*this, "Opt_Attrib", {0, 1}};
    plat::Label L_AltI{*this, "L_AltI"};
    plat::TextBox Alti{*this, "Alti"};
    plat::CommandButton Cmd_OK2{*this, "Cmd_OK2"};
    plat::CommandButton Cmd_Cancel2{*this, "Cmd_Cancel2"};
    plat::CommandButton Cmd_Help2{*this, "Cmd_Help2"};

    // Tab 3 "VTP1 Polys".
    plat::Frame Fram_VTP1_Mode{*this, "Fram_VTP1_Mode"};
    plat::ControlArray<plat::OptionButton> Opt_VTP1_SpecNor{*this, "Opt_VTP1_SpecNor", {0, 1}};
    plat::Frame Fram_VTP1_Normal{*this, "Fram_VTP1_Normal"};
    plat::CheckBox Chk_Flip_VTP1Texture{*this, "Chk_Flip_VTP1Texture"};
    plat::ControlArray<plat::OptionButton> Opt_LandClass_1{*this, "Opt_LandClass_1", {0, 1}};
    plat::ComboBox Cbo_LC_1{*this, "Cbo_LC_1"};
    plat::Label LAutogen1{*this, "LAutogen1"};
    plat::ControlArray<plat::TextBox> Texture_Name_1{*this, "Texture_Name_1", {0, 1, 2, 3, 4, 5}};
    plat::Frame Fram_VTP1_Special{*this, "Fram_VTP1_Special"};
    plat::Label L_VTP1_Poly{*this, "L_VTP1_Poly"};
    plat::PictureBox Pic_1{*this, "Pic_1"};
    plat::CommandButton Cmd_OK3{*this, "Cmd_OK3"};
    plat::CommandButton Cmd_Cancel3{*this, "Cmd_Cancel3"};
    plat::CommandButton Cmd_Help3{*this, "Cmd_Help3"};

    // Tab 4 "VTP2 Polys".
    plat::Frame Fram_VTP2{*this, "Fram_VTP2"};
    plat::ControlArray<plat::OptionButton> Opt_LandClass{*this, "Opt_LandClass", {0, 1, 2}};
    plat::ComboBox Cbo_LC{*this, "Cbo_LC"};
    plat::ComboBox Cbo_Park{*this, "Cbo_Park"};
    plat::Label LAutogen{*this, "LAutogen"};
    plat::ControlArray<plat::TextBox> Texture_Name{*this, "Texture_Name", {0, 1, 2, 3, 4, 5}};
    plat::PictureBox Pic{*this, "Pic"};
    plat::CommandButton Cmd_OK4{*this, "Cmd_OK4"};
    plat::CommandButton Cmd_Cancel4{*this, "Cmd_Cancel4"};
    plat::CommandButton Cmd_Help4{*this, "Cmd_Help4"};

    // Loading, showing the record, OK and Cancel.
    void Frm_Route_Form_Load();
    void Frm_Route_Form_Unload(bool& cancel);
    void Frm_Route_PrepaDisplay();
    void Frm_Route_Cmd_Ok_Click();
    void Frm_Route_Cmd_Cancel_Click();
    void Frm_Route_Cmd_Help_Click();

    // Option buttons, check boxes and the type list.
    void Frm_Route_Opt_Attrib_Click(int index);
    void Frm_Route_Opt_Meter_Feet_LWM_Click(int index);
    void Frm_Route_Opt_VTP1_SpecNor_Click(int index);
    void Frm_Route_Opt_SurfShore_Click(int index);
    void Frm_Route_Opt_LWM_VTP2_Click(int index);
    void Frm_Route_Opt_LandClass_Click(int index);
    void Frm_Route_Opt_LandClass_1_Click(int index);
    void Frm_Route_Cmbo_Click();

    // Text fields: the same three handlers for every box.
    void Frm_Route_Field_GotFocus(plat::TextBox& box);
    void Frm_Route_Field_KeyDown(plat::TextBox& box, int& key_code, int shift);
    void Frm_Route_Field_Validate(plat::TextBox& box, bool& cancel);
    void Frm_Route_Texture_Name_Validate(int index, bool& cancel);
    void Frm_Route_Texture_Name_1_Validate(int index, bool& cancel);
    void Frm_Route_Texture_Name_KeyDown(int index, int& key_code, int shift);
    void Frm_Route_Texture_Name_1_KeyDown(int index, int& key_code, int shift);

    // Tabs and previews.
    void Frm_Route_EnableDisable();
    void Frm_Route_Display_Line(plat::PictureBox& picture, int16_t& type_number);
    void Frm_Route_Cbo_LC_Click();
    void Frm_Route_Cbo_LC_1_Click();
    void Frm_Route_Cbo_Park_Click();
    void Frm_Route_Texture_Name_DblClick(int index);
    void Frm_Route_Texture_Name_1_DblClick(int index);

    // Reference files.
    void Frm_Route_Cmd_Save_Click();
    void Frm_Route_Cmd_Read_Click();

protected:
    void Design() override;

private:
    void Wire_Field(plat::TextBox& box);
    // The field's stored value back into its box, as the record is shown.
    void Show_Field(plat::TextBox& box);
    // Texture_Name i into both twin boxes.
    void Show_Texture_Name(int index);
    // The two boxes of texture name i (on two tabs) are twins: what is typed in one is
    // trimmed into both and, when empty or an existing file, taken; Escape shows the stored one.
    void Take_Texture_Name(plat::ControlArray<plat::TextBox>& typed, plat::ControlArray<plat::TextBox>& twin,
                           int index, bool& cancel);
    void Texture_Name_Key(plat::ControlArray<plat::TextBox>& typed, plat::ControlArray<plat::TextBox>& twin, int index,
                          int key_code);
    void Preview_Polygon();
    void Preview_Land_Class(bool both_pictures);
    void Preview_Park();
    void Preview_File(plat::PictureBox& picture, const std::string& source);
    // False once this showing found a type that the type list does not hold: the list then
    // stays disabled and unselected until the dialog is opened again.
    bool type_list_usable_ = true;
};

// The one instance of the window.
Frm_Route& Frm_Route_Window();
// Shows it modally, freshly loaded; the caller has set Route_Dlg_Cancelled := 1 first.
void Frm_Route_Show_Modal();

// Start values of this module's globals (tests).
void Frm_Route_Reset();
