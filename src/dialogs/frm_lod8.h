#pragma once
// The LOD8 cell dialog: one LOD8 cell of Lod8_Cell_Table, water or land as a whole.
#include "platform/ui/ui.h"

class Frm_LOD8 : public plat::Form {
public:
    Frm_LOD8();

    plat::ControlArray<plat::OptionButton> Opt_Attrib{*this, "Opt_Attrib", {0, 1, 2}};
    plat::Label L_Height{*this, "L_Height"};
    plat::TextBox Alti{*this, "Alti"};
    plat::Label LCreatMod{*this, "LCreatMod"};
    plat::Label L_Cell_Area{*this, "L_Cell_Area"};
    plat::CommandButton Cmd_Sup{*this, "Cmd_Sup"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_LOD8_Form_Load();
    void Frm_LOD8_Opt_Attrib_Click(int index);
    void Frm_LOD8_Alti_Validate(bool& cancel);
    void Frm_LOD8_Cmd_Ok_Click();
    void Frm_LOD8_Cmd_Sup_Click();
    void Frm_LOD8_Cmd_Cancel_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_LOD8& Frm_LOD8_Window();
// Shows it modally for the LOD8 cell under the mouse; returns when it is closed.
void Frm_LOD8_Show_Modal();
