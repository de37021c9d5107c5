#include "dialogs/frm_lc.h"

#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/cell_dialog_preview.h"
#include "dialogs/frm_route.h"  // Land_Class_Index

Frm_LC::Frm_LC() : Form("Frm_LC") {
    Form_Load = [this] { Frm_LC_Form_Load(); };
    Form_Unload = [this](bool& cancel) { Frm_LC_Form_Unload(cancel); };
    Cmbo.Click = [this] { Frm_LC_Cmbo_Click(); };
    Cell_Wire_Value_Box(
        Num, [this](bool& cancel) { Frm_LC_Num_Validate(cancel); }, [] { return SYST_To_Text(Lc_Cell_Cur.Class_Code); });
    Cmd_Ok.Click = [this] { Frm_LC_Cmd_Ok_Click(); };
    Cmd_Sup.Click = [this] { Frm_LC_Cmd_Sup_Click(); };
    Cmd_Cancel.Click = [this] { Frm_LC_Cmd_Cancel_Click(); };
}

void Frm_LC::Design() {
    SetCaption("LandClass");
    BorderStyle = 3;
    Move(0, 0, 300, 256);
    Cmbo.SetStyle(plat::Combo_DropDownList);
    Cmbo.Move(12, 12, 276, 21);
    Pic.Move(12, 42, 128, 128);
    LNum.SetCaption("Nr:");
    LNum.Move(156, 46, 30, 16);
    Num.Move(190, 42, 60, 21);
    LAutogen.SetCaption("Y : Autogen actif");
    LAutogen.Move(156, 76, 132, 16);
    LTexture.SetCaption(" ");
    LTexture.Move(156, 100, 132, 32);
    LCreatMod.Move(12, 186, 120, 18);
    L_Cell_Area.Move(140, 186, 150, 18);
    Cmd_Sup.SetCaption("Delete");
    Cmd_Sup.Move(12, 216, 84, 26);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(106, 216, 84, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(200, 216, 84, 26);
}

// The code in the number box (without taking it as typed) and the no-texture note.
void Frm_LC::Show_Code() {
    Lc_Dlg_Loading = 1;
    Num.SetText(std::to_string(Lc_Cell_Cur.Class_Code));
    Lc_Dlg_Loading = 0;
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
    if (Lc_Dlg_Loading == 1) return;
    const std::string text = Cell_Trim_Box(Num);
    const double v = Cell_Is_Whole(text) ? SYST_To_Double(text) : -1;
    if (v < 0 || v >= 255) {
        Cell_Refuse_Entry(cancel);
        return;
    }
    Lc_Cell_Cur.Class_Code = static_cast<uint8_t>(v);
    // Without a class list the typed code stands: there is no entry to fall back on.
    if (Cell_Land_Class_Last() < 0) {
        Show_Code();
        return;
    }
    int k = Cell_Find_Land_Class(Lc_Cell_Cur.Class_Code);
    if (k < 0) {
        k = 0;
        Lc_Cell_Cur.Class_Code = 0;
    }
    Land_Class_Index = static_cast<int16_t>(k);
    Cell_Select_Entry(Cmbo, k, [this] { Frm_LC_Cmbo_Click(); });
    Cell_Land_Class_Preview(Pic, k);
    LTexture.SetVisible(Lc_Cell_Cur.Class_Code == 252 || Lc_Cell_Cur.Class_Code == 253);
}

void Frm_LC::Frm_LC_Cmd_Ok_Click() {
    Cell_Store(Lc_Cell_Table, Lc_Cell_Count, Lc_Cell_Capacity, Lc_Cell_Growth, Lc_Dlg_Index, Lc_Cell_Cur);
    Lc_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LC::Frm_LC_Cmd_Sup_Click() {
    Cell_Delete(Lc_Cell_Table, Lc_Cell_Count, Lc_Dlg_Index);
    Lc_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LC::Frm_LC_Cmd_Cancel_Click() { Unload(); }

void Frm_LC::Frm_LC_Form_Unload(bool& cancel) {
    (void)cancel;
    Cell_Drop_Preview(Pic);
}

Frm_LC& Frm_LC_Window() {
    static Frm_LC window;
    return window;
}

void Frm_LC_Show_Modal() {
    Frm_LC& w = Frm_LC_Window();
    if (w.Loaded()) w.Unload();
    w.Show(plat::Modal);
    if (w.Loaded()) w.Unload();
}
