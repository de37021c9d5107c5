#pragma once
// The folder picker: a drive list and a folder tree. It is shown through SYST_Choose_Folder,
// which hands the start folder in and the chosen one back through Dir_Pick_Path.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class Frm_Dir : public plat::Form {
public:
    Frm_Dir();

    plat::DriveListBox Drive1{*this, "Drive1"};
    plat::DirListBox Dir1{*this, "Dir1"};
    plat::Label Lab_DblClick{*this, "Lab_DblClick"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_Dir_Form_Load();
    void Frm_Dir_Drive1_Change();
    void Frm_Dir_Dir1_Change();
    void Frm_Dir_Cmd_Ok_Click();
    void Frm_Dir_Cmd_Cancel_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_Dir& Frm_Dir_Window();
