// The LOD8 cell dialog: water or land for a whole LOD8 cell, with its altitude.
#include "dialogs/frm_lod8.h"

#include "core/syst.h"
#include "dialogs/cell_dialog.h"
#include "dialogs/cell_dialog_preview.h"
#include "platform/ui/modal.h"

Frm_LOD8::Frm_LOD8() : Form("Frm_LOD8") {
    Form_Load = [this] { Frm_LOD8_Form_Load(); };
    Opt_Attrib.SetWire([this](plat::OptionButton& o, int i) { o.Click = [this, i] { Frm_LOD8_Opt_Attrib_Click(i); }; });
    Cell_Wire_Value_Box(
        Alti, [this](bool& cancel) { Frm_LOD8_Alti_Validate(cancel); }, [] { return SYST_To_Text(Lod8_Cell_Cur.Alti); });
    Cmd_Ok.Click = [this] { Frm_LOD8_Cmd_Ok_Click(); };
    Cmd_Sup.Click = [this] { Frm_LOD8_Cmd_Sup_Click(); };
    Cmd_Cancel.Click = [this] { Frm_LOD8_Cmd_Cancel_Click(); };
}

void Frm_LOD8::Design() {
    SetCaption("Creation/modification Cell");
    BorderStyle = 3;
    Move(0, 0, 300, 200);
    const char* captions[] = {"Water (flatten)", "Land", "Flatten"};
    for (int i = 0; i < 3; ++i) {
        Opt_Attrib(i).SetCaption(captions[i]);
        Opt_Attrib(i).Move(12, 12 + 24 * i, 130, 20);
    }
    L_Height.SetCaption("Altitude mètres");
    L_Height.Move(156, 14, 130, 16);
    Alti.Move(156, 34, 100, 21);
    LCreatMod.Move(12, 90, 120, 18);
    L_Cell_Area.Move(140, 90, 150, 18);
    Cmd_Sup.SetCaption("Delete");
    Cmd_Sup.Move(12, 150, 84, 26);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(106, 150, 84, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(200, 150, 84, 26);
}

void Frm_LOD8::Frm_LOD8_Form_Load() {
    SetCaption("Creation/modification Cell");
    L_Height.SetCaption(Language == "US" ? "Altitude meters" : "Altitude mètres");

    const Cell_Keys keys = Cell_Keys_Of_Mouse();
    Area_Dlg_Loading = 1;
    Lod8_Cell_Rec defaults;
    defaults.Attrib = 0;
    defaults.Alti = -9999;
    Cell_Look_Up(Lod8_Cell_Table, Lod8_Cell_Count, keys, 2, defaults, Lod8_Cell_Cur, Area_Dlg_Index, LCreatMod,
                 Cmd_Sup);

    Opt_Attrib(0).SetCaption("Water");
    // Flatten is no choice for a whole cell, but a stored one is shown as it is.
    Opt_Attrib(2).SetEnabled(false);
    Alti.SetVisible(false);
    L_Height.SetVisible(false);
    Cell_Select_Option(Opt_Attrib, Lod8_Cell_Cur.Attrib);
    Alti.SetText(SYST_To_Text(Lod8_Cell_Cur.Alti));
    L_Cell_Area.SetCaption(Cell_Lod8_Text(keys));
    Area_Dlg_Loading = 0;
}

void Frm_LOD8::Frm_LOD8_Opt_Attrib_Click(int index) {
    if (Area_Dlg_Loading == 1) return;
    Lod8_Cell_Cur.Attrib = static_cast<uint8_t>(index);
}

void Frm_LOD8::Frm_LOD8_Alti_Validate(bool& cancel) {
    if (!Cell_Read_Altitude(Cell_Trim_Box(Alti), Lod8_Cell_Cur.Alti)) Cell_Refuse_Entry(cancel);
}

void Frm_LOD8::Frm_LOD8_Cmd_Ok_Click() {
    Cell_Store(Lod8_Cell_Table, Lod8_Cell_Count, Lod8_Cell_Capacity, Lod8_Cell_Growth, Area_Dlg_Index, Lod8_Cell_Cur);
    Area_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LOD8::Frm_LOD8_Cmd_Sup_Click() {
    Cell_Delete(Lod8_Cell_Table, Lod8_Cell_Count, Area_Dlg_Index);
    Area_Dlg_Cancelled = 0;
    Unload();
}

void Frm_LOD8::Frm_LOD8_Cmd_Cancel_Click() { Unload(); }

Frm_LOD8& Frm_LOD8_Window() {
    static Frm_LOD8 window;
    return window;
}

void Frm_LOD8_Show_Modal() {
    plat::Show_Modal(Frm_LOD8_Window(), plat::Loaded_Copy::Unload);
}
