#pragma once
// The water-class cell dialog: one cell of Wc_Cell_Table, centred on an LOD13 grid point, and
// its class, picked from the list of "\Resource\WC.txt" (read at every opening) or typed, with a
// preview of its water texture.
#include <cstdint>

#include "core/vb_array.h"
#include "platform/ui/ui.h"

// The codes of the lines of "WC.txt" in file order, while the dialog is open.
inline Vb_Array<uint8_t, 0> Water_Class_Codes;
inline int16_t Water_Class_Count = 0;     // last index of Water_Class_Codes
inline int16_t Water_Class_Index = 0;     // the entry shown in the list
inline int16_t Wc_List_Loaded = 0;        // 1 when "WC.txt" filled the list
inline int16_t Wc_Texture_Dir_Found = 0;  // 1 when the simulator's texture folder exists

class Frm_WC : public plat::Form {
public:
    Frm_WC();

    plat::ComboBox Cmbo{*this, "Cmbo"};
    plat::PictureBox Pic{*this, "Pic"};
    plat::Label LNum{*this, "LNum"};
    plat::TextBox Num{*this, "Num"};
    plat::Label LCreatMod{*this, "LCreatMod"};
    plat::Label L_Cell_Area{*this, "L_Cell_Area"};
    plat::CommandButton Cmd_Sup{*this, "Cmd_Sup"};
    plat::CommandButton Cmd_Ok{*this, "Cmd_Ok"};
    plat::CommandButton Cmd_Cancel{*this, "Cmd_Cancel"};

    void Frm_WC_Form_Load();
    void Frm_WC_Form_Unload(bool& cancel);
    void Frm_WC_Cmbo_Click();
    void Frm_WC_Num_Validate(bool& cancel);
    void Frm_WC_Cmd_Ok_Click();
    void Frm_WC_Cmd_Sup_Click();
    void Frm_WC_Cmd_Cancel_Click();

protected:
    void Design() override;

private:
    void Show_Code();
    void Preview(int code);
};

// The one instance of the window.
Frm_WC& Frm_WC_Window();
// Shows it modally for the cell nearest the mouse; returns when it is closed.
void Frm_WC_Show_Modal();
// Start values of the water-class list's globals (tests).
void Frm_WC_Reset();
