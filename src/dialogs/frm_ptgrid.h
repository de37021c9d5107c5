#pragma once
// The altitude popup of the grid-point mode: one box, opened beside the mouse, for the altitude
// of grid point Cur_Grid_Point. Enter accepts and closes it, Escape closes it without change.
#include "platform/ui/ui.h"

class Frm_PtGrid : public plat::Form {
public:
    Frm_PtGrid();

    plat::Label Label1{*this, "Label1"};
    plat::TextBox Alt{*this, "Alt"};

    void Frm_PtGrid_Form_Load();
    void Frm_PtGrid_Alt_KeyDown(int& key_code, int shift);
    void Frm_PtGrid_Alt_Validate(bool& cancel);

protected:
    void Design() override;
};

Frm_PtGrid& Frm_PtGrid_Window();
// Shows it modally from a fresh load (the caller sets Grid_Dlg_Cancelled := 1 first).
void Frm_PtGrid_Show_Modal();
// Start values (tests): the window unloaded.
void Frm_PtGrid_Reset();
