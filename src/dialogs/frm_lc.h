#pragma once
// The land-class cell dialog: one cell of Lc_Cell_Table, centred on an LOD13 grid point, and
// its class, picked from the land-class list or typed, with a preview of its ground texture.
#include "platform/ui/ui.h"

class Frm_LC : public plat::Form {
public:
    Frm_LC();

    plat::ComboBox Cmbo{*this, "Cmbo"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::Label LNum{*this, "LNum"};
    plat::TextBox Num{*this, "Num"};
    plat::Label LAutogen{*this, "LAutogen"};
    plat::Label LTexture{*this, "LTexture"};
    plat::Label LCreatMod{*this, "LCreatMod"};
    plat::Label L_Cell_Area{*this, "L_Cell_Area"};
    plat::CommandButton Cmd_Sup{*this, "Cmd_Sup"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_LC_Form_Load();
    void Frm_LC_Form_Unload(bool& cancel);
    void Frm_LC_Cmbo_Click();
    void Frm_LC_Num_Validate(bool& cancel);
    void Frm_LC_Cmd_Ok_Click();
    void Frm_LC_Cmd_Sup_Click();
    void Frm_LC_Cmd_Cancel_Click();

protected:
    void Design() override;

private:
    void Show_Code();
};

// The one instance of the window.
Frm_LC& Frm_LC_Window();
// Shows it modally for the cell nearest the mouse; returns when it is closed.
void Frm_LC_Show_Modal();
