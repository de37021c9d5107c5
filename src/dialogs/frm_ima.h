#pragma once
// The texture image dialog: the bitmap of one texture image (with its size) and its five
// seasonal texture names. It edits Image_Cur and on OK appends it to Image_Table with a new
// number (New_Image_Armed = 1) or writes it back over record Cur_Image (any other value).
#include "platform/ui/ui.h"

class Frm_Ima : public plat::Form {
public:
    Frm_Ima();

    plat::Label Label1{*this, "Label1"};
    plat::Label DirFic{*this, "DirFic"};
    plat::Frame Fram_Tex_Season{*this, "Fram_Tex_Season"};
    plat::ControlArray<plat::Label> L_Season_Num{*this, "L_Season_Num", {0, 1, 2, 3, 4}};
    plat::ControlArray<plat::TextBox> Texture_Name{*this, "Texture_Name", {0, 1, 2, 3, 4}};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};
    plat::CommandButton Cmd_Help{*this, "Cmd_Help"};

    void Frm_Ima_Form_Load();
    void Frm_Ima_DirFic_DblClick();
    void Frm_Ima_Texture_Name_DblClick(int index);
    void Frm_Ima_Texture_Name_Validate(int index, bool& cancel);
    void Frm_Ima_Cmd_Ok_Click();
    void Frm_Ima_Cmd_Cancel_Click();
    void Frm_Ima_Cmd_Help_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_Ima& Frm_Ima_Window();
// Shows it modally from a fresh load (the caller sets Ima_Dlg_Cancelled := 1 first).
void Frm_Ima_Show_Modal();
// Start values (tests): the window unloaded.
void Frm_Ima_Reset();
