#pragma once
// The reference chooser: the listed reference sets by name; OK reads the one selected into
// the line dialog's working record.
#include <string>

#include "platform/ui/ui.h"

class Frm_Ref : public plat::Form {
public:
    Frm_Ref();

    plat::ComboBox Cmbo{*this, "Cmbo"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    // Full path of the reference selected in the list.
    std::string Ref_Chosen_Path;

    void Frm_Ref_Form_Load();
    void Frm_Ref_Cmbo_Click();
    void Frm_Ref_Cmd_Ok_Click();
    void Frm_Ref_Cmd_Cancel_Click();

protected:
    void Design() override;
};

// The one instance of the window.
Frm_Ref& Frm_Ref_Window();
// Closes the window (tests).
void Frm_Ref_Reset();
