// The exclusion area dialog: its layer boxes filled from the area's record, OK, delete, cancel.
#include "dialogs/frm_excl.h"

#include "dialogs/cell_dialog.h"
#include "platform/ui/modal.h"

#include <string>

namespace {

constexpr int kRows = 13;
constexpr int kBoxWidth = 112;

// The layers that carry the names of the kinds of line and polygon they hold.
std::string Named_Layer(int index, bool english) {
    switch (index) {
    case 4: return english ? "4 Rivers" : "4 Rivières";
    case 5: return english ? "5 Railways" : "5 Rails";
    case 6: return english ? "6 Roads" : "6 Routes";
    case 7: return english ? "7 Polys/Bridges" : "7 Polys/Ponts";
    case 8: return english ? "8 Shorelines" : "8 Rivages";
    default: return {};
    }
}

}  // namespace

std::vector<int> Frm_Excl::Designed_Boxes() {
    std::vector<int> v;
    for (int i = 0; i < Excl_Flag_Count; ++i) v.push_back(i);
    return v;
}

Frm_Excl::Frm_Excl() : Form("Frm_Excl") {
    Form_Load = [this] { Frm_Excl_Form_Load(); };
    Chk_Excl.SetWire([this](plat::CheckBox& c, int i) { c.Click = [this, i] { Frm_Excl_Chk_Excl_Click(i); }; });
    Cmd_Ok.Click = [this] { Frm_Excl_Cmd_Ok_Click(); };
    Cmd_Sup.Click = [this] { Frm_Excl_Cmd_Sup_Click(); };
    Cmd_Cancel.Click = [this] { Frm_Excl_Cmd_Cancel_Click(); };
}

void Frm_Excl::Design() {
    SetCaption("Exclude");
    BorderStyle = 3;
    const int columns = (Excl_Flag_Count + kRows - 1) / kRows;
    Move(0, 0, 16 + columns * kBoxWidth, 16 + kRows * 20 + 64);
    for (int i = 0; i < Excl_Flag_Count; ++i) Chk_Excl(i).Move(8 + (i / kRows) * kBoxWidth, 8 + (i % kRows) * 20, kBoxWidth - 4, 18);
    const int bottom = 16 + kRows * 20;
    L_LCM.Move(8, bottom, 120, 18);
    L_Cell_Area.Move(136, bottom, 240, 18);
    Cmd_Sup.SetCaption("Delete");
    Cmd_Sup.Move(Width() - 276, bottom + 24, 84, 26);
    Cmd_Ok.SetCaption("OK");
    Cmd_Ok.Move(Width() - 184, bottom + 24, 84, 26);
    Cmd_Cancel.SetCaption("Cancel");
    Cmd_Cancel.Move(Width() - 92, bottom + 24, 84, 26);
}

void Frm_Excl::Frm_Excl_Form_Load() {
    const bool english = Language == "US";
    for (int i = 0; i < Excl_Flag_Count; ++i) Chk_Excl(i).SetCaption(std::to_string(i) + " ");
    SetCaption("Exclude");
    for (int i = 4; i <= 8; ++i) Chk_Excl(i).SetCaption(Named_Layer(i, english));

    const Cell_Keys keys = Cell_Keys_Of_Mouse();
    Excl_Cell_Rec defaults;
    for (int i = 4; i <= 8; ++i) defaults.Excluded[i] = 1;
    Cell_Look_Up(Excl_Cell_Table, Excl_Cell_Count, keys, 4, defaults, Excl_Cell_Cur, Excl_Dlg_Index, L_LCM, Cmd_Sup);

    // Ticking a box stores its flag again: take a copy first.
    const Excl_Cell_Rec shown = Excl_Cell_Cur;
    for (int i = 0; i < Excl_Flag_Count; ++i) Chk_Excl(i).SetValue(shown.Excluded[i] != 0 ? 1 : 0);
    L_Cell_Area.SetCaption(Cell_Area_Text(keys));
}

void Frm_Excl::Frm_Excl_Chk_Excl_Click(int index) {
    if (index < 0 || index >= Excl_Flag_Count) return;
    Excl_Cell_Cur.Excluded[index] = Chk_Excl(index).Value() == 1 ? 1 : 0;
}

void Frm_Excl::Frm_Excl_Cmd_Ok_Click() {
    Cell_Store(Excl_Cell_Table, Excl_Cell_Count, Excl_Cell_Capacity, Excl_Cell_Growth, Excl_Dlg_Index, Excl_Cell_Cur);
    Excl_Dlg_Cancelled = 0;
    Unload();
}

void Frm_Excl::Frm_Excl_Cmd_Sup_Click() {
    Cell_Delete(Excl_Cell_Table, Excl_Cell_Count, Excl_Dlg_Index);
    // A deleted area may leave a textured area's mark to redraw: both callers' flags are told.
    Excl_Dlg_Cancelled = 0;
    Area_Dlg_Cancelled = 0;
    Unload();
}

void Frm_Excl::Frm_Excl_Cmd_Cancel_Click() { Unload(); }

Frm_Excl& Frm_Excl_Window() {
    static Frm_Excl window;
    return window;
}

void Frm_Excl_Show_Modal() {
    // Every showing looks the area up afresh.
    plat::Show_Modal(Frm_Excl_Window(), plat::Loaded_Copy::Unload);
}
