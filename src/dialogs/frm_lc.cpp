// The land-class cell dialog: its class list, preview, number checks and notes.
#include "dialogs/frm_lc.h"

#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/class_cell_dialog.h"
#include "dialogs/frm_route.h"  // Land_Class_Index
#include "platform/ui/modal.h"

Frm_LC::Frm_LC() : Form("Frm_LC") {
    Class_Cell_Wire<Frm_LC>(*this,
                            {&Frm_LC::Frm_LC_Form_Load, &Frm_LC::Frm_LC_Form_Unload, &Frm_LC::Frm_LC_Cmbo_Click,
                             &Frm_LC::Frm_LC_Num_Validate, &Frm_LC::Frm_LC_Cmd_Ok_Click,
                             &Frm_LC::Frm_LC_Cmd_Sup_Click, &Frm_LC::Frm_LC_Cmd_Cancel_Click},
                            Land_Class_Cells());
}

void Frm_LC::Design() {
    Class_Cell_Design(*this, "LandClass");
    LAutogen.SetCaption("Y : Autogen actif");
    LAutogen.Move(156, 76, 132, 16);
    LTexture.SetCaption(" ");
    LTexture.Move(156, 100, 132, 32);
}

// The code in the number box (without taking it as typed) and the no-texture note.
void Frm_LC::Show_Code() {
    Class_Cell_Show_Code(Num, Land_Class_Cells());
    LTexture.SetVisible(Lc_Cell_Cur.Class_Code == 252 || Lc_Cell_Cur.Class_Code == 253);
}

void Frm_LC::Frm_LC_Form_Load() {
    LAutogen.SetCaption(Language == "US" ? "Y : active Autogen" : "Y : Autogen actif");
    const Cell_Keys keys = Cell_Keys_Of_Mouse_Centred();
    Cell_Fill_Land_Class_List(Cmbo);

    Class_Cell_Rec defaults;
    defaults.Class_Code = 0;
    Cell_Look_Up(Lc_Cell_Table, Lc_Cell_Count, keys, 4, defaults, Lc_Cell_Cur, Lc_Dlg_Index, LCreatMod, Cmd_Sup);
    L_Cell_Area.SetCaption(Cell_Area_Text(keys));

    Land_Class_Index = Cell_Land_Class_Entry(Lc_Cell_Cur.Class_Code);
    if (Land_Class_Loaded == 1) Cell_Select_Entry(Cmbo, Land_Class_Index, [this] { Frm_LC_Cmbo_Click(); });
    Cell_Land_Class_Preview(Pic, Land_Class_Index);
    Show_Code();
}

void Frm_LC::Frm_LC_Cmbo_Click() {
    const int k = Cmbo.ListIndex();
    if (k < 0 || k > Cell_Land_Class_Last()) return;
    Land_Class_Index = static_cast<int16_t>(k);
    Cell_Land_Class_Preview(Pic, k);
    Lc_Cell_Cur.Class_Code = Land_Class_Table(k).Code;
    Show_Code();
}

void Frm_LC::Frm_LC_Num_Validate(bool& cancel) {
    Class_Code_Rule rule{0, 255, 0, {}};
    if (Cell_Land_Class_Last() >= 0) rule.Entry_Of = Cell_Find_Land_Class;
    const Class_Code_Typed typed = Class_Cell_Take_Code(Num, Land_Class_Cells(), rule, cancel);
    if (!typed.Taken) return;
    // Without a class list the typed code stands: there is no entry to fall back on.
    if (typed.Entry < 0) {
        Show_Code();
        return;
    }
    Land_Class_Index = static_cast<int16_t>(typed.Entry);
    Cell_Select_Entry(Cmbo, typed.Entry, [this] { Frm_LC_Cmbo_Click(); });
    Cell_Land_Class_Preview(Pic, typed.Entry);
    LTexture.SetVisible(Lc_Cell_Cur.Class_Code == 252 || Lc_Cell_Cur.Class_Code == 253);
}

void Frm_LC::Frm_LC_Cmd_Ok_Click() { Class_Cell_Ok(*this, Land_Class_Cells()); }

void Frm_LC::Frm_LC_Cmd_Sup_Click() { Class_Cell_Delete(*this, Land_Class_Cells()); }

void Frm_LC::Frm_LC_Cmd_Cancel_Click() { Unload(); }

void Frm_LC::Frm_LC_Form_Unload(bool& cancel) {
    (void)cancel;
    Cell_Drop_Preview(Pic);
}

Frm_LC& Frm_LC_Window() {
    static Frm_LC window;
    return window;
}

void Frm_LC_Show_Modal() { plat::Show_Modal(Frm_LC_Window(), plat::Loaded_Copy::Unload); }
