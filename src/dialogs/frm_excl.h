#pragma once
// The exclusion area dialog: one LOD13 area of Excl_Cell_Table and a box per terrain vector
// layer 0..100, ticked for the layers the area excludes.
#include "platform/ui/ui.h"

class Frm_Excl : public plat::Form {
public:
    Frm_Excl();

    plat::ControlArray<plat::CheckBox> Chk_Excl{*this, "Chk_Excl", Designed_Boxes()};
    plat::Label L_LCM{*this, "L_LCM"};
    plat::Label L_Cell_Area{*this, "L_Cell_Area"};
    plat::CommandButton Cmd_Sup{*this, "Cmd_Sup"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_Excl_Form_Load();
    void Frm_Excl_Chk_Excl_Click(int index);
    void Frm_Excl_Cmd_Ok_Click();
    void Frm_Excl_Cmd_Sup_Click();
    void Frm_Excl_Cmd_Cancel_Click();

protected:
    void Design() override;

private:
    static std::vector<int> Designed_Boxes();
};

// The one instance of the window.
Frm_Excl& Frm_Excl_Window();
// Shows it modally for the area under the mouse; returns when it is closed.
void Frm_Excl_Show_Modal();
