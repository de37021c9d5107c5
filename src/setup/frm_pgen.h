#pragma once
// The general-parameters window: interface language, the simulator's folder and an editor.
#include "platform/ui/ui.h"

class Frm_PGen : public plat::Form {
public:
    Frm_PGen();

    plat::Frame Frame_Lang{*this, "Frame_Lang"};
    plat::ControlArray<plat::OptionButton> Opt_Lang{*this, "Opt_Lang", {0, 1}};
    plat::Label Lab_FSdir{*this, "Lab_FSdir"};
    plat::TextBox DirFS{*this, "DirFS"};
    plat::Label Lab_Edit{*this, "Lab_Edit"};
    plat::TextBox Editeur{*this, "Editeur"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};
    plat::CommonDialog CM{*this, "CM"};

    void Frm_PGen_Form_Load();
    void Frm_PGen_Opt_Lang_Click(int index);
    void Frm_PGen_DirFS_DblClick();
    void Frm_PGen_DirFS_KeyDown(int& key_code, int shift);
    void Frm_PGen_DirFS_Validate(bool& cancel);
    void Frm_PGen_Editeur_DblClick();
    void Frm_PGen_Editeur_KeyDown(int& key_code, int shift);
    void Frm_PGen_Editeur_Validate(bool& cancel);
    void Frm_PGen_Cmd_Ok_Click();
    void Frm_PGen_Cmd_Cancel_Click();
    void Frm_PGen_Cmd_Help_Click() {}

protected:
    void Design() override;
};

// The one instance of the window.
Frm_PGen& Frm_PGen_Window();
// Caption and texts of the window in the language of `PGen_Language`.
void Pinit_Set_PGen_Texts();
// Shows it modally; Setup_Done is 1 once OK took the choices.
void Frm_PGen_Show_Modal();
