#pragma once
// The folder picker: a drive list (the root) and a folder tree. Frm_Dir_Choose shows it,
// handing the start folder in and the chosen one back through Dir_Pick_Path; the rest of the
// program reaches it through SYST_Pick_Folder.
#include <cstdint>
#include <string>

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

// The caller sets Dir_Pick_Title first. Shows the picker on `folder` (empty: App_Dir); afterwards
// cancelled is 0 when the author chose OK, 1 otherwise, and folder is the folder last shown
// (callers use it only when cancelled is 0).
void Frm_Dir_Choose(int16_t& cancelled, std::string& folder);
