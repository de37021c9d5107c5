#pragma once
// The conversion options shown when a version-4 project is opened: four check boxes that say
// which older attribute values the reader brings up to the current conventions.
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

class Frm_V24 : public plat::Form {
public:
    Frm_V24();

    plat::CheckBox Chk_Adapt_lines{*this, "Chk_Adapt_lines"};
    plat::CheckBox Chk_Change_layer_Line{*this, "Chk_Change_layer_Line"};
    plat::CheckBox Chk_Change_Layer_Poly{*this, "Chk_Change_Layer_Poly"};
    plat::CheckBox Chk_Change_Layer_Exclude{*this, "Chk_Change_Layer_Exclude"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};

    void Frm_V24_Form_Load();
    void Frm_V24_Chk_Adapt_lines_Click();
    void Frm_V24_Chk_Change_layer_Line_Click();
    void Frm_V24_Chk_Change_Layer_Poly_Click();
    void Frm_V24_Chk_Change_Layer_Exclude_Click();
    void Frm_V24_Cmd_Ok_Click();
    void Frm_V24_Form_Unload(bool& cancel);

protected:
    void Design() override;
};

// The one instance of the window.
Frm_V24& Frm_V24_Window();
// Shows it modally; afterwards Conv_Adapt_Lines, Conv_Line_Layers, Conv_Poly_Layers and
// Conv_Excl_Layers hold the choice (all 0 when the window was closed without OK).
void Frm_V24_Show_Modal();
